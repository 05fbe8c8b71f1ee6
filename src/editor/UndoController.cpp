#include "editor/UndoController.h"

#include "editor/RichTextBox.h"

UndoController::UndoController(RichTextBox* text, QObject* parent) : QObject(parent), m_text(text)
{
    m_text->document()->setUndoRedoEnabled(false);
    startOver();
    connect(m_text, &RichTextBox::contentChanged, this, [this] {
        if (m_recording)
            recordChange();
    });
}

void UndoController::recordChange()
{
    const RichTextBox::TextChange change = m_text->lastChange();
    const int caret = m_text->textCursor().position();
    const int predicted = int(m_history.text().size()) - change.removed + change.added;
    if (change.known && predicted == m_text->plainLength()) {
        m_history.record(
            {change.position, change.removed, m_text->plainText(change.position, change.added)},
            caret);
        return;
    }
    // Several changes at once: the whole text tells what differs.
    m_history.record(
        UndoHistory::difference(m_history.text(), m_text->plainText(0, m_text->plainLength())),
        caret);
}

bool UndoController::undo()
{
    if (!m_recording)
        return false;
    const bool applied = apply(m_history.undo());
    m_text->setFocus();
    return applied;
}

bool UndoController::redo()
{
    if (!m_recording)
        return false;
    const bool applied = apply(m_history.redo());
    m_text->setFocus();
    return applied;
}

bool UndoController::apply(const std::optional<UndoHistory::Edit>& edit)
{
    if (!edit)
        return false;
    changeUnrecorded([this, &edit] {
        QTextCursor cursor = m_text->textCursor();
        cursor.setPosition(edit->start);
        cursor.setPosition(edit->start + edit->length, QTextCursor::KeepAnchor);
        cursor.insertText(edit->text);
        if (edit->selectText)
            cursor.setPosition(edit->start, QTextCursor::KeepAnchor);
        else
            cursor.setPosition(edit->caret);
        m_text->setTextCursor(cursor);
    });
    return true;
}

void UndoController::changeUnrecorded(const std::function<void()>& change)
{
    m_recording = false;
    change();
    m_recording = true;
}

void UndoController::startOver()
{
    m_history.reset(m_text->toPlainText(), m_text->textCursor().position());
}
