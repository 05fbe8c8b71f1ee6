#include "core/AppState.h"
#include "core/MenuEntries.h"
#include "core/RecentMenu.h"
#include "editor/EditorToolbar.h"
#include "editor/EditorWindow.h"
#include "editor/FindDialog.h"
#include "editor/RichTextBox.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

void EditorWindow::setupMenus()
{
    QMenuBar* bar = menuBar();

    m_fileMenu = addNamedMenu(bar, "fileMenu", "&File");
    m_newAction = addNamedEntry(m_fileMenu, "newAction", "&Nuovo", Qt::CTRL | Qt::Key_N);
    m_openAction = addNamedEntry(m_fileMenu, "openAction", "&Apri...");
    m_saveAction = addNamedEntry(m_fileMenu, "saveAction", "Sa&lva", Qt::CTRL | Qt::Key_S);
    m_saveAsAction = addNamedEntry(m_fileMenu, "saveAsAction", "Salva con &nome");
    m_fileMenu->addSeparator();
    m_fileMenu->setToolTipsVisible(true);
    m_recentActions = addRecentEntries(m_fileMenu);
    for (int i = 0; i < RecentList::kSize; ++i)
        connect(m_recentActions[i], &QAction::triggered, this,
                [this, i] { openRecentDocument(i); });
    m_recentSeparator = m_fileMenu->addSeparator();
    m_recentSeparator->setObjectName(QStringLiteral("recentSeparator"));
    m_recentSeparator->setVisible(false);
    m_printAction = addNamedEntry(m_fileMenu, "printAction", "Stam&pa...", Qt::CTRL | Qt::Key_P);

    m_editMenu = addNamedMenu(bar, "editMenu", "&Modifica");
    m_undoAction = addNamedEntry(m_editMenu, "undoAction", "Annulla", Qt::CTRL | Qt::Key_Z);
    m_redoAction = addNamedEntry(m_editMenu, "redoAction", "&Ripeti", Qt::CTRL | Qt::Key_Y);
    m_editMenu->addSeparator();
    m_cutAction = addNamedEntry(m_editMenu, "cutAction", "&Taglia", Qt::CTRL | Qt::Key_X);
    m_copyAction = addNamedEntry(m_editMenu, "copyAction", "&Copia", Qt::CTRL | Qt::Key_C);
    m_pasteAction = addNamedEntry(m_editMenu, "pasteAction", "I&ncolla", Qt::CTRL | Qt::Key_V);
    m_editMenu->addSeparator();
    m_selectAllAction =
        addNamedEntry(m_editMenu, "selectAllAction", "&Seleziona tutto", Qt::CTRL | Qt::Key_A);
    m_editMenu->addSeparator();
    m_findAction = addNamedEntry(m_editMenu, "findAction", "Tro&va...", Qt::Key_F3);
    m_replaceAction =
        addNamedEntry(m_editMenu, "replaceAction", "S&ostituisci", Qt::CTRL | Qt::Key_H);

    m_toolsMenu = addNamedMenu(bar, "toolsMenu", "&Strumenti");
    m_spellingAction = addNamedEntry(m_toolsMenu, "spellingAction",
                                     "Controllo ortografico e grammaticale", Qt::Key_F7);

    connect(m_newAction, &QAction::triggered, this, &EditorWindow::newDocument);
    connect(m_openAction, &QAction::triggered, this, &EditorWindow::openDocument);
    connect(m_saveAction, &QAction::triggered, this, &EditorWindow::save);
    connect(m_saveAsAction, &QAction::triggered, this, &EditorWindow::saveAs);
    connect(m_undoAction, &QAction::triggered, this,
            [this] { runEditorCommand(EditorCommand::Undo); });
    connect(m_redoAction, &QAction::triggered, this,
            [this] { runEditorCommand(EditorCommand::Redo); });
    connect(m_cutAction, &QAction::triggered, this,
            [this] { runEditorCommand(EditorCommand::Cut); });
    connect(m_copyAction, &QAction::triggered, this,
            [this] { runEditorCommand(EditorCommand::Copy); });
    connect(m_pasteAction, &QAction::triggered, this,
            [this] { runEditorCommand(EditorCommand::Paste); });
    connect(m_selectAllAction, &QAction::triggered, this, [this] {
        m_textBox->selectAll();
        m_textBox->setFocus();
    });
    connect(m_printAction, &QAction::triggered, this, &EditorWindow::print);
    connect(m_findAction, &QAction::triggered, this, [this] { showFindDialog(false); });
    connect(m_replaceAction, &QAction::triggered, this, [this] { showFindDialog(true); });
    setupTimestampMenu();
    setupSnippetMenu();
}

void EditorWindow::applyTexts()
{
    const InterfaceTexts& t = m_state.texts;
    m_fileMenu->setTitle(t.text(Text::FileMenu));
    m_newAction->setText(t.text(Text::NewDocument));
    m_openAction->setText(t.text(Text::OpenDocument));
    m_saveAction->setText(t.text(Text::SaveDocument));
    m_saveAsAction->setText(t.text(Text::SaveDocumentAs));
    m_printAction->setText(t.text(Text::Print));
    m_editMenu->setTitle(t.text(Text::EditMenu));
    m_cutAction->setText(t.text(Text::Cut));
    m_copyAction->setText(t.text(Text::Copy));
    m_pasteAction->setText(t.text(Text::Paste));
    m_selectAllAction->setText(t.text(Text::SelectAll));
    m_findAction->setText(t.text(Text::Find));
    m_replaceAction->setText(t.text(Text::Replace));
    m_undoAction->setText(t.text(Text::Undo));
    m_toolsMenu->setTitle(t.text(Text::ToolsMenu));
    m_spellingAction->setText(t.text(Text::SpellingAndGrammar));
    m_toolsMenu->menuAction()->setVisible(false);
    m_redoAction->setText(t.text(Text::Redo));
    m_toolbar->setStyleLetters(t.text(Text::BoldLetter), t.text(Text::ItalicLetter),
                               t.text(Text::UnderlineLetter), t.text(Text::StrikeOutLetter));
    // Screen readers name the zones whose commands have a caption of their own.
    const std::pair<EditorToolbar::Zone, Text> zoneNames[] = {
        {EditorToolbar::New, Text::NewDocument},   {EditorToolbar::Open, Text::OpenDocument},
        {EditorToolbar::Save, Text::SaveDocument}, {EditorToolbar::Print, Text::Print},
        {EditorToolbar::Undo, Text::Undo},         {EditorToolbar::Redo, Text::Redo}};
    for (const auto& [zone, text] : zoneNames)
        m_toolbar->setZoneName(zone, t.plain(text));
    applyTimestampTexts();
    applySnippetTexts();
    m_document.untitledName = t.text(Text::Untitled) + QLatin1Char(' ');
    updateCaption();
    if (m_findDialog)
        m_findDialog->showTexts();
}

void EditorWindow::loadRecentDocuments()
{
    if (m_recentDocuments.load(m_state.filesPath(QStringLiteral("LastFilesEditor.ini"))))
        m_recentSeparator->setVisible(true);
    showRecentDocuments();
}

void EditorWindow::showRecentDocuments()
{
    showRecentList(m_recentDocuments, m_recentActions, m_fileMenu->font());
}
