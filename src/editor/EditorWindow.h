#pragma once

#include "core/EditorCommands.h"
#include "core/MenuCommands.h"
#include "core/RecentFilesMenu.h"
#include "editor/EditorDocument.h"
#include "editor/EditorKeys.h"
#include "editor/EditorToolbar.h"
#include "editor/UndoHistory.h"
#include "platform/Platform.h"

#include <QMainWindow>
#include <QPointer>
#include <array>
#include <memory>

class FindDialog;
class PlayerCommands;
class QAction;
class QComboBox;
class QMenu;
class QPrinter;
class RecoveryKeeper;
class RichTextBox;
class SnippetCommands;
class TimestampCommands;
struct AppState;
struct KeyStroke;
struct RecoveryRecord;

// The transcript editor: one document in a rich text area, written while the player plays. Its
// keys reach the player's commands through PlayerCommands.
class EditorWindow : public QMainWindow, public EditorCommands {
    Q_OBJECT
public:
    // How a save ended.
    enum class SaveOutcome { Saved, NothingToSave, Cancelled, Failed };

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

    const EditorDocument& document() const { return m_document; }
    const RecentList& recentDocuments() const { return m_recentDocuments->list(); }
    // Every menu and command of the window, in menu order.
    static const std::vector<CommandRow<EditorWindow>>& commandTable();

    // The document commands. Those that drop the document ask first about unsaved changes.
    void newDocument();
    void openDocument();
    // Opens the file without asking about the document it replaces; an empty path asks for one.
    void openDocumentFile(const QString& path);
    SaveOutcome save();
    SaveOutcome saveAs();
    // Writes the transcript as Word, OpenDocument, subtitles, plain text or a table of its
    // segments.
    void exportTranscript();

    // A click on a toolbar zone.
    void runToolbarZone(EditorToolbar::Zone zone);
    void runEditorCommand(EditorCommand command);
    // The editor's own undo and redo of the plain text; the text area's own stays off.
    void undo();
    void redo();
    const UndoHistory& undoHistory() const { return m_history; }
    // Opens the find dialog, or brings it forward with the mode it was opened in.
    void showFindDialog(bool replacing);
    // Asks for a printer and prints the selection, or the whole document without one.
    void print();

    // Writes the player's position at the caret as a timestamp, in the chosen style; nothing
    // without media or before the window is built.
    void insertTimestamp() override;
    // The snippet commands on the text; nullptr until the window is built.
    SnippetCommands* snippetCommands() const { return m_snippets; }
    // The timestamp commands on the text; nullptr until the window is built.
    TimestampCommands* timestampCommands() const { return m_timestamps; }

    // The window the recovery boxes belong to (the player's); the editor itself until set.
    void setDialogOwner(QWidget* owner) { m_dialogOwner = owner; }
    // Recovery copies for this run: takes a copy name of its own in the Recovery folder, offers
    // a copy left by a run that did not end normally, then keeps a copy of the changed
    // transcript from now on.
    void startRecovery();
    // The program ends without asking: the copy is up to date and on the disk on return.
    void keepRecoveryCopy();
    // Nullptr until the window is built.
    RecoveryKeeper* recovery() const { return m_recovery; }

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
    // A recent file chosen in the menu.
    void openRecentDocument(const QString& path);
    void updateCaption();
    // The question about unsaved changes before a command drops the document; false when the
    // command must stop.
    bool maybeSave();
    // Writes the document to the path; a failure is told and leaves the document modified.
    bool writeDocument(const QString& path);
    void textChanged();
    void recordChange();
    void applyEdit(const UndoHistory::Edit& edit);
    void keyDown(KeyStroke& stroke);
    void keyUp(KeyStroke& stroke);
    void runKeyAction(const KeyAction& action);
    // After a command of the player started here: the keyboard comes back to the text, unless
    // the command left a dialog of its own open.
    void takeKeyboardBack(const QList<QWidget*>& dialogsBefore);
    // Asks before a file is replaced; true when it is new or the user says yes.
    bool mayReplace(const QString& path);
    // Subtitles open as a new transcript, a paragraph per cue.
    void openSubtitles(const QString& path);
    void tellSaveFailed(const QString& path, const QString& error);
    void applyFontName(const QString& name);
    // The font and size the boxes show.
    QFont boxesFont() const;
    void applyFontSize(const QString& size);
    void showEditMenu(QPoint globalPosition);
    void setupRecovery();
    void restoreRecovery(const QByteArray& copy, const RecoveryRecord& record);

    AppState& m_state;
    Platform m_platform;
    PlayerCommands* m_player;
    QWidget* m_dialogOwner = nullptr;
    EditorDocument m_document;
    RecentFilesMenu* m_recentDocuments;
    UndoHistory m_history;
    // Off only while undo and redo change the text.
    bool m_undoRecording = false;
    // The printer chosen last, kept for the run.
    std::unique_ptr<QPrinter> m_printer;
    QPointer<FindDialog> m_findDialog;

    RecoveryKeeper* m_recovery = nullptr;

    bool m_built = false;
    EditorToolbar* m_toolbar = nullptr;
    QComboBox* m_fontBox = nullptr;
    QComboBox* m_sizeBox = nullptr;
    RichTextBox* m_textBox = nullptr;

    MenuCommands m_commands;
    QMenu* m_editMenu = nullptr;
    TimestampCommands* m_timestamps = nullptr;
    SnippetCommands* m_snippets = nullptr;
};
