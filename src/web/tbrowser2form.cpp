#include "web/tbrowser2form.h"

namespace vidmo {

TBrowser2Form::TBrowser2Form(AppContext &ctx) : SecondaryWindow(ctx)
{
    setupWindow(this, QStringLiteral("Browser2Form"), ClientWidth, ClientHeight, TitleButtons::Close);
    setFont(layoutFont(QStringLiteral("Tahoma"), 8));
}

} // namespace vidmo
