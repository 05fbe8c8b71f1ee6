#include "Controls.h"

#include <QCoreApplication>
#include <QMouseEvent>

void pointerOver(QWidget* widget)
{
    const QPointF at(1, 1);
    QMouseEvent move(QEvent::MouseMove, at, widget->mapToGlobal(at), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QCoreApplication::sendEvent(widget, &move);
}
