#include "editor/EditorWindow.h"

#include "core/AppState.h"
#include "core/PlayerCommands.h"
#include "editor/DocumentCommands.h"
#include "editor/EditorToolbar.h"
#include "editor/FindDialog.h"
#include "editor/FollowAlong.h"
#include "editor/FontBoxes.h"
#include "editor/RecoveryKeeper.h"
#include "editor/RichTextBox.h"
#include "editor/SpellingCommands.h"
#include "editor/TimestampCommands.h"
#include "editor/UndoController.h"
#include "platform/Dialogs.h"
#include "platform/SkinImage.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QDialog>
#include <QFrame>
#include <QHBoxLayout>
#include <QMenu>
#include <QShortcut>
#include <QVBoxLayout>

namespace {

constexpr QSize kStartWindowSize{640, 420};

// The dialogs shown now, of any window.
QList<QWidget*> shownDialogs()
{
    QList<QWidget*> shown;
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (widget->isVisible() && qobject_cast<QDialog*>(widget))
            shown << widget;
    }
    return shown;
}

} // namespace

EditorWindow::EditorWindow(AppState& state, const Platform& platform, PlayerCommands* player,
                           Build when, QWidget* parent)
    : QMainWindow(parent), m_state(state), m_platform(platform), m_player(player)
{
    setObjectName(QStringLiteral("editorWindow"));
    setWindowTitle(QStringLiteral("Text Editor"));
    resize(kStartWindowSize);
    if (when == Build::Now)
        build();
}

void EditorWindow::build()
{
    if (m_built)
        return;
    m_built = true;
    buildControls();
    // The empty document is the first snapshot, never undone.
    m_undo = new UndoController(m_textBox, this);
    DocumentCommands::Editor editor;
    editor.text = m_textBox;
    editor.undo = m_undo;
    editor.window = this;
    editor.newDocumentFont = [this] { return m_fonts->chosenFont(); };
    editor.startOwner = [this]() -> QWidget* { return m_dialogOwner ? m_dialogOwner : this; };
    m_documentCommands =
        new DocumentCommands(m_state, *m_platform.dialogs, m_player, std::move(editor), this);
    connect(m_documentCommands, &DocumentCommands::captionChanged, this,
            &EditorWindow::setWindowTitle);
    connect(m_documentCommands, &DocumentCommands::restored, this, &EditorWindow::showRestoredCopy);
    buildMenus();
    connect(m_documentCommands, &DocumentCommands::captionChanged, m_spelling,
            [this] { m_spelling->documentNamed(m_documentCommands->document().path); });
    connectTextBox();
    // The font box comes first in the window: the keyboard goes to the text instead.
    m_textBox->setFocus();

    if (const auto hand = SkinImage::pointer(m_state.filesPath(QStringLiteral("Indica.ico")))) {
        m_toolbar->setPointer(*hand);
        m_fonts->setPointer(*hand);
    }

    retranslate();
    // Wide enough for the whole toolbar at first; only a small screen makes it narrower.
    resize(size().expandedTo(sizeHint()));

    auto* escape = new QShortcut(Qt::Key_Escape, this);
    connect(escape, &QShortcut::activated, this, [this] {
        if (m_player)
            m_player->runCommand(PlayerCommand::Exit);
    });
}

EditorWindow::~EditorWindow() = default;

void EditorWindow::buildControls()
{
    auto* face = new QWidget(this);
    auto* column = new QVBoxLayout(face);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);

    auto* row = new QHBoxLayout;
    row->setContentsMargins(0, 0, 8, 0);
    row->setSpacing(6);
    m_toolbar = new EditorToolbar(face);
    m_toolbar->setObjectName(QStringLiteral("toolbar"));
    row->addWidget(m_toolbar);

    m_fonts = new FontBoxes(face);
    row->addWidget(m_fonts->nameBox());
    row->addWidget(m_fonts->sizeBox());
    row->addStretch();
    column->addLayout(row);

    auto* rule = new QFrame(face);
    rule->setFrameShape(QFrame::HLine);
    rule->setFrameShadow(QFrame::Sunken);
    column->addWidget(rule);

    auto* frame = new QFrame(face);
    frame->setObjectName(QStringLiteral("textFrame"));
    auto* inside = new QVBoxLayout(frame);
    inside->setContentsMargins(8, 8, 8, 8);
    m_textBox = new RichTextBox(frame);
    m_textBox->setObjectName(QStringLiteral("textBox"));
    m_textBox->document()->setDefaultFont(FontBoxes::startFont());
    inside->addWidget(m_textBox);
    column->addWidget(frame, 1);

    setCentralWidget(face);

    connect(m_toolbar, &EditorToolbar::zoneClicked, this, &EditorWindow::runToolbarZone);
    connect(m_fonts, &FontBoxes::fontNameChosen, m_textBox, &RichTextBox::setSelectionFontName);
    connect(m_fonts, &FontBoxes::fontSizeChosen, m_textBox, &RichTextBox::setSelectionFontSize);
}

