#pragma once

#include <QPoint>
#include <QRect>

class QWidget;

// Stored geometry and layout numbers are twips (1440 per inch); widgets want logical pixels.
namespace Twips {

constexpr int kPerInch = 1440;

double pixelsPerTwip();
int toPixels(double twips);
int fromPixels(int pixels);

// Places a child widget by twips inside its parent.
void place(QWidget* widget, double left, double top, double width, double height);
void move(QWidget* widget, double left, double top);

// A top-level window's outer frame in twips, decorations included, for placing windows beside
// each other. Before the window manager has framed the window its decorations are estimated.
QRect frame(const QWidget* window);
// Moves the outer top left corner and sizes the window so that its frame has the given size.
void setFrame(QWidget* window, const QRect& twips);

// What the settings keep of a top-level window: its outer left and top, its inner width and
// height. Each can be set before the window manager frames the window, so a run ends with the
// numbers it started with.
QRect storedPlace(const QWidget* window);
void restorePlace(QWidget* window, const QRect& twips);

} // namespace Twips
