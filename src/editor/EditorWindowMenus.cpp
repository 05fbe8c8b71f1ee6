#include "core/AppState.h"
#include "core/ScreenReaderName.h"
#include "editor/DocumentCommands.h"
#include "editor/EditorToolbar.h"
#include "editor/EditorWindow.h"
#include "editor/FindDialog.h"
#include "editor/FollowAlong.h"
#include "editor/FontBoxes.h"
#include "editor/RichTextBox.h"
#include "editor/SnippetCommands.h"
#include "editor/SpellingCommands.h"
#include "editor/TimestampCommands.h"
#include "editor/TypingPause.h"
#include "spelling/SpellingLanguages.h"

#include <QAction>
#include <QComboBox>
#include <QMenu>
#include <QMenuBar>

namespace {

constexpr Text kStyleNames[Timestamp::kStyleCount] = {
    Text::TimestampHoursMinutesSeconds, Text::TimestampTenths, Text::TimestampMinutesSeconds,
    Text::TimestampHashHundredths};

} // namespace

const std::vector<CommandRow<EditorWindow>>& EditorWindow::commandTable()
{
    using Row = CommandRow<EditorWindow>;
    using enum CommandFlag;
    const auto editing = [](EditorCommand command) {
        return [command](EditorWindow& w) { w.runEditorCommand(command); };
    };
    const auto files = [](void (DocumentCommands::*command)()) {
        return [command](EditorWindow& w) { (w.m_documentCommands->*command)(); };
    };
    const auto recentEntries = [](EditorWindow& w, QMenu* menu) {
        w.m_documentCommands->addRecentEntries(menu);
    };

    static const std::vector<Row> rows = [&] {
        std::vector<Row> rows = {
            Row::topMenu("fileMenu", Text::FileMenu),
            {.name = "newAction",
             .caption = Text::NewDocument,
             .key = Qt::CTRL | Qt::Key_N,
             .run = files(&DocumentCommands::newDocument)},
            {.name = "openAction",
             .caption = Text::OpenDocument,
             .run = files(&DocumentCommands::openDocument)},
            {.name = "saveAction",
             .caption = Text::SaveDocument,
             .key = Qt::CTRL | Qt::Key_S,
             .run = [](EditorWindow& w) { w.m_documentCommands->save(); }},
            {.name = "saveAsAction",
             .caption = Text::SaveDocumentAs,
             .run = [](EditorWindow& w) { w.m_documentCommands->saveAs(); }},
            {.name = "exportAction",
             .caption = Text::ExportTranscript,
             .run = files(&DocumentCommands::exportTranscript)},
            Row::separator(),
            Row::entries(recentEntries),
            {.name = "printAction",
             .caption = Text::Print,
             .key = Qt::CTRL | Qt::Key_P,
             .run = files(&DocumentCommands::print)},

            Row::topMenu("editMenu", Text::EditMenu, &EditorWindow::m_editMenu),
            {.name = "undoAction",
             .caption = Text::Undo,
             .key = Qt::CTRL | Qt::Key_Z,
             .run = editing(EditorCommand::Undo)},
            {.name = "redoAction",
             .caption = Text::Redo,
             .key = Qt::CTRL | Qt::Key_Y,
             .run = editing(EditorCommand::Redo)},
            Row::separator(),
            {.name = "cutAction",
             .caption = Text::Cut,
             .key = Qt::CTRL | Qt::Key_X,
             .run = editing(EditorCommand::Cut)},
            {.name = "copyAction",
             .caption = Text::Copy,
             .key = Qt::CTRL | Qt::Key_C,
             .run = editing(EditorCommand::Copy)},
            {.name = "pasteAction",
             .caption = Text::Paste,
             .key = Qt::CTRL | Qt::Key_V,
             .run = editing(EditorCommand::Paste)},
            Row::separator(),
            {.name = "selectAllAction",
             .caption = Text::SelectAll,
             .key = Qt::CTRL | Qt::Key_A,
             .run =
                 [](EditorWindow& w) {
                     w.m_textBox->selectAll();
                     w.m_textBox->setFocus();
                 }},
            Row::separator(),
            {.name = "findAction",
             .caption = Text::Find,
             .key = Qt::Key_F3,
             .run = [](EditorWindow& w) { w.showFindDialog(false); }},
            {.name = "replaceAction",
             .caption = Text::Replace,
             .key = Qt::CTRL | Qt::Key_H,
             .run = [](EditorWindow& w) { w.showFindDialog(true); }},
            Row::separator(),
            {.name = TimestampCommands::kInsertActionName,
             .caption = Text::InsertTimestamp,
             .key = Qt::CTRL | Qt::Key_T,
             .run = &EditorWindow::insertTimestamp},
            {.name = "playFromTimestampAction",
             .caption = Text::PlayFromTimestamp,
             .key = Qt::CTRL | Qt::Key_J,
             .run = [](EditorWindow& w) { w.m_timestamps->playFromCaret(); }},
            {.name = FollowAlong::kResumeActionName,
             .caption = Text::FollowHeardPart,
             .key = Qt::Key_F10,
             .run = &EditorWindow::followHeardPart},
            {.name = FollowAlong::kOptionActionName,
             .caption = Text::FollowAlong,
             .run =
                 [](EditorWindow& w) { w.m_follow->setEnabled(!w.m_state.listening.followAlong); },
             .flags = Checkable},
            Row::submenu("timestampMenu", Text::TimestampsMenu),
        };
        for (int i = 0; i < Timestamp::kStyleCount; ++i)
            rows.push_back(
                {.name = TimestampCommands::kStyleActionNames[size_t(i)],
                 .caption = kStyleNames[i],
                 .run = [i](EditorWindow& w) { w.m_timestamps->setStyle(Timestamp::Style(i)); },
                 .flags = Exclusive});
        rows.insert(rows.end(), {
                                    Row::separator(),
                                    {.name = TimestampCommands::kNewParagraphActionName,
                                     .caption = Text::TimestampNewParagraphs,
                                     .run =
                                         [](EditorWindow& w) {
                                             w.m_timestamps->setStampNewParagraphs(
                                                 !w.m_state.timestamps.stampNewParagraphs);
                                         },
                                     .flags = Checkable},
                                    {.name = TimestampCommands::kAfterStepBackActionName,
                                     .caption = Text::TimestampAfterStepBack,
                                     .run =
                                         [](EditorWindow& w) {
                                             w.m_timestamps->setStampAfterStepBack(
                                                 !w.m_state.timestamps.afterStepBack);
                                         },
                                     .flags = Checkable},
                                    Row::endSubmenu(),
                                    Row::submenu("snippetMenu", Text::SpeakerLabelsMenu),
                                });
        // The captions are the user's snippets.
        for (int i = 0; i < Snippets::kCount; ++i)
            rows.push_back({.name = SnippetCommands::kActionNames[size_t(i)],
                            .key = Qt::CTRL | Qt::Key(Qt::Key_1 + i),
                            .run = [i](EditorWindow& w) { w.m_snippets->insert(i); },
                            .flags = OwnCaption});
        rows.insert(
            rows.end(),
            {
                Row::separator(),
                {.name = "editSnippetsAction",
                 .caption = Text::EditSpeakerLabels,
                 .run = [](EditorWindow& w) { w.m_snippets->edit(); }},
                Row::endSubmenu(),

                Row::submenu("spellingMenu", Text::SpellingMenu, &EditorWindow::m_spellingMenu),
                {.name = SpellingCommands::kCheckActionName,
                 .caption = Text::CheckSpelling,
                 .run =
                     [](EditorWindow& w) { w.m_spelling->setEnabled(!w.m_spelling->isEnabled()); },
                 .flags = Checkable},
                // F7 is the player's skip forward.
                {.name = SpellingCommands::kNextActionName,
                 .caption = Text::NextMisspelling,
                 .key = Qt::CTRL | Qt::Key_E,
                 .run = [](EditorWindow& w) { w.m_spelling->findNext(); }},
                {.name = SpellingCommands::kMissingActionName, .flags = OwnCaption | Hidden},
                Row::separator(),
                Row::endSubmenu(),

                Row::topMenu("toolsMenu", Text::ToolsMenu, nullptr, Hidden),
                {.name = "spellingAction", .caption = Text::SpellingAndGrammar, .key = Qt::Key_F7},
            });
        return rows;
    }();
    return rows;
}

