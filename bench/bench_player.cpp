// The player window on the real engine (null audio output): opening a recording through the
// open command, a skip and a pause's step back as the window reports them, and the cost of one
// display refresh tick. Prints medians; asserts nothing.

#include "app/AppState.h"
#include "app/ProgramFolder.h"
#include "platform/MpvMediaPlayer.h"
#include "platform/Platform.h"
#include "platform/QtDesktop.h"
#include "platform/QtDialogs.h"
#include "player/Form1.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

constexpr int kRuns = 20;
constexpr int kMediaSeconds = 600;

bool waitFor(const std::function<bool()>& condition, int timeoutMs = 5000)
{
    QElapsedTimer clock;
    clock.start();
    while (!condition()) {
        if (clock.elapsed() > timeoutMs)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 1);
    }
    return true;
}

double ms(const QElapsedTimer& clock)
{
    return clock.nsecsElapsed() / 1e6;
}

void report(const QString& what, std::vector<double> values, const char* target)
{
    if (values.empty()) {
        std::printf("%-44s no figures\n", qPrintable(what));
        return;
    }
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    const double median = n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
    std::printf("%-44s median %8.3f ms (n=%zu)   target %s\n", qPrintable(what), median, n,
                target);
    std::fflush(stdout);
}

bool make(const QString& program, const QStringList& arguments)
{
    QProcess process;
    process.start(program, arguments);
    return process.waitForFinished(120000) && process.exitCode() == 0;
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir dir;
    const QString wav = dir.filePath(QStringLiteral("lecture.wav"));
    const QString mp3 = dir.filePath(QStringLiteral("lecture.mp3"));
    std::printf("Making a %d-second WAV (sox) and MP3 (lame)...\n", kMediaSeconds);
    std::fflush(stdout);
    if (!make(QStringLiteral("sox"), {"-n", "-r", "44100", "-c", "1", "-b", "16", wav, "synth",
                                      QString::number(kMediaSeconds), "sine", "440"})) {
        std::printf("sox failed or is not installed\n");
        return 1;
    }
    const bool haveMp3 = make(QStringLiteral("lame"), {"--quiet", wav, mp3});

    AppState state;
    state.programFolder = dir.filePath(QStringLiteral("program"));
    ProgramFolder::fillMissing(QStringLiteral(VOCARTA_SOURCE_DATA_DIR), state.programFolder);
    state.languageFile = QStringLiteral("English.lng");
    state.texts.load(state.languagePath());
    QtDialogs dialogs;
    QtDesktop desktop(dir.path());
    MpvMediaPlayer media(MpvMediaPlayer::Options{.nullOutput = true});
    Form1 player(state, Platform{&media, &dialogs, &desktop});
    player.Form_Load(QString());
    state.jumpSeconds = 5;
    state.backSeconds = 2;

    QList<QPair<QString, QString>> files{{wav, QStringLiteral("wav")}};
    if (haveMp3)
        files.append({mp3, QStringLiteral("mp3")});

    for (const auto& [path, label] : files) {
        std::vector<double> open;
        for (int i = 0; i < kRuns; ++i) {
            player.mnuChiudi_Click();
            waitFor([] { return false; }, 20);
            QElapsedTimer clock;
            clock.start();
            player.OpenMedia(path);
            if (waitFor([&] { return media.currentPosition() > 0; }))
                open.push_back(ms(clock));
        }
        report(QStringLiteral("OpenMedia -> position advancing, %1").arg(label), open,
               "< 150 ms");

        std::vector<double> skip;
        std::vector<double> stepBack;
        for (int i = 0; i < kRuns; ++i) {
            media.setCurrentPosition(60 + 10 * i);
            if (player.cmdPlay->tag() == state.texts.text(Form1::kEntryPlay))
                player.cmdPlay_Click();
            waitFor([&] { return !media.isSeeking(); });

            double target = media.currentPosition() + state.jumpSeconds;
            QElapsedTimer clock;
            clock.start();
            player.cmdAvanz_click();
            if (waitFor([&] { return !media.isSeeking() && qAbs(media.currentPosition() - target) < 0.05; }))
                skip.push_back(ms(clock));

            target = media.currentPosition() - state.backSeconds;
            clock.restart();
            player.cmdPlay_Click(); // pause, stepping back
            if (waitFor([&] { return !media.isSeeking() && qAbs(media.currentPosition() - target) < 0.05; }))
                stepBack.push_back(ms(clock));
        }
        report(QStringLiteral("skip -> at its new position, %1").arg(label), skip, "< 30 ms");
        report(QStringLiteral("pause step back -> at its position, %1").arg(label), stepBack,
               "< 30 ms");

        player.cmdPlay_Click();
        std::vector<double> tick;
        for (int i = 0; i < kRuns; ++i) {
            constexpr int kTicks = 200;
            QElapsedTimer clock;
            clock.start();
            for (int t = 0; t < kTicks; ++t)
                player.Timer1_Timer();
            tick.push_back(ms(clock) / kTicks);
            waitFor([] { return false; }, 5);
        }
        report(QStringLiteral("display refresh tick, %1").arg(label), tick, "< 1 ms");
    }
    return 0;
}
