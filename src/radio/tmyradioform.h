#pragma once

#include "app/secondarywindow.h"

#include <QWidget>

namespace vidmo {

class TMyRadioForm final : public SecondaryWindow<QWidget>
{
    Q_OBJECT

public:
    static constexpr int ClientWidth = 229;
    static constexpr int ClientHeight = 278;

    explicit TMyRadioForm(AppContext &ctx);
};

} // namespace vidmo
