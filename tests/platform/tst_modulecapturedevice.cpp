// The sound input the program records from: the capture module loaded on the first open, refused
// with a reason when it is missing or is not the module, and recording from a sound server of the
// test's own through it; and the program itself, which must not link the sound server's libraries.

#include "PrivateSoundServer.h"
#include "RealWait.h"
#include "ToneCaptureDevice.h"
#include "platform/CaptureModule.h"
#include "platform/ModuleCaptureDevice.h"

#include <QFileInfo>
#include <QProcess>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>
#include <QtTest>
#include <memory>

namespace {

const QFileInfo Module(QStringLiteral(VOCARTA_CAPTURE_MODULE));
const PcmFormat kFormat{2, 16, 44100};
// A second of sound: the first buffer comes after it, and what follows fills the next only
// partly before the test closes the device.
const int kBufferSize = kFormat.bytesPerSecond();

// The libraries ldd says `file` needs, one line each.
QByteArray neededLibraries(const QString& file)
{
    QProcess ldd;
    ldd.start(QStringLiteral("ldd"), {file});
    ldd.waitForFinished(30000);
    return ldd.readAllStandardOutput();
}

} // namespace

class TestModuleCaptureDevice : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void cleanupTestCase();
    void programLinksNoSoundServerLibrary();
    void unusableModule_data();
    void unusableModule();
    void recordsThroughTheModule();
    void serverGoneIsReported();
    void linkedCaptureNeedsNoModule();

private:
    QString pathOf(const QString& name) const { return m_dir.filePath(name); }
    // Opens `device` on the test's sound server, its sine tone the default source.
    void openOnServer(ModuleCaptureDevice& device);

    QTemporaryDir m_dir;
    std::unique_ptr<PrivateSoundServer> m_server = std::make_unique<PrivateSoundServer>();
    QString m_why;
};

void TestModuleCaptureDevice::initTestCase()
{
    QVERIFY(m_dir.isValid());
    QVERIFY2(Module.exists(), qPrintable(Module.filePath()));
    m_why = m_server->start();
    if (m_why.isEmpty() && !m_server->addSineSource(QStringLiteral("sine"), 441))
        m_why = QStringLiteral("the sine source could not be added");
    if (m_why.isEmpty())
        qputenv("PULSE_SERVER", m_server->address().toUtf8());
}

void TestModuleCaptureDevice::cleanupTestCase()
{
    qunsetenv("PULSE_SERVER");
}

void TestModuleCaptureDevice::programLinksNoSoundServerLibrary()
{
#ifdef VOCARTA_LINK_MODULES_DIRECTLY
    QSKIP("this build links the capture into the program");
#endif
    if (QStandardPaths::findExecutable(QStringLiteral("ldd")).isEmpty())
        QSKIP("ldd is not installed");
    // The module does, so ldd's answer is one the check can tell apart.
    QVERIFY(neededLibraries(Module.filePath()).contains("libpulse.so"));
    const QByteArray program = neededLibraries(QStringLiteral(VOCARTA_PROGRAM));
    QVERIFY(program.contains("libQt6Core.so"));
    for (const char* library : {"libpulse", "libsndfile"})
        QVERIFY2(!program.contains(library), library);
}

void TestModuleCaptureDevice::unusableModule_data()
{
    QTest::addColumn<QString>("folder");
    QTest::addColumn<QString>("reasonNames"); // what the reason must name
    const QString notALibrary = pathOf(QStringLiteral("text/")) + Module.fileName();
    QTest::newRow("in no folder") << pathOf(QStringLiteral("empty")) << Module.fileName();
    QTest::newRow("not a library") << pathOf(QStringLiteral("text")) << notALibrary;
    QTest::newRow("a library without the factory")
        << QFileInfo(QStringLiteral(VOCARTA_NOT_A_CAPTURE_MODULE)).absolutePath()
        << QString::fromLatin1(CaptureModule::kFactoryName);
}

