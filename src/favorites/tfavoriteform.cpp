#include "favorites/tfavoriteform.h"

namespace vidmo {

TFavoriteForm::TFavoriteForm(AppContext &ctx) : SecondaryWindow(ctx)
{
    setupWindow(this, QStringLiteral("FavoriteForm"), ClientWidth, ClientHeight, TitleButtons::Close);
    setFont(layoutFont(QStringLiteral("Tahoma"), 8));
}

} // namespace vidmo