void EditorWindow::connectTextBox()
{
    connect(m_textBox, &RichTextBox::keyDown, this, &EditorWindow::keyDown);
    connect(m_textBox, &RichTextBox::keyUp, this, &EditorWindow::keyUp);
    connect(m_textBox, &RichTextBox::shortcutWanted, this, [](KeyStroke& stroke) {
        stroke.swallowed = EditorKeys::keepsFromMenu(stroke.key, stroke.modifiers);
    });
    connect(m_textBox, &RichTextBox::rightButtonPressed, this, &EditorWindow::showEditMenu);
}

void EditorWindow::showFindDialog(bool replacing)
{
    if (!m_findDialog)
        m_findDialog =
            new FindDialog(m_state, *m_platform.dialogs, m_textBox,
                           replacing ? FindDialog::Mode::Replace : FindDialog::Mode::Find);
    m_findDialog->bringForward();
}

void EditorWindow::hideFindDialog()
{
    if (m_findDialog)
        m_findDialog->close();
}

void EditorWindow::insertTimestamp()
{
    // Asked from outside the program, perhaps before the window's controls are made.
    if (m_built)
        m_timestamps->insert();
}

void EditorWindow::followHeardPart()
{
    if (m_built)
        m_follow->resume();
}

void EditorWindow::giveFocus()
{
    activateWindow();
    m_textBox->setFocus();
}

bool EditorWindow::event(QEvent* event)
{
    // Whenever the window comes forward by the keyboard, a dialog closing or a command, the
    // keyboard is in the text; a click on another control puts it there instead.
    if (event->type() == QEvent::WindowActivate && m_textBox &&
        QGuiApplication::mouseButtons() == Qt::NoButton)
        m_textBox->setFocus(Qt::ActiveWindowFocusReason);
    return QMainWindow::event(event);
}

void EditorWindow::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange && m_built)
        retranslate();
    QMainWindow::changeEvent(event);
}

void EditorWindow::unload()
{
    hide();
}

void EditorWindow::closeEvent(QCloseEvent* event)
{
    // The window's close button hides it, as the player's show/hide command does; the document
    // stays.
    event->ignore();
    if (m_player)
        m_player->runCommand(PlayerCommand::ShowHideEditor);
    else
        hide();
}

void EditorWindow::keyDown(KeyStroke& stroke)
{
    const KeyAction action = EditorKeys::onPress(stroke.key, stroke.modifiers);
    stroke.swallowed = action.swallow;
    runKeyAction(action);
}

void EditorWindow::keyUp(KeyStroke& stroke)
{
    const KeyAction action = EditorKeys::onRelease(
        stroke.key, stroke.modifiers, EditorKeys::usesItalianKeys(m_state.languageFile));
    stroke.swallowed = action.swallow;
    runKeyAction(action);
}

void EditorWindow::runKeyAction(const KeyAction& action)
{
    if (action.editor)
        runEditorCommand(*action.editor);
    if (action.player && m_player) {
        const QList<QWidget*> dialogsBefore = shownDialogs();
        // The command may end the program.
        const QPointer<EditorWindow> self(this);
        m_player->runCommand(*action.player);
        if (self)
            takeKeyboardBack(dialogsBefore);
    }
}

void EditorWindow::takeKeyboardBack(const QList<QWidget*>& dialogsBefore)
{
    // A modal dialog has returned by now; one left open (About, Go to) keeps the keyboard.
    for (QWidget* dialog : shownDialogs()) {
        if (!dialogsBefore.contains(dialog))
            return;
    }
    if (isVisible() && !isMinimized())
        giveFocus();
}

void EditorWindow::runEditorCommand(EditorCommand command)
{
    switch (command) {
    case EditorCommand::Undo:
        if (m_undo->undo())
            m_documentCommands->setModified();
        break;
    case EditorCommand::Redo:
        if (m_undo->redo())
            m_documentCommands->setModified();
        break;
    case EditorCommand::Copy:
        m_textBox->copy();
        break;
    case EditorCommand::Paste:
        m_textBox->paste();
        break;
    case EditorCommand::Cut:
        m_textBox->cut();
        break;
    case EditorCommand::Bold:
        runToolbarZone(EditorToolbar::Zone::Bold);
        break;
    case EditorCommand::Italic:
        runToolbarZone(EditorToolbar::Zone::Italic);
        break;
    case EditorCommand::Underline:
        runToolbarZone(EditorToolbar::Zone::Underline);
        break;
    }
}

