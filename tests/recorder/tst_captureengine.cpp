// The capture engine with a tone device: what reaches the WAV file, its header, the counters and
// the levels, and how faults end a recording.

#include "TestFolder.h"
#include "ToneCaptureDevice.h"
#include "WavFacts.h"
#include "recorder/CaptureEngine.h"

#include <QProcess>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QtTest>
#include <csignal>
#include <sys/resource.h>

namespace {

PcmFormat pcm(int channels, int bits, int rate)
{
    return PcmFormat{channels, bits, rate};
}

// Bytes that show any loss, repeat or reordering: a counter that does not divide the buffers.
QByteArray pattern(qsizetype size, int seed = 0)
{
    QByteArray bytes(size, Qt::Uninitialized);
    for (qsizetype i = 0; i < size; ++i)
        bytes[i] = char((i + seed) % 251);
    return bytes;
}

// Writes beyond `bytes` fail as on a full disk, while it lives.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        getrlimit(RLIMIT_FSIZE, &m_old);
        m_oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = m_old;
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &m_old);
        std::signal(SIGXFSZ, m_oldHandler);
    }

private:
    rlimit m_old{};
    void (*m_oldHandler)(int) = nullptr;
};

struct Rig {
    TestFolder folder;
    ToneCaptureDevice device;
    CaptureEngine engine{&device};
    QString path = folder.filePath(QStringLiteral("take.wav"));

    void start(const PcmFormat& format, const QString& file)
    {
        engine.start(format, file);
        QTRY_COMPARE(engine.state(), CaptureEngine::State::Recording);
    }
};

} // namespace

class TestCaptureEngine : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void headerOfEveryOfferedFormat_data();
    void headerOfEveryOfferedFormat();
    void soundKeptWholeAndInOrder_data();
    void soundKeptWholeAndInOrder();
    void stopBeforeAnySound();
    void recordingReplacesAFile();
    void headerStaysCurrent();
    void peaks_data();
    void peaks();
    void elapsedSeconds_data();
    void elapsedSeconds();
    void failedDeviceLeavesTheFile();
    void unwritableFile();
    void faultsEndTheRecording_data();
    void faultsEndTheRecording();
    void anotherReaderAccepts_data();
    void anotherReaderAccepts();
};

void TestCaptureEngine::headerOfEveryOfferedFormat_data()
{
    QTest::addColumn<int>("channels");
    QTest::addColumn<int>("bits");
    QTest::addColumn<int>("rate");
    for (int channels : {2, 1})
        for (int rate : {48000, 44100, 22050, 11025, 8000})
            for (int bits : {16, 8})
                QTest::addRow("%d ch %d Hz %d bit", channels, rate, bits)
                    << channels << bits << rate;
}

void TestCaptureEngine::headerOfEveryOfferedFormat()
{
    QFETCH(int, channels);
    QFETCH(int, bits);
    QFETCH(int, rate);
    Rig rig;
    rig.start(pcm(channels, bits, rate), rig.path);
    QCOMPARE(rig.engine.bufferSize(), 8192);
    rig.device.capture(20000);
    rig.engine.stop();

    const QByteArray file = rig.folder.readBytes(QStringLiteral("take.wav"));
    const WavFacts wav = WavFacts::read(file);
    const quint32 block = quint32(channels * bits / 8);
    const quint32 sound = 20000 / block * block;
    QCOMPARE(quint32(file.size()), 44 + sound);
    QCOMPARE(wav.riff, QByteArray("RIFF"));
    QCOMPARE(wav.riffSize, sound + 36);
    QCOMPARE(wav.wave, QByteArray("WAVE"));
    QCOMPARE(wav.fmt, QByteArray("fmt "));
    QCOMPARE(wav.fmtSize, 16u);
    QCOMPARE(wav.formatTag, quint16(1));
    QCOMPARE(wav.channels, quint16(channels));
    QCOMPARE(wav.samplesPerSecond, quint32(rate));
    QCOMPARE(wav.bytesPerSecond, block * quint32(rate));
    QCOMPARE(wav.blockSize, quint16(block));
    QCOMPARE(wav.bitsPerSample, quint16(bits));
    QCOMPARE(wav.data, QByteArray("data"));
    QCOMPARE(wav.dataSize, sound);
}

