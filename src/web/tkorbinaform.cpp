#include "web/tkorbinaform.h"

#include "web/webview.h"

#include <QCloseEvent>
#include <QShowEvent>

namespace vidmo {

TKorbinaForm::TKorbinaForm(AppContext &ctx) : SecondaryWindow(ctx)
{
    setupWindow(this, QStringLiteral("KorbinaForm"), ClientWidth, ClientHeight, TitleButtons::CloseMinimize);
    setFont(layoutFont(QStringLiteral("Tahoma"), 8));

    Chromium1 = m_ctx.services.webViews->create(this);
    Chromium1->widget()->setObjectName(QStringLiteral("Chromium1"));
    Chromium1->widget()->setGeometry(-25, -215, 740, 660);
}

void TKorbinaForm::showEvent(QShowEvent *event)
{
    SecondaryWindow::showEvent(event);
    // Only a hidden window becoming visible; a restore is not a show.
    if (!event->spontaneous())
        FormShow();
}

void TKorbinaForm::closeEvent(QCloseEvent *event)
{
    FormClose();
    SecondaryWindow::closeEvent(event);
}

void TKorbinaForm::FormShow()
{
    // The main view leaves its channel for the title page while the site plays here.
    m_ctx.windows.Form1->Chromium1->load(m_ctx.server(QStringLiteral("/title/2.3.html")));
}

void TKorbinaForm::FormClose()
{
    // Stops the site's player; the window is only hidden.
    Chromium1->load(QStringLiteral("about:blank"));
}

} // namespace vidmo
