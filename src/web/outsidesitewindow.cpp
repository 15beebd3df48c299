#include "web/outsidesitewindow.h"

#include "web/webview.h"

#include <QCloseEvent>
#include <QShowEvent>

namespace vidmo {

OutsideSiteWindow::OutsideSiteWindow(AppContext &ctx, const Layout &layout)
    : SecondaryWindow(ctx), m_titlePage(QString::fromLatin1(layout.titlePage))
{
    setupWindow(this, QString::fromLatin1(layout.objectName), layout.client.width(),
                layout.client.height(), layout.buttons, layout.sizeable);
    setFont(layoutFont(QStringLiteral("Tahoma"), 8));

    Chromium1 = m_ctx.services.webViews->create(this);
    Chromium1->widget()->setObjectName(QStringLiteral("Chromium1"));
    Chromium1->widget()->setGeometry(layout.view);
}

void OutsideSiteWindow::showEvent(QShowEvent *event)
{
    SecondaryWindow::showEvent(event);
    // Only a hidden window becoming visible; a restore is not a show.
    if (!event->spontaneous())
        FormShow();
}

void OutsideSiteWindow::closeEvent(QCloseEvent *event)
{
    FormClose();
    SecondaryWindow::closeEvent(event);
}

void OutsideSiteWindow::FormShow()
{
    // The main view leaves its channel for the title page while the site plays here.
    m_ctx.windows.Form1->Chromium1->load(m_ctx.server(m_titlePage));
}

void OutsideSiteWindow::FormClose()
{
    // Stops the site's player; the window is only hidden.
    Chromium1->load(QStringLiteral("about:blank"));
}

} // namespace vidmo
