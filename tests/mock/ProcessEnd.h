#pragma once

#include <QProcess>

// Asks a process a test started to end, and kills it when it has not within `graceMs`.
inline void endProcess(QProcess& process, int graceMs = 5000)
{
    if (process.state() == QProcess::NotRunning)
        return;
    process.terminate();
    if (!process.waitForFinished(graceMs))
        process.kill();
    process.waitForFinished();
}
