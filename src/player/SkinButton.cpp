#include "player/SkinButton.h"

#include <QImageReader>
#include <QMouseEvent>
#include <QPixmap>

SkinButton::SkinButton(QWidget* parent) : QLabel(parent)
{
    setScaledContents(true);
    setMouseTracking(true);
}

bool SkinButton::showImage(const QString& path)
{
    QImageReader reader(path);
    const QImage image = reader.read();
    if (image.isNull())
        return false;
    QPixmap pixmap = QPixmap::fromImage(image);
    setPixmap(pixmap);
    m_imagePath = path;
    return true;
}

void SkinButton::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        m_pressed = true;
    QLabel::mousePressEvent(event);
}

void SkinButton::mouseReleaseEvent(QMouseEvent* event)
{
    const bool click = m_pressed && event->button() == Qt::LeftButton && rect().contains(event->pos());
    m_pressed = false;
    if (click && isEnabled())
        Q_EMIT clicked();
    QLabel::mouseReleaseEvent(event);
}

void SkinButton::mouseMoveEvent(QMouseEvent* event)
{
    Q_EMIT pointerMoved();
    QLabel::mouseMoveEvent(event);
}

void SkinButton::enterEvent(QEnterEvent* event)
{
    Q_EMIT pointerMoved();
    QLabel::enterEvent(event);
}
