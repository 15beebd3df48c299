#pragma once

#include "web/outsidesitewindow.h"

namespace vidmo {

class TOvegoPlayerForm final : public OutsideSiteWindow
{
    Q_OBJECT

public:
    static constexpr int ClientWidth = 589;
    static constexpr int ClientHeight = 398;

    explicit TOvegoPlayerForm(AppContext &ctx);
};

} // namespace vidmo
