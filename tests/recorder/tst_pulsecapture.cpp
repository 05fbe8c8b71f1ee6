// The libpulse device on a sound server of the test's own: its errors, a tone played into a null
// sink recorded from the sink's monitor, and a sine source recorded whole while the GUI thread is
// busy for a second, and a stalled server that never holds the GUI thread.

#include "PrivateSoundServer.h"
#include "TestFolder.h"
#include "ToneCaptureDevice.h"
#include "WavFacts.h"
#include "capture/PulseCaptureDevice.h"
#include "recorder/CaptureEngine.h"
#include "recorder/WavHeader.h"

#include <QElapsedTimer>
#include <QThread>
#include <QtTest>
#include <cmath>
#include <pulse/def.h>
#include <pulse/error.h>

namespace {

const PcmFormat kFormat{2, 16, 44100};

QString pulseText(int error)
{
    return QString::fromUtf8(pa_strerror(error));
}

// Serves events for `ms` milliseconds.
void serve(int ms)
{
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < ms)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
}

// The left channel of 16-bit stereo sound.
QList<int> leftChannel(const QByteArray& sound)
{
    QList<int> left;
    for (qsizetype i = 0; i + 3 < sound.size(); i += 4)
        left << CaptureEngine::sample16(quint8(sound[i]), quint8(sound[i + 1]));
    return left;
}

struct Tone {
    int peak = 0;
    double pitch = 0;
    // The longest and shortest distance between rising zero crossings, in samples: a gap or a
    // repeat in the sound breaks the wave's period.
    int longestPeriod = 0;
    int shortestPeriod = 0;
};

// The tone from its first sound on (a null sink's monitor starts with silence).
Tone measure(const QList<int>& samples)
{
    Tone tone;
    qsizetype from = 0;
    while (from < samples.size() && std::abs(samples[from]) < 1000)
        ++from;
    qsizetype firstRise = -1;
    qsizetype lastRise = -1;
    int rises = 0;
    for (qsizetype i = from + 1; i < samples.size(); ++i) {
        tone.peak = std::max(tone.peak, std::abs(samples[i]));
        if (samples[i - 1] < 0 && samples[i] >= 0) {
            if (lastRise >= 0) {
                const int period = int(i - lastRise);
                tone.longestPeriod = std::max(tone.longestPeriod, period);
                tone.shortestPeriod =
                    tone.shortestPeriod ? std::min(tone.shortestPeriod, period) : period;
            } else {
                firstRise = i;
            }
            lastRise = i;
            ++rises;
        }
    }
    if (rises > 1)
        tone.pitch = (rises - 1) * double(kFormat.samplesPerSecond) / double(lastRise - firstRise);
    return tone;
}

} // namespace

class TestPulseCapture : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void cleanupTestCase();
    void noServer();
    void noSource();
    void recordsAToneFromANullSinkMonitor();
    void busyGuiThreadLosesNothing();
    void stalledServerNeverHoldsTheGuiThread();

private:
    PrivateSoundServer m_server;
    QString m_why;
    TestFolder m_folder;
};

void TestPulseCapture::initTestCase()
{
    m_why = m_server.start();
}

void TestPulseCapture::cleanupTestCase()
{
    qunsetenv("PULSE_SERVER");
}

void TestPulseCapture::noServer()
{
    qputenv("PULSE_SERVER", "unix:/nonexistent/vocarta-test");
    PulseCaptureDevice device;
    QSignalSpy failures(&device, &CaptureDevice::failed);
    device.open(kFormat, 8192);
    QVERIFY(failures.wait(kRealWaitMs));
    QCOMPARE(failures[0][1].toString(), pulseText(PA_ERR_CONNECTIONREFUSED));
    QVERIFY(!device.isOpen());
}

void TestPulseCapture::noSource()
{
    if (!m_why.isEmpty())
        QSKIP(qPrintable(QStringLiteral("No sound server could start: ") + m_why));
    qputenv("PULSE_SERVER", m_server.address().toUtf8());
    PulseCaptureDevice device;
    QSignalSpy failures(&device, &CaptureDevice::failed);
    device.open(kFormat, 8192);
    QVERIFY(failures.wait(kRealWaitMs));
    QCOMPARE(failures[0][1].toString(), pulseText(PA_ERR_NOENTITY));
}

