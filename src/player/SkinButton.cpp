#include "player/SkinButton.h"

#include "platform/SkinImage.h"

#include <QMouseEvent>
#include <QPainter>

namespace {

// How much of the picture a disabled button still shows.
constexpr double kDisabledOpacity = 0.35;

} // namespace

SkinButton::SkinButton(QWidget* parent) : QWidget(parent)
{
    setMouseTracking(true);
}

bool SkinButton::showImage(const QString& path)
{
    const QImage image = SkinImage::read(path);
    if (image.isNull())
        return false;
    m_pixmap = QPixmap::fromImage(image);
    m_imagePath = path;
    update();
    return true;
}

void SkinButton::paintEvent(QPaintEvent*)
{
    if (m_pixmap.isNull())
        return;
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    if (!isEnabled())
        painter.setOpacity(kDisabledOpacity);
    painter.drawPixmap(rect(), m_pixmap);
}

void SkinButton::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        m_pressed = true;
    QWidget::mousePressEvent(event);
}

void SkinButton::mouseReleaseEvent(QMouseEvent* event)
{
    const bool click =
        m_pressed && event->button() == Qt::LeftButton && rect().contains(event->pos());
    m_pressed = false;
    if (click && isEnabled())
        Q_EMIT clicked();
    QWidget::mouseReleaseEvent(event);
}

void SkinButton::mouseMoveEvent(QMouseEvent* event)
{
    Q_EMIT pointerMoved();
    // Taken here: passed on, the move would reach the face, which takes it for the pointer
    // leaving the buttons and drops the hover picture at once.
    event->accept();
}

void SkinButton::enterEvent(QEnterEvent* event)
{
    Q_EMIT pointerMoved();
    QWidget::enterEvent(event);
}
