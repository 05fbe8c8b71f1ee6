#include "player/SkinButton.h"

#include "platform/SkinImage.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

namespace {

// How much of the picture a disabled button still shows.
constexpr double kDisabledOpacity = 0.35;

} // namespace

SkinButton::SkinButton(QWidget* parent) : QWidget(parent)
{
    // A button enabled under the pointer had no enter event: its first move shows the hover.
    setMouseTracking(true);
    // Reached with Tab, never by a click, which leaves the keys where the user types.
    setFocusPolicy(Qt::TabFocus);
}

void SkinButton::click()
{
    if (isEnabled())
        Q_EMIT clicked();
}

void SkinButton::setPictures(const QString& normalPath, const QString& hoverPath)
{
    m_normalPath = normalPath;
    m_hoverPath = hoverPath;
    showImage(m_hovered ? m_hoverPath : m_normalPath);
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

void SkinButton::hover()
{
    if (m_hovered || !isEnabled())
        return;
    // A fast move from one button onto another may bring no leave event to the first.
    if (parentWidget()) {
        for (SkinButton* other :
             parentWidget()->findChildren<SkinButton*>(Qt::FindDirectChildrenOnly)) {
            if (other != this)
                other->dropHover();
        }
    }
    m_hovered = true;
    showImage(m_hoverPath);
    move(pos() + m_hoverShift);
}

void SkinButton::dropHover()
{
    if (!m_hovered)
        return;
    m_hovered = false;
    showImage(m_normalPath);
    move(pos() - m_hoverShift);
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
    if (hasFocus()) {
        painter.setOpacity(1);
        painter.setPen(QPen(palette().color(QPalette::Highlight), 2, Qt::DotLine));
        painter.drawRect(rect().adjusted(1, 1, -1, -1));
    }
}

void SkinButton::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Space:
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (!event->isAutoRepeat())
            click();
        break;
    default:
        QWidget::keyPressEvent(event);
    }
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
    if (click)
        this->click();
    QWidget::mouseReleaseEvent(event);
}

void SkinButton::mouseMoveEvent(QMouseEvent* event)
{
    hover();
    event->accept();
}

void SkinButton::enterEvent(QEnterEvent* event)
{
    hover();
    QWidget::enterEvent(event);
}

void SkinButton::leaveEvent(QEvent* event)
{
    dropHover();
    QWidget::leaveEvent(event);
}