void TestPulseCapture::recordsAToneFromANullSinkMonitor()
{
    if (!m_why.isEmpty())
        QSKIP(qPrintable(QStringLiteral("No sound server could start: ") + m_why));
    qputenv("PULSE_SERVER", m_server.address().toUtf8());
    const QByteArray sound =
        ToneCaptureDevice::tone(kFormat, 440, 0.5, 0, 20 * kFormat.bytesPerSecond());
    m_folder.writeBytes(QStringLiteral("tone.wav"),
                        WavHeader::build(kFormat, quint32(sound.size())) + sound);
    QVERIFY(m_server.addNullSink(QStringLiteral("rec")));
    QVERIFY(m_server.play(QStringLiteral("rec"), m_folder.filePath(QStringLiteral("tone.wav"))));

    PulseCaptureDevice device;
    CaptureEngine engine(&device);
    const QString take = m_folder.filePath(QStringLiteral("monitor.wav"));
    engine.start(kFormat, take);
    QTRY_COMPARE_WITH_TIMEOUT(engine.state(), CaptureEngine::State::Recording, kRealWaitMs);
    // A null sink hands its sound to the monitor when it renders, in blocks of its own pace.
    QElapsedTimer clock;
    clock.start();
    while (engine.bytesWritten() < kFormat.bytesPerSecond() && clock.elapsed() < 15000)
        serve(50);
    engine.stop();

    const WavFacts wav = WavFacts::readFile(take);
    QCOMPARE(wav.dataSize, quint32(wav.sound.size()));
    QVERIFY2(wav.sound.size() >= kFormat.bytesPerSecond(), "less than a second came in 15 s");
    const Tone tone = measure(leftChannel(wav.sound));
    QVERIFY2(tone.peak > 12000 && tone.peak < 20000, qPrintable(QString::number(tone.peak)));
    QVERIFY2(std::abs(tone.pitch - 440) < 5, qPrintable(QString::number(tone.pitch)));
}

void TestPulseCapture::busyGuiThreadLosesNothing()
{
    if (!m_why.isEmpty())
        QSKIP(qPrintable(QStringLiteral("No sound server could start: ") + m_why));
    qputenv("PULSE_SERVER", m_server.address().toUtf8());
    QVERIFY(m_server.addSineSource(QStringLiteral("sine"), 441));

    PulseCaptureDevice device;
    CaptureEngine engine(&device);
    const QString take = m_folder.filePath(QStringLiteral("busy.wav"));
    engine.start(kFormat, take);
    QTRY_COMPARE_WITH_TIMEOUT(engine.state(), CaptureEngine::State::Recording, kRealWaitMs);
    QElapsedTimer clock;
    clock.start();
    serve(300);
    QThread::msleep(1000); // the GUI thread busy
    serve(300);
    const double seconds = clock.nsecsElapsed() / 1e9;
    engine.stop();

    const WavFacts wav = WavFacts::readFile(take);
    QCOMPARE(wav.dataSize, quint32(wav.sound.size()));
    const double recorded = double(wav.sound.size()) / kFormat.bytesPerSecond();
    // At least the time it ran (a source may send some ahead at the start).
    QVERIFY2(recorded > seconds - 0.15,
             qPrintable(QStringLiteral("%1 s recorded in %2 s").arg(recorded).arg(seconds)));
    // 441 Hz at 44100 Hz: a period of 100 samples, unbroken from start to end.
    const Tone tone = measure(leftChannel(wav.sound));
    QVERIFY2(std::abs(tone.pitch - 441) < 1, qPrintable(QString::number(tone.pitch)));
    QVERIFY2(
        tone.shortestPeriod >= 99 && tone.longestPeriod <= 101,
        qPrintable(
            QStringLiteral("periods %1 to %2").arg(tone.shortestPeriod).arg(tone.longestPeriod)));
}

void TestPulseCapture::stalledServerNeverHoldsTheGuiThread()
{
    if (!m_why.isEmpty())
        QSKIP(qPrintable(QStringLiteral("No sound server could start: ") + m_why));
    qputenv("PULSE_SERVER", m_server.address().toUtf8());
    QVERIFY(m_server.addSineSource(QStringLiteral("stalled"), 441));
    PulseCaptureDevice device;
    CaptureEngine engine(&device);
    QSignalSpy brokeOff(&engine, &CaptureEngine::brokeOff);
    const QString take = m_folder.filePath(QStringLiteral("stalled.wav"));
    engine.start(kFormat, take);
    QTRY_COMPARE_WITH_TIMEOUT(engine.state(), CaptureEngine::State::Recording, kRealWaitMs);
    engine.togglePause();
    serve(300);

    m_server.stall(true);
    QElapsedTimer held;
    held.start();
    engine.togglePause();
    // Far above what a press takes, far below libpulse's own 30 s.
    QVERIFY2(held.elapsed() < 2000, qPrintable(QString::number(held.elapsed())));
    QTRY_COMPARE_WITH_TIMEOUT(brokeOff.size(), 1, kRealWaitMs);
    QCOMPARE(brokeOff.first().at(0).value<CaptureEngine::Fault>(), CaptureEngine::Fault::Stalled);
    QCOMPARE(brokeOff.first().at(1).toString(), pulseText(PA_ERR_TIMEOUT));

    // Nor does opening; its answer comes later, and the take stays as it was.
    QSignalSpy startFailed(&engine, &CaptureEngine::startFailed);
    held.restart();
    engine.start(kFormat, take);
    QVERIFY2(held.elapsed() < 500, qPrintable(QString::number(held.elapsed())));
    QVERIFY(startFailed.wait(kRealWaitMs));
    m_server.stall(false);
    QCOMPARE(startFailed.first().at(0).value<CaptureEngine::Fault>(),
             CaptureEngine::Fault::Stalled);
    const WavFacts wav = WavFacts::readFile(take);
    QCOMPARE(wav.dataSize, quint32(wav.sound.size()));
}

QTEST_GUILESS_MAIN(TestPulseCapture)
#include "tst_pulsecapture.moc"
