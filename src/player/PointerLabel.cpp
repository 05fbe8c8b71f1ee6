#include "player/PointerLabel.h"

#include <QMouseEvent>

PointerLabel::PointerLabel(QWidget* parent) : QLabel(parent)
{
    setMouseTracking(true);
}

void PointerLabel::mousePressEvent(QMouseEvent* event)
{
    Q_EMIT pressed(event->button(), event->position().toPoint());
}

void PointerLabel::mouseMoveEvent(QMouseEvent* event)
{
    Q_EMIT moved(event->buttons(), event->position().toPoint());
}

void PointerLabel::mouseReleaseEvent(QMouseEvent* event)
{
    Q_EMIT released(event->button(), event->position().toPoint());
}