void TestCaptureEngine::soundKeptWholeAndInOrder_data()
{
    QTest::addColumn<QList<int>>("pieces");
    QTest::addColumn<bool>("pauseAfterFirst");
    // The last piece leaves a short buffer behind for the stop (or the pause) to hand over.
    QTest::newRow("whole buffers") << QList<int>{8192, 8192, 8192} << false;
    QTest::newRow("ragged pieces, short last buffer") << QList<int>{5000, 9000, 12000, 4} << false;
    QTest::newRow("paused between") << QList<int>{12000, 8192, 100} << true;
}

void TestCaptureEngine::soundKeptWholeAndInOrder()
{
    QFETCH(QList<int>, pieces);
    QFETCH(bool, pauseAfterFirst);
    Rig rig;
    rig.start(pcm(1, 8, 8000), rig.path);
    QByteArray expected;
    for (int i = 0; i < pieces.size(); ++i) {
        const QByteArray piece = pattern(pieces[i], i);
        rig.device.captureBytes(piece);
        expected += piece;
        if (i == 0 && pauseAfterFirst) {
            rig.engine.togglePause();
            QVERIFY(rig.engine.isPaused());
            // Everything before the pause is in the file already, its header up to date.
            QCOMPARE(WavFacts::readFile(rig.path).dataSize, quint32(expected.size()));
            rig.device.captureBytes(pattern(3000)); // not captured: the device is paused
            rig.engine.togglePause();
        }
    }
    // Stopped from a pause when the rows paused: nothing captured is lost either way.
    if (pauseAfterFirst)
        rig.engine.togglePause();
    rig.engine.stop();

    const WavFacts wav = WavFacts::readFile(rig.path);
    QCOMPARE(wav.sound.size(), expected.size());
    QVERIFY(wav.sound == expected);
    QCOMPARE(wav.dataSize, quint32(expected.size()));
    QCOMPARE(rig.engine.bytesWritten(), 45 + expected.size());
}

void TestCaptureEngine::stopBeforeAnySound()
{
    Rig rig;
    QSignalSpy faults(&rig.engine, &CaptureEngine::brokeOff);
    rig.start(pcm(2, 16, 44100), rig.path);
    QCOMPARE(rig.engine.bytesWritten(), 45);
    rig.engine.stop();
    QVERIFY(!rig.device.isOpen());
    const QByteArray file = rig.folder.readBytes(QStringLiteral("take.wav"));
    QCOMPARE(file.size(), 44);
    QCOMPARE(WavFacts::read(file).dataSize, 0u);
    QCOMPARE(WavFacts::read(file).riffSize, 36u);

    // A second stop touches nothing, nor does a start given up before the device answers.
    rig.folder.writeBytes(QStringLiteral("take.wav"), "changed since");
    rig.engine.stop();
    rig.engine.start(pcm(2, 16, 44100), rig.path);
    rig.engine.stop();
    QTest::qWait(10);
    QVERIFY(!rig.engine.isOpen() && !rig.device.isOpen());
    QCOMPARE(rig.folder.readBytes(QStringLiteral("take.wav")), QByteArray("changed since"));
    QCOMPARE(rig.device.opens, 2);
    QCOMPARE(faults.count(), 0);
}

void TestCaptureEngine::recordingReplacesAFile()
{
    Rig rig;
    rig.folder.writeBytes(QStringLiteral("take.wav"), QByteArray(100000, 'x'));
    rig.start(pcm(2, 16, 44100), rig.path);
    rig.device.captureBytes(QByteArray(8192, 'a'));
    rig.engine.stop();
    const QByteArray file = rig.folder.readBytes(QStringLiteral("take.wav"));
    QCOMPARE(file.size(), 44 + 8192);
    QVERIFY(!file.contains('x'));
}

