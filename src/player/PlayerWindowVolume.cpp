#include "core/AppState.h"
#include "platform/MediaPlayer.h"
#include "platform/Twips.h"
#include "player/PlayerLayout.h"
#include "player/PlayerWindow.h"
#include "player/PointerLabel.h"
#include "player/SkinButton.h"
#include "player/VolumeSlider.h"

#include <QLabel>
#include <cmath>

namespace {

using PlayerLayout::kVolumeKnob;
using PlayerLayout::kVolumeTrack;

constexpr int kDragMs = 10;
// Where the pointer holds the knob, and how far above the track it may aim, so that the
// knob's middle follows the pointer.
constexpr double kGripOffset = 350;
constexpr double kAimAbove = 1.35;

} // namespace

void PlayerWindow::setKnobTop(double twips)
{
    m_knobTop = twips;
    Image1->move(Image1->x(), Twips::toPixels(twips));
}

QString PlayerWindow::knobValueText() const
{
    return QString::number(VolumeSlider::value(m_knobTop, kVolumeTrack.top, kVolumeTrack.height,
                                               kVolumeKnob.height, VolumeScale));
}

void PlayerWindow::centreVolumeKnob()
{
    Timer2.stop();
    Timer2.setInterval(kDragMs);
    setKnobTop(kVolumeTrack.top + (kVolumeTrack.height - kVolumeKnob.height) / 2);
    Image1->move(
        Twips::toPixels(kVolumeTrack.left + kVolumeTrack.width / 2 - kVolumeKnob.width / 2),
        Image1->y());
    m_knobTag = knobValueText();
}

void PlayerWindow::applyVolume()
{
    VolumeValue =
        static_cast<int>(std::lround(std::clamp(ValueEntry::leadingNumber(m_knobTag), -1e9, 1e9)));
    int percent = VolumeSlider::percentage(VolumeValue, VolumeScale);
    if (m_platform.media) {
        m_platform.media->setVolume(percent);
        percent = m_platform.media->volume();
    }
    m_volumeLabel->setText(QString::number(percent) + QStringLiteral("%"));
}

void PlayerWindow::Image1_MouseDown(Qt::MouseButton button)
{
    Timer2.start(kDragMs);
    SliderButton = button;
}

void PlayerWindow::Image1_MouseMove(Qt::MouseButtons buttons, double y)
{
    startFade(-15);
    SliderButton = static_cast<int>(buttons);
    const double candidate = m_knobTop + y - kGripOffset;
    const double floor = kVolumeTrack.top - kAimAbove * kVolumeKnob.height;
    KnobTarget = candidate > floor ? candidate : floor;
    applyVolume();
    if (m_knobTop < kVolumeTrack.top)
        setKnobTop(kVolumeTrack.top);
    if (m_knobTop + kVolumeKnob.height > kVolumeTrack.top + kVolumeTrack.height)
        setKnobTop(kVolumeTrack.top + kVolumeTrack.height - kVolumeKnob.height);
    returnFocus();
}

void PlayerWindow::followKnobDrag()
{
    if (SliderButton == Qt::LeftButton) {
        double top = std::round(KnobTarget - kVolumeKnob.height / 2 + kVolumeTrack.top);
        if (top + kVolumeKnob.height - kVolumeTrack.top > kVolumeTrack.height)
            top = kVolumeTrack.height - kVolumeKnob.height + kVolumeTrack.top;
        if (top < 0)
            top = 0;
        if (top != m_knobTop)
            setKnobTop(top);
    }
    m_knobTag = knobValueText();
}

void PlayerWindow::Image1_MouseUp(Qt::MouseButton button)
{
    Timer2.stop();
    SliderButton = button;
    applyVolume();
    returnFocus();
}

void PlayerWindow::Image2_MouseDown()
{
    FadeLevel = -15;
    m_volumeLabel->setStyleSheet(QStringLiteral("color: rgb(255, 0, 0); background: transparent;"));
}

void PlayerWindow::Image2_MouseMove()
{
    startFade(-15);
}

void PlayerWindow::Image2_MouseUp(Qt::MouseButton button, double y)
{
    SliderButton = button;
    double top = kVolumeTrack.top + y - kVolumeKnob.height / 2;
    if (kVolumeTrack.top > top)
        top = kVolumeTrack.top;
    if (top + kVolumeKnob.height > kVolumeTrack.top + kVolumeTrack.height)
        top = kVolumeTrack.top + kVolumeTrack.height - kVolumeKnob.height;
    setKnobTop(top);
    VolumeScale = 100;
    m_knobTag = knobValueText();
    applyVolume();
    returnFocus();
}

void PlayerWindow::seekToClick(double x)
{
    if (!hasMedia())
        return;
    MediaPlayer* media = m_platform.media;
    const double width = PlayerLayout::kPosition.width;
    media->setCurrentPosition(std::floor(media->duration() / width * x));
    media->play();
    if (playTagIs(kEntryPlay)) {
        setPlayTag(kEntryPause);
        togglePlayPause();
    }
    refreshDisplay();
}
