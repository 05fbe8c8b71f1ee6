#pragma once

#include "player/ValueEntry.h"

#include <QDialog>
#include <functional>

class Dialogs;
class QLabel;
class QLineEdit;
class QPushButton;
struct AppState;

// The value-entry dialog: one field for a playback option, a position to go to or the
// description of a new bookmark. It is made afresh for every use.
class ValueDialog : public QDialog {
    Q_OBJECT
public:
    using Mode = ValueEntry::Mode;

    ValueDialog(AppState& state, Dialogs& dialogs, const QPixmap& background,
                QWidget* parent = nullptr);

    // Sets the caption, the prompt and the field for a mode; a numeric setting is first brought
    // into its lower bound (and stays so even if the user cancels).
    void setMode(Mode mode);
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
    // OK with a position to go to, in seconds.
    void goToRequested(double seconds);
    // A numeric setting or a go-to was accepted: the settings are to be saved.
    void valueStored();

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    int* setting();
    QString prompt() const;
    // Sized for the prompt, however many lines it wraps onto, and centred on the screen.
    void fitToPrompt();

    AppState& m_state;
    Dialogs& m_dialogs;
    Mode m_mode = Mode::GoTo;
    std::function<bool(const QString& description)> m_acceptBookmark;
    QLabel* m_background = nullptr;
    QLabel* m_promptLabel = nullptr;
    QLineEdit* m_valueEdit = nullptr;
    QPushButton* m_okButton = nullptr;
    QPushButton* m_cancelButton = nullptr;
};
