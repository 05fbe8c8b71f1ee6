// The waveform: peaks of known sounds decoded by the real decoder land in the right columns at
// every zoom, the cache is trusted only when whole and current, an undecodable file is told, and
// clicks seek where they point.

#include "FakePlayer.h"
#include "core/InterfaceTexts.h"
#include "recorder/WavHeader.h"
#include "sound/FfmpegSoundDecoder.h"
#include "waveform/PeakBuilder.h"
#include "waveform/PeakCache.h"
#include "waveform/WaveformView.h"
#include "waveform/WaveformWindow.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>
#include <cmath>

namespace {

constexpr int kRate = 8000;
constexpr double kLength = 10;
constexpr double kClickAt = 6.25;

enum class Sound { Silence, Tone, Click };

// Ten seconds of 16-bit mono at 8 kHz.
void writeWav(const QString& path, Sound sound, double seconds = kLength)
{
    const int frames = int(seconds * kRate);
    QByteArray data(frames * 2, '\0');
    auto* samples = reinterpret_cast<qint16*>(data.data());
    for (int i = 0; i < frames; ++i) {
        if (sound == Sound::Tone)
            samples[i] = qint16(std::lround(16384 * std::sin(2 * M_PI * 440 * i / kRate)));
        else if (sound == Sound::Click && i == int(kClickAt * kRate))
            samples[i] = 30000;
    }
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(WavHeader::build(PcmFormat{1, 16, kRate}, quint32(data.size())) + data);
}

PeakBuilder::DecoderFactory realDecoders()
{
    return [](QString*) { return std::make_unique<FfmpegSoundDecoder>(); };
}

// Starts the builder and waits for its end; returns whether it came from the cache.
bool build(PeakBuilder& builder, const QString& path)
{
    QSignalSpy finished(&builder, &PeakBuilder::finished);
    builder.start(path, 0, kLength);
    if (!finished.wait(20000))
        qFatal("the peaks of %s were not built", qPrintable(path));
    return finished.at(0).at(0).toBool();
}

} // namespace

Q_DECLARE_METATYPE(Sound)

class TestWaveform : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void peaksLandInTheirColumns_data();
    void peaksLandInTheirColumns();
    void cacheIsTrustedOnlyWhole_data();
    void cacheIsTrustedOnlyWhole();
    void undecodableFileIsTold();
    void clicksSeekWhereTheyPoint_data();
    void clicksSeekWhereTheyPoint();
    void optionsAreKeptInTheirFile();

private:
    QTemporaryDir m_folder;
};

void TestWaveform::peaksLandInTheirColumns_data()
{
    QTest::addColumn<Sound>("sound");
    QTest::addColumn<double>("across");
    for (double across : {kLength, 2.0, WaveformView::kNarrowestSpan}) {
        const QByteArray zoom = QByteArray::number(across) + " s across";
        QTest::newRow("silence, " + zoom) << Sound::Silence << across;
        QTest::newRow("tone, " + zoom) << Sound::Tone << across;
        QTest::newRow("click, " + zoom) << Sound::Click << across;
    }
}

void TestWaveform::peaksLandInTheirColumns()
{
    QFETCH(Sound, sound);
    QFETCH(double, across);
    const QString path = m_folder.filePath(QStringLiteral("sound%1.wav").arg(int(sound)));
    writeWav(path, sound);
    PeakBuilder builder(realDecoders(), QString());
    build(builder, path);
    QCOMPARE(builder.peaks().binCount(),
             qint64(std::ceil(kLength * kRate / Peaks::kSamplesPerBin)));

    WaveformView view;
    view.resize(400, 80);
    view.setPeaks(&builder.peaks());
    view.setDuration(kLength);
    view.setSpan(kClickAt - across / 2, across);
    const double columnSeconds = across / view.width();
    // The click's bin, and the columns it may be drawn in.
    const double binStart =
        std::floor(kClickAt * kRate / Peaks::kSamplesPerBin) * Peaks::kSamplesPerBin / kRate;
    const double binEnd = binStart + double(Peaks::kSamplesPerBin) / kRate;
    for (int x = 0; x < view.width(); ++x) {
        const PeakBin peak = view.columnPeak(x);
        const double from = view.firstSecond() + x * columnSeconds;
        const double to = from + columnSeconds;
        switch (sound) {
        case Sound::Silence:
            QCOMPARE(peak, (PeakBin{0, 0}));
            break;
        case Sound::Tone:
            QVERIFY2(peak.high > 16000 && peak.low < -16000, qPrintable(QString::number(x)));
            break;
        case Sound::Click:
            if (from <= kClickAt && kClickAt < to)
                QVERIFY2(peak.high > 29000, qPrintable(QString::number(x)));
            else if (to < binStart || from > binEnd)
                QCOMPARE(peak, (PeakBin{0, 0}));
            break;
        }
    }
}

void TestWaveform::cacheIsTrustedOnlyWhole_data()
{
    QTest::addColumn<QString>("change");
    QTest::addColumn<bool>("fromCache");
    QTest::newRow("untouched") << "" << true;
    QTest::newRow("truncated") << "truncate" << false;
    QTest::newRow("damaged") << "damage" << false;
    QTest::newRow("recording changed") << "stale" << false;
}

