#pragma once

#include "app/secondarywindow.h"

#include <QWidget>

namespace vidmo {

class TKorbinaForm final : public SecondaryWindow<QWidget>
{
    Q_OBJECT

public:
    static constexpr int ClientWidth = 714;
    static constexpr int ClientHeight = 423;

    explicit TKorbinaForm(AppContext &ctx);
};

} // namespace vidmo
