#include "web/tkorbinaform.h"

namespace vidmo {

TKorbinaForm::TKorbinaForm(AppContext &ctx) : SecondaryWindow(ctx)
{
    setupWindow(this, QStringLiteral("KorbinaForm"), ClientWidth, ClientHeight, TitleButtons::CloseMinimize);
    setFont(layoutFont(QStringLiteral("Tahoma"), 8));
}

} // namespace vidmo
