#include "web/ttvprogrammform.h"

#include "web/webview.h"

namespace vidmo {

TTVprogrammForm::TTVprogrammForm(AppContext &ctx) : SecondaryWindow(ctx)
{
    setupWindow(this, QStringLiteral("TVprogrammForm"), ClientWidth, ClientHeight, TitleButtons::Close);
    setFont(layoutFont(QStringLiteral("Tahoma"), 8));

    WebBrowser1 = m_ctx.services.webViews->create(this);
    WebBrowser1->widget()->setObjectName(QStringLiteral("WebBrowser1"));
    WebBrowser1->widget()->setGeometry(0, 0, ClientWidth, ClientHeight);
}

} // namespace vidmo
