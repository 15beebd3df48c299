#include "radio/tradiosaveform.h"

namespace vidmo {

TRadioSaveForm::TRadioSaveForm(AppContext &ctx) : SecondaryWindow(ctx)
{
    setupWindow(this, QStringLiteral("RadioSaveForm"), ClientWidth, ClientHeight, TitleButtons::TitleOnly);
    setFont(layoutFont(QStringLiteral("Tahoma"), 8));
}

} // namespace vidmo
