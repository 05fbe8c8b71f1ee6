// The recorder's cost and its hold on the sound: the CPU share of the whole program while it
// records 48 kHz stereo 16-bit with the meters shown (beside the same with a 1 ms meter timer),
// and a 10-minute recording fed at full speed, checked byte for byte.
//
// The CPU figures record from a PulseAudio server of the benchmark's own, a tone playing into a
// null sink whose monitor is the default source; without one, from a tone device paced by the
// clock. Usage: bench_recorder [seconds per CPU measurement, default 10]

#include "BenchSupport.h"
#include "PrivateSoundServer.h"
#include "ToneCaptureDevice.h"
#include "capture/PulseCaptureDevice.h"
#include "core/AppState.h"
#include "platform/Dialogs.h"
#include "platform/Platform.h"
#include "recorder/CaptureEngine.h"
#include "recorder/RecorderWindow.h"
#include "recorder/WavHeader.h"

#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QTemporaryDir>
#include <sys/resource.h>

namespace {

using namespace Bench;

// Chooses the file the recorder asks for and says yes to replacing it.
class ChoosingDialogs : public Dialogs {
public:
    QString file;
    QMessageBox::StandardButton message(QWidget*, QMessageBox::Icon, const QString&,
                                        const QString& text, QMessageBox::StandardButtons) override
    {
        std::printf("Message: %s\n", qPrintable(text));
        return QMessageBox::Yes;
    }
    QString showFileDialog(const FileDialogRequest&) override { return file; }
    std::optional<QColor> chooseColour(QWidget*, const QColor&) override { return {}; }
    bool choosePrinter(QWidget*, QPrinter&) override { return false; }
};

double cpuSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_utime.tv_sec + usage.ru_stime.tv_sec +
           (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

// The share of one core the program takes while the window records for `seconds`.
double recordingCpuShare(AppState& state, const Platform& platform, ChoosingDialogs& dialogs,
                         const QString& file, int seconds, bool millisecondTimer)
{
    dialogs.file = file;
    RecorderWindow window(state, platform);
    window.findChild<QComboBox*>(QStringLiteral("frequencyBox"))
        ->setCurrentText(QStringLiteral("48000"));
    window.show();
    settle();
    window.pressStart();
    waitFor([&window] { return window.engine().state() != CaptureEngine::State::Starting; }, 10000);
    if (window.engine().state() != CaptureEngine::State::Recording)
        return -1;
    // What a meter timer ticking every millisecond did: the levels and counters each tick.
    QTimer everyMillisecond;
    everyMillisecond.setTimerType(Qt::PreciseTimer);
    QObject::connect(&everyMillisecond, &QTimer::timeout, &window, &RecorderWindow::refreshLevels);
    if (millisecondTimer)
        everyMillisecond.start(1);
    waitFor([] { return false; }, 300); // settled in
    const double cpuBefore = cpuSeconds();
    QElapsedTimer wall;
    wall.start();
    QTimer end;
    end.setSingleShot(true);
    QEventLoop loop;
    QObject::connect(&end, &QTimer::timeout, &loop, &QEventLoop::quit);
    end.start(seconds * 1000);
    loop.exec();
    const double share = (cpuSeconds() - cpuBefore) / (wall.nsecsElapsed() / 1e9);
    window.pressStop();
    const qint64 recorded = QFile(file).size() - WavHeader::kSize;
    std::printf("  (%.1f s of sound written in %.1f s)\n", recorded / 192000.0,
                wall.elapsed() / 1000.0);
    return share;
}

// A 10-minute recording fed as fast as the engine takes it, read back and compared byte for
// byte with what was fed.
void fullSpeedRecording(const QString& file)
{
    const PcmFormat format{2, 16, 48000};
    constexpr int kMinutes = 10;
    ToneCaptureDevice device;
    CaptureEngine engine(&device);
    QString error;
    QObject::connect(&engine, &CaptureEngine::startFailed,
                     [&error](CaptureEngine::Fault, const QString& reason) { error = reason; });
    engine.start(format, file);
    waitFor([&engine] { return engine.state() != CaptureEngine::State::Starting; }, 10000);
    if (engine.state() != CaptureEngine::State::Recording) {
        std::printf("Full-speed recording: cannot start (%s)\n", qPrintable(error));
        return;
    }
    QElapsedTimer clock;
    clock.start();
    const qint64 total = qint64(kMinutes) * 60 * format.bytesPerSecond();
    // A second at a time, with the events served between as the real device's arrive.
    for (qint64 fed = 0; fed < total; fed += format.bytesPerSecond()) {
        device.capture(format.bytesPerSecond());
        QCoreApplication::processEvents();
    }
    engine.stop();
    const double feedMs = milliseconds(clock);

    QFile written(file);
    if (!written.open(QIODevice::ReadOnly)) {
        std::printf("Full-speed recording: cannot read back\n");
        return;
    }
    const QByteArray header = written.read(WavHeader::kSize);
    const bool headerRight = header == WavHeader::build(format, quint32(total));
    qint64 frame = 0;
    qint64 firstDifference = -1;
    const qint64 chunk = format.bytesPerSecond();
    while (!written.atEnd() && firstDifference < 0) {
        const QByteArray got = written.read(chunk);
        const QByteArray expected =
            ToneCaptureDevice::tone(format, device.frequency, device.amplitude, frame, got.size());
        if (got != expected)
            firstDifference = frame * format.blockSize();
        frame += got.size() / format.blockSize();
    }
    const qint64 lostBytes = total - (written.size() - WavHeader::kSize);
    std::printf("%-44s %8.0f ms for %d min (%.0fx real time)\n",
                "10-minute recording fed at full speed", feedMs, kMinutes,
                kMinutes * 60000.0 / feedMs);
    std::printf("%-44s %lld of %lld buffers lost, header %s, sound %s   target: none lost\n", "",
                lostBytes / engine.bufferSize(), total / engine.bufferSize(),
                headerRight ? "right" : "WRONG", firstDifference < 0 ? "identical" : "DIFFERS");
}

} // namespace

int main(int argc, char** argv)
{
    useOffscreenUnlessTold();
    QApplication app(argc, argv);
    const int seconds = argc > 1 ? std::max(1, QString::fromLocal8Bit(argv[1]).toInt()) : 10;
    QTemporaryDir folder;
    AppState state;
    state.programFolder = folder.path();
    for (int n = 0; n < InterfaceTexts::kCount; ++n)
        state.texts.setEntry(n, InterfaceTexts::builtInEntry(n));

    ChoosingDialogs dialogs;
    PrivateSoundServer server;
    ToneCaptureDevice tone;
    PulseCaptureDevice pulse;
    Platform platform;
    platform.dialogs = &dialogs;
    QString why = server.start();
    if (why.isEmpty()) {
        const QString toneFile = folder.filePath(QStringLiteral("tone.wav"));
        const PcmFormat format{2, 16, 48000};
        const QByteArray sound = ToneCaptureDevice::tone(
            format, 440, 0.5, 0, qint64(4 * seconds + 10) * format.bytesPerSecond());
        QFile out(toneFile);
        if (!out.open(QIODevice::WriteOnly) ||
            out.write(WavHeader::build(format, quint32(sound.size())) + sound) < 0 ||
            !server.addNullSink(QStringLiteral("bench")) ||
            !server.play(QStringLiteral("bench"), toneFile))
            why = QStringLiteral("the null sink or the tone could not be set up");
        out.close();
        qputenv("PULSE_SERVER", server.address().toUtf8());
    }
    if (why.isEmpty()) {
        platform.capture = &pulse;
        std::printf("Recording from PulseAudio (a tone into a null sink, its monitor as source)\n");
    } else {
        platform.capture = &tone;
        tone.runClock(20);
        std::printf("No sound server (%s): recording from a tone device paced by the clock\n",
                    qPrintable(why));
    }
    const double share = recordingCpuShare(
        state, platform, dialogs, folder.filePath(QStringLiteral("take1.wav")), seconds, false);
    const double shareAt1ms = recordingCpuShare(
        state, platform, dialogs, folder.filePath(QStringLiteral("take2.wav")), seconds, true);
    std::printf("%-44s %6.2f %% of a core   (with a 1 ms meter timer: %.2f %%)   target < 2 %%\n",
                "CPU recording 48 kHz 16-bit stereo, meters", share * 100, shareAt1ms * 100);
    std::fflush(stdout);

    fullSpeedRecording(folder.filePath(QStringLiteral("long.wav")));
    return 0;
}
