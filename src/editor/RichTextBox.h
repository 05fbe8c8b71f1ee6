#pragma once

#include "transcript/SubtitleImport.h"

#include <QHash>
#include <QTextEdit>
#include <functional>

class LayoutPacer;
class QPagedPaintDevice;
class QTextCharFormat;

// A key as the editor's handlers see it. A handler that swallows it keeps the text area from
// acting on it.
struct KeyStroke {
    int key = 0;
    Qt::KeyboardModifiers modifiers;
    bool swallowed = false;
};

// The transcript's text area: a QTextEdit with the operations the editor's commands use, on
// selections and whole files. Positions are QTextCursor positions: a line break counts one.
class RichTextBox : public QTextEdit {
    Q_OBJECT
public:
    enum class Alignment { Left = 0, Right = 1, Centre = 2 };

    explicit RichTextBox(QWidget* parent = nullptr);

    int selectionStart() const;
    // Collapses the selection there.
    void setSelectionStart(int position);
    int selectionLength() const;
    void setSelectionLength(int length);
    QString selectedPlainText() const;
    // Replaces the selection with plain text, the caret after it.
    void replaceSelection(const QString& text);
    QByteArray selectedRtf() const;
    // Replaces the selection with the rich text; bytes that are no RTF go in as plain text.
    void replaceSelectionWithRtf(const QByteArray& rtf);

    // The selection's font, or that of the text typed next: "" or 0 when the selection mixes
    // several.
    QString selectionFontName() const;
    void setSelectionFontName(const QString& family);
    double selectionFontSize() const;
    void setSelectionFontSize(double points);

    // True only when the whole selection has the attribute.
    bool selectionBold() const;
    bool selectionItalic() const;
    bool selectionUnderline() const;
    bool selectionStrikeOut() const;
    bool selectionBullet() const;
    void setSelectionBold(bool on);
    void setSelectionItalic(bool on);
    void setSelectionUnderline(bool on);
    void setSelectionStrikeOut(bool on);
    void setSelectionBullet(bool on);
    void setSelectionColour(const QColor& colour);
    void setSelectionAlignment(Alignment alignment);

    // The first match at or after start and before end (-1: the end of the text), selected; -1
    // when there is none, the selection left as it was.
    int find(const QString& text, int start, int end = -1, QTextDocument::FindFlags options = {});
    // The next match after the selection, selected; an empty selection when there is none.
    bool findNext(const QString& text, QTextDocument::FindFlags options = {});

    enum class LoadOutcome { Loaded, Unreadable, NotText, BeyondLimits, Stopped };
    // Asked between the pieces of a reading with the share read, in thousandths; the reading
    // stops when it answers false.
    using LoadProgress = std::function<bool(int permille)>;
    // Replaces the document with the file: RTF when it begins with "{\rtf", otherwise plain text
    // (UTF-8, or Windows-1252 when it is not valid UTF-8). A file beyond the layout limits is
    // not taken, nor binary data. On any failure the document stays; when unreadable `error` gets
    // the system's reason.
    [[nodiscard]] LoadOutcome loadFile(const QString& path, QString* error = nullptr,
                                       const LoadProgress& progress = {});
    // Whether the bytes are a document the box can show: RTF, or text rather than binary data.
    static bool isDocument(const QByteArray& bytes);
    // The same from a file's bytes. RTF that breaks off is read as far as it goes.
    void setContents(const QByteArray& bytes);
    // SRT or WebVTT subtitles as a transcript, their starts as timestamps in `style`.
    ImportSummary setSubtitles(const QByteArray& bytes, Timestamp::Style style);
    // Writes the whole document atomically: plain UTF-8 text under a ".txt" name, RTF under any
    // other. On failure the old file stays whole.
    [[nodiscard]] bool saveFile(const QString& path, QString* error = nullptr) const;
    // The document's bytes as saveFile writes them to that path.
    QByteArray fileContents(const QString& path) const;

    // What the last change did to the plain text, reported with contentChanged: `removed`
    // characters at `position` gave way to `added` ones. Not `known` when several changes came
    // together; then only the whole text tells.
    struct TextChange {
        int position = 0;
        int removed = 0;
        int added = 0;
        bool known = false;
    };
    TextChange lastChange() const { return m_change; }
    // The plain text's length and a piece of it, as toPlainText() gives it: a line or
    // paragraph end as "\n", a no-break space as a space.
    int plainLength() const { return document()->characterCount() - 1; }
    QString plainText(int position, int length) const;

    // Prints the selection, or the whole document when nothing is selected.
    void printSelection(QPagedPaintDevice* printer) const;

Q_SIGNALS:
    // After every change of content or formatting, also by the program and by loading a file.
    void contentChanged();
    // Before the text area acts on a key; a handler may swallow it. A key comes up with the
    // modifiers held when it went down, whatever was let go first; one that went down elsewhere
    // does not come up here.
    void keyDown(KeyStroke& stroke);
    void keyUp(KeyStroke& stroke);
    // After the text area acted on a key press that no handler swallowed.
    void keyHandled(const KeyStroke& stroke);
    // Whether the key is the text area's even where a menu shortcut has it; swallow to keep it.
    void shortcutWanted(KeyStroke& stroke);
    void rightButtonPressed(QPoint globalPosition);
    // A left click with Ctrl alone held, after the caret went to the text position under it.
    void controlClicked(int position);

protected:
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    // Copies, drags and the selection carry RTF and plain text; pastes and drops take RTF first.
    QMimeData* createMimeDataFromSelection() const override;
    bool canInsertFromMimeData(const QMimeData* source) const override;
    void insertFromMimeData(const QMimeData* source) override;

private:
    // Whether every character of the selection (or the caret's format) passes the test.
    bool wholeSelection(bool (*test)(const QTextCharFormat&)) const;
    void mergeFormat(const QTextCharFormat& format);
    void takeDocument(QTextDocument* document);
    void watchDocument();
    void notePress(const QKeyEvent* event);

    LayoutPacer* m_layoutPacer = nullptr;
    bool m_replacingDocument = false;
    TextChange m_change;
    bool m_changeSeen = false;
    // The keys down, each with the modifiers held when it went down.
    QHash<int, Qt::KeyboardModifiers> m_pressedWith;
};
