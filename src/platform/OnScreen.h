#pragma once

#include <QList>
#include <QMargins>
#include <QRect>

class QWidget;

// The window manager's frame around a window. Until it has framed this one (it does so only
// after the window is first shown), the frame of another shown window stands in: one window
// manager frames every window alike.
QMargins decorationOf(const QWidget* window);

// Where a window's outer frame goes so that all of it shows: where it is when the screens' areas
// hold it whole; otherwise on the area showing most of it (the first when none shows any), made
// smaller where it does not fit and moved no further than needed.
QRect fittedFrame(const QRect& frame, const QList<QRect>& areas);

// A window put back where it stood in an earlier run may now be where no screen is: a monitor
// unplugged, a smaller display, a larger scale. The user could not reach it, least of all from
// the keyboard. A window not wholly on the screens is moved onto one and made smaller if needed.
void keepOnScreen(QWidget* window);

// Places a dialog centred over the window it belongs to, or over the screen without one, and
// wholly on screen.
void centreOver(QWidget* dialog, const QWidget* owner);
