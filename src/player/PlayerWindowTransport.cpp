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
#include <cmath>

namespace {

constexpr int kRefreshMs = 100;
constexpr int kWatchMs = 200;

} // namespace

bool PlayerWindow::hasMedia() const
{
    return m_platform.media && !m_platform.media->url().isEmpty();
}

void PlayerWindow::setPlayTag(Text entry)
{
    m_playButton->setTag(m_state.texts.text(entry));
    m_playAction->setText(m_state.texts.text(entry));
}

bool PlayerWindow::playTagIs(Text entry) const
{
    return m_playButton->tag() == m_state.texts.text(entry);
}

void PlayerWindow::showPlayImage(SkinButton* button, const QString& name)
{
    button->showImage(imagePath(name));
}

void PlayerWindow::togglePlayPause()
{
    MediaPlayer* media = m_platform.media;
    if (!hasMedia())
        return;
    if (!playTagIs(kEntryPlay)) {
        setPlayTag(kEntryPlay);
        Timer5.stop();
        media->setCurrentPosition(media->currentPosition() - m_state.backSeconds);
        media->pause();
        if (!m_justOpened && m_titleLabel->isVisible())
            showPlayImage(m_playButton, QStringLiteral("play2.jpg"));
    } else {
        setPlayTag(kEntryPause);
        if (media->currentPosition() == 0)
            media->pause();
        media->play();
        Timer1.start(kRefreshMs);
        Timer4.start(kWatchMs);
        if (m_smartPlayAction->isChecked())
            Timer5.start(m_state.playTime * 1000);
        else
            Timer5.stop();
        m_backButton->setEnabled(true);
        m_forwardButton->setEnabled(true);
        m_progressBar->show();
        if (!m_justOpened)
            showPlayImage(m_playButton, QStringLiteral("pause2.jpg"));
    }
    returnFocus();
}

void PlayerWindow::skipForward()
{
    if (m_state.jumpSeconds == 0)
        m_state.jumpSeconds = 2;
    if (hasMedia())
        m_platform.media->setCurrentPosition(m_platform.media->currentPosition() +
                                             m_state.jumpSeconds);
    refreshDisplay();
    returnFocus();
}

void PlayerWindow::skipBack()
{
    if (m_state.jumpSeconds == 0)
        m_state.jumpSeconds = 2;
    if (hasMedia())
        m_platform.media->setCurrentPosition(m_platform.media->currentPosition() -
                                             m_state.jumpSeconds);
    refreshDisplay();
    returnFocus();
}

void PlayerWindow::stop()
{
    refreshDisplay();
    Timer1.stop();
    QString duration;
    if (m_platform.media) {
        m_platform.media->stop();
        duration = m_platform.media->durationString();
    }
    m_positionLabel->setText(QStringLiteral("0:00 / ") + MediaTitle::colons(duration));
    // The menu shows the same state as the button, so it reads "Play" after a stop.
    setPlayTag(kEntryPlay);
    showPlayImage(m_playButton, QStringLiteral("play.jpg"));
}

void PlayerWindow::refreshDisplay()
{
    MediaPlayer* media = m_platform.media;
    if (!media)
        return;
    if (m_justOpened)
        showPlayImage(m_playButton, QStringLiteral("pause.jpg"));

    const QString duration = MediaTitle::colons(media->durationString());
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
    m_progressBar->resize(0, m_progressBar->height());
    if (!m_justOpened)
        showPlayImage(m_playButton, QStringLiteral("play.jpg"));
    m_positionLabel->setText(QStringLiteral("0:00 / ") + duration);
}

void PlayerWindow::setBusyPointer(bool busy)
{
    if (busy == m_busyPointer)
        return;
    m_busyPointer = busy;
    if (busy)
        QApplication::setOverrideCursor(Qt::WaitCursor);
    else
        QApplication::restoreOverrideCursor();
}

void PlayerWindow::watchPlaybackState()
{
    const int state = m_platform.media ? m_platform.media->playState() : MediaPlayer::Undefined;
    setBusyPointer(state == MediaPlayer::Busy);
    if (state == MediaPlayer::Stopped) {
        stop();
        Timer4.stop();
    }
}

void PlayerWindow::returnFocus()
{
    QWidget* editor = editorWindow();
    if (m_editor && editor && editor->isVisible())
        m_editor->giveFocus();
}
