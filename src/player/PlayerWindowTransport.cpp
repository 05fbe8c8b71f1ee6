#include "core/AppState.h"
#include "core/EditorCommands.h"
#include "platform/MediaPlayer.h"
#include "platform/Twips.h"
#include "player/CaptionLabel.h"
#include "player/MediaTitle.h"
#include "player/PlayerLayout.h"
#include "player/PlayerWindow.h"
#include "player/PointerLabel.h"
#include "player/SkinButton.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
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
    switch (state) {
    case PlayState::Playing:
        m_backButton->setEnabled(true);
        m_forwardButton->setEnabled(true);
        m_progressBar->show();
        break;
    case PlayState::Paused:
        break;
    case PlayState::Stopped:
        showStartPosition();
        break;
    }
    m_commands.showStates();
    // However the state changed (a key, the smart-play cycle, the end of the media), the button
    // shows it; the pointer only decides between its normal and its hover picture.
    if (m_playback->isPlaying())
        setPictures(m_playButton, "pause.jpg", "pause2.jpg");
    else
        setPictures(m_playButton, "play.jpg", "play2.jpg");
}

void PlayerWindow::refreshDisplay()
{
    showPosition();
    // Called by those who moved the position themselves (a bookmark's jump).
    Q_EMIT m_events.positionMoved();
}

void PlayerWindow::showPosition()
{
    MediaPlayer* media = m_platform.media;
    if (!media)
        return;
    const QString duration = MediaTitle::colons(media->durationString());
    if (duration != m_shownLength) {
        m_shownLength = duration;
        Q_EMIT m_events.mediaChanged();
    }
    if (!m_mediaFailed)
        m_titleLabel->setCaption(MediaTitle::caption(
            m_state.currentMediaPath, m_fullPathAction->isChecked(), media->durationString()));

    const double position = media->currentPosition();
    if (position > 0)
        m_positionLabel->setText(MediaTitle::colons(media->currentPositionString()) +
                                 QStringLiteral(" / ") + duration);

    const double length = media->duration();
    if (length > 0) {
        const double share = std::clamp(position / length, 0.0, 1.0);
        m_progressBar->resize(Twips::toPixels(std::floor(PlayerLayout::kPosition.width * share)),
                              m_progressBar->height());
        return;
    }
    showStartPosition();
}

void PlayerWindow::showStartPosition()
{
    const QString duration = m_platform.media ? m_platform.media->durationString() : QString();
    m_positionLabel->setText(QStringLiteral("0:00 / ") + MediaTitle::colons(duration));
    m_progressBar->resize(0, m_progressBar->height());
}

void PlayerWindow::seekToClick(double x)
{
    if (!m_playback->hasMedia())
        return;
    const double width = PlayerLayout::kPosition.width;
    m_playback->playFrom(std::floor(m_platform.media->duration() / width * x));
}

void PlayerWindow::setBusyPointer(bool busy)
{
    if (busy) {
        if (!m_busyPointer && !m_busyPointerDue.isActive())
            m_busyPointerDue.start();
        return;
    }
    m_busyPointerDue.stop();
    if (m_busyPointer) {
        m_busyPointer = false;
        QApplication::restoreOverrideCursor();
    }
}

void PlayerWindow::showBusyPointer()
{
    m_busyPointer = true;
    QApplication::setOverrideCursor(Qt::WaitCursor);
}

void PlayerWindow::returnFocus()
{
    QWidget* editor = m_companions.editorWindow();
    if (m_editor && editor && editor->isVisible())
        m_editor->giveFocus();
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
