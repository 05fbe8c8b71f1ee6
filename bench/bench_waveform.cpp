// The waveform on a one-hour MP3 (128 kb/s stereo, 44.1 kHz): the first pixels of the span on
// screen after opening, the whole pass, the longest stall of the GUI thread while the pass runs
// and the strip turns at 30 frames a second, reopening from the cache, and the memory the peaks
// of a three-hour recording take.
//
// The recording is made with ffmpeg once and kept in the temporary folder.
// Usage: bench_waveform [recording]

#include "BenchSupport.h"
#include "sound/FfmpegSoundDecoder.h"
#include "waveform/PeakBuilder.h"
#include "waveform/WaveformView.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

namespace {

using namespace Bench;

constexpr double kHour = 3600;
constexpr double kSpan = 30;

QString makeRecording()
{
    const QString path = QDir::temp().filePath(QStringLiteral("vocarta-bench-1h.mp3"));
    if (QFileInfo(path).size() > 0)
        return path;
    std::printf("Making a one-hour MP3 with ffmpeg...\n");
    // Pink noise, its loudness rising and falling like speech, with pauses.
    const QString filter = QStringLiteral("anoisesrc=d=3600:c=pink:a=0.5,volume='if(lt(mod(t,7),5),"
                                          "0.3+0.7*abs(sin(t*3)),0)':eval=frame");
    if (!run(QStringLiteral("ffmpeg"),
             {QStringLiteral("-loglevel"), QStringLiteral("error"), QStringLiteral("-y"),
              QStringLiteral("-f"), QStringLiteral("lavfi"), QStringLiteral("-i"), filter,
              QStringLiteral("-ac"), QStringLiteral("2"), QStringLiteral("-ar"),
              QStringLiteral("44100"), QStringLiteral("-b:a"), QStringLiteral("128k"), path}))
        return {};
    return path;
}

struct Pass {
    double firstPixelsMs = -1;
    double wholeMs = -1;
    double longestStallMs = 0;
    bool fromCache = false;
};

// Opens the recording with the strip showing `kSpan` seconds from `first`, the strip turning
// a page every frame while the pass runs, and times it.
Pass open(PeakBuilder& builder, WaveformView& view, const QString& path, double first)
{
    Pass pass;
    QElapsedTimer clock;
    const qint64 firstBin = qint64(first * 44100 / Peaks::kSamplesPerBin);
    const qint64 lastBin = qint64((first + kSpan) * 44100 / Peaks::kSamplesPerBin);
    QObject::connect(&builder, &PeakBuilder::peaksArrived, &view, [&](qint64 from, qint64 count) {
        view.peaksChanged();
        if (pass.firstPixelsMs < 0 && from <= lastBin && from + count > firstBin)
            pass.firstPixelsMs = milliseconds(clock);
    });
    QObject::connect(&builder, &PeakBuilder::finished, &view, [&](bool fromCache) {
        pass.wholeMs = milliseconds(clock);
        pass.fromCache = fromCache;
    });
    // The strip turns at 30 frames a second and is painted each time.
    QTimer frames;
    frames.setInterval(33);
    QObject::connect(&frames, &QTimer::timeout, &view, [&] {
        view.setSpan(view.firstSecond() + 1, kSpan);
        view.repaint();
    });
    view.setSpan(first, kSpan);
    clock.start();
    builder.start(path, first, kSpan);
    frames.start();
    // The longest time between two turns of the event loop, which a 1 ms timer wakes.
    QElapsedTimer gap;
    gap.start();
    waitFor(
        [&] {
            pass.longestStallMs = std::max(pass.longestStallMs, milliseconds(gap));
            gap.restart();
            return pass.wholeMs >= 0;
        },
        60000);
    QObject::disconnect(&builder, nullptr, &view, nullptr);
    return pass;
}

} // namespace

int main(int argc, char** argv)
{
    useOffscreenUnlessTold();
    QApplication app(argc, argv);
    const QString path = argc > 1 ? QString::fromLocal8Bit(argv[1]) : makeRecording();
    if (path.isEmpty()) {
        std::printf("No recording: give one, or install ffmpeg.\n");
        return 1;
    }
    QTemporaryDir cache;
    PeakBuilder builder([](QString*) { return std::make_unique<FfmpegSoundDecoder>(); },
                        cache.path());
    WaveformView view;
    view.resize(800, 120);
    view.show();
    view.setPeaks(&builder.peaks());
    view.setDuration(kHour);

    std::printf("Recording: %s\n", qPrintable(path));
    const Pass middle = open(builder, view, path, kHour / 2);
    std::printf("Opened at the middle: first pixels %.0f ms (aim < 300), whole pass %.0f ms "
                "(aim < 4000), longest GUI stall %.1f ms (aim < 16)\n",
                middle.firstPixelsMs, middle.wholeMs, middle.longestStallMs);
    const Pass again = open(builder, view, path, kHour / 2);
    std::printf("Opened again%s: whole waveform %.1f ms (aim < 50)\n",
                again.fromCache ? " from the cache" : " (NOT from the cache)", again.wholeMs);
    std::printf("Peaks of this hour: %.1f MB\n", builder.peaks().memoryBytes() / 1e6);

    // Three hours at 48 kHz, the largest rate a recorder commonly uses, stored as a pass does.
    Peaks threeHours;
    const qint64 bins = qint64(3 * kHour * 48000 / Peaks::kSamplesPerBin) + 1;
    threeHours.reset(48000, bins);
    threeHours.store(0, std::vector<PeakBin>(size_t(bins), PeakBin{-100, 100}));
    std::printf("Peaks of three hours at 48 kHz: %.1f MB (aim < 20)\n",
                threeHours.memoryBytes() / 1e6);
    return 0;
}