void TestCaptureEngine::headerStaysCurrent()
{
    Rig rig;
    const PcmFormat format = pcm(2, 16, 48000);
    rig.start(format, rig.path);
    qint64 written = 0;
    for (int i = 0; i < 3 * format.bytesPerSecond() / 8192; ++i) {
        rig.device.captureBuffers(1);
        written += 8192;
        // What a crash now would leave: a file that states all but less than a second of it.
        const WavFacts wav = WavFacts::readFile(rig.path);
        QVERIFY2(written - wav.dataSize < format.bytesPerSecond(),
                 qPrintable(QStringLiteral("%1 of %2 stated").arg(wav.dataSize).arg(written)));
        QVERIFY(wav.dataSize <= written);
        QCOMPARE(wav.riffSize, wav.dataSize + 36);
    }
}

void TestCaptureEngine::peaks_data()
{
    QTest::addColumn<int>("channels");
    QTest::addColumn<int>("bits");
    QTest::addColumn<int>("rate");
    QTest::addColumn<int>("window");
    // Offset of a loud sample from the start of the last `window` bytes of the buffer.
    QTest::addColumn<int>("offset");
    QTest::addColumn<int>("low");
    QTest::addColumn<int>("high"); // ignored for 8 bits
    QTest::addColumn<int>("left");
    QTest::addColumn<int>("right");

    QTest::newRow("8 kHz 8-bit mono, 0 at offset 5")
        << 1 << 8 << 8000 << 8 << 5 << 0 << 0 << 128 << 128;
    QTest::newRow("8 kHz 8-bit mono, 255 at offset 0")
        << 1 << 8 << 8000 << 8 << 0 << 255 << 0 << 127 << 127;
    QTest::newRow("8 kHz 8-bit mono, offset 6 not scanned")
        << 1 << 8 << 8000 << 8 << 6 << 0 << 0 << 0 << 0;
    QTest::newRow("44.1 kHz 16-bit stereo, -32768 left")
        << 2 << 16 << 44100 << 176 << 40 << 0x00 << 0x80 << 32768 << 0;
    QTest::newRow("44.1 kHz 16-bit stereo, 32767 right")
        << 2 << 16 << 44100 << 176 << 2 << 0xFF << 0x7F << 0 << 32767;
    QTest::newRow("44.1 kHz 16-bit stereo, -1 left")
        << 2 << 16 << 44100 << 176 << 172 << 0xFF << 0xFF << 1 << 0;
    QTest::newRow("22.05 kHz 16-bit mono, -300")
        << 1 << 16 << 22050 << 44 << 10 << 0xD4 << 0xFE << 300 << 300;
    QTest::newRow("48 kHz 8-bit stereo, 200 right")
        << 2 << 8 << 48000 << 96 << 51 << 200 << 0 << 0 << 72;
}

void TestCaptureEngine::peaks()
{
    QFETCH(int, channels);
    QFETCH(int, bits);
    QFETCH(int, rate);
    QFETCH(int, window);
    QFETCH(int, offset);
    QFETCH(int, low);
    QFETCH(int, high);
    QFETCH(int, left);
    QFETCH(int, right);
    const PcmFormat format = pcm(channels, bits, rate);
    QCOMPARE(CaptureEngine::peakWindowBytes(format), window);
    Rig rig;
    rig.start(format, QString());
    QVERIFY(!rig.engine.peaks());

    QByteArray buffer(rig.engine.bufferSize(), bits == 8 ? char(128) : char(0));
    const int from = int(buffer.size()) - window;
    buffer[from + offset] = char(low);
    if (bits == 16)
        buffer[from + offset + 1] = char(high);
    rig.device.captureBytes(buffer);
    const auto peaks = rig.engine.peaks();
    QVERIFY(peaks);
    QCOMPARE(peaks->left, left);
    QCOMPARE(peaks->right, right);
}

