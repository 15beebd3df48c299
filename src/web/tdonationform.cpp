#include "web/tdonationform.h"

namespace vidmo {

TDonationForm::TDonationForm(AppContext &ctx) : SecondaryWindow(ctx)
{
    setupWindow(this, QStringLiteral("DonationForm"), ClientWidth, ClientHeight, TitleButtons::Close);
    setFont(layoutFont(QStringLiteral("Tahoma"), 8));
}

} // namespace vidmo
