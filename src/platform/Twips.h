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

// A top-level window's frame in twips (its outer left and top, its inner width and height).
QRect frame(const QWidget* window);
void setFrame(QWidget* window, const QRect& twips);

} // namespace Twips
