#pragma once

#include "app/secondarywindow.h"

#include <QWidget>

namespace vidmo {

class TRadioForm final : public SecondaryWindow<QWidget>
{
    Q_OBJECT

public:
    static constexpr int ClientWidth = 274;
    static constexpr int ClientHeight = 37;

    explicit TRadioForm(AppContext &ctx);
};

} // namespace vidmo
