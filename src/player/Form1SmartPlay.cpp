#include "app/AppState.h"
#include "platform/Dialogs.h"
#include "platform/MediaPlayer.h"
#include "player/CaptionLabel.h"
#include "player/Form1.h"
#include "player/SkinButton.h"

#include <QAction>

namespace {

} // namespace

void Form1::mnuSmartPlay_Click()
{
    if (mnuSmartPlay->isChecked()) {
        mnuSmartPlay->setChecked(false);
        Timer5.stop();
    } else {
        mnuSmartPlay->setChecked(true);
        m_platform.dialogs->information(this, m_state.texts.plain(124), m_state.texts.plain(127));
    }
    Salva();
}

void Form1::Timer5_Timer()
{
    // After the recording was closed the cycle has nothing to play.
    if (!hasMedia()) {
        Timer5.stop();
        return;
    }
    if (playTagIs(kEntryPlay)) {
        cmdPlay_Click();
        return;
    }
    MediaPlayer* media = m_platform.media;
    setPlayTag(kEntryPlay);
    media->setCurrentPosition(media->currentPosition() - m_state.backSeconds);
    media->pause();
    Timer5.start(m_state.pauseTime * 1000);
    if (!m_justOpened && Label4->isVisible())
        showPlayImage(cmdPlay, QStringLiteral("play2.jpg"));
    returnFocus();
}
