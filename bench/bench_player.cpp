// The player window on the real engine (null audio output): opening a recording through the
// open command, a skip and a pause's step back as the window reports them, and the cost of one
// display refresh tick. Prints medians; asserts nothing.

#include "BenchSupport.h"
#include "core/AppState.h"
#include "core/ProgramFolder.h"
#include "engine/MpvMediaPlayer.h"
#include "platform/Platform.h"
#include "platform/QtDesktop.h"
#include "platform/QtDialogs.h"
#include "player/PlayerWindow.h"

#include <QApplication>
#include <QFileInfo>
#include <QTemporaryDir>

using namespace Bench;

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir dir;
    const QStringList recordings = makeRecordings(dir.path());
    if (recordings.isEmpty())
        return 1;

    AppState state;
    state.programFolder = dir.filePath(QStringLiteral("program"));
    if (!ProgramFolder::fillMissing(QStringLiteral(VOCARTA_SOURCE_DATA_DIR), state.programFolder))
        return 1;
    state.languageFile = QStringLiteral("English.lng");
    state.texts.load(state.languagePath());
    QtDialogs dialogs;
    QtDesktop desktop(dir.path());
    MpvMediaPlayer media(MpvMediaPlayer::Options::silent());
    PlayerWindow player(state, Platform{&media, &dialogs, &desktop});
    player.restoreSession(QString());
    const TransportOptions options{.skipSeconds = 5, .backSeconds = 2};
    player.playback()->setOptions(options);

    for (const QString& path : recordings) {
        const QString label = QFileInfo(path).suffix();
        std::vector<double> open;
        for (int i = 0; i < Runs; ++i) {
            player.mediaSession()->close();
            waitFor([] { return false; }, 20);
            QElapsedTimer clock;
            clock.start();
            player.control()->openMedia(path);
            if (waitFor([&] { return media.currentPosition() > 0; }))
                open.push_back(milliseconds(clock));
        }
        report(QStringLiteral("open -> position advancing, %1").arg(label), open, "< 150 ms");

        std::vector<double> skip;
        std::vector<double> stepBack;
        for (int i = 0; i < Runs; ++i) {
            media.setCurrentPosition(60 + 10 * i);
            if (!player.playback()->isPlaying())
                player.control()->togglePlayPause();
            waitFor([&] { return !media.isSeeking(); });

            double target = media.currentPosition() + options.skipSeconds;
            QElapsedTimer clock;
            clock.start();
            player.control()->skipForward();
            if (waitFor([&] {
                    return !media.isSeeking() && qAbs(media.currentPosition() - target) < 0.05;
                }))
                skip.push_back(milliseconds(clock));

            target = media.currentPosition() - options.backSeconds;
            clock.restart();
            player.control()->togglePlayPause(); // pause, stepping back
            if (waitFor([&] {
                    return !media.isSeeking() && qAbs(media.currentPosition() - target) < 0.05;
                }))
                stepBack.push_back(milliseconds(clock));
        }
        report(QStringLiteral("skip -> at its new position, %1").arg(label), skip, "< 30 ms");
        report(QStringLiteral("pause step back -> at its position, %1").arg(label), stepBack,
               "< 30 ms");

        player.control()->togglePlayPause();
        std::vector<double> tick;
        for (int i = 0; i < Runs; ++i) {
            constexpr int kTicks = 200;
            QElapsedTimer clock;
            clock.start();
            for (int t = 0; t < kTicks; ++t)
                player.control()->refreshDisplay();
            tick.push_back(milliseconds(clock) / kTicks);
            waitFor([] { return false; }, 5);
        }
        report(QStringLiteral("display refresh tick, %1").arg(label), tick, "< 1 ms");
    }
    return 0;
}
