#include "platform/Twips.h"

#include "platform/OnScreen.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <cmath>

namespace Twips {

double pixelsPerTwip()
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    const double dpi = screen ? screen->logicalDotsPerInchY() : 96.0;
    return (dpi > 0 ? dpi : 96.0) / kPerInch;
}

int toPixels(double twips)
{
    return static_cast<int>(std::lround(twips * pixelsPerTwip()));
}

int fromPixels(int pixels)
{
    return static_cast<int>(std::lround(pixels / pixelsPerTwip()));
}

void place(QWidget* widget, double left, double top, double width, double height)
{
    widget->setGeometry(toPixels(left), toPixels(top), toPixels(width), toPixels(height));
}

void move(QWidget* widget, double left, double top)
{
    widget->move(toPixels(left), toPixels(top));
}

QRect frame(const QWidget* window)
{
    const QMargins decoration = decorationOf(window);
    const QSize outer = window->size().grownBy(decoration);
    return QRect(fromPixels(window->x()), fromPixels(window->y()), fromPixels(outer.width()),
                 fromPixels(outer.height()));
}

void setFrame(QWidget* window, const QRect& twips)
{
    window->move(toPixels(twips.left()), toPixels(twips.top()));
    if (twips.width() > 0 && twips.height() > 0) {
        const QSize outer(toPixels(twips.width()), toPixels(twips.height()));
        window->resize(outer.shrunkBy(decorationOf(window)));
    }
}

QRect storedPlace(const QWidget* window)
{
    return QRect(fromPixels(window->x()), fromPixels(window->y()), fromPixels(window->width()),
                 fromPixels(window->height()));
}

void restorePlace(QWidget* window, const QRect& twips)
{
    window->move(toPixels(twips.left()), toPixels(twips.top()));
    if (twips.width() > 0 && twips.height() > 0)
        window->resize(toPixels(twips.width()), toPixels(twips.height()));
}

} // namespace Twips
