#include "core/AppState.h"
#include "core/PlayerCommands.h"
#include "editor/EditorWindow.h"
#include "editor/RecoveryKeeper.h"
#include "editor/RichTextBox.h"

void EditorWindow::setupRecovery()
{
    RecoveryKeeper::Editor editor;
    editor.document = &m_document;
    editor.text = m_textBox;
    editor.window = this;
    editor.startOwner = [this]() -> QWidget* { return m_dialogOwner ? m_dialogOwner : this; };
    editor.restore = [this](const QByteArray& copy, const RecoveryRecord& record) {
        restoreRecovery(copy, record);
    };
    m_recovery = new RecoveryKeeper(m_state, *m_platform.dialogs, m_player, editor, this);
}

void EditorWindow::startRecovery()
{
    build();
    m_recovery->start();
}

void EditorWindow::keepRecoveryCopy()
{
    if (m_recovery)
        m_recovery->keepCopy();
}

void EditorWindow::restoreRecovery(const QByteArray& copy, const RecoveryRecord& record)
{
    m_undoRecording = false;
    m_textBox->setContents(copy);
    m_undoRecording = true;
    m_textBox->moveCursor(QTextCursor::End);
    m_history.reset(m_textBox->toPlainText(), m_textBox->textCursor().position());
    m_document.path = record.documentPath;
    if (m_document.isUntitled())
        m_document.untitledNumber = record.untitledNumber;
    m_document.modified = true;
    updateCaption();
    if (m_player) {
        if (!isVisible())
            m_player->runCommand(PlayerCommand::ShowHideEditor);
        if (!record.mediaPath.isEmpty())
            m_player->openMediaAt(record.mediaPath, record.position);
    }
    giveFocus();
}