void TestCaptureEngine::elapsedSeconds_data()
{
    QTest::addColumn<bool>("toFile");
    QTest::addColumn<int>("channels");
    QTest::addColumn<int>("bits");
    QTest::addColumn<int>("rate");
    QTest::addColumn<int>("buffers");
    QTest::addColumn<qint64>("bytes");
    QTest::addColumn<qint64>("seconds");
    // A file's counter starts at 45, the first position after the header, and counts in the time.
    QTest::newRow("file, at the start") << true << 2 << 16 << 44100 << 0 << qint64(45) << qint64(0);
    QTest::newRow("file, 21 buffers")
        << true << 2 << 16 << 44100 << 21 << qint64(172077) << qint64(0);
    QTest::newRow("file, 22 buffers")
        << true << 2 << 16 << 44100 << 22 << qint64(180269) << qint64(1);
    QTest::newRow("no file, 22 buffers")
        << false << 2 << 16 << 44100 << 22 << qint64(180224) << qint64(1);
    QTest::newRow("file, 8 kHz, at the start")
        << true << 1 << 8 << 8000 << 0 << qint64(45) << qint64(0);
    QTest::newRow("file, 8 kHz, 1 buffer")
        << true << 1 << 8 << 8000 << 1 << qint64(8237) << qint64(1);
    QTest::newRow("no file, 8 kHz, 0 buffers")
        << false << 1 << 8 << 8000 << 0 << qint64(0) << qint64(0);
}

void TestCaptureEngine::elapsedSeconds()
{
    QFETCH(bool, toFile);
    QFETCH(int, channels);
    QFETCH(int, bits);
    QFETCH(int, rate);
    QFETCH(int, buffers);
    QFETCH(qint64, bytes);
    QFETCH(qint64, seconds);
    Rig rig;
    rig.start(pcm(channels, bits, rate), toFile ? rig.path : QString());
    rig.device.captureBuffers(buffers);
    QCOMPARE(rig.engine.bytesWritten(), bytes);
    QCOMPARE(rig.engine.elapsedSeconds(), seconds);
    QCOMPARE(QFileInfo::exists(rig.path), toFile);
}

void TestCaptureEngine::failedDeviceLeavesTheFile()
{
    Rig rig;
    rig.folder.writeBytes(QStringLiteral("take.wav"), "an earlier take");
    rig.device.openError = QStringLiteral("Connection refused");
    QSignalSpy failed(&rig.engine, &CaptureEngine::startFailed);
    rig.engine.start(pcm(2, 16, 44100), rig.path);
    QVERIFY(failed.wait());
    QCOMPARE(failed[0][0].value<CaptureEngine::Fault>(), CaptureEngine::Fault::Device);
    QCOMPARE(failed[0][1].toString(), QStringLiteral("Connection refused"));
    QVERIFY(!rig.engine.isOpen());
    QCOMPARE(rig.folder.readBytes(QStringLiteral("take.wav")), QByteArray("an earlier take"));
}

void TestCaptureEngine::unwritableFile()
{
    Rig rig;
    QSignalSpy failed(&rig.engine, &CaptureEngine::startFailed);
    rig.engine.start(pcm(2, 16, 44100), rig.folder.filePath("no/such/folder/take.wav"));
    QVERIFY(failed.wait());
    QCOMPARE(failed[0][0].value<CaptureEngine::Fault>(), CaptureEngine::Fault::File);
    QVERIFY(!failed[0][1].toString().isEmpty());
    QVERIFY(!rig.engine.isOpen());
    QVERIFY(!rig.device.isOpen());
}

void TestCaptureEngine::faultsEndTheRecording_data()
{
    QTest::addColumn<bool>("diskFull");
    QTest::newRow("disk full") << true;
    QTest::newRow("sound server gone") << false;
}

