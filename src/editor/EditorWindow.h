#pragma once

#include "core/EditorCommands.h"
#include "core/MenuCommands.h"
#include "editor/EditorKeys.h"
#include "editor/EditorToolbar.h"
#include "platform/Platform.h"

#include <QMainWindow>
#include <QPointer>

class DocumentCommands;
class FindDialog;
class FollowAlong;
class FontBoxes;
class PlayerCommands;
class QMenu;
class RichTextBox;
class SnippetCommands;
class SpellingCommands;
class TimestampCommands;
class UndoController;
struct AppState;
struct KeyStroke;
struct RecoveryRecord;

// The transcript editor: one document in a rich text area, written while the player plays. Its
// keys reach the player's commands through PlayerCommands. The File menu's commands are its
// DocumentCommands', undo and redo its UndoController's.
class EditorWindow : public QMainWindow, public EditorCommands {
    Q_OBJECT
public:
    // Later: the window's controls are made by build(), so that a window that is not needed at
    // once costs nothing until then.
    enum class Build { Now, Later };

    EditorWindow(AppState& state, const Platform& platform, PlayerCommands* player,
                 Build when = Build::Now, QWidget* parent = nullptr);
    // Makes the controls, menus and recent list; once.
    void build();
    ~EditorWindow() override;
    // Captions from the interface text table; a language change runs it once the window is built.
    void retranslate();

    // Every menu and command of the window, in menu order.
    static const std::vector<CommandRow<EditorWindow>>& commandTable();

    // The document, its file commands, recent documents and recovery copy; nullptr until the
    // window is built.
    DocumentCommands* documentCommands() const { return m_documentCommands; }
    // Nullptr until the window is built.
    const UndoController* undoController() const { return m_undo; }

    // A click on a toolbar zone.
    void runToolbarZone(EditorToolbar::Zone zone);
    void runEditorCommand(EditorCommand command);
    // Opens the find dialog, or brings it forward with the mode it was opened in.
    void showFindDialog(bool replacing);

    // Writes the player's position at the caret as a timestamp, in the chosen style; nothing
    // without media or before the window is built.
    void insertTimestamp() override;
    // Nothing before the window is built.
    void followHeardPart() override;
    // The snippet commands on the text; nullptr until the window is built.
    SnippetCommands* snippetCommands() const { return m_snippets; }
    // The timestamp commands on the text; nullptr until the window is built.
    TimestampCommands* timestampCommands() const { return m_timestamps; }
    // Spelling on the text; nullptr until the window is built.
    SpellingCommands* spellingCommands() const { return m_spelling; }

    // The window the recovery boxes belong to (the player's); the editor itself until set.
    void setDialogOwner(QWidget* owner) { m_dialogOwner = owner; }
    // Recovery copies for this run: takes a copy name of its own in the Recovery folder, offers
    // a copy left by a run that did not end normally, then keeps a copy of the changed
    // transcript from now on.
    void startRecovery();
    // The program ends without asking: the copy is up to date and on the disk on return.
    void keepRecoveryCopy();

    // EditorCommands
    QWidget* window() override { return this; }
    void giveFocus() override;
    ExitAnswer askToSaveBeforeExit() override;
    void hideFindDialog() override;
    void unload() override;

protected:
    bool event(QEvent* event) override;
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void buildControls();
    void buildMenus();
    void connectTextBox();
    void keyDown(KeyStroke& stroke);
    void keyUp(KeyStroke& stroke);
    void runKeyAction(const KeyAction& action);
    // After a command of the player started here: the keyboard comes back to the text, unless
    // the command left a dialog of its own open.
    void takeKeyboardBack(const QList<QWidget*>& dialogsBefore);
    void showEditMenu(QPoint globalPosition);
    // A recovery copy the user restored is back in the text: the window comes forward with the
    // recording where it was.
    void showRestoredCopy(const RecoveryRecord& record);

    AppState& m_state;
    Platform m_platform;
    PlayerCommands* m_player;
    QWidget* m_dialogOwner = nullptr;
    QPointer<FindDialog> m_findDialog;

    bool m_built = false;
    EditorToolbar* m_toolbar = nullptr;
    FontBoxes* m_fonts = nullptr;
    RichTextBox* m_textBox = nullptr;
    UndoController* m_undo = nullptr;
    DocumentCommands* m_documentCommands = nullptr;

    MenuCommands m_commands;
    QMenu* m_editMenu = nullptr;
    QMenu* m_spellingMenu = nullptr;
    TimestampCommands* m_timestamps = nullptr;
    FollowAlong* m_follow = nullptr;
    SnippetCommands* m_snippets = nullptr;
    SpellingCommands* m_spelling = nullptr;
};
