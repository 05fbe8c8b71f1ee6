#include "editor/SnippetCommands.h"

#include "core/AppState.h"
#include "core/Logging.h"
#include "core/MenuCommands.h"
#include "editor/RichTextBox.h"
#include "editor/SnippetDialog.h"
#include "editor/TimestampCommands.h"
#include "platform/TextFile.h"

#include <QAction>
#include <QFileInfo>

namespace {

// The caption of a snippet's entry: its number, then its text as the menu can show it.
QString snippetCaption(int slot, const QString& text)
{
    QString shown = text.simplified();
    shown.replace(QLatin1Char('&'), QStringLiteral("&&"));
    return QStringLiteral("&%1   %2").arg(slot + 1).arg(shown);
}

} // namespace

SnippetCommands::SnippetCommands(AppState& state, Dialogs& dialogs, RichTextBox* text,
                                 TimestampCommands& timestamps, const MenuCommands* menus)
    : QObject(text), m_state(state), m_dialogs(dialogs), m_text(text), m_timestamps(timestamps)
{
    if (menus) {
        for (int i = 0; i < Snippets::kCount; ++i)
            m_actions[size_t(i)] = menus->action(kActionNames[size_t(i)]);
    }
    const QString path = m_state.filesPath(QLatin1String(Snippets::kFileName));
    if (QFileInfo::exists(path)) {
        QString error;
        if (const auto lines = readTextLines(path, &error)) {
            m_snippets = Snippets::parse(*lines);
            m_stored = true;
        } else {
            qCWarning(lcSettings).noquote() << "Cannot read" << path << error;
        }
    }
}

void SnippetCommands::retranslate()
{
    // Until the user changes them, the labels speak the interface's language.
    if (!m_stored)
        m_snippets = Snippets::defaults(m_state.texts);
    showEntries();
}

void SnippetCommands::showEntries()
{
    for (int i = 0; i < Snippets::kCount; ++i) {
        QAction* action = m_actions[size_t(i)];
        if (!action)
            continue;
        const QString& text = m_snippets.slots[size_t(i)].text;
        action->setText(snippetCaption(i, text));
        action->setVisible(!text.isEmpty());
    }
}

void SnippetCommands::insert(int slot)
{
    m_text->setFocus();
    if (slot < 0 || slot >= Snippets::kCount)
        return;
    const Snippet& snippet = m_snippets.slots[size_t(slot)];
    if (snippet.text.isEmpty())
        return;
    // One change for undo, whatever the parts.
    QTextCursor edit = m_text->textCursor();
    edit.beginEditBlock();
    QTextCursor cursor = m_text->textCursor();
    cursor.clearSelection();
    if (snippet.newParagraph && cursor.positionInBlock() > 0)
        cursor.insertBlock();
    m_text->setTextCursor(cursor);
    if (snippet.timestamp)
        m_timestamps.insert();
    cursor = m_text->textCursor();
    cursor.insertText(snippet.text);
    m_text->setTextCursor(cursor);
    edit.endEditBlock();
}

void SnippetCommands::edit()
{
    if (!m_dialog) {
        m_dialog = new SnippetDialog(m_state.texts, m_snippets, m_text->window());
        m_dialog->setAttribute(Qt::WA_DeleteOnClose);
        connect(m_dialog, &QDialog::accepted, this, [this] { set(m_dialog->snippets()); });
    }
    m_dialog->show();
    m_dialog->raise();
    m_dialog->activateWindow();
}

void SnippetCommands::set(const Snippets& snippets)
{
    m_snippets = snippets;
    m_stored = true;
    showEntries();
    const QString path = m_state.filesPath(QLatin1String(Snippets::kFileName));
    QString error;
    if (!writeTextLines(path, m_snippets.lines(), &error)) {
        qCWarning(lcSettings).noquote() << "Snippets not saved:" << error;
        m_state.saveFailures.tell(m_dialogs, m_text->window(), m_state.texts, path, error);
    }
}
