#include "editor/EditorWindow.h"

#include "core/AppState.h"
#include "core/PlayerCommands.h"
#include "editor/EditorToolbar.h"
#include "editor/FindDialog.h"
#include "editor/RecoveryKeeper.h"
#include "editor/RichTextBox.h"
#include "editor/TimestampCommands.h"
#include "platform/Dialogs.h"
#include "platform/SkinImage.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QDialog>
#include <QFontDatabase>
#include <QFrame>
#include <QHBoxLayout>
#include <QMenu>
#include <QPrinter>
#include <QShortcut>
#include <QVBoxLayout>
#include <optional>

namespace {

// The font and size the boxes show at first, and the text typed into an empty document gets.
const QString kStartFont = QStringLiteral("Arial");
constexpr int kStartSize = 12;
// Larger sizes than word processors accept are not applied.
constexpr double kLargestFontSize = 1638;
constexpr QSize kStartWindowSize{640, 420};

// The points a size box's text gives, or nothing for a text that is no size to apply.
std::optional<double> sizeInPoints(const QString& text)
{
    bool numeric = false;
    double points = text.trimmed().toDouble(&numeric);
    if (!numeric)
        points = QLocale().toDouble(text.trimmed(), &numeric);
    if (!numeric || points <= 0 || points > kLargestFontSize)
        return std::nullopt;
    return points;
}

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

QStringList fontSizes()
{
    QStringList sizes;
    for (int size = 5; size <= 15; ++size)
        sizes << QString::number(size);
    for (int size = 16; size <= 28; size += 2)
        sizes << QString::number(size);
    sizes << QStringLiteral("36") << QStringLiteral("48") << QStringLiteral("72");
    return sizes;
}

} // namespace

EditorWindow::EditorWindow(AppState& state, const Platform& platform, PlayerCommands* player,
                           Build when, QWidget* parent)
    : QMainWindow(parent), m_state(state), m_platform(platform), m_player(player),
      m_recentDocuments(new RecentFilesMenu(state, platform.dialogs,
                                            QStringLiteral("LastFilesEditor.ini"),
                                            RecentFilesMenu::Saving::AtOnce, this))
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
    setupRecovery();
    buildMenus();
    connectTextBox();
    // The font box comes first in the window: the keyboard goes to the text instead.
    m_textBox->setFocus();

    if (const auto hand = SkinImage::pointer(m_state.filesPath(QStringLiteral("Indica.ico")))) {
        m_toolbar->setPointer(*hand);
        m_fontBox->setCursor(*hand);
        m_sizeBox->setCursor(*hand);
    }

    retranslate();
    // Wide enough for the whole toolbar at first; only a small screen makes it narrower.
    resize(size().expandedTo(sizeHint()));
    m_document.modified = false;
    m_document.untitledNumber = 1;
    updateCaption();
    // The empty document is the first snapshot, never undone.
    m_textBox->document()->setUndoRedoEnabled(false);
    m_history.reset(QString(), 0);
    m_undoRecording = true;
    m_recentDocuments->load();
    connect(m_recentDocuments, &RecentFilesMenu::chosen, this, &EditorWindow::openRecentDocument);

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

    m_fontBox = new QComboBox(face);
    m_fontBox->setObjectName(QStringLiteral("fontBox"));
    m_fontBox->setEditable(true);
    m_fontBox->setInsertPolicy(QComboBox::NoInsert);
    m_fontBox->setMinimumContentsLength(14);
    m_fontBox->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    m_fontBox->addItems(QFontDatabase::families());
    m_fontBox->setEditText(kStartFont);
    // Narrower than its usual width when it must be, so that the window fits a small or
    // scaled screen whole.
    m_fontBox->setMinimumWidth(m_fontBox->minimumSizeHint().width() / 2);
    row->addWidget(m_fontBox);

    m_sizeBox = new QComboBox(face);
    m_sizeBox->setObjectName(QStringLiteral("sizeBox"));
    m_sizeBox->setEditable(true);
    m_sizeBox->setInsertPolicy(QComboBox::NoInsert);
    m_sizeBox->setMinimumContentsLength(3);
    m_sizeBox->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    m_sizeBox->addItems(fontSizes());
    m_sizeBox->setEditText(QString::number(kStartSize));
    row->addWidget(m_sizeBox);
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
    QFont typing(kStartFont);
    typing.setPointSize(kStartSize);
    m_textBox->document()->setDefaultFont(typing);
    inside->addWidget(m_textBox);
    column->addWidget(frame, 1);

    setCentralWidget(face);

    connect(m_toolbar, &EditorToolbar::zoneClicked, this, &EditorWindow::runToolbarZone);
    connect(m_fontBox, &QComboBox::editTextChanged, this, &EditorWindow::applyFontName);
    connect(m_fontBox, &QComboBox::textActivated, this, &EditorWindow::applyFontName);
    connect(m_sizeBox, &QComboBox::editTextChanged, this, &EditorWindow::applyFontSize);
    connect(m_sizeBox, &QComboBox::textActivated, this, &EditorWindow::applyFontSize);
}

