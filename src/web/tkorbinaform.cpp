#include "web/tkorbinaform.h"

namespace vidmo {

TKorbinaForm::TKorbinaForm(AppContext &ctx)
    : OutsideSiteWindow(ctx, {"KorbinaForm", {ClientWidth, ClientHeight}, TitleButtons::CloseMinimize, false,
                              {-25, -215, 740, 660}, "/title/2.3.html"})
{
}

} // namespace vidmo
