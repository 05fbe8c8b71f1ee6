#pragma once

#include "editor/UndoHistory.h"

#include <QObject>
#include <functional>

class RichTextBox;

// The editor's own undo and redo on its text area: every change of the plain text goes into an
// UndoHistory, and undo and redo put the text back from it. The text area's own undo stays off.
class UndoController : public QObject {
    Q_OBJECT
public:
    // Starts with the text area's text as the first snapshot, which is never undone.
    explicit UndoController(RichTextBox* text, QObject* parent = nullptr);

    // Each takes one change back or makes it again and gives the text the keyboard; false when
    // there was none.
    bool undo();
    bool redo();
    // A change the program makes to the whole text, which is not one to undo.
    void changeUnrecorded(const std::function<void()>& change);
    // Starts over with the text area's text and caret as the first snapshot.
    void startOver();

    const UndoHistory& history() const { return m_history; }

private:
    void recordChange();
    bool apply(const std::optional<UndoHistory::Edit>& edit);

    RichTextBox* m_text;
    UndoHistory m_history;
    // Off only while the text changes by undo, redo or the program.
    bool m_recording = true;
};
