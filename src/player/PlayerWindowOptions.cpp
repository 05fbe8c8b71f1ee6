#include "core/AppState.h"
#include "player/PlayerWindow.h"
#include "player/TransportOptions.h"
#include "player/ValueDialog.h"

#include <QLabel>

ValueDialog* PlayerWindow::valueDialog() const
{
    return m_valueDialog;
}

ValueDialog* PlayerWindow::newValueDialog(ValueEntry::Mode mode)
{
    // There is one value dialog: a new command replaces one still open.
    if (m_valueDialog)
        m_valueDialog->close();
    auto* dialog =
        new ValueDialog(m_state.texts, *m_platform.dialogs, m_displayPanel->pixmap(), this);
    dialog->setWindowIcon(windowIcon());
    int shown = 0;
    TransportOptions options = m_playback->options();
    if (int* option = ValueEntry::optionOf(options, mode)) {
        // Brought into its lower bound before it shows, and kept so even if the user cancels.
        *option = ValueEntry::openingValue(mode, *option);
        shown = *option;
        m_playback->setOptions(options);
        connect(dialog, &ValueDialog::settingChosen, this, [this, mode](int value) {
            TransportOptions chosen = m_playback->options();
            *ValueEntry::optionOf(chosen, mode) = value;
            m_playback->setOptions(chosen);
        });
    }
    connect(dialog, &ValueDialog::valueStored, this, &PlayerWindow::saveSettings);
    m_valueDialog = dialog;
    dialog->setMode(mode, shown);
    return dialog;
}

void PlayerWindow::openValueDialog(ValueEntry::Mode mode)
{
    ValueDialog* dialog = newValueDialog(mode);
    if (mode != ValueEntry::Mode::GoTo) {
        dialog->exec();
        return;
    }
    connect(dialog, &ValueDialog::goToRequested, m_playback, &PlaybackController::goTo);
    dialog->show();
}

void PlayerWindow::askBookmarkDescription(const std::function<bool(const QString&)>& add)
{
    ValueDialog* dialog = newValueDialog(ValueEntry::Mode::NewBookmark);
    dialog->setBookmarkAcceptor(add);
    dialog->exec();
}

void PlayerWindow::editSkipSeconds()
{
    openValueDialog(ValueEntry::Mode::JumpSeconds);
}

void PlayerWindow::editBackSeconds()
{
    openValueDialog(ValueEntry::Mode::SecondsBack);
}

void PlayerWindow::editPlayTime()
{
    openValueDialog(ValueEntry::Mode::PlayTime);
}

void PlayerWindow::editPauseTime()
{
    openValueDialog(ValueEntry::Mode::PauseTime);
}

void PlayerWindow::goToTime()
{
    openValueDialog(ValueEntry::Mode::GoTo);
}
