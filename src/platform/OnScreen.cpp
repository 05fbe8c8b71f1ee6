#include "platform/OnScreen.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <algorithm>

namespace {

// How far into the title bar a point must show for the user to take hold of it.
constexpr int kGripAcross = 60;
constexpr int kGripDown = 8;

} // namespace

void keepOnScreen(QWidget* window)
{
    const QSize decoration = window->frameGeometry().size() - window->size();
    // Not shown yet, a window still grows to what its layout needs once it is.
    const QSize size = window->size().expandedTo(window->minimumSizeHint());
    const QRect frame(window->pos(), size + decoration);
    const QPoint grip =
        frame.topLeft() + QPoint(std::min(frame.width() / 2, kGripAcross), kGripDown);
    const QList<QScreen*> screens = QGuiApplication::screens();
    if (std::any_of(screens.cbegin(), screens.cend(), [&](const QScreen* screen) {
            return screen->availableGeometry().contains(grip);
        }))
        return;
    const QScreen* primary = QGuiApplication::primaryScreen();
    if (!primary)
        return;
    const QRect area = primary->availableGeometry();
    const QSize inner = size.boundedTo(area.size() - decoration);
    if (inner != window->size())
        window->resize(inner);
    const QSize outer = inner + decoration;
    const auto within = [](int at, int start, int room, int length) {
        return std::clamp(at, start, start + std::max(0, room - length));
    };
    window->move(within(frame.left(), area.left(), area.width(), outer.width()),
                 within(frame.top(), area.top(), area.height(), outer.height()));
}