void EditorWindow::connectTextBox()
{
    connect(m_textBox, &RichTextBox::contentChanged, this, &EditorWindow::textChanged);
    connect(m_textBox, &RichTextBox::keyDown, this, &EditorWindow::keyDown);
    connect(m_textBox, &RichTextBox::keyUp, this, &EditorWindow::keyUp);
    connect(m_textBox, &RichTextBox::shortcutWanted, this, [](KeyStroke& stroke) {
        stroke.swallowed = EditorKeys::keepsFromMenu(stroke.key, stroke.modifiers);
    });
    connect(m_textBox, &RichTextBox::rightButtonPressed, this, &EditorWindow::showEditMenu);
}

void EditorWindow::updateCaption()
{
    setWindowTitle(m_document.caption(m_state.texts.text(Text::TextEditor)));
}

void EditorWindow::textChanged()
{
    m_document.modified = true;
    if (m_undoRecording)
        recordChange();
    m_recovery->noteChange();
}

void EditorWindow::recordChange()
{
    const RichTextBox::TextChange change = m_textBox->lastChange();
    const int caret = m_textBox->textCursor().position();
    const int predicted = int(m_history.text().size()) - change.removed + change.added;
    if (change.known && predicted == m_textBox->plainLength()) {
        m_history.record(
            {change.position, change.removed, m_textBox->plainText(change.position, change.added)},
            caret);
        return;
    }
    // Several changes at once: the whole text tells what differs.
    m_history.record(UndoHistory::difference(m_history.text(),
                                             m_textBox->plainText(0, m_textBox->plainLength())),
                     caret);
}

void EditorWindow::applyEdit(const UndoHistory::Edit& edit)
{
    m_undoRecording = false;
    QTextCursor cursor = m_textBox->textCursor();
    cursor.setPosition(edit.start);
    cursor.setPosition(edit.start + edit.length, QTextCursor::KeepAnchor);
    cursor.insertText(edit.text);
    if (edit.selectText)
        cursor.setPosition(edit.start, QTextCursor::KeepAnchor);
    else
        cursor.setPosition(edit.caret);
    m_textBox->setTextCursor(cursor);
    m_undoRecording = true;
}

void EditorWindow::undo()
{
    if (!m_undoRecording)
        return;
    if (const auto edit = m_history.undo()) {
        applyEdit(*edit);
        m_document.modified = true;
    }
    m_textBox->setFocus();
}

void EditorWindow::redo()
{
    if (!m_undoRecording)
        return;
    if (const auto edit = m_history.redo()) {
        applyEdit(*edit);
        m_document.modified = true;
    }
    m_textBox->setFocus();
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

void EditorWindow::print()
{
    if (!m_printer)
        m_printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    if (m_platform.dialogs->choosePrinter(this, *m_printer))
        m_textBox->printSelection(m_printer.get());
}

void EditorWindow::insertTimestamp()
{
    // Asked from outside the program, perhaps before the window's controls are made.
    if (m_built)
        m_timestamps->insert();
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

void EditorWindow::applyFontName(const QString& name)
{
    // A name typed that is no font of the list changes nothing.
    if (m_fontBox->findText(name, Qt::MatchFixedString) >= 0)
        m_textBox->setSelectionFontName(name);
}

void EditorWindow::applyFontSize(const QString& size)
{
    if (const auto points = sizeInPoints(size))
        m_textBox->setSelectionFontSize(*points);
}

QFont EditorWindow::boxesFont() const
{
    const QString name = m_fontBox->currentText();
    QFont font(m_fontBox->findText(name, Qt::MatchFixedString) >= 0 ? name : kStartFont);
    font.setPointSizeF(sizeInPoints(m_sizeBox->currentText()).value_or(kStartSize));
    return font;
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
        undo();
        break;
    case EditorCommand::Redo:
        redo();
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
        newDocument();
        break;
    case EditorToolbar::Zone::Open:
        openDocument();
        break;
    case EditorToolbar::Zone::Save:
        save();
        break;
    case EditorToolbar::Zone::Print:
        print();
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
    m_editMenu->popup(globalPosition);
}
