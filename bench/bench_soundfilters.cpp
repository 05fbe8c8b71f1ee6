// How long the sound stops when the clean-up changes while a recording plays. The engine plays a
// steady tone into a private PulseAudio server's null sink, the chain changes every 300 ms through
// every setting, and the sink's monitor is recorded; the longest stretch of silence inside the
// tone is the gap. Prints figures; asserts nothing.

#include "BenchSupport.h"
#include "PrivateSoundServer.h"
#include "core/SoundFilters.h"
#include "engine/MpvMediaPlayer.h"

#include <QDataStream>
#include <QFile>
#include <QTemporaryDir>
#include <cmath>
#include <numbers>

namespace {

using namespace Bench;

constexpr int Rate = 44100;
constexpr double ToneSeconds = 8;
// The level is measured over windows this long; below a tenth of the quietest setting's level
// (noise reduction on a steady tone) a window counts as silent.
constexpr int WindowFrames = Rate / 200;

bool writeStereoTone(const QString& path)
{
    const int frames = int(ToneSeconds * Rate);
    QByteArray data;
    QDataStream out(&data, QIODevice::WriteOnly);
    out.setByteOrder(QDataStream::LittleEndian);
    for (int i = 0; i < frames; ++i) {
        const auto value = qint16(8000 * std::sin(2 * std::numbers::pi * 440.0 * i / Rate));
        out << value << value;
    }
    QByteArray header;
    QDataStream head(&header, QIODevice::WriteOnly);
    head.setByteOrder(QDataStream::LittleEndian);
    head.writeRawData("RIFF", 4);
    head << quint32(36 + data.size());
    head.writeRawData("WAVEfmt ", 8);
    head << quint32(16) << quint16(1) << quint16(2) << quint32(Rate) << quint32(Rate * 4)
         << quint16(4) << quint16(16);
    head.writeRawData("data", 4);
    head << quint32(data.size());
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(header + data) > 0;
}

// The level of each window of the left channel of a 16-bit stereo recording.
std::vector<double> windowLevels(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QByteArray bytes = file.readAll();
    const qsizetype data = bytes.indexOf("data");
    std::vector<double> levels;
    if (data < 0)
        return levels;
    const auto* samples = reinterpret_cast<const qint16*>(bytes.constData() + data + 8);
    const qsizetype frames = (bytes.size() - data - 8) / 4;
    for (qsizetype start = 0; start + WindowFrames <= frames; start += WindowFrames) {
        double sum = 0;
        for (int i = 0; i < WindowFrames; ++i) {
            const double value = samples[2 * (start + i)] / 32768.0;
            sum += value * value;
        }
        levels.push_back(std::sqrt(sum / WindowFrames));
    }
    return levels;
}

// The longest silence between the first and the last sounding window, in milliseconds.
double longestGap(const std::vector<double>& levels, double silent)
{
    const auto first =
        std::find_if(levels.begin(), levels.end(), [&](double l) { return l > silent; });
    const auto last =
        std::find_if(levels.rbegin(), levels.rend(), [&](double l) { return l > silent; });
    if (first == levels.end())
        return -1;
    int longest = 0;
    int run = 0;
    for (auto it = first; it != last.base(); ++it) {
        run = *it <= silent ? run + 1 : 0;
        longest = std::max(longest, run);
    }
    return longest * 1000.0 * WindowFrames / Rate;
}

std::vector<SoundFilters> everySetting()
{
    std::vector<SoundFilters> settings;
    for (SoundChannels channels : {SoundChannels::Both, SoundChannels::LeftOnly,
                                   SoundChannels::RightOnly, SoundChannels::MonoMix})
        settings.push_back({.channels = channels});
    settings.push_back({.boostPercent = 200});
    settings.push_back({.speechNormaliser = true});
    settings.push_back({.noiseReduction = true});
    settings.push_back({.highPass = true});
    settings.push_back({.channels = SoundChannels::MonoMix,
                        .boostPercent = 150,
                        .speechNormaliser = true,
                        .noiseReduction = true,
                        .highPass = true});
    return settings;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    PrivateSoundServer server;
    if (const QString error = server.start(); !error.isEmpty()) {
        std::printf("no sound server: %s\n", qPrintable(error));
        return 0;
    }
    if (!server.pactl({"load-module", "module-null-sink", "sink_name=out"}) ||
        !server.pactl({"set-default-sink", "out"}) || !writeStereoTone(dir.filePath("tone.wav"))) {
        std::printf("no sink or no tone\n");
        return 1;
    }
    qputenv("PULSE_SERVER", server.address().toUtf8());

    std::vector<double> gaps;
    for (int round = 0; round < 3; ++round) {
        const QString recorded = dir.filePath(QStringLiteral("heard%1.wav").arg(round));
        QProcess recorder;
        recorder.start("parecord",
                       {"--device=out.monitor", "--file-format=wav", "--format=s16le",
                        "--channels=2", QStringLiteral("--rate=%1").arg(Rate), recorded});
        if (!recorder.waitForStarted())
            return 1;
        waitFor([] { return false; }, 300);
        {
            MpvMediaPlayer::Options toServer;
            toServer.audioOutputs = "pulse";
            MpvMediaPlayer player(toServer);
            player.setVolume(100);
            player.setUrl(dir.filePath("tone.wav"));
            waitFor([&] { return player.currentPosition() > 0.5; });
            const std::vector<SoundFilters> settings = everySetting();
            for (size_t i = 0; player.playState() == MediaPlayer::State::Playing; ++i) {
                player.setAudioFilters(settings[i % settings.size()].chain());
                waitFor([] { return false; }, 300);
            }
        }
        recorder.terminate();
        recorder.waitForFinished();
        const double gap = longestGap(windowLevels(recorded), 0.01);
        if (gap >= 0)
            gaps.push_back(gap);
    }
    report("longest silence while the chain changes:", gaps, "< 100 ms");
    return 0;
}
