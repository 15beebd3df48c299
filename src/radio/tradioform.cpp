#include "radio/tradioform.h"

namespace vidmo {

TRadioForm::TRadioForm(AppContext &ctx) : SecondaryWindow(ctx)
{
    setupWindow(this, QStringLiteral("RadioForm"), ClientWidth, ClientHeight, TitleButtons::TitleOnly);
    setFont(layoutFont(QStringLiteral("Tahoma"), 8));
}

} // namespace vidmo
