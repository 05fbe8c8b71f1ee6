#include "app/AppState.h"
#include "platform/MediaPlayer.h"
#include "player/Form1.h"
#include "player/Form4.h"
#include "player/SkinButton.h"

#include <QLabel>

namespace {

} // namespace

Form4* Form1::valueDialog() const
{
    return m_valueDialog;
}

Form4* Form1::newValueDialog(ValueEntry::Mode mode)
{
    // There is one value dialog: a new command replaces one still open.
    if (m_valueDialog)
        m_valueDialog->close();
    auto* dialog = new Form4(m_state, *m_platform.dialogs, Shape3->pixmap(), this);
    dialog->setWindowIcon(windowIcon());
    dialog->onStored = [this] { Salva(); };
    m_valueDialog = dialog;
    dialog->setMode(mode);
    return dialog;
}

void Form1::openValueDialog(ValueEntry::Mode mode)
{
    Form4* dialog = newValueDialog(mode);
    if (mode != ValueEntry::Mode::GoTo) {
        dialog->exec();
        return;
    }
    dialog->onGoTo = [this](double seconds) {
        if (m_platform.media)
            m_platform.media->setCurrentPosition(seconds);
        if (hasMedia() && playTagIs(kEntryPlay)) {
            // Pausing from "playing" steps back from the typed position, as every pause does.
            setPlayTag(kEntryPause);
            cmdPlay_Click();
        }
        Timer1_Timer();
    };
    dialog->show();
}

void Form1::askBookmarkDescription(const std::function<bool(const QString&)>& add)
{
    Form4* dialog = newValueDialog(ValueEntry::Mode::NewBookmark);
    dialog->onBookmark = add;
    dialog->exec();
}

void Form1::mnuSalto_Click()
{
    openValueDialog(ValueEntry::Mode::JumpSeconds);
}

void Form1::mnuSecIndietro_Click()
{
    openValueDialog(ValueEntry::Mode::SecondsBack);
}

void Form1::mnuTempoPlay_Click()
{
    openValueDialog(ValueEntry::Mode::PlayTime);
}

void Form1::mnuTempoPause_Click()
{
    openValueDialog(ValueEntry::Mode::PauseTime);
}

void Form1::mnuVai_Click()
{
    openValueDialog(ValueEntry::Mode::GoTo);
}
