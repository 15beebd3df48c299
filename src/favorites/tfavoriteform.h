#pragma once

#include "app/secondarywindow.h"

#include <QWidget>

namespace vidmo {

class TFavoriteForm final : public SecondaryWindow<QWidget>
{
    Q_OBJECT

public:
    static constexpr int ClientWidth = 224;
    static constexpr int ClientHeight = 388;

    explicit TFavoriteForm(AppContext &ctx);
};

} // namespace vidmo
