#include "player/VolumeKnob.h"

#include "platform/SkinImage.h"
#include "platform/Twips.h"
#include "player/PlayerLayout.h"
#include "player/PointerLabel.h"
#include "player/VolumeSlider.h"

#include <QAccessible>
#include <QKeyEvent>
#include <QPainter>
#include <QPixmap>
#include <algorithm>
#include <cmath>

namespace {

using PlayerLayout::kVolumeKnob;
using PlayerLayout::kVolumeTrack;

// The knob's left edge once centred on the track.
constexpr double kCentredKnobLeft =
    kVolumeTrack.left + kVolumeTrack.width / 2 - kVolumeKnob.width / 2;
// The slider's own box on the face: the track and every place of the knob.
constexpr double kLeft = std::min({kVolumeKnob.left, kCentredKnobLeft, kVolumeTrack.left});
constexpr double kTop = kVolumeTrack.top - kVolumeKnob.height;
constexpr double kRight =
    std::max({kVolumeKnob.left + kVolumeKnob.width, kCentredKnobLeft + kVolumeKnob.width,
              kVolumeTrack.left + kVolumeTrack.width});
constexpr double kBottom = kVolumeTrack.top + kVolumeTrack.height;
constexpr double kLowestKnobTop = kVolumeTrack.top + kVolumeTrack.height - kVolumeKnob.height;

constexpr int kDragMs = 10;
// What an arrow key and a page key move the volume by.
constexpr int kKeyStep = 5;
constexpr int kPageStep = 20;
// Where the pointer holds the knob, and how far above the track it may aim, so that the
// knob's middle follows the pointer.
constexpr double kGripOffset = 350;
constexpr double kAimAbove = 1.35;

double twips(int pixels)
{
    return Twips::fromPixels(pixels);
}

} // namespace

VolumeKnob::VolumeKnob(const QString& knobImage, const QString& trackImage, QWidget* face)
    : QWidget(face), m_knob(new PointerLabel(this)), m_track(new PointerLabel(this))
{
    setObjectName(QStringLiteral("volumeKnob"));
    m_knob->setObjectName(QStringLiteral("knobHandle"));
    m_track->setObjectName(QStringLiteral("knobTrack"));
    m_dragTimer.setObjectName(QStringLiteral("knobDragTimer"));
    m_dragTimer.setInterval(kDragMs);
    Twips::place(this, kLeft, kTop, kRight - kLeft, kBottom - kTop);
    setFocusPolicy(Qt::TabFocus);

    m_track->setScaledContents(true);
    m_track->setPixmap(SkinImage::pixmap(trackImage));
    Twips::place(m_track, kVolumeTrack.left - kLeft, kVolumeTrack.top - kTop, kVolumeTrack.width,
                 kVolumeTrack.height);
    // Above the track, so that the knob shows and takes the pointer where the two overlap.
    m_knob->raise();
    m_knob->setScaledContents(true);
    m_knob->setPixmap(SkinImage::pixmap(knobImage));
    Twips::place(m_knob, kVolumeKnob.left - kLeft, kVolumeKnob.top - kTop, kVolumeKnob.width,
                 kVolumeKnob.height);
    m_knobTop = kVolumeKnob.top;

    connect(&m_dragTimer, &QTimer::timeout, this, &VolumeKnob::followKnobDrag);
    connect(m_knob, &PointerLabel::pressed, this,
            [this](Qt::MouseButton button, QPoint) { pressKnob(button); });
    connect(m_knob, &PointerLabel::moved, this,
            [this](Qt::MouseButtons buttons, QPoint at) { dragKnob(buttons, twips(at.y())); });
    connect(m_knob, &PointerLabel::released, this,
            [this](Qt::MouseButton button, QPoint) { releaseKnob(button); });
    connect(m_track, &PointerLabel::pressed, this, &VolumeKnob::pressTrack);
    connect(m_track, &PointerLabel::moved, this, &VolumeKnob::moveOverTrack);
    connect(m_track, &PointerLabel::released, this,
            [this](Qt::MouseButton button, QPoint at) { releaseTrack(button, twips(at.y())); });
}

void VolumeKnob::moveKnob(double top)
{
    m_knobTop = top;
    m_knob->move(m_knob->x(), Twips::toPixels(top - kTop));
}

