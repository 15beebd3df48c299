#include "web/tovegoplayerform.h"

namespace vidmo {

TOvegoPlayerForm::TOvegoPlayerForm(AppContext &ctx) : SecondaryWindow(ctx)
{
    setupWindow(this, QStringLiteral("OvegoPlayerForm"), ClientWidth, ClientHeight, TitleButtons::Close);
    setFont(layoutFont(QStringLiteral("Tahoma"), 8));
}

} // namespace vidmo
