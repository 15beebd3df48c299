#include "favorites/favoritedispatch.h"

#include "app/appcontext.h"
#include "app/platform.h"
#include "app/tform1.h"
#include "catalogue/catalogue.h"
#include "web/tbrowser2form.h"
#include "web/tkorbinaform.h"
#include "web/tnarkomtvform.h"
#include "web/tovegoplayerform.h"
#include "web/webview.h"

#include <QWidget>

namespace vidmo {

namespace {

// A hidden window becomes visible and active, a shown one comes to the front.
void bringUp(QWidget *window)
{
    window->show();
    window->raise();
    window->activateWindow();
}

} // namespace

void FavoriteDispatch::run(const QString &caption) const
{
    for (const TChannelEntry &row : favoriteCatalogue()) {
        if (row.Caption == caption)
            runRow(row);
    }
}

void FavoriteDispatch::runRow(const TChannelEntry &row) const
{
    switch (row.Kind) {
    case ChannelKind::ChannelPage:
        m_ctx.windows.Form1->Chromium1->load(m_ctx.services.programDir + row.Page);
        break;
    case ChannelKind::OutsideWindow:
        showOutsideSite(row);
        break;
    case ChannelKind::SystemBrowser:
        m_ctx.services.shell->open(row.Address);
        break;
    case ChannelKind::RadioStation:
    case ChannelKind::ClosedSubPage:
        // not in this table
        break;
    }
}

void FavoriteDispatch::showOutsideSite(const TChannelEntry &row) const
{
    const Windows &w = m_ctx.windows;
    switch (row.Window) {
    case ChannelWindow::TKorbinaForm:
        bringUp(w.KorbinaForm);
        w.KorbinaForm->Chromium1->load(row.Address);
        break;
    case ChannelWindow::TNarkomTVForm:
        bringUp(w.NarkomTVForm);
        w.NarkomTVForm->Chromium1->load(row.Address);
        break;
    case ChannelWindow::TOvegoPlayerForm:
        bringUp(w.OvegoPlayerForm);
        w.OvegoPlayerForm->Chromium1->load(row.Address);
        break;
    case ChannelWindow::TBrowser2Form:
        bringUp(w.Browser2Form);
        w.Browser2Form->SeeTVWebBrowser->navigate(row.Address);
        break;
    case ChannelWindow::None:
        break;
    }
}

} // namespace vidmo
