#include "app/toolbaractions.h"

#include "app/appcontext.h"
#include "app/platform.h"
#include "app/tform1.h"
#include "app/windowutil.h"
#include "favorites/tfavoriteform.h"
#include "settings/tsettingform.h"
#include "web/tdonationform.h"
#include "web/ttvprogrammform.h"
#include "web/webview.h"

#include <QToolButton>

namespace vidmo {

void ToolBarActions::openSettings()
{
    m_ctx.windows.SettingForm->exec();
}

void ToolBarActions::blankView()
{
    m_ctx.windows.Form1->Chromium1->load(QStringLiteral("about:blank"));
}

void ToolBarActions::openProgramme()
{
    bringToFront(m_ctx.windows.TVprogrammForm);
}

void ToolBarActions::openFavorites()
{
    bringToFront(m_ctx.windows.FavoriteForm);
}

void ToolBarActions::openDonation()
{
    m_ctx.windows.DonationForm->exec();
}

void ToolBarActions::openHelp()
{
    m_ctx.services.shell->open(m_ctx.server(QStringLiteral("/help/")));
}

void ToolBarActions::pin()
{
    TForm1 *form = m_ctx.windows.Form1;
    setStayOnTop(form, true);
    form->sSpeedButton(8)->hide();
    form->sSpeedButton(9)->show();
}

void ToolBarActions::unpin()
{
    TForm1 *form = m_ctx.windows.Form1;
    setStayOnTop(form, false);
    form->sSpeedButton(9)->hide();
    form->sSpeedButton(8)->show();
}

} // namespace vidmo
