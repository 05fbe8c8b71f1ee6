#include "recorder/LevelBar.h"

#include <QLinearGradient>
#include <QPainter>

void LevelBar::paintEvent(QPaintEvent*)
{
    const int span = parentWidget() ? parentWidget()->width() : width();
    QLinearGradient gradient(0, 0, span, 0);
    gradient.setColorAt(0, QColor(0, 190, 0));
    gradient.setColorAt(0.7, QColor(230, 220, 0));
    gradient.setColorAt(1, QColor(230, 0, 0));
    QPainter painter(this);
    painter.fillRect(rect(), gradient);
}