void TestWaveform::cacheIsTrustedOnlyWhole()
{
    QFETCH(QString, change);
    QFETCH(bool, fromCache);
    const QString path = m_folder.filePath(QStringLiteral("cached.wav"));
    const QString cacheFolder = m_folder.filePath(QStringLiteral("cache-") + change);
    writeWav(path, Sound::Tone);
    PeakBuilder builder(realDecoders(), cacheFolder);
    QVERIFY(!build(builder, path));
    const std::vector<PeakBin> first = builder.peaks().bins();

    const QString cacheFile = PeakCache::fileFor(cacheFolder, path);
    QFile file(cacheFile);
    QVERIFY(file.open(QIODevice::ReadWrite));
    if (change == QLatin1String("truncate"))
        file.resize(file.size() - 10);
    if (change == QLatin1String("damage")) {
        file.seek(file.size() - 100);
        file.write("\x7f\x7f");
    }
    file.close();
    if (change == QLatin1String("stale"))
        writeWav(path, Sound::Tone, kLength / 2);

    QCOMPARE(build(builder, path), fromCache);
    if (change != QLatin1String("stale"))
        QVERIFY(builder.peaks().bins() == first);
    // A rebuilt cache is whole again.
    QVERIFY(build(builder, path));
}

void TestWaveform::undecodableFileIsTold()
{
    const QString path = m_folder.filePath(QStringLiteral("not sound.mp3"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("This is a letter, not a recording.\n");
    file.close();

    FakeMediaPlayer engine;
    engine.setUrl(path);
    FakePlayer player(&engine);
    InterfaceTexts texts;
    QVERIFY(texts.loadStrict(QStringLiteral(VOCARTA_SOURCE_DATA_DIR "/Files/Lang/English.lng"))
                .isEmpty());
    WaveformWindow window(texts, player, realDecoders(), QString());
    QSignalSpy failed(&window.builder(), &PeakBuilder::failed);
    window.show();
    QVERIFY(failed.wait(10000));
    const QString reason = failed.at(0).at(0).toString();
    QVERIFY(!reason.isEmpty());
    QCOMPARE(window.view()->message(), texts.text(Text::SoundNotDrawn).arg(reason));
}

void TestWaveform::clicksSeekWhereTheyPoint_data()
{
    QTest::addColumn<double>("first");
    QTest::addColumn<double>("across");
    QTest::addColumn<int>("x");
    QTest::newRow("whole recording") << 0.0 << 100.0 << 123;
    QTest::newRow("ten seconds") << 40.0 << 10.0 << 399;
    QTest::newRow("one second") << 99.0 << 1.0 << 3;
}

void TestWaveform::clicksSeekWhereTheyPoint()
{
    QFETCH(double, first);
    QFETCH(double, across);
    QFETCH(int, x);
    WaveformView view;
    view.resize(400, 80);
    view.setDuration(100);
    view.setSpan(first, across);
    QSignalSpy seek(&view, &WaveformView::seekRequested);
    QTest::mouseClick(&view, Qt::LeftButton, {}, QPoint(x, 20));
    QCOMPARE(seek.size(), 1);
    const double expected = first + (x + 0.5) * across / 400;
    QVERIFY2(std::abs(seek.at(0).at(0).toDouble() - expected) <= across / 400,
             qPrintable(seek.at(0).at(0).toString()));

    // A bookmark near the click is where it goes; a timestamp's mark below asks for the caret.
    const double markAt = first + (x - 2) * across / 400;
    view.setBookmarks({{markAt, QStringLiteral("speaker two")}});
    view.setTimestamps({{markAt, QString()}});
    QSignalSpy chosen(&view, &WaveformView::timestampChosen);
    QTest::mouseClick(&view, Qt::LeftButton, {}, QPoint(x, 20));
    QTest::mouseClick(&view, Qt::LeftButton, {}, QPoint(x, view.height() - 2));
    QCOMPARE(seek.size(), 2);
    QCOMPARE(seek.at(1).at(0).toDouble(), markAt);
    QCOMPARE(chosen.size(), 1);
    QCOMPARE(chosen.at(0).at(0).toDouble(), markAt);
}

void TestWaveform::optionsAreKeptInTheirFile()
{
    const QString path = m_folder.filePath(QStringLiteral("Waveform.ini"));
    FakeMediaPlayer engine;
    FakePlayer player(&engine);
    InterfaceTexts texts;
    {
        WaveformWindow window(texts, player, realDecoders(), QString(), path);
        QVERIFY(!window.isWanted());
        window.setWanted(true);
        window.view()->zoom(0.5, 0);
        window.setNormalised(true);
    }
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), QByteArray("Shown=yes\r\nNormalised=yes\r\nSpan=15\r\n"));

    WaveformWindow window(texts, player, realDecoders(), QString(), path);
    QVERIFY(window.isWanted());
    QVERIFY(window.view()->isNormalised());
    // A short recording is shown whole; the next long one with the span chosen.
    window.view()->setDuration(10);
    QCOMPARE(window.view()->secondsAcross(), 10.0);
    window.view()->setDuration(3600);
    QCOMPARE(window.view()->secondsAcross(), 15.0);
}

QTEST_MAIN(TestWaveform)
#include "tst_waveform.moc"
