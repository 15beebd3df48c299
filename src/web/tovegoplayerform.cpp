#include "web/tovegoplayerform.h"

#include "web/webview.h"

#include <QCloseEvent>
#include <QShowEvent>

namespace vidmo {

TOvegoPlayerForm::TOvegoPlayerForm(AppContext &ctx) : SecondaryWindow(ctx)
{
    setupWindow(this, QStringLiteral("OvegoPlayerForm"), ClientWidth, ClientHeight, TitleButtons::Close);
    setFont(layoutFont(QStringLiteral("Tahoma"), 8));

    Chromium1 = m_ctx.services.webViews->create(this);
    Chromium1->widget()->setObjectName(QStringLiteral("Chromium1"));
    Chromium1->widget()->setGeometry(-275, -320, 900, 740);
}

void TOvegoPlayerForm::showEvent(QShowEvent *event)
{
    SecondaryWindow::showEvent(event);
    // Only a hidden window becoming visible; a restore is not a show.
    if (!event->spontaneous())
        FormShow();
}

void TOvegoPlayerForm::closeEvent(QCloseEvent *event)
{
    FormClose();
    SecondaryWindow::closeEvent(event);
}

void TOvegoPlayerForm::FormShow()
{
    // The main view leaves its channel for the title page while the site plays here.
    m_ctx.windows.Form1->Chromium1->load(m_ctx.server(QStringLiteral("/title/2.4.html")));
}

void TOvegoPlayerForm::FormClose()
{
    // Stops the site's player; the window is only hidden.
    Chromium1->load(QStringLiteral("about:blank"));
}

} // namespace vidmo
