#include "core/AppState.h"
#include "core/EditorCommands.h"
#include "platform/MediaPlayer.h"
#include "platform/Twips.h"
#include "player/MediaTitle.h"
#include "player/PlayerFace.h"
#include "player/PlayerLayout.h"
#include "player/PlayerWindow.h"

#include <QAction>
#include <algorithm>
#include <cmath>

void PlayerWindow::togglePlayPause()
{
    m_playback->togglePlayPause();
}

void PlayerWindow::playFrom(double seconds)
{
    if (!m_playback->hasMedia())
        return;
    m_platform.media->setCurrentPosition(std::max(seconds, 0.0));
    if (m_playback->isPlaying())
        refreshDisplay();
    else
        m_playback->togglePlayPause();
    returnFocus();
}

void PlayerWindow::stop()
{
    m_playback->stop();
}

void PlayerWindow::skipForward()
{
    m_playback->skipForward();
}

void PlayerWindow::skipBack()
{
    m_playback->skipBack();
}

void PlayerWindow::showPlayState(PlayState state)
{
    if (state == PlayState::Stopped) {
        const QString length = m_platform.media ? m_platform.media->durationString() : QString();
        m_face->showStartPosition(MediaTitle::colons(length));
    }
    m_commands.showStates();
    m_face->showPlayState(state, m_playback->isPlaying());
}

void PlayerWindow::showPosition()
{
    MediaPlayer* media = m_platform.media;
    if (!media)
        return;
    m_media->refreshTitle();
    const QString duration = MediaTitle::colons(media->durationString());

    const double position = media->currentPosition();
    if (position > 0)
        m_face->showPositionText(MediaTitle::colons(media->currentPositionString()) +
                                 QStringLiteral(" / ") + duration);

    const double length = media->duration();
    if (length > 0) {
        m_face->showProgress(std::clamp(position / length, 0.0, 1.0));
        return;
    }
    m_face->showStartPosition(duration);
}

void PlayerWindow::seekToClick(double x)
{
    if (!m_playback->hasMedia())
        return;
    const double width = PlayerLayout::kPosition.width;
    m_playback->playFrom(std::floor(m_platform.media->duration() / width * x));
}

void PlayerWindow::returnFocus()
{
    QWidget* editor = m_companions.editorWindow();
    if (m_peers.editor && editor && editor->isVisible())
        m_peers.editor->giveFocus();
}

QString PlayerWindow::mediaPath() const
{
    return hasMedia() ? m_platform.media->url() : QString();
}

double PlayerWindow::position() const
{
    return hasMedia() ? m_platform.media->currentPosition() : 0;
}

double PlayerWindow::duration() const
{
    return hasMedia() ? m_platform.media->duration() : 0;
}

QString PlayerWindow::positionText() const
{
    return hasMedia() ? m_platform.media->currentPositionString() : QString();
}

QString PlayerWindow::durationText() const
{
    return hasMedia() ? m_platform.media->durationString() : QString();
}

double PlayerWindow::rate() const
{
    return m_platform.media ? m_platform.media->rate() : 1.0;
}

int PlayerWindow::volume() const
{
    return m_platform.media ? m_platform.media->volume() : 0;
}
