#pragma once

#include "web/outsidesitewindow.h"

namespace vidmo {

class TNarkomTVForm final : public OutsideSiteWindow
{
    Q_OBJECT

public:
    static constexpr int ClientWidth = 742;
    static constexpr int ClientHeight = 566;

    explicit TNarkomTVForm(AppContext &ctx);
};

} // namespace vidmo
