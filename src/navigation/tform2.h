#pragma once

#include "app/secondarywindow.h"

#include <QDialog>

namespace vidmo {

class TForm2 final : public SecondaryWindow<QDialog>
{
    Q_OBJECT

public:
    static constexpr int ClientWidth = 341;
    static constexpr int ClientHeight = 148;

    explicit TForm2(AppContext &ctx);
};

} // namespace vidmo
