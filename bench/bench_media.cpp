// Times the libmpv media engine with the null sound output on generated 10-minute recordings:
// opening, seeking and the reads of one display refresh. Prints medians; asserts nothing.

#include "BenchSupport.h"
#include "engine/MpvMediaPlayer.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

using namespace Bench;

bool waitPlaying(MpvMediaPlayer& player)
{
    return waitFor([&] {
        return player.playState() == MediaPlayer::State::Playing && player.currentPosition() > 0;
    });
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
    report(QStringLiteral("open->advancing %1:").arg(label), times, "< 150 ms");
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
    report(QStringLiteral("%1->reported %2:").arg(kind, label), reported, "< 30 ms");
    report(QStringLiteral("%1->engine done %2:").arg(kind, label), settled, "< 30 ms");
    if (!stepBack)
        report(QStringLiteral("skip->playing past target %1:").arg(label), playing, "(no target)");
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
            sink += static_cast<qsizetype>(player.playState());
        }
        times.push_back(milliseconds(clock) / ReadsPerRun);
        waitFor([] { return false; }, 5); // let playback events in between runs
    }
    report(QStringLiteral("display read %1:").arg(label), times, "< 1 ms");
    if (sink == 0)
        std::printf("(no reads?)\n");
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    const QStringList recordings = makeRecordings(dir.path());
    if (recordings.isEmpty())
        return 1;

    MpvMediaPlayer player(MpvMediaPlayer::Options::silent());
    for (const QString& path : recordings)
        benchOpen(player, path, QFileInfo(path).suffix());
    for (const QString& path : recordings) {
        benchSeek(player, path, QFileInfo(path).suffix(), false);
        benchSeek(player, path, QFileInfo(path).suffix(), true);
    }
    for (const QString& path : recordings)
        benchRead(player, path, QFileInfo(path).suffix());
    return 0;
}
