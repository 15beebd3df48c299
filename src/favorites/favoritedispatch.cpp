#include "favorites/favoritedispatch.h"

#include "app/appcontext.h"
#include "app/platform.h"
#include "app/tform1.h"
#include "catalogue/catalogue.h"
#include "catalogue/dispatcher.h"
#include "web/webview.h"

#include <QWidget>

namespace vidmo {

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
        openOutsideSite(m_ctx, row);
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

} // namespace vidmo