void TestModuleCaptureDevice::unusableModule()
{
    QFETCH(QString, folder);
    QFETCH(QString, reasonNames);
    QVERIFY(QDir().mkpath(pathOf(QStringLiteral("empty"))));
    QVERIFY(QDir().mkpath(pathOf(QStringLiteral("text"))));
    QFile text(pathOf(QStringLiteral("text/")) + Module.fileName());
    QVERIFY(text.open(QIODevice::WriteOnly) && text.write("not a library\n") > 0);
    text.close();

    ModuleCaptureDevice device({folder}, Module.fileName());
    QSignalSpy buffers(&device, &CaptureDevice::bufferFilled);
    QSignalSpy failures(&device, &CaptureDevice::failed);
    // Tried again on every open, and refused again.
    for (int attempt = 0; attempt < 2; ++attempt) {
        device.open(kFormat, kBufferSize);
        QVERIFY(failures.wait(kRealWaitMs));
        const QString error = failures.takeFirst().at(1).toString();
        QVERIFY2(error.startsWith(QStringLiteral("the sound capture module could not be loaded: ")),
                 qPrintable(error));
        QVERIFY2(error.contains(reasonNames), qPrintable(error));
        QVERIFY(!device.isOpen());
        QVERIFY(!device.device());
    }
    // A closed opening says nothing more.
    device.open(kFormat, kBufferSize);
    device.setPaused(true);
    device.setPaused(false);
    device.close();
    QVERIFY(!device.isOpen());
    QVERIFY(!failures.wait(100));
    QCOMPARE(buffers.count() + failures.count(), 0);
}

void TestModuleCaptureDevice::openOnServer(ModuleCaptureDevice& device)
{
    QSignalSpy failures(&device, &CaptureDevice::failed);
    device.open(kFormat, kBufferSize);
    QVERIFY(device.isOpen());
    QVERIFY2(QSignalSpy(&device, &CaptureDevice::opened).wait(kRealWaitMs),
             qPrintable(failures.value(0).value(1).toString()));
    QVERIFY(device.device());
    QCOMPARE(device.device()->metaObject()->className(), "PulseCaptureDevice");
}

void TestModuleCaptureDevice::recordsThroughTheModule()
{
    if (!m_why.isEmpty())
        QSKIP(qPrintable(QStringLiteral("No sound server could start: ") + m_why));
    ModuleCaptureDevice device({pathOf(QStringLiteral("empty")), Module.absolutePath()},
                               Module.fileName());
    QList<qsizetype> sizes;
    bool offGuiThread = false;
    // Run where the signal is emitted.
    connect(
        &device, &CaptureDevice::bufferFilled, this,
        [&](const QByteArray& sound) {
            sizes << sound.size();
            offGuiThread |= QThread::currentThread() != QCoreApplication::instance()->thread();
        },
        Qt::DirectConnection);
    openOnServer(device);
    if (QTest::currentTestFailed())
        return;

    QTRY_VERIFY_WITH_TIMEOUT(!sizes.isEmpty(), kRealWaitMs);
    QTest::qWait(300);
    const qsizetype before = sizes.size();
    for (qsizetype size : sizes)
        QCOMPARE(size, kBufferSize);
    device.close();
    QVERIFY(!device.isOpen());
    // The part of a buffer captured since the last full one, handed over before close() returned.
    QCOMPARE(sizes.size(), before + 1);
    QVERIFY2(sizes.last() > 0 && sizes.last() < kBufferSize &&
                 sizes.last() % kFormat.blockSize() == 0,
             qPrintable(QString::number(sizes.last())));
    QVERIFY(!offGuiThread);
    QTest::qWait(50);
    QCOMPARE(sizes.size(), before + 1);
}

void TestModuleCaptureDevice::serverGoneIsReported()
{
    if (!m_why.isEmpty())
        QSKIP(qPrintable(QStringLiteral("No sound server could start: ") + m_why));
    ModuleCaptureDevice device({Module.absolutePath()}, Module.fileName());
    QSignalSpy buffers(&device, &CaptureDevice::bufferFilled);
    QSignalSpy failures(&device, &CaptureDevice::failed);
    openOnServer(device);
    if (QTest::currentTestFailed())
        return;

    QTest::qWait(200);
    m_server.reset();
    QVERIFY(failures.wait(kRealWaitMs));
    QCOMPARE(failures.count(), 1);
    QVERIFY(!failures.first().first().toString().isEmpty());
    // Open until closed; what came in before the server went is handed over then.
    QVERIFY(device.isOpen());
    device.close();
    QVERIFY(!device.isOpen());
    QVERIFY(!buffers.isEmpty());
}

void TestModuleCaptureDevice::linkedCaptureNeedsNoModule()
{
    ModuleCaptureDevice device({pathOf(QStringLiteral("empty"))}, Module.fileName(),
                               []() -> CaptureDevice* { return new ToneCaptureDevice; });
    device.open(kFormat, kBufferSize);
    QVERIFY(QSignalSpy(&device, &CaptureDevice::opened).wait(kRealWaitMs));
    QCOMPARE(device.device()->metaObject()->className(), "ToneCaptureDevice");
}

QTEST_GUILESS_MAIN(TestModuleCaptureDevice)
#include "tst_modulecapturedevice.moc"
