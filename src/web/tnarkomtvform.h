#pragma once

#include "app/secondarywindow.h"

#include <QWidget>

namespace vidmo {

class TNarkomTVForm final : public SecondaryWindow<QWidget>
{
    Q_OBJECT

public:
    static constexpr int ClientWidth = 742;
    static constexpr int ClientHeight = 566;

    explicit TNarkomTVForm(AppContext &ctx);
};

} // namespace vidmo
