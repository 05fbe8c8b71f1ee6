#include "platform/OnScreen.h"

#include <QApplication>
#include <QGuiApplication>
#include <QRegion>
#include <QScreen>
#include <QWidget>
#include <algorithm>

namespace {

QMargins framedBy(const QWidget* window)
{
    const QRect outer = window->frameGeometry();
    const QRect inner = window->geometry();
    return QMargins(inner.left() - outer.left(), inner.top() - outer.top(),
                    outer.right() - inner.right(), outer.bottom() - inner.bottom());
}

QSize decorationSize(const QMargins& margins)
{
    return QSize(margins.left() + margins.right(), margins.top() + margins.bottom());
}

// The available areas of every screen, the primary's first.
QList<QRect> screenAreas()
{
    QList<QRect> areas;
    const QScreen* primary = QGuiApplication::primaryScreen();
    if (primary)
        areas << primary->availableGeometry();
    for (const QScreen* screen : QGuiApplication::screens()) {
        if (screen != primary)
            areas << screen->availableGeometry();
    }
    return areas;
}

} // namespace

QMargins decorationOf(const QWidget* window)
{
    const QMargins own = framedBy(window);
    if (!own.isNull() || !window->isWindow())
        return own;
    for (const QWidget* other : QApplication::topLevelWidgets()) {
        if (other != window && other->isVisible() &&
            !other->windowFlags().testFlag(Qt::FramelessWindowHint)) {
            const QMargins margins = framedBy(other);
            if (!margins.isNull())
                return margins;
        }
    }
    return own;
}

QRect fittedFrame(const QRect& frame, const QList<QRect>& areas)
{
    if (areas.isEmpty())
        return frame;
    QRegion screens;
    for (const QRect& area : areas)
        screens += area;
    if (QRegion(frame).subtracted(screens).isEmpty())
        return frame;
    QRect area = areas.first();
    qint64 mostShown = 0;
    for (const QRect& candidate : areas) {
        const QRect shown = candidate.intersected(frame);
        const qint64 size = qint64(shown.width()) * shown.height();
        if (size > mostShown) {
            mostShown = size;
            area = candidate;
        }
    }
    const QSize size = frame.size().boundedTo(area.size());
    return QRect(std::clamp(frame.left(), area.left(), area.left() + area.width() - size.width()),
                 std::clamp(frame.top(), area.top(), area.top() + area.height() - size.height()),
                 size.width(), size.height());
}

void keepOnScreen(QWidget* window)
{
    const QSize decoration = decorationSize(decorationOf(window));
    // Not shown yet, a window still grows to what its layout needs once it is.
    const QSize size = window->size().expandedTo(window->minimumSizeHint());
    const QRect frame(window->pos(), size + decoration);
    const QRect fitted = fittedFrame(frame, screenAreas());
    if (fitted == frame)
        return;
    const QSize inner = fitted.size() - decoration;
    if (inner != window->size())
        window->resize(inner);
    window->move(fitted.topLeft());
}

void centreOver(QWidget* dialog, const QWidget* owner)
{
    const QWidget* over = owner ? owner->window() : nullptr;
    if (over && !over->isVisible())
        over = nullptr;
    QRect target;
    if (over) {
        target = over->frameGeometry();
    } else if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        target = screen->availableGeometry();
    }
    const QSize outer = dialog->size() + decorationSize(decorationOf(dialog));
    dialog->move(target.left() + (target.width() - outer.width()) / 2,
                 target.top() + (target.height() - outer.height()) / 2);
    keepOnScreen(dialog);
}
