#pragma once

#include <QObject>
#include <QPointer>
#include <QString>
#include <QTextDocument>

class RichTextBox;

// The rules of one find and replace session over the editor's text area, apart from the dialog
// that shows it: where the next search starts, whether Replace replaces or only finds, the line
// break a text to find was cut at, and what each command came to.
class FindSession {
    Q_GADGET
public:
    enum class Outcome {
        // A match is selected.
        Found,
        // Nothing matches from the top (for Find) or from the selection (for Replace).
        NotFound,
        // Nothing more below the last match: the next Find starts from the top.
        NoFurther,
        // Replace found its match and replaces it at the next press.
        Armed,
        // Replaced, and the next match, if any, selected.
        Replaced,
        // The text area refuses changes; the reason is in error().
        Refused,
        // The text area is gone.
        NoText,
    };
    Q_ENUM(Outcome)

    explicit FindSession(RichTextBox* text);

    // The text a session starts with: the text area's selection, trimmed, up to its first line
    // break.
    QString takeSelection();
    // A text dropped on a box: its first line, trimmed. On the find box, the cut is remembered.
    QString dropped(const QString& text, bool onFindBox);

    void setOptions(QTextDocument::FindFlags options) { m_options = options; }
    QTextDocument::FindFlags options() const { return m_options; }

    // The next match: from the top at first and after the last one, otherwise after the
    // selection.
    Outcome find(const QString& what);
    // Finds from the selection's start, so that a match already selected is the one replaced;
    // the first press only finds, the next ones replace and find the next match.
    Outcome replace(const QString& what, const QString& replacement);
    // Every occurrence, ignoring case and word bounds and the options; trimmed texts. The count
    // (0 for a blank text to find), or -1 when refused,
    // with the reason in error().
    int replaceAll(const QString& what, const QString& replacement);
    // A text chosen from the history is searched from the top of the text.
    void searchFromTop();

    bool findsFromTop() const { return m_fromTop; }
    bool replaceArmed() const { return m_replaceArmed; }
    // Whether the text to find was cut at a line break; the next replacement puts it back.
    bool findTextCut() const { return m_findTextCut; }
    // Why the last command was refused.
    QString error() const { return m_error; }

private:
    QPointer<RichTextBox> m_text;
    QTextDocument::FindFlags m_options;
    bool m_fromTop = true;
    bool m_replaceArmed = false;
    bool m_findTextCut = false;
    QString m_error;
};
