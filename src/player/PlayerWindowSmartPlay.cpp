#include "core/AppState.h"
#include "platform/Dialogs.h"
#include "platform/MediaPlayer.h"
#include "player/CaptionLabel.h"
#include "player/PlayerWindow.h"
#include "player/SkinButton.h"

#include <QAction>

namespace {

} // namespace

void PlayerWindow::toggleSmartPlay()
{
    if (m_smartPlayAction->isChecked()) {
        m_smartPlayAction->setChecked(false);
        Timer5.stop();
    } else {
        m_smartPlayAction->setChecked(true);
        m_platform.dialogs->information(this, m_state.texts.plain(Text::SmartPlay),
                                        m_state.texts.plain(Text::SmartPlayExplained));
    }
    saveSettings();
}

void PlayerWindow::advanceSmartPlay()
{
    // After the recording was closed the cycle has nothing to play.
    if (!hasMedia()) {
        Timer5.stop();
        return;
    }
    if (playTagIs(kEntryPlay)) {
        togglePlayPause();
        return;
    }
    MediaPlayer* media = m_platform.media;
    setPlayTag(kEntryPlay);
    media->setCurrentPosition(media->currentPosition() - m_state.backSeconds);
    media->pause();
    Timer5.start(m_state.pauseTime * 1000);
    if (!m_justOpened && m_titleLabel->isVisible())
        showPlayImage(m_playButton, QStringLiteral("play2.jpg"));
    returnFocus();
}
