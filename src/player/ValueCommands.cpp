#include "player/ValueCommands.h"

#include "player/PlaybackController.h"
#include "player/TransportOptions.h"
#include "player/ValueDialog.h"

ValueCommands::ValueCommands(const InterfaceTexts& texts, Dialogs& dialogs,
                             PlaybackController* playback, const QPixmap& background,
                             QWidget* owner)
    : QObject(owner), m_texts(texts), m_dialogs(dialogs), m_playback(playback),
      m_background(background), m_owner(owner)
{
}

ValueDialog* ValueCommands::dialog() const
{
    return m_dialog;
}

ValueDialog* ValueCommands::newDialog(ValueEntry::Mode mode)
{
    // There is one value dialog: a new command replaces one still open.
    if (m_dialog)
        m_dialog->close();
    auto* dialog = new ValueDialog(m_texts, m_dialogs, m_background, m_owner);
    dialog->setWindowIcon(m_owner->windowIcon());
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
    connect(dialog, &ValueDialog::valueStored, this, &ValueCommands::valueStored);
    m_dialog = dialog;
    dialog->setMode(mode, shown);
    return dialog;
}

void ValueCommands::open(ValueEntry::Mode mode)
{
    ValueDialog* dialog = newDialog(mode);
    if (mode != ValueEntry::Mode::GoTo) {
        dialog->exec();
        return;
    }
    connect(dialog, &ValueDialog::goToRequested, m_playback, &PlaybackController::goTo);
    dialog->show();
}

void ValueCommands::askBookmarkDescription(const std::function<bool(const QString&)>& add)
{
    ValueDialog* dialog = newDialog(ValueEntry::Mode::NewBookmark);
    dialog->setBookmarkAcceptor(add);
    dialog->exec();
}
