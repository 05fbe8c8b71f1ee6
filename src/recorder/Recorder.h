#pragma once

#include "core/RecorderCommands.h"
#include "platform/Platform.h"

#include <QObject>
#include <QPointer>

class RecorderWindow;
struct AppState;

// The recorder window, loaded when first asked for and unloaded when closed. The player window
// reaches it through RecorderCommands.
class Recorder : public QObject, public RecorderCommands {
    Q_OBJECT
public:
    Recorder(AppState& state, const Platform& platform, QObject* parent = nullptr);
    ~Recorder() override;

    void showRecorder() override;
    bool isRecordingTo(const QString& path) const override;
    void closeAtExit() override;

    // The loaded window, or nullptr.
    RecorderWindow* window() const;

private:
    AppState& m_state;
    Platform m_platform;
    QPointer<RecorderWindow> m_window;
};
