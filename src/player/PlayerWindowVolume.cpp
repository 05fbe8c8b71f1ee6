#include "platform/MediaPlayer.h"
#include "player/PlayerWindow.h"
#include "player/VolumeKnob.h"
#include "player/VolumeSlider.h"

#include <QLabel>

void PlayerWindow::applyVolume()
{
    int percent = VolumeSlider::percentage(m_volumeKnob->value());
    if (m_platform.media) {
        m_platform.media->setVolume(percent);
        percent = m_platform.media->volume();
    }
    m_volumeLabel->setText(QString::number(percent) + QStringLiteral("%"));
    Q_EMIT m_events.volumeChanged();
}

void PlayerWindow::setVolumeLevel(int percent)
{
    m_volumeKnob->moveToValue(percent);
    applyVolume();
}
