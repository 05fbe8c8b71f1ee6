#pragma once

#include "core/Text.h"
#include "editor/FindSession.h"

#include <QDialog>
#include <QPointer>

class Dialogs;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QPushButton;
class RichTextBox;
struct AppState;

// The find and replace dialog over the editor's text area: modeless, on top, no owner. It lives
// until it is cancelled or closed (it deletes itself), and the texts used while it lives are the
// lists of its two boxes.
//
// The Find button's caption tells where the next search starts: "&" and the Find text at the top,
// the Find next text after the selection. The Replace button's caption tells what its next press
// does: the Replace text and "..." only finds, the Replace text alone replaces the match found and
// finds the next.
class FindDialog : public QDialog {
    Q_OBJECT
public:
    enum class Mode { Find, Replace };

    // Takes the text area's selection, up to its first line break, as the text to find. Give no
    // parent: the dialog stays on top of its own. It closes when the text area goes.
    FindDialog(const AppState& state, Dialogs& dialogs, RichTextBox* text, Mode mode,
               QWidget* parent = nullptr);

    Mode mode() const { return m_mode; }
    // Where the next search starts, what Replace does next, the cut of the text to find.
    const FindSession& session() const { return m_session; }

    // Shows the dialog or, when it is shown, brings it forward as it is.
    void bringForward();
    // The captions from the interface text table; a language change runs it. What the buttons
    // will do next stays as it was.
    void retranslate();

    // The buttons' commands.
    void find();
    void replace();
    void replaceAll();

    // Appends the box's text to its list unless it is there already or blank.
    void rememberFindText();
    void rememberReplaceText();

    // A text dropped on the box: its first line, trimmed, becomes the box's text.
    void dropOnFindBox(const QString& dropped);
    void dropOnReplaceBox(const QString& dropped);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void buildControls();
    // The Find and Replace buttons tell what their next press does.
    void showButtons();
    // The buttons after a command, and a message for an outcome that needs one.
    void tellOutcome(FindSession::Outcome outcome);
    // Focus goes back to the text, in the editor's window.
    void focusText();
    void tellNotFound(Text entry);
    void reportError(const QString& reason);

    const AppState& m_state;
    Dialogs& m_dialogs;
    QPointer<RichTextBox> m_text;
    Mode m_mode;
    FindSession m_session;

    QLabel* m_findLabel = nullptr;
    QComboBox* m_findBox = nullptr;
    QLabel* m_replaceLabel = nullptr;
    QComboBox* m_replaceBox = nullptr;
    QPushButton* m_findButton = nullptr;
    QPushButton* m_replaceButton = nullptr;
    QPushButton* m_replaceAllButton = nullptr;
    QPushButton* m_cancelButton = nullptr;
    QGroupBox* m_optionsGroup = nullptr;
    QCheckBox* m_wholeWordBox = nullptr;
    QCheckBox* m_matchCaseBox = nullptr;
};
