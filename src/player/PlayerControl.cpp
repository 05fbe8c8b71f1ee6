#include "player/PlayerControl.h"

#include "core/MenuCommands.h"
#include "core/PlayerEvents.h"
#include "platform/MediaPlayer.h"
#include "player/CompanionWindows.h"
#include "player/MediaSession.h"
#include "player/PlaybackController.h"
#include "player/PlaybackLoop.h"
#include "player/PlayerFace.h"
#include "player/SessionKeeper.h"
#include "player/VolumeSlider.h"

#include <algorithm>

PlayerControl::PlayerControl(const Parts& parts, QObject* parent) : QObject(parent), m_parts(parts)
{
}

void PlayerControl::applyVolume()
{
    int percent = VolumeSlider::percentage(m_parts.face->knobValue());
    if (m_parts.media) {
        m_parts.media->setVolume(percent);
        percent = m_parts.media->volume();
    }
    m_parts.face->showVolume(percent);
    Q_EMIT m_parts.events->volumeChanged();
}

bool PlayerControl::hasMedia() const
{
    return m_parts.playback->hasMedia();
}

QString PlayerControl::mediaPath() const
{
    return hasMedia() ? m_parts.media->url() : QString();
}

double PlayerControl::position() const
{
    return hasMedia() ? m_parts.media->currentPosition() : 0;
}

double PlayerControl::duration() const
{
    return hasMedia() ? m_parts.media->duration() : 0;
}

QString PlayerControl::positionText() const
{
    return hasMedia() ? m_parts.media->currentPositionString() : QString();
}

QString PlayerControl::durationText() const
{
    return hasMedia() ? m_parts.media->durationString() : QString();
}

double PlayerControl::stoppedPosition() const
{
    return m_parts.playback->stoppedPosition();
}

double PlayerControl::rate() const
{
    return m_parts.media ? m_parts.media->rate() : 1.0;
}

int PlayerControl::volume() const
{
    return m_parts.media ? m_parts.media->volume() : 0;
}

PlayState PlayerControl::playState() const
{
    return m_parts.playback->state();
}

void PlayerControl::seekTo(double seconds)
{
    m_parts.playback->seekTo(seconds);
}

void PlayerControl::togglePlayPause()
{
    m_parts.playback->togglePlayPause();
}

void PlayerControl::skipForward()
{
    m_parts.playback->skipForward();
}

void PlayerControl::skipBack()
{
    m_parts.playback->skipBack();
}

void PlayerControl::stop()
{
    m_parts.playback->stop();
}

void PlayerControl::playFrom(double seconds)
{
    if (!hasMedia())
        return;
    m_parts.media->setCurrentPosition(std::max(seconds, 0.0));
    if (m_parts.playback->isPlaying())
        m_parts.playback->refreshDisplay();
    else
        m_parts.playback->togglePlayPause();
    m_parts.companions->returnFocusToEditor();
}

void PlayerControl::refreshDisplay()
{
    m_parts.playback->refreshDisplay();
}

void PlayerControl::setVolumeLevel(int percent)
{
    m_parts.face->moveKnobTo(percent);
    applyVolume();
}

void PlayerControl::openMedia(const QString& path)
{
    m_parts.session->open(path);
}

void PlayerControl::openMediaAt(const QString& path, double seconds)
{
    m_parts.session->openAt(path, seconds);
}

void PlayerControl::runCommand(PlayerCommand command)
{
    m_parts.menus->run(command);
}

void PlayerControl::setBookmarkMenuShown(bool shown)
{
    m_parts.companions->setBookmarkWindowShown(shown);
    m_parts.menus->showStates();
}

void PlayerControl::hideWindows()
{
    m_parts.companions->hideAll();
}

void PlayerControl::showWindows()
{
    // The About window closing as the program ends (a quit closes every window) must not bring
    // the windows back: a window shown again would stop the quit.
    if (m_parts.keeper->hasEnded())
        return;
    m_parts.companions->showAll();
}

void PlayerControl::placeBookmarkWindow(QWidget* window, bool fullHeight)
{
    m_parts.companions->placeBookmarkWindow(window, fullHeight);
}

void PlayerControl::bringToFront()
{
    m_parts.companions->bringPlayerToFront();
}

std::optional<TimeSpan> PlayerControl::loopSpan() const
{
    return m_parts.loop ? m_parts.loop->span() : std::nullopt;
}

void PlayerControl::setLoopMarks(const TimeSpan& span)
{
    if (m_parts.loop)
        m_parts.loop->setMarks(span);
}