int VolumeKnob::valueAtKnob() const
{
    return VolumeSlider::value(m_knobTop, kVolumeTrack.top, kVolumeTrack.height,
                               kVolumeKnob.height);
}

void VolumeKnob::setStoredKnobTop(double twips)
{
    // A hand-edited value never puts the knob off its track.
    moveKnob(std::clamp(twips, kVolumeTrack.top, kLowestKnobTop));
}

void VolumeKnob::centre()
{
    m_dragTimer.stop();
    moveKnob(kVolumeTrack.top + (kVolumeTrack.height - kVolumeKnob.height) / 2);
    m_knob->move(Twips::toPixels(kCentredKnobLeft - kLeft), m_knob->y());
    m_value = valueAtKnob();
}

void VolumeKnob::moveToValue(int value)
{
    m_dragTimer.stop();
    m_value = std::clamp(value, 0, 100);
    moveKnob(kVolumeTrack.top + (100 - m_value) * (kLowestKnobTop - kVolumeTrack.top) / 100);
}

void VolumeKnob::setKnobToolTip(const QString& text)
{
    m_knob->setToolTip(text);
}

void VolumeKnob::chooseValue(int value)
{
    moveToValue(value);
    QAccessibleValueChangeEvent change(this, m_value);
    QAccessible::updateAccessibility(&change);
    Q_EMIT volumeChanged(m_value);
}

void VolumeKnob::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Up:
    case Qt::Key_Right:
        chooseValue(m_value + kKeyStep);
        break;
    case Qt::Key_Down:
    case Qt::Key_Left:
        chooseValue(m_value - kKeyStep);
        break;
    case Qt::Key_PageUp:
        chooseValue(m_value + kPageStep);
        break;
    case Qt::Key_PageDown:
        chooseValue(m_value - kPageStep);
        break;
    case Qt::Key_End:
        chooseValue(100);
        break;
    case Qt::Key_Home:
        chooseValue(0);
        break;
    default:
        QWidget::keyPressEvent(event);
    }
}

void VolumeKnob::paintEvent(QPaintEvent*)
{
    if (!hasFocus())
        return;
    QPainter painter(this);
    painter.setPen(QPen(palette().color(QPalette::Highlight), 2, Qt::DotLine));
    painter.drawRect(rect().adjusted(1, 1, -1, -1));
}

void VolumeKnob::pressKnob(Qt::MouseButton button)
{
    m_dragTimer.start();
    m_dragButtons = button;
}

void VolumeKnob::dragKnob(Qt::MouseButtons buttons, double y)
{
    Q_EMIT touched();
    m_dragButtons = buttons;
    const double aimed = m_knobTop + y - kGripOffset;
    m_dragTarget = std::max(aimed, kVolumeTrack.top - kAimAbove * kVolumeKnob.height);
    Q_EMIT volumeChanged(m_value);
    if (m_knobTop < kVolumeTrack.top)
        moveKnob(kVolumeTrack.top);
    if (m_knobTop > kLowestKnobTop)
        moveKnob(kLowestKnobTop);
}

void VolumeKnob::followKnobDrag()
{
    if (m_dragButtons == Qt::LeftButton) {
        double top = std::round(m_dragTarget - kVolumeKnob.height / 2 + kVolumeTrack.top);
        top = std::max(std::min(top, kLowestKnobTop), 0.0);
        if (top != m_knobTop)
            moveKnob(top);
    }
    m_value = valueAtKnob();
}

void VolumeKnob::releaseKnob(Qt::MouseButton button)
{
    m_dragTimer.stop();
    m_dragButtons = button;
    Q_EMIT volumeChanged(m_value);
}

void VolumeKnob::pressTrack()
{
    Q_EMIT trackPressed();
}

void VolumeKnob::moveOverTrack()
{
    Q_EMIT touched();
}

void VolumeKnob::releaseTrack(Qt::MouseButton button, double y)
{
    m_dragButtons = button;
    moveKnob(std::clamp(kVolumeTrack.top + y - kVolumeKnob.height / 2, kVolumeTrack.top,
                        kLowestKnobTop));
    m_value = valueAtKnob();
    Q_EMIT volumeChanged(m_value);
}
