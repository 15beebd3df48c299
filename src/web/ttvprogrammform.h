#pragma once

#include "app/secondarywindow.h"

#include <QWidget>

namespace vidmo {

class TTVprogrammForm final : public SecondaryWindow<QWidget>
{
    Q_OBJECT

public:
    static constexpr int ClientWidth = 564;
    static constexpr int ClientHeight = 477;

    explicit TTVprogrammForm(AppContext &ctx);
};

} // namespace vidmo