void EditorWindow::runToolbarZone(EditorToolbar::Zone zone)
{
    RichTextBox* box = m_textBox;
    const auto toggled = [box](bool whole, void (RichTextBox::*set)(bool)) {
        (box->*set)(!whole);
        box->setFocus();
    };
    const auto aligned = [box](RichTextBox::Alignment alignment) {
        box->setSelectionAlignment(alignment);
        box->setFocus();
    };
    const auto resized = [box](double step) {
        // A selection of several sizes has none to step from.
        const double size = box->selectionFontSize();
        if (size > 0 && size + step > 0)
            box->setSelectionFontSize(size + step);
    };
    switch (zone) {
    case EditorToolbar::Zone::New:
        m_documentCommands->newDocument();
        break;
    case EditorToolbar::Zone::Open:
        m_documentCommands->openDocument();
        break;
    case EditorToolbar::Zone::Save:
        m_documentCommands->save();
        break;
    case EditorToolbar::Zone::Print:
        m_documentCommands->print();
        break;
    case EditorToolbar::Zone::Bold:
        toggled(box->selectionBold(), &RichTextBox::setSelectionBold);
        break;
    case EditorToolbar::Zone::Italic:
        toggled(box->selectionItalic(), &RichTextBox::setSelectionItalic);
        break;
    case EditorToolbar::Zone::Underline:
        toggled(box->selectionUnderline(), &RichTextBox::setSelectionUnderline);
        break;
    case EditorToolbar::Zone::StrikeOut:
        toggled(box->selectionStrikeOut(), &RichTextBox::setSelectionStrikeOut);
        break;
    case EditorToolbar::Zone::Bullet:
        toggled(box->selectionBullet(), &RichTextBox::setSelectionBullet);
        break;
    case EditorToolbar::Zone::AlignLeft:
        aligned(RichTextBox::Alignment::Left);
        break;
    case EditorToolbar::Zone::AlignCentre:
        aligned(RichTextBox::Alignment::Centre);
        break;
    case EditorToolbar::Zone::AlignRight:
        aligned(RichTextBox::Alignment::Right);
        break;
    case EditorToolbar::Zone::Larger:
        resized(+1);
        break;
    case EditorToolbar::Zone::Smaller:
        resized(-1);
        break;
    case EditorToolbar::Zone::Colour:
        // Each use is a new chooser, starting from black.
        if (const auto colour = m_platform.dialogs->chooseColour(this, Qt::black))
            box->setSelectionColour(*colour);
        break;
    case EditorToolbar::Zone::Undo:
        runEditorCommand(EditorCommand::Undo);
        break;
    case EditorToolbar::Zone::Redo:
        runEditorCommand(EditorCommand::Redo);
        break;
    case EditorToolbar::Zone::Timestamp:
        insertTimestamp();
        break;
    }
}

void EditorWindow::showEditMenu(QPoint globalPosition)
{
    const int position =
        m_textBox->cursorForPosition(m_textBox->viewport()->mapFromGlobal(globalPosition))
            .position();
    auto* menu = new QMenu(this);
    if (!m_spelling->offerFor(menu, position)) {
        delete menu;
        m_editMenu->popup(globalPosition);
        return;
    }
    // A misspelt word: its suggestions above the Edit menu's entries.
    menu->setObjectName(QStringLiteral("spellingContextMenu"));
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->addSeparator();
    menu->addActions(m_editMenu->actions());
    menu->popup(globalPosition);
}

EditorCommands::ExitAnswer EditorWindow::askToSaveBeforeExit()
{
    // Nothing can have been typed before the window is built.
    if (!m_documentCommands)
        return ExitAnswer::Proceed;
    return m_documentCommands->askToSaveBeforeExit();
}

void EditorWindow::startRecovery()
{
    build();
    m_documentCommands->recovery()->start();
}

void EditorWindow::keepRecoveryCopy()
{
    if (m_documentCommands)
        m_documentCommands->recovery()->keepCopy();
}

void EditorWindow::showRestoredCopy(const RecoveryRecord& record)
{
    if (m_player) {
        if (!isVisible())
            m_player->runCommand(PlayerCommand::ShowHideEditor);
        if (!record.mediaPath.isEmpty())
            m_player->openMediaAt(record.mediaPath, record.position);
    }
    giveFocus();
}
