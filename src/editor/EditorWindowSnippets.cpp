#include "core/AppState.h"
#include "core/Logging.h"
#include "editor/EditorWindow.h"
#include "editor/RichTextBox.h"
#include "editor/SnippetDialog.h"
#include "platform/TextFile.h"

#include <QAction>
#include <QFileInfo>
#include <QMenu>

namespace {

// The caption of a snippet's entry: its number, then its text as the menu can show it.
QString snippetCaption(int slot, const QString& text)
{
    QString shown = text.simplified();
    shown.replace(QLatin1Char('&'), QStringLiteral("&&"));
    return QStringLiteral("&%1   %2").arg(slot + 1).arg(shown);
}

} // namespace

void EditorWindow::loadSnippets()
{
    const QString path = m_state.filesPath(QLatin1String(Snippets::kFileName));
    if (QFileInfo::exists(path)) {
        QString error;
        if (const auto lines = readTextLines(path, &error)) {
            m_snippets = Snippets::parse(*lines);
            m_snippetsStored = true;
        } else {
            qCWarning(lcSettings).noquote() << "Cannot read" << path << error;
        }
    }
}

void EditorWindow::applySnippetTexts()
{
    const InterfaceTexts& t = m_state.texts;
    // Until the user changes them, the labels speak the interface's language.
    if (!m_snippetsStored)
        m_snippets = Snippets::defaults(t);
    showSnippetEntries();
}

void EditorWindow::showSnippetEntries()
{
    for (int i = 0; i < Snippets::kCount; ++i) {
        const QString& text = m_snippets.slots[size_t(i)].text;
        QAction* action = m_snippetActions[size_t(i)];
        action->setText(snippetCaption(i, text));
        action->setVisible(!text.isEmpty());
    }
}

void EditorWindow::insertSnippet(int slot)
{
    m_textBox->setFocus();
    if (slot < 0 || slot >= Snippets::kCount)
        return;
    const Snippet& snippet = m_snippets.slots[size_t(slot)];
    if (snippet.text.isEmpty())
        return;
    // One change for undo, whatever the parts.
    QTextCursor edit = m_textBox->textCursor();
    edit.beginEditBlock();
    QTextCursor cursor = m_textBox->textCursor();
    cursor.clearSelection();
    if (snippet.newParagraph && cursor.positionInBlock() > 0)
        cursor.insertBlock();
    m_textBox->setTextCursor(cursor);
    if (snippet.timestamp)
        insertTimestamp();
    cursor = m_textBox->textCursor();
    cursor.insertText(snippet.text);
    m_textBox->setTextCursor(cursor);
    edit.endEditBlock();
}

void EditorWindow::editSnippets()
{
    if (!m_snippetDialog) {
        m_snippetDialog = new SnippetDialog(m_state.texts, m_snippets, this);
        m_snippetDialog->setAttribute(Qt::WA_DeleteOnClose);
        connect(m_snippetDialog, &QDialog::accepted, this,
                [this] { setSnippets(m_snippetDialog->snippets()); });
    }
    m_snippetDialog->show();
    m_snippetDialog->raise();
    m_snippetDialog->activateWindow();
}

void EditorWindow::setSnippets(const Snippets& snippets)
{
    m_snippets = snippets;
    m_snippetsStored = true;
    showSnippetEntries();
    const QString path = m_state.filesPath(QLatin1String(Snippets::kFileName));
    QString error;
    if (!writeTextLines(path, m_snippets.lines(), &error)) {
        qCWarning(lcSettings).noquote() << "Snippets not saved:" << error;
        m_state.saveFailures.tell(*m_platform.dialogs, this, m_state.texts, path, error);
    }
}
