#include "web/tovegoplayerform.h"

namespace vidmo {

TOvegoPlayerForm::TOvegoPlayerForm(AppContext &ctx)
    : OutsideSiteWindow(ctx, {"OvegoPlayerForm", {ClientWidth, ClientHeight}, TitleButtons::Close, false,
                              {-275, -320, 900, 740}, "/title/2.4.html"})
{
}

} // namespace vidmo
