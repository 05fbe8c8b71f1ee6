#pragma once

#include "player/ValueEntry.h"

#include <QObject>
#include <QPixmap>
#include <QPointer>
#include <functional>

class Dialogs;
class InterfaceTexts;
class PlaybackController;
class QWidget;
class ValueDialog;

// The commands that ask for a value over the player: the transport's options, the position to
// go to and a new bookmark's description. A chosen option goes straight to the transport.
class ValueCommands : public QObject {
    Q_OBJECT
public:
    // The dialogs open over `owner`, with its icon, on the `background` picture.
    ValueCommands(const InterfaceTexts& texts, Dialogs& dialogs, PlaybackController* playback,
                  const QPixmap& background, QWidget* owner);

    // Opens the dialog for the mode: modal for an option, beside the player for GoTo.
    void open(ValueEntry::Mode mode);
    // Asks for a new bookmark's description; `add` returns false to keep the dialog open.
    void askBookmarkDescription(const std::function<bool(const QString&)>& add);
    // The dialog opened last, while it is open.
    ValueDialog* dialog() const;

Q_SIGNALS:
    // The dialog stored a value the settings file keeps.
    void valueStored();

private:
    ValueDialog* newDialog(ValueEntry::Mode mode);

    const InterfaceTexts& m_texts;
    Dialogs& m_dialogs;
    PlaybackController* m_playback;
    QPixmap m_background;
    QWidget* m_owner;
    QPointer<ValueDialog> m_dialog;
};
