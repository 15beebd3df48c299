#pragma once

#include "app/secondarywindow.h"

#include <QDialog>

namespace vidmo {

class TDonationForm final : public SecondaryWindow<QDialog>
{
    Q_OBJECT

public:
    static constexpr int ClientWidth = 341;
    static constexpr int ClientHeight = 208;

    explicit TDonationForm(AppContext &ctx);
};

} // namespace vidmo
