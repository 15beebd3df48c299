#pragma once

#include <QString>

namespace vidmo {

// A modal message box with one text and an OK button. The default error box
// of the application is the same box.
class IMessageBox
{
public:
    virtual ~IMessageBox() = default;
    virtual void show(const QString &text) = 0;
};

// The desktop's "open" of an address or a file: the default browser shows a
// page, a downloaded program starts. The result is never examined.
class IShell
{
public:
    virtual ~IShell() = default;
    virtual void open(const QString &target) = 0;
};

} // namespace vidmo
