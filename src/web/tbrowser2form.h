#pragma once

#include "app/secondarywindow.h"

#include <QWidget>

namespace vidmo {

class TBrowser2Form final : public SecondaryWindow<QWidget>
{
    Q_OBJECT

public:
    static constexpr int ClientWidth = 664;
    static constexpr int ClientHeight = 608;

    explicit TBrowser2Form(AppContext &ctx);
};

} // namespace vidmo
