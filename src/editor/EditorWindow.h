#pragma once

#include "core/EditorCommands.h"
#include "core/MenuCommands.h"
#include "core/RecentList.h"
#include "core/Timestamp.h"
#include "editor/EditorDocument.h"
#include "editor/EditorKeys.h"
#include "editor/RecoverySchedule.h"
#include "editor/Snippets.h"
#include "editor/UndoHistory.h"
#include "platform/Platform.h"

#include <QElapsedTimer>
#include <QMainWindow>
#include <QPointer>
#include <array>
#include <memory>

class EditorToolbar;
class FindDialog;
class PlayerCommands;
class QAction;
class QComboBox;
class QMenu;
class QPrinter;
class QTimer;
class RecoveryStore;
class RecoveryWriter;
class RichTextBox;
class SnippetDialog;
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

    const EditorDocument& document() const { return m_document; }
    const RecentList& recentDocuments() const { return m_recentDocuments; }
    // Every menu and command of the window, in menu order.
    static const std::vector<CommandRow<EditorWindow>>& commandTable();

    // The document commands. Those that drop the document ask first about unsaved changes.
    void newDocument();
    void openDocument();
    // Opens the file without asking about the document it replaces; an empty path asks for one.
    void openDocumentFile(const QString& path);
    void openRecentDocument(int index);
    SaveOutcome save();
    SaveOutcome saveAs();
    // Writes the transcript as Word, OpenDocument, subtitles, plain text or a table of its
    // segments.
    void exportTranscript();

    // A click on a toolbar zone, numbered as EditorToolbar::Zone.
    void runToolbarZone(int zone);
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
    // without media.
    void insertTimestamp() override;
    // Plays from the timestamp at the caret or the nearest one before it (the end of the media
    // for one beyond it); nothing without media or such a timestamp.
    void playFromTimestamp();
    // The timestamp options, kept in their file at once.
    void setTimestampStyle(Timestamp::Style style);
    void setStampNewParagraphs(bool on);

    // Ctrl+1 ... Ctrl+9: the snippet of the slot (0 to 8) at the caret, after a new paragraph
    // and the timestamp when it asks for them; nothing for an empty slot.
    void insertSnippet(int slot);
    const Snippets& snippets() const { return m_snippets; }
    // Opens the dialog of the nine snippets; its OK keeps them in their file.
    void editSnippets();
    void setSnippets(const Snippets& snippets);

    // The window the recovery boxes belong to (the player's); the editor itself until set.
    void setDialogOwner(QWidget* owner) { m_dialogOwner = owner; }
    // Recovery copies for this run: takes a copy name of its own in the Recovery folder, offers
    // a copy left by a run that did not end normally, then keeps a copy of the changed
    // transcript from now on.
    void startRecovery();
    bool keepsRecoveryCopies() const { return m_recoveryWriter != nullptr; }
    // Tries again a Recovery folder that could not be used; a change does it once it is due.
    void retryRecovery();
    // The recovery timer's handler: takes the copy and hands it to the writer's thread.
    void writeRecoveryCopy();
    // The program ends without asking (a signal, the end of the desktop session): the copy is
    // brought up to date and on the disk before this returns.
    void keepRecoveryCopy();

    // EditorCommands
    QWidget* window() override { return this; }
    void giveFocus() override;
    ExitAnswer askToSaveBeforeExit() override;
    void applyTexts() override;
    void hideFindDialog() override;
    void unload() override;

protected:
    bool event(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void setupMenus();
    void setupFace();
    void connectTextBox();
    void loadRecentDocuments();
    void showRecentDocuments();
    // Puts the path first in the recent list and writes the list file.
    void rememberDocument(const QString& path);
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
    // Reads the timestamp options and lets the text area's keys and clicks use them.
    void setupTimestamps();
    void applyTimestampTexts();
    void showTimestampOptions();
    void saveTimestampOptions();
    // Plays from the timestamp at or before the position; with `onTimestamp`, only from one
    // the position lies in.
    bool playFromTimestampAt(int position, bool onTimestamp);
    void stampNewParagraph(const KeyStroke& stroke);
    bool hasMedia() const;
    void loadSnippets();
    void applySnippetTexts();
    void showSnippetEntries();

    void noteChangeForRecovery();
    // The user saved the transcript or chose to drop it: its copy goes.
    void discardRecoveryCopy();
    void offerRecovery();
    void restoreRecovery(const QByteArray& copy, const RecoveryRecord& record);
    // Stops recovery copies for the run, so that a copy that could not be set aside is never
    // written over.
    void stopRecovery();
    // Brings the copy up to date and waits until it is on the disk.
    void flushRecoveryCopy();
    // Takes the folder's copy name; a folder that cannot be used is told the first time only
    // and tried again later in the run.
    bool claimRecovery();
    RecoveryRecord recoveryRecord() const;
    // Writes the changed text as this run's copy and moves it under a dated name, read back to
    // be sure it is all there. The copy's path, or "" with the reason.
    QString setChangesAside(QString* error);

    AppState& m_state;
    Platform m_platform;
    PlayerCommands* m_player;
    QWidget* m_dialogOwner = nullptr;
    EditorDocument m_document;
    RecentList m_recentDocuments;
    UndoHistory m_history;
    // Off only while undo and redo change the text.
    bool m_undoRecording = false;
    // The printer chosen last, kept for the run.
    std::unique_ptr<QPrinter> m_printer;
    QPointer<FindDialog> m_findDialog;

    std::unique_ptr<RecoveryStore> m_recoveryStore;
    std::unique_ptr<RecoveryWriter> m_recoveryWriter;
    RecoverySchedule m_recoverySchedule;
    QElapsedTimer m_recoveryClock;
    QTimer* m_recoveryTimer = nullptr;
    RecoveryRetry m_recoveryRetry;
    bool m_recoveryUnavailableTold = false;
    // Set once the program ends without asking: a question then open has no answer.
    bool m_ending = false;

    bool m_built = false;
    EditorToolbar* m_toolbar = nullptr;
    QComboBox* m_fontBox = nullptr;
    QComboBox* m_sizeBox = nullptr;
    RichTextBox* m_textBox = nullptr;

    MenuCommands m_commands;
    QMenu* m_fileMenu = nullptr;
    std::array<QAction*, RecentList::kSize> m_recentActions{};
    QAction* m_recentSeparator = nullptr;
    QMenu* m_editMenu = nullptr;
    QAction* m_insertTimestampAction = nullptr;
    std::array<QAction*, Timestamp::kStyleCount> m_timestampStyleActions{};
    QAction* m_newParagraphStampAction = nullptr;
    QAction* m_afterStepBackStampAction = nullptr;
    Snippets m_snippets;
    // Read from their file or set by the user: no longer the language's defaults.
    bool m_snippetsStored = false;
    std::array<QAction*, Snippets::kCount> m_snippetActions{};
    QPointer<SnippetDialog> m_snippetDialog;
};
