#pragma once

// What the benchmarks share: running a tool, waiting on the event loop, medians, and the
// recordings they time.

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace Bench {

constexpr int Runs = 20;
constexpr double MediaSeconds = 600;

inline bool run(const QString& program, const QStringList& arguments)
{
    QProcess process;
    process.start(program, arguments);
    return process.waitForFinished(120000) && process.exitStatus() == QProcess::NormalExit &&
           process.exitCode() == 0;
}

// Serves events until the condition holds; a fine timer keeps the loop from sleeping past it.
inline bool waitFor(const std::function<bool()>& condition, int timeoutMs = 5000)
{
    QTimer tick;
    tick.start(1);
    QElapsedTimer clock;
    clock.start();
    while (!condition()) {
        if (clock.elapsed() > timeoutMs)
            return false;
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
    return true;
}

// Serves the events already waiting, a few rounds, so that what they trigger is done.
inline void settle()
{
    for (int i = 0; i < 5; ++i)
        QCoreApplication::processEvents();
}

// Windows of a benchmark that measures no display go to the offscreen platform, unless the
// environment chose one.
inline void useOffscreenUnlessTold()
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
}

inline double milliseconds(const QElapsedTimer& clock)
{
    return clock.nsecsElapsed() / 1e6;
}

// Of at least one value.
inline double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

inline void report(const QString& what, const std::vector<double>& values, const char* target)
{
    if (values.empty()) {
        std::printf("%-44s no measurement\n", qPrintable(what));
        return;
    }
    std::printf("%-44s median %8.3f ms (n=%zu)   target %s\n", qPrintable(what), median(values),
                values.size(), target);
    std::fflush(stdout);
}

// A 10-minute tone as WAV (sox) and MP3 (lame) in `folder`: the paths that could be made.
inline QStringList makeRecordings(const QString& folder)
{
    const QString wav = folder + QStringLiteral("/lecture.wav");
    const QString mp3 = folder + QStringLiteral("/lecture.mp3");
    std::printf("Making a %g-second WAV (sox) and MP3 (lame)...\n", MediaSeconds);
    std::fflush(stdout);
    QStringList made;
    if (!run(QStringLiteral("sox"), {"-n", "-r", "44100", "-c", "1", "-b", "16", wav, "synth",
                                     QString::number(MediaSeconds), "sine", "440"})) {
        std::printf("sox failed or is not installed\n");
        return made;
    }
    made << wav;
    if (run(QStringLiteral("lame"), {"--quiet", wav, mp3}))
        made << mp3;
    else
        std::printf("lame failed or is not installed: MP3 figures skipped\n");
    return made;
}

} // namespace Bench
