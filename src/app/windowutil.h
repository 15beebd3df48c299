#pragma once

#include <QFont>
#include <QString>
#include <Qt>

#include <functional>

class QWidget;

namespace vidmo {

// Title-bar buttons a window offers.
enum class TitleButtons { TitleOnly, Close, CloseMinimize };

// Makes a top-level window of a fixed client size with the given title-bar
// buttons. `sizeable` windows keep the size only as their initial one.
void setupWindow(QWidget *window, const QString &objectName, int clientWidth, int clientHeight,
                 TitleButtons buttons, bool sizeable = false);

// Calls handler whenever the left mouse button is pressed on widget: the
// "click into an edit" that some windows answer.
void onLeftPress(QWidget *widget, std::function<void()> handler);

// Shows a hidden window, or brings a shown one to the front, and activates it.
void bringToFront(QWidget *window);

// Centres window over reference (or over the screen when reference is null).
void centreOn(QWidget *window, const QWidget *reference);

// Switches a window between stay-on-top and the normal style without hiding
// it: a shown window keeps its state and gets no new show event.
void setStayOnTop(QWidget *window, bool onTop);
bool isStayOnTop(const QWidget *window);

// A font sized in points as the window layouts were drawn: at 96 dots per
// inch, whatever the screen reports, so controls keep their pixel sizes.
QFont layoutFont(const QString &family, int points, bool bold = false);

// Makes Tahoma and MS Sans Serif available: the metric-compatible fonts of
// fonts-wine are not registered with fontconfig, so load them from their files.
void loadLayoutFonts();

} // namespace vidmo