void EditorWindow::buildMenus()
{
    m_commands.build(menuBar(), *this, commandTable(), m_state.texts);
    m_timestamps =
        new TimestampCommands(m_state, *m_platform.dialogs, m_player, m_textBox, &m_commands);
    m_snippets =
        new SnippetCommands(m_state, *m_platform.dialogs, m_textBox, *m_timestamps, &m_commands);
    new TypingPause(m_state.listening, m_player, m_textBox);
    m_follow = new FollowAlong(m_state, *m_platform.dialogs, m_player, m_textBox, *m_timestamps,
                               &m_commands);
    m_spelling = new SpellingCommands(m_state, *m_platform.dialogs, m_textBox, m_spellingMenu,
                                      &m_commands, SpellingLanguages::systemFolders());
}

void EditorWindow::retranslate()
{
    const InterfaceTexts& t = m_state.texts;
    m_commands.retranslate();
    m_toolbar->setStyleLetters(t.text(Text::BoldLetter), t.text(Text::ItalicLetter),
                               t.text(Text::UnderlineLetter), t.text(Text::StrikeOutLetter));
    // Screen readers name the zones whose commands have a caption of their own.
    using Zone = EditorToolbar::Zone;
    const std::pair<Zone, Text> zoneNames[] = {
        {Zone::New, Text::NewDocument},   {Zone::Open, Text::OpenDocument},
        {Zone::Save, Text::SaveDocument}, {Zone::Print, Text::Print},
        {Zone::Undo, Text::Undo},         {Zone::Redo, Text::Redo}};
    for (const auto& [zone, text] : zoneNames)
        m_toolbar->setZoneName(zone, t.plain(text));
    setScreenReaderName(m_fonts->nameBox(), t.text(Text::Font));
    setScreenReaderName(m_fonts->sizeBox(), t.text(Text::FontSize));
    setScreenReaderName(m_textBox, t.text(Text::TextEditor));
    m_timestamps->retranslate(*m_toolbar);
    m_snippets->retranslate();
    m_spelling->retranslate();
    m_documentCommands->retranslate();
}
