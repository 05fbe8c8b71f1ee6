#include "recorder/Recorder.h"

#include "recorder/RecorderWindow.h"
#include "recorder/RecordingFile.h"

Recorder::Recorder(AppState& state, const Platform& platform, QObject* parent)
    : QObject(parent), m_state(state), m_platform(platform)
{
}

Recorder::~Recorder()
{
    delete m_window;
}

RecorderWindow* Recorder::window() const
{
    return m_window;
}

void Recorder::showRecorder()
{
    if (!m_window) {
        m_window = new RecorderWindow(m_state, m_platform);
        m_window->setAttribute(Qt::WA_DeleteOnClose);
    }
    m_window->show();
    m_window->raise();
    m_window->activateWindow();
}

bool Recorder::isRecordingTo(const QString& path) const
{
    return m_window && m_window->isRecording() &&
           RecordingFile::sameFile(m_window->engine().fileName(), path);
}

void Recorder::closeAtExit()
{
    if (!m_window)
        return;
    // The file is finished now; the window stays until the recorder goes. The program may be
    // ending from inside one of the window's own message boxes, which must not go under it.
    m_window->finishRecording();
    m_window->hide();
}
