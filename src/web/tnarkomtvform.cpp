#include "web/tnarkomtvform.h"

#include "web/webview.h"

#include <QCloseEvent>
#include <QShowEvent>

namespace vidmo {

TNarkomTVForm::TNarkomTVForm(AppContext &ctx) : SecondaryWindow(ctx)
{
    setupWindow(this, QStringLiteral("NarkomTVForm"), ClientWidth, ClientHeight, TitleButtons::Close, true);
    setFont(layoutFont(QStringLiteral("Tahoma"), 8));

    Chromium1 = m_ctx.services.webViews->create(this);
    Chromium1->widget()->setObjectName(QStringLiteral("Chromium1"));
    Chromium1->widget()->setGeometry(-15, -165, 760, 890);
}

void TNarkomTVForm::showEvent(QShowEvent *event)
{
    SecondaryWindow::showEvent(event);
    // Only a hidden window becoming visible; a restore is not a show.
    if (!event->spontaneous())
        FormShow();
}

void TNarkomTVForm::closeEvent(QCloseEvent *event)
{
    FormClose();
    SecondaryWindow::closeEvent(event);
}

void TNarkomTVForm::FormShow()
{
    // The main view leaves its channel for the title page while the site plays here.
    m_ctx.windows.Form1->Chromium1->load(m_ctx.server(QStringLiteral("/title/2.4.html")));
}

void TNarkomTVForm::FormClose()
{
    // Stops the site's player; the window is only hidden.
    Chromium1->load(QStringLiteral("about:blank"));
}

} // namespace vidmo
