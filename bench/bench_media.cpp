// Times the libmpv media engine with the null sound output on generated 10-minute recordings:
// opening, seeking and the reads of one display refresh. Prints medians; asserts nothing.

#include "platform/MpvMediaPlayer.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

constexpr int Runs = 20;
constexpr double MediaSeconds = 600;

bool run(const QString& program, const QStringList& arguments)
{
    QProcess process;
    process.start(program, arguments);
    return process.waitForFinished(120000) && process.exitStatus() == QProcess::NormalExit &&
           process.exitCode() == 0;
}

// Serves events until the condition holds; a fine timer keeps the loop from sleeping past it.
bool waitFor(const std::function<bool()>& condition, int timeoutMs = 5000)
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

double milliseconds(const QElapsedTimer& clock)
{
    return clock.nsecsElapsed() / 1e6;
}

void report(const char* what, std::vector<double> values, const char* target)
{
    if (values.empty()) {
        std::printf("%-40s no measurement\n", what);
        return;
    }
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    const double median = n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
    std::printf("%-40s median %8.3f ms (n=%zu)   target %s\n", what, median, n, target);
    std::fflush(stdout);
}

bool waitPlaying(MpvMediaPlayer& player)
{
    return waitFor(
        [&] { return player.playState() == MediaPlayer::Playing && player.currentPosition() > 0; });
}

void benchOpen(MpvMediaPlayer& player, const QString& path, const QString& label)
{
    std::vector<double> times;
    for (int i = 0; i < Runs; ++i) {
        player.close();
        waitFor([] { return false; }, 20); // let the unload settle outside the timing
        QElapsedTimer clock;
        clock.start();
        player.setUrl(path);
        if (waitPlaying(player))
            times.push_back(milliseconds(clock));
    }
    report(qPrintable(QStringLiteral("open->advancing %1:").arg(label)), times, "< 150 ms");
}

// A skip (position write while playing) or a pause's step back (write, then pause).
void benchSeek(MpvMediaPlayer& player, const QString& path, const QString& label, bool stepBack)
{
    player.setUrl(path);
    if (!waitPlaying(player)) {
        std::printf("%s did not start playing\n", qPrintable(path));
        return;
    }
    std::vector<double> reported;
    std::vector<double> settled;
    std::vector<double> playing; // mpv's own position past the target (skips only)
    for (int i = 0; i < Runs; ++i) {
        const double start = QRandomGenerator::global()->bounded(MediaSeconds - 20) + 10;
        player.setCurrentPosition(start);
        player.play();
        waitFor([&] { return !player.isSeeking() && player.currentPosition() > start + 0.2; });

        const double target = stepBack ? player.currentPosition() - 2 : start + 5;
        QElapsedTimer clock;
        clock.start();
        player.setCurrentPosition(target);
        if (stepBack)
            player.pause();
        if (qAbs(player.currentPosition() - target) < 0.05)
            reported.push_back(milliseconds(clock));
        if (waitFor([&] { return !player.isSeeking(); }))
            settled.push_back(milliseconds(clock));
        if (!stepBack && waitFor([&] { return player.currentPosition() > target; }))
            playing.push_back(milliseconds(clock));
    }
    const QString kind = stepBack ? QStringLiteral("step back") : QStringLiteral("skip");
    report(qPrintable(QStringLiteral("%1->reported %2:").arg(kind, label)), reported, "< 30 ms");
    report(qPrintable(QStringLiteral("%1->engine done %2:").arg(kind, label)), settled, "< 30 ms");
    if (!stepBack)
        report(qPrintable(QStringLiteral("skip->playing past target %1:").arg(label)), playing,
               "(no target)");
}

void benchRead(MpvMediaPlayer& player, const QString& path, const QString& label)
{
    player.setUrl(path);
    if (!waitPlaying(player))
        return;
    constexpr int ReadsPerRun = 1000;
    std::vector<double> times;
    qsizetype sink = 0;
    for (int i = 0; i < Runs; ++i) {
        QElapsedTimer clock;
        clock.start();
        for (int r = 0; r < ReadsPerRun; ++r) {
            sink += qsizetype(player.currentPosition());
            sink += player.currentPositionString().size();
            sink += player.durationString().size();
            sink += player.playState();
        }
        times.push_back(milliseconds(clock) / ReadsPerRun);
        waitFor([] { return false; }, 5); // let playback events in between runs
    }
    report(qPrintable(QStringLiteral("display read %1:").arg(label)), times, "< 1 ms");
    if (sink == 0)
        std::printf("(no reads?)\n");
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    const QString wav = dir.filePath(QStringLiteral("lecture.wav"));
    const QString mp3 = dir.filePath(QStringLiteral("lecture.mp3"));
    std::printf("Making a %g-second WAV (sox) and MP3 (lame)...\n", MediaSeconds);
    std::fflush(stdout);
    QStringList soxArguments = QStringLiteral("-n -r 44100 -c 1 -b 16").split(u' ');
    soxArguments << wav << QStringLiteral("synth") << QString::number(MediaSeconds)
                 << QStringLiteral("sine") << QStringLiteral("440");
    if (!run(QStringLiteral("sox"), soxArguments)) {
        std::printf("sox failed or is not installed\n");
        return 1;
    }
    const bool haveMp3 = run(QStringLiteral("lame"), {QStringLiteral("--quiet"), wav, mp3});
    if (!haveMp3)
        std::printf("lame failed or is not installed: MP3 figures skipped\n");

    MpvMediaPlayer player(MpvMediaPlayer::Options{.nullOutput = true});
    QList<QPair<QString, QString>> media{{wav, QStringLiteral("wav")}};
    if (haveMp3)
        media.append({mp3, QStringLiteral("mp3")});
    for (const auto& [path, label] : media)
        benchOpen(player, path, label);
    for (const auto& [path, label] : media) {
        benchSeek(player, path, label, false);
        benchSeek(player, path, label, true);
    }
    for (const auto& [path, label] : media)
        benchRead(player, path, label);
    return 0;
}
