#pragma once

#include "app/secondarywindow.h"

#include <QDialog>

namespace vidmo {

class TRadioSaveForm final : public SecondaryWindow<QDialog>
{
    Q_OBJECT

public:
    static constexpr int ClientWidth = 230;
    static constexpr int ClientHeight = 109;

    explicit TRadioSaveForm(AppContext &ctx);
};

} // namespace vidmo
