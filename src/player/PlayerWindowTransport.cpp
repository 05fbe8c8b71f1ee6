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
    m_session->refreshTitle();
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
