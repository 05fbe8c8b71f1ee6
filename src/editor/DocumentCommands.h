#pragma once

#include "core/EditorCommands.h"
#include "core/RecentFilesMenu.h"
#include "editor/EditorDocument.h"
#include "editor/RecoveryRecord.h"

#include <QObject>
#include <functional>
#include <memory>

class Dialogs;
class PlayerCommands;
class QFont;
class QMenu;
class QPrinter;
class RecoveryKeeper;
class RichTextBox;
class UndoController;
struct AppState;

// The editor's File menu on its transcript: new, open, save, save as, export and print, the recent
// documents, the question before unsaved changes are dropped, and the recovery copy that keeps
// them meanwhile. Every command that would drop the document asks first (maybeSave). It asks its
// questions through the Dialogs seam and owns the document's state; the window shows the caption
// it announces.
class DocumentCommands : public QObject {
    Q_OBJECT
public:
    // How a save ended.
    enum class SaveOutcome { Saved, NothingToSave, Cancelled, Failed };

    // What the commands work on in the editor window.
    struct Editor {
        RichTextBox* text = nullptr;
        UndoController* undo = nullptr;
        // The owner of the questions, the recent entries and the progress of a long reading.
        QWidget* window = nullptr;
        // The font a new document types in; without one, the text's default font stays.
        std::function<QFont()> newDocumentFont = nullptr;
        // The owner of the recovery questions at the start; without one, the window.
        std::function<QWidget*()> startOwner = nullptr;
    };

    DocumentCommands(AppState& state, Dialogs& dialogs, PlayerCommands* player, Editor editor,
                     QObject* parent = nullptr);
    ~DocumentCommands() override;

    const EditorDocument& document() const { return m_document; }
    RecentFilesMenu* recentDocuments() const { return m_recentDocuments; }
    RecoveryKeeper* recovery() const { return m_recovery; }
    // The recent documents' entries in the menu, with the list read from its file.
    void addRecentEntries(QMenu* menu);
    // The untitled name and the caption in the current language.
    void retranslate();

    void newDocument();
    void openDocument();
    // Opens the file without asking about the document it replaces; an empty path asks for one.
    void openDocumentFile(const QString& path);
    SaveOutcome save();
    SaveOutcome saveAs();
    // Writes the transcript as Word, OpenDocument, subtitles, plain text or a table of its
    // segments.
    void exportTranscript();
    // Asks for a printer and prints the selection, or the whole document without one.
    void print();
    // Asks about an unsaved transcript before the program ends, and saves it if the user wants.
    EditorCommands::ExitAnswer askToSaveBeforeExit();

    // Modified without a change of its text, as by undoing a change of format.
    void setModified() { m_document.modified = true; }

Q_SIGNALS:
    void captionChanged(const QString& caption);
    // A recovery copy is back in the text, as a modified document.
    void restored(const RecoveryRecord& record);

private:
    // The text changed: the document is modified and its recovery copy due.
    void noteChange();
    // A recent document chosen in the menu.
    void openRecentDocument(const QString& path);
    // The question about unsaved changes before a command drops the document; false when the
    // command must stop.
    bool maybeSave();
    // Subtitles open as a new transcript, a paragraph per cue.
    void openSubtitles(const QString& path);
    // Writes the document to the path; a failure is told and leaves the document modified.
    bool writeDocument(const QString& path);
    // Asks before a file is replaced; true when it is new or the user says yes.
    bool mayReplace(const QString& path);
    void tellSaveFailed(const QString& path, const QString& error);
    void restore(const QByteArray& copy, const RecoveryRecord& record);
    void announceCaption();

    AppState& m_state;
    Dialogs& m_dialogs;
    PlayerCommands* m_player;
    Editor m_editor;
    EditorDocument m_document;
    RecentFilesMenu* m_recentDocuments;
    RecoveryKeeper* m_recovery;
    // The printer chosen last, kept for the run.
    std::unique_ptr<QPrinter> m_printer;
};
