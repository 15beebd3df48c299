#pragma once

#include "web/outsidesitewindow.h"

namespace vidmo {

class TKorbinaForm final : public OutsideSiteWindow
{
    Q_OBJECT

public:
    static constexpr int ClientWidth = 714;
    static constexpr int ClientHeight = 423;

    explicit TKorbinaForm(AppContext &ctx);
};

} // namespace vidmo
