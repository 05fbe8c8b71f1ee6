#pragma once

#include "player/ValueEntry.h"

#include <QDialog>
#include <functional>

class Dialogs;
class QLabel;
class QLineEdit;
class InterfaceTexts;
class QPushButton;

// The value-entry dialog: one field for a playback option, a position to go to or the
// description of a new bookmark. It is made afresh for every use.
class ValueDialog : public QDialog {
    Q_OBJECT
public:
    using Mode = ValueEntry::Mode;

    ValueDialog(const InterfaceTexts& texts, Dialogs& dialogs, const QPixmap& background,
                QWidget* parent = nullptr);

    // Sets the caption, the prompt and the field for a mode; a numeric setting shows `setting`,
    // its value when the dialog opens.
    void setMode(Mode mode, int setting = 0);
    Mode mode() const { return m_mode; }

    // OK: takes the typed value (or description) and closes, unless the value is refused.
    void confirm();
    void cancel();

    // What OK does with a new bookmark's description; it returns false to keep the dialog open
    // (the bookmark exists already).
    void setBookmarkAcceptor(std::function<bool(const QString& description)> accept)
    {
        m_acceptBookmark = std::move(accept);
    }

Q_SIGNALS:
    // OK with a numeric setting: its new value, brought into its range.
    void settingChosen(int value);
    // OK with a position to go to, in seconds.
    void goToRequested(double seconds);
    // A numeric setting or a go-to was accepted: the settings are to be saved.
    void valueStored();

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    QString prompt() const;
    // Sized for the prompt, however many lines it wraps onto, and centred on the screen.
    void fitToPrompt();

    const InterfaceTexts& m_texts;
    Dialogs& m_dialogs;
    Mode m_mode = Mode::GoTo;
    int m_setting = 0;
    std::function<bool(const QString& description)> m_acceptBookmark;
    QLabel* m_background = nullptr;
    QLabel* m_promptLabel = nullptr;
    QLineEdit* m_valueEdit = nullptr;
    QPushButton* m_okButton = nullptr;
    QPushButton* m_cancelButton = nullptr;
};
