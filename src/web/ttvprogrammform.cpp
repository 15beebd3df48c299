#include "web/ttvprogrammform.h"

namespace vidmo {

TTVprogrammForm::TTVprogrammForm(AppContext &ctx) : SecondaryWindow(ctx)
{
    setupWindow(this, QStringLiteral("TVprogrammForm"), ClientWidth, ClientHeight, TitleButtons::Close);
    setFont(layoutFont(QStringLiteral("Tahoma"), 8));
}

} // namespace vidmo
