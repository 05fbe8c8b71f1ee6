#pragma once

#include "core/Text.h"
#include "editor/RecoveryRecord.h"
#include "editor/RecoverySchedule.h"

#include <QElapsedTimer>
#include <QObject>
#include <functional>
#include <memory>

class Dialogs;
class EditorDocument;
class PlayerCommands;
class QTextEdit;
class QTimer;
class QWidget;
class RecoveryStore;
class RecoveryWriter;
struct AppState;

// The recovery copies of the editor's transcript for one run: takes a copy name of its own in the
// Recovery folder, offers a copy left by a run that did not end normally, keeps a copy of the
// changed transcript from then on, and drops it once the user saved the text or chose to lose it.
// It reads the document and asks its questions through the Dialogs seam; the editor only tells it
// of changes and puts back a copy the user restores.
class RecoveryKeeper : public QObject {
    Q_OBJECT
public:
    // What the keeper reads of the editor and asks of it.
    struct Editor {
        const EditorDocument* document = nullptr;
        // Its text area, whose document a load replaces.
        const QTextEdit* text = nullptr;
        // The editor's window: the owner of the messages about copies being written.
        QWidget* window = nullptr;
        // The owner of the questions at the start, when the editor may not be shown yet; without
        // one, the editor's window.
        std::function<QWidget*()> startOwner = nullptr;
        // Puts a copy the user chose to restore in the editor, as a changed document.
        std::function<void(const QByteArray& copy, const RecoveryRecord& record)> restore = nullptr;
    };

    RecoveryKeeper(AppState& state, Dialogs& dialogs, PlayerCommands* player, Editor editor,
                   QObject* parent = nullptr);
    ~RecoveryKeeper() override;

    // Takes the folder's copy name and offers a copy an earlier run left under it; once.
    void start();
    bool keepsCopies() const { return m_writer != nullptr; }
    // Tries again a Recovery folder that could not be used; a change does it once it is due.
    void retry();
    // The timer's handler: takes the copy and hands it to the writer's thread.
    void writeCopy();
    // The program ends without asking (a signal, the end of the desktop session): the copy is
    // brought up to date and on the disk before this returns.
    void keepCopy();
    // The text changed: a copy becomes due.
    void noteChange();
    // The user saved the transcript or chose to drop it: its copy goes.
    void discardCopy();
    // Writes the changed text as this run's copy and moves it under a dated name, read back to
    // be sure it is all there. The copy's path, or "" with the reason.
    [[nodiscard]] QString setChangesAside(QString* error);

private:
    // Takes the folder's copy name; a folder that cannot be used is told the first time only
    // and tried again later in the run.
    bool claim();
    void offer();
    // Stops recovery copies for the run, so that a copy that could not be set aside is never
    // written over.
    void stop();
    // Brings the copy up to date and waits until it is on the disk.
    void flush();
    // Nothing due until the text changes again.
    void clearDue();
    RecoveryRecord record() const;
    QWidget* startOwner() const;
    void warn(QWidget* owner, Text what, const QString& path, const QString& error);

    AppState& m_state;
    Dialogs& m_dialogs;
    PlayerCommands* m_player;
    Editor m_editor;
    std::unique_ptr<RecoveryStore> m_store;
    std::unique_ptr<RecoveryWriter> m_writer;
    RecoverySchedule m_schedule;
    QElapsedTimer m_clock;
    QTimer* m_timer = nullptr;
    RecoveryRetry m_retry;
    bool m_unavailableTold = false;
    // Set once the program ends without asking: a question then open has no answer.
    bool m_ending = false;
};
