#pragma once

#include "core/SettingsFile.h"
#include "platform/Platform.h"

#include <QObject>
#include <functional>

class QWidget;
struct AppState;
struct PlayerPeers;

// What the player keeps between runs, and how a run ends: the settings read at start and written
// whenever an option changes, and the closing steps, which run once.
class SessionKeeper : public QObject {
    Q_OBJECT
public:
    // Fills in what the windows show: places, check marks, the volume knob, the transport.
    using Collector = std::function<void(StoredSettings&)>;

    // `owner` is the window: the parent, and the owner of the box telling a failed save.
    SessionKeeper(AppState& state, const Platform& platform, const PlayerPeers& peers,
                  QWidget* owner);

    void setCollector(Collector collect) { m_collect = std::move(collect); }
    // Reads the settings file; one that cannot be read leaves the defaults, logged.
    const StoredSettings& read();
    // The values read at start, kept for what no live control holds.
    const StoredSettings& stored() const { return m_stored; }
    // Writes the settings file; a failure is logged and told once.
    bool save();

    // Saves what the user had, asks about an unsaved transcript and closes the companion
    // windows. Returns false when the user cancelled it.
    bool runClosingSequence();
    // The same saves and steps without a question, for an end the user cannot answer (a signal
    // from the system, the desktop session ending).
    void endWithoutAsking();
    bool hasEnded() const { return m_closed; }

Q_SIGNALS:
    // The settings file was written (or the write failed).
    void settingsSaved(bool ok);
    // The closing steps begin: the window takes no more files and writes its lists.
    void closingStarted();
    // The transcript could not be saved, so the program stays: its window is shown again.
    void closingRefused();
    // The closing sequence has finished: the program ends.
    void programEnded();

private:
    // The closing steps after the questions: settings saved, companions closed, engine stopped.
    void finishClosing();

    AppState& m_state;
    Platform m_platform;
    const PlayerPeers& m_peers;
    QWidget* m_owner;
    Collector m_collect;
    StoredSettings m_stored;
    bool m_closing = false;
    bool m_closed = false;
};
