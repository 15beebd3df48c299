#include "radio/tmyradioform.h"

namespace vidmo {

TMyRadioForm::TMyRadioForm(AppContext &ctx) : SecondaryWindow(ctx)
{
    setupWindow(this, QStringLiteral("MyRadioForm"), ClientWidth, ClientHeight, TitleButtons::CloseMinimize);
    setFont(layoutFont(QStringLiteral("Tahoma"), 8));
}

} // namespace vidmo
