#include "app/AppState.h"
#include "editor/EditorCommands.h"
#include "platform/MediaPlayer.h"
#include "platform/Twips.h"
#include "player/CaptionLabel.h"
#include "player/Form1.h"
#include "player/MediaTitle.h"
#include "player/PlayerLayout.h"
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

bool Form1::hasMedia() const
{
    return m_platform.media && !m_platform.media->url().isEmpty();
}

void Form1::setPlayTag(int entry)
{
    cmdPlay->setTag(m_state.texts.text(entry));
    mnuPlay->setText(m_state.texts.text(entry));
}

bool Form1::playTagIs(int entry) const
{
    return cmdPlay->tag() == m_state.texts.text(entry);
}

void Form1::showPlayImage(SkinButton* button, const QString& name)
{
    button->showImage(imagePath(name));
}

void Form1::cmdPlay_Click()
{
    MediaPlayer* media = m_platform.media;
    if (!hasMedia())
        return;
    if (!playTagIs(kEntryPlay)) {
        setPlayTag(kEntryPlay);
        Timer5.stop();
        media->setCurrentPosition(media->currentPosition() - m_state.backSeconds);
        media->pause();
        if (!m_justOpened && Label4->isVisible())
            showPlayImage(cmdPlay, QStringLiteral("play2.jpg"));
    } else {
        setPlayTag(kEntryPause);
        if (media->currentPosition() == 0)
            media->pause();
        media->play();
        Timer1.start(kRefreshMs);
        Timer4.start(kWatchMs);
        if (mnuSmartPlay->isChecked())
            Timer5.start(m_state.playTime * 1000);
        else
            Timer5.stop();
        cmdIndietro->setEnabled(true);
        cmdAvanz->setEnabled(true);
        Shape1->show();
        if (!m_justOpened)
            showPlayImage(cmdPlay, QStringLiteral("pause2.jpg"));
    }
    returnFocus();
}

void Form1::cmdAvanz_click()
{
    if (m_state.jumpSeconds == 0)
        m_state.jumpSeconds = 2;
    if (hasMedia())
        m_platform.media->setCurrentPosition(m_platform.media->currentPosition() +
                                             m_state.jumpSeconds);
    Timer1_Timer();
    returnFocus();
}

void Form1::cmdIndietro_Click()
{
    if (m_state.jumpSeconds == 0)
        m_state.jumpSeconds = 2;
    if (hasMedia())
        m_platform.media->setCurrentPosition(m_platform.media->currentPosition() -
                                             m_state.jumpSeconds);
    Timer1_Timer();
    returnFocus();
}

void Form1::mnuStop_Click()
{
    Timer1_Timer();
    Timer1.stop();
    QString duration;
    if (m_platform.media) {
        m_platform.media->stop();
        duration = m_platform.media->durationString();
    }
    Label2->setText(QStringLiteral("0:00 / ") + MediaTitle::colons(duration));
    // The menu shows the same state as the button, so it reads "Play" after a stop.
    setPlayTag(kEntryPlay);
    showPlayImage(cmdPlay, QStringLiteral("play.jpg"));
}

void Form1::Timer1_Timer()
{
    MediaPlayer* media = m_platform.media;
    if (!media)
        return;
    if (m_justOpened)
        showPlayImage(cmdPlay, QStringLiteral("pause.jpg"));

    const QString duration = MediaTitle::colons(media->durationString());
    if (!m_mediaFailed)
        Label4->setCaption(MediaTitle::caption(
            m_state.currentMediaPath, mnuTitoloCompleto->isChecked(), media->durationString()));

    const double position = media->currentPosition();
    if (position > 0)
        Label2->setText(MediaTitle::colons(media->currentPositionString()) + QStringLiteral(" / ") +
                        duration);

    const double length = media->duration();
    if (length > 0) {
        const double share = std::clamp(position / length, 0.0, 1.0);
        Shape1->resize(Twips::toPixels(std::floor(PlayerLayout::kPosition.width * share)),
                       Shape1->height());
        return;
    }
    Shape1->resize(0, Shape1->height());
    if (!m_justOpened)
        showPlayImage(cmdPlay, QStringLiteral("play.jpg"));
    Label2->setText(QStringLiteral("0:00 / ") + duration);
}

void Form1::setBusyPointer(bool busy)
{
    if (busy == m_busyPointer)
        return;
    m_busyPointer = busy;
    if (busy)
        QApplication::setOverrideCursor(Qt::WaitCursor);
    else
        QApplication::restoreOverrideCursor();
}

void Form1::Timer4_Timer()
{
    const int state = m_platform.media ? m_platform.media->playState() : MediaPlayer::Undefined;
    setBusyPointer(state == MediaPlayer::Busy);
    if (state == MediaPlayer::Stopped) {
        mnuStop_Click();
        Timer4.stop();
    }
}

void Form1::returnFocus()
{
    QWidget* editor = editorWindow();
    if (m_editor && editor && editor->isVisible())
        m_editor->giveFocus();
}
