#include "platform/MediaPlayer.h"
#include "player/PlayerFace.h"
#include "player/PlayerWindow.h"
#include "player/VolumeSlider.h"

void PlayerWindow::applyVolume()
{
    int percent = VolumeSlider::percentage(m_face->knobValue());
    if (m_platform.media) {
        m_platform.media->setVolume(percent);
        percent = m_platform.media->volume();
    }
    m_face->showVolume(percent);
    Q_EMIT m_events.volumeChanged();
}

void PlayerWindow::setVolumeLevel(int percent)
{
    m_face->moveKnobTo(percent);
    applyVolume();
}
