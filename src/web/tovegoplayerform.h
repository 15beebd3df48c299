#pragma once

#include "app/secondarywindow.h"

#include <QWidget>

namespace vidmo {

class TOvegoPlayerForm final : public SecondaryWindow<QWidget>
{
    Q_OBJECT

public:
    static constexpr int ClientWidth = 589;
    static constexpr int ClientHeight = 398;

    explicit TOvegoPlayerForm(AppContext &ctx);
};

} // namespace vidmo
