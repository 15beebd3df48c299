#include "navigation/tform2.h"

namespace vidmo {

TForm2::TForm2(AppContext &ctx) : SecondaryWindow(ctx)
{
    setupWindow(this, QStringLiteral("Form2"), ClientWidth, ClientHeight, TitleButtons::Close);
    setFont(layoutFont(QStringLiteral("Tahoma"), 8));
}

} // namespace vidmo
