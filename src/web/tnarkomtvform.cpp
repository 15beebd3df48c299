#include "web/tnarkomtvform.h"

namespace vidmo {

TNarkomTVForm::TNarkomTVForm(AppContext &ctx)
    : OutsideSiteWindow(ctx, {"NarkomTVForm", {ClientWidth, ClientHeight}, TitleButtons::Close, true,
                              {-15, -165, 760, 890}, "/title/2.4.html"})
{
}

} // namespace vidmo
