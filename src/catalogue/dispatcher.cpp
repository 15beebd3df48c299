#include "catalogue/dispatcher.h"

#include "app/appcontext.h"
#include "app/failure.h"
#include "app/platform.h"
#include "app/tform1.h"
#include "app/windowutil.h"
#include "catalogue/catalogue.h"
#include "navigation/categorynavigator.h"
#include "web/tbrowser2form.h"
#include "web/tkorbinaform.h"
#include "web/tnarkomtvform.h"
#include "web/tovegoplayerform.h"
#include "web/ttvprogrammform.h"
#include "web/webview.h"

#include <QPushButton>

#include <exception>

namespace vidmo {

ChannelDispatcher::ChannelDispatcher(AppContext &ctx) : m_ctx(ctx) {}

void ChannelDispatcher::StartTVButtonClick()
{
    // One guard over the whole scan: a failure skips the rest of it, and what
    // was done before stays done.
    try {
        for (const TChannelEntry &row : channelCatalogue()) {
            // Read anew for every row: an action may change the caption.
            const QString caption = m_ctx.windows.Form1->StartTVButton->text();
            const QString key = row.Kind == ChannelKind::ClosedSubPage
                                    ? m_ctx.lang(QStringLiteral("Category"), row.CategoryKey)
                                    : row.Caption;
            if (caption == key)
                run(row);
        }
    } catch (const std::exception &) {
        m_ctx.services.messageBox->show(
            m_ctx.lang(QStringLiteral("Message"), QStringLiteral("somethingiswrong")));
    }
}

void ChannelDispatcher::run(const TChannelEntry &row)
{
    TForm1 &form = *m_ctx.windows.Form1;
    const QString &dir = m_ctx.services.programDir;
    switch (row.Kind) {
    case ChannelKind::ChannelPage:
        form.Chromium1->load(dir + row.Page);
        showProgramme(row);
        break;
    case ChannelKind::RadioStation: {
        // One station shows a page of the project web server instead of a local one.
        const QString page = withServerBase(row.Page, m_ctx.services.serverBase);
        form.Chromium1->load(page == row.Page ? dir + row.Page : page);
        showProgramme(row);
        form.StartRadioStream(row.StreamUrl);
        break;
    }
    case ChannelKind::OutsideWindow:
        if (!openOutsideSite(m_ctx, row))
            throw Failure(QStringLiteral("no window for ") + row.Caption);
        showProgramme(row);
        break;
    case ChannelKind::SystemBrowser:
        m_ctx.services.shell->open(row.Address);
        showProgramme(row);
        break;
    case ChannelKind::ClosedSubPage:
        CategoryNavigator(m_ctx).applyPage(row.CategoryKey);
        break;
    }
}

void ChannelDispatcher::showProgramme(const TChannelEntry &row)
{
    // Hidden or not: the window shows it whenever it is opened.
    m_ctx.windows.TVprogrammForm->WebBrowser1->navigate(m_ctx.services.programDir + row.Programme);
}

bool openOutsideSite(AppContext &ctx, const TChannelEntry &row)
{
    const Windows &w = ctx.windows;
    OutsideSiteWindow *site = nullptr;
    switch (row.Window) {
    case ChannelWindow::TKorbinaForm:
        site = w.KorbinaForm;
        break;
    case ChannelWindow::TNarkomTVForm:
        site = w.NarkomTVForm;
        break;
    case ChannelWindow::TOvegoPlayerForm:
        site = w.OvegoPlayerForm;
        break;
    case ChannelWindow::TBrowser2Form:
        bringToFront(w.Browser2Form);
        w.Browser2Form->SeeTVWebBrowser->navigate(row.Address);
        return true;
    case ChannelWindow::None:
        return false;
    }
    // Showing a hidden window puts the title page into the main view.
    bringToFront(site);
    site->Chromium1->load(row.Address);
    return true;
}

} // namespace vidmo
