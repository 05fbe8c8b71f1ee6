#pragma once

#include <QString>

// What the player window asks of the sound recorder.
class RecorderCommands {
public:
    virtual ~RecorderCommands() = default;

    // Loads the recorder window when it is not loaded yet, and shows it.
    virtual void showRecorder() = 0;
    // Whether a recording (running or paused) is being written to the file at `path`.
    virtual bool isRecordingTo(const QString& path) const = 0;
    // As the program ends: a recording is stopped and its file finished, and the window goes.
    virtual void closeAtExit() = 0;
};
