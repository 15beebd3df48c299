#include "web/tnarkomtvform.h"

namespace vidmo {

TNarkomTVForm::TNarkomTVForm(AppContext &ctx) : SecondaryWindow(ctx)
{
    setupWindow(this, QStringLiteral("NarkomTVForm"), ClientWidth, ClientHeight, TitleButtons::Close, true);
    setFont(layoutFont(QStringLiteral("Tahoma"), 8));
}

} // namespace vidmo
