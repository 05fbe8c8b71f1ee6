#include "platform/Twips.h"

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
    // Decorations are known once the window has been shown; before, the frame is the window.
    const QPoint origin = window->pos();
    const QSize outer = window->frameGeometry().size();
    return QRect(fromPixels(origin.x()), fromPixels(origin.y()), fromPixels(outer.width()),
                 fromPixels(outer.height()));
}

void setFrame(QWidget* window, const QRect& twips)
{
    window->move(toPixels(twips.left()), toPixels(twips.top()));
    if (twips.width() > 0 && twips.height() > 0) {
        // The window manager's border and title bar are part of the stored size.
        const QSize decoration = window->frameGeometry().size() - window->size();
        window->resize(toPixels(twips.width()) - decoration.width(),
                       toPixels(twips.height()) - decoration.height());
    }
}

} // namespace Twips
