#pragma once

#include <QIcon>
#include <QString>

namespace vidmo {

// A tool-bar picture from the compiled-in set ("gear", "star", "pin", ...),
// drawn at 32 x 32.
QIcon toolBarIcon(const QString &name);

// A radio-panel picture ("record", "stoprecord", "myradio", "mini", "off"),
// drawn at 24 x 24.
QIcon radioPanelIcon(const QString &name);

// The program's icon at 128, 96, 64, 48 and 32 pixels: windows, tray icon.
QIcon applicationIcon();

} // namespace vidmo
