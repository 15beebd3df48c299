#pragma once

#include "app/platform.h"

namespace vidmo {

// The modal message box of the desktop: one text, one OK button.
class QtMessageBox final : public IMessageBox
{
public:
    void show(const QString &text) override;
};

// The desktop's "open": local files by path, everything else as an address.
class DesktopShell final : public IShell
{
public:
    void open(const QString &target) override;
};

} // namespace vidmo