void TestCaptureEngine::faultsEndTheRecording()
{
    QFETCH(bool, diskFull);
    Rig rig;
    QSignalSpy faults(&rig.engine, &CaptureEngine::brokeOff);
    if (diskFull) {
        // The disk fills up a few buffers in.
        FileSizeLimit limit(44 + 5 * 8192 + 100);
        rig.start(pcm(2, 16, 44100), rig.path);
        for (int i = 0; i < 100 && faults.isEmpty(); ++i)
            rig.device.captureBuffers(1);
        QCOMPARE(faults.count(), 1);
        QCOMPARE(faults[0][0].value<CaptureEngine::Fault>(), CaptureEngine::Fault::File);
        QVERIFY(!faults[0][1].toString().isEmpty());
        // What fitted stays playable: the header states the sound that is there.
        const WavFacts wav = WavFacts::readFile(rig.path);
        QVERIFY(wav.dataSize > 0);
        QVERIFY(wav.dataSize <= quint32(wav.sound.size()));
    } else {
        rig.start(pcm(2, 16, 44100), rig.path);
        rig.device.capture(3 * 8192 + 100);
        rig.device.breakOff(QStringLiteral("Connection terminated"));
        QCOMPARE(faults.count(), 1);
        QCOMPARE(faults[0][0].value<CaptureEngine::Fault>(), CaptureEngine::Fault::Device);
        QCOMPARE(faults[0][1].toString(), QStringLiteral("Connection terminated"));
        // The sound until the fault stays, the short last buffer too.
        const WavFacts wav = WavFacts::readFile(rig.path);
        QCOMPARE(wav.sound.size(), 3 * 8192 + 100);
        QCOMPARE(wav.dataSize, quint32(3 * 8192 + 100));
    }
    QVERIFY(!rig.engine.isOpen());
    QVERIFY(!rig.device.isOpen());
}

void TestCaptureEngine::anotherReaderAccepts_data()
{
    QTest::addColumn<int>("channels");
    QTest::addColumn<int>("bits");
    QTest::addColumn<int>("rate");
    QTest::addColumn<QString>("encoding");
    QTest::newRow("48 kHz 16-bit stereo") << 2 << 16 << 48000 << "Signed Integer PCM";
    QTest::newRow("44.1 kHz 16-bit mono") << 1 << 16 << 44100 << "Signed Integer PCM";
    QTest::newRow("22.05 kHz 8-bit stereo") << 2 << 8 << 22050 << "Unsigned Integer PCM";
    QTest::newRow("8 kHz 8-bit mono") << 1 << 8 << 8000 << "Unsigned Integer PCM";
}

void TestCaptureEngine::anotherReaderAccepts()
{
    QFETCH(int, channels);
    QFETCH(int, bits);
    QFETCH(int, rate);
    QFETCH(QString, encoding);
    if (QStandardPaths::findExecutable(QStringLiteral("sox")).isEmpty())
        QSKIP("sox is not installed");
    Rig rig;
    const PcmFormat format = pcm(channels, bits, rate);
    rig.start(format, rig.path);
    rig.device.capture(format.bytesPerSecond() * 3 / 2);
    rig.engine.stop();

    const auto info = [&rig](const char* option) {
        QProcess sox;
        sox.start(QStringLiteral("sox"), {QStringLiteral("--i"), QLatin1String(option), rig.path});
        sox.waitForFinished();
        return sox.exitCode() == 0
                   ? QString::fromUtf8(sox.readAllStandardOutput()).trimmed()
                   : QStringLiteral("sox failed: ") + QString::fromUtf8(sox.readAllStandardError());
    };
    QCOMPARE(info("-c"), QString::number(channels));
    QCOMPARE(info("-r"), QString::number(rate));
    QCOMPARE(info("-b"), QString::number(bits));
    QCOMPARE(info("-e"), encoding);
    QCOMPARE(info("-s"), QString::number(rate * 3 / 2));
}

QTEST_GUILESS_MAIN(TestCaptureEngine)
#include "tst_captureengine.moc"
