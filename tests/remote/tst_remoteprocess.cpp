// The built program, two processes of it at a time: files handed over, commands from the
// command line, the desktop's media controls through playerctl, and rubbish in its socket. Runs
// on a private session bus and a sound server of its own.

#include "ProcessEnd.h"
#include "RealWait.h"
#include "TestMedia.h"
#include "UnixClient.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusInterface>
#include <QDBusReply>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QString kService = QStringLiteral("org.mpris.MediaPlayer2.vocarta");

struct Finished {
    int status = -1;
    QByteArray errors;
};

} // namespace

class TestRemoteProcess : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void cleanupTestCase();
    void commandTogglesPlayPause();
    void playerctlDrivesTheProgram();
    void rubbishInTheSocketChangesNothing();
    void secondStartHandsTheFileOver();
    void commandWithoutAProgramFails_data();
    void commandWithoutAProgramFails();

private:
    QString path(const QString& relative) const { return m_work.filePath(relative); }
    // Runs the program (or another tool) to its end, in the program's environment.
    Finished run(const QString& program, const QStringList& arguments,
                 const QProcessEnvironment& environment);
    Finished vocarta(const QStringList& arguments)
    {
        return run(m_program, arguments, m_environment);
    }
    QVariant property(const QString& name);
    QString playbackStatus() { return property(QStringLiteral("PlaybackStatus")).toString(); }

    QTemporaryDir m_work;
    QString m_program;
    QProcessEnvironment m_environment;
    QProcess m_soundServer;
    QProcess m_instance;
    QByteArray m_instanceErrors;
};

void TestRemoteProcess::initTestCase()
{
    QVERIFY2(QDBusConnection::sessionBus().isConnected(),
             "no session bus: run this test under dbus-run-session");
    // The program away from the build tree, whose own program folder it would use.
    QVERIFY(QDir().mkpath(path("app")) && QDir().mkpath(path("runtime")) &&
            QDir().mkpath(path("data/vocarta")));
    m_program = path("app/vocarta");
    const QString module = QStringLiteral(VOCARTA_ENGINE_MODULE_FILE);
    QVERIFY(QFile::copy(QStringLiteral(VOCARTA_PROGRAM), m_program));
    QVERIFY(QFile::link(module, path("app/") + QFileInfo(module).fileName()));
    QVERIFY(QFile::setPermissions(path("runtime"),
                                  QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
    QCOMPARE(QProcess::execute("cp", {"-R", VOCARTA_SOURCE_DATA_DIR "/.", path("data/vocarta")}),
             0);
    QVERIFY(TestMedia::writeTone(path("a.wav"), 120));
    QVERIFY(TestMedia::writeTone(path("b.wav"), 60));

    m_environment = QProcessEnvironment::systemEnvironment();
    m_environment.insert("XDG_RUNTIME_DIR", path("runtime"));
    m_environment.insert("XDG_DATA_HOME", path("data"));
    m_environment.insert("XDG_CONFIG_HOME", path("config"));
    m_environment.insert("QT_QPA_PLATFORM", "offscreen");
    m_environment.insert("QT_LOGGING_RULES", "vocarta.remote.debug=true");
    // The engine opens a sound output: a null sink of a server of its own.
    m_soundServer.setProcessEnvironment(m_environment);
    m_soundServer.start("pulseaudio", {"--daemonize=no", "--exit-idle-time=-1", "--system=false",
                                       "-n", "--load=module-native-protocol-unix auth-anonymous=1",
                                       "--load=module-null-sink sink_name=test"});
    QVERIFY2(m_soundServer.waitForStarted(), "pulseaudio is not installed");
    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(path("runtime/pulse/native")), 10000);
    m_environment.insert("PULSE_SERVER", "unix:" + path("runtime/pulse/native"));

    m_instance.setProcessEnvironment(m_environment);
    connect(&m_instance, &QProcess::readyReadStandardError, this,
            [this] { m_instanceErrors += m_instance.readAllStandardError(); });
    m_instance.start(m_program, {path("a.wav")});
    QVERIFY(m_instance.waitForStarted());
    QTRY_VERIFY_WITH_TIMEOUT(
        QDBusConnection::sessionBus().interface()->isServiceRegistered(kService), 30000);
    QTRY_COMPARE_WITH_TIMEOUT(playbackStatus(), QStringLiteral("Playing"), 30000);
}

void TestRemoteProcess::cleanupTestCase()
{
    for (QProcess* process : {&m_instance, &m_soundServer})
        endProcess(*process, 20000);
    if (m_instance.exitStatus() == QProcess::NormalExit)
        QCOMPARE(m_instance.exitCode(), 0);
}

Finished TestRemoteProcess::run(const QString& program, const QStringList& arguments,
                                const QProcessEnvironment& environment)
{
    QProcess process;
    process.setProcessEnvironment(environment);
    process.setWorkingDirectory(m_work.path());
    process.start(program, arguments);
    // The instance serves its socket and bus on this thread's time: keep the events going.
    if (!process.waitForStarted() ||
        !QTest::qWaitFor([&] { return process.state() == QProcess::NotRunning; }, 20000)) {
        process.kill();
        process.waitForFinished();
        return {};
    }
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            process.readAllStandardError()};
}

QVariant TestRemoteProcess::property(const QString& name)
{
    QDBusInterface player(kService, "/org/mpris/MediaPlayer2", "org.mpris.MediaPlayer2.Player");
    return player.property(name.toLatin1().constData());
}

void TestRemoteProcess::commandTogglesPlayPause()
{
    QCOMPARE(playbackStatus(), QStringLiteral("Playing"));
    QCOMPARE(vocarta({"--command", "play-pause"}).status, 0);
    QTRY_COMPARE_WITH_TIMEOUT(playbackStatus(), QStringLiteral("Paused"), kRealWaitMs);
    QCOMPARE(vocarta({"--command", "play-pause"}).status, 0);
    QTRY_COMPARE_WITH_TIMEOUT(playbackStatus(), QStringLiteral("Playing"), kRealWaitMs);
}

void TestRemoteProcess::playerctlDrivesTheProgram()
{
    const QString playerctl = QStandardPaths::findExecutable("playerctl");
    if (playerctl.isEmpty())
        QSKIP("playerctl is not installed");
    const auto control = [&](const QStringList& arguments) {
        return run(playerctl, QStringList{"--player=vocarta"} + arguments, m_environment).status;
    };
    QCOMPARE(control({"pause"}), 0);
    QTRY_COMPARE_WITH_TIMEOUT(playbackStatus(), QStringLiteral("Paused"), kRealWaitMs);
    QCOMPARE(control({"position", "42"}), 0);
    QTRY_COMPARE_WITH_TIMEOUT(property("Position").toLongLong(), 42'000'000LL, kRealWaitMs);
    QCOMPARE(control({"play-pause"}), 0);
    QTRY_COMPARE_WITH_TIMEOUT(playbackStatus(), QStringLiteral("Playing"), kRealWaitMs);
    QCOMPARE(control({"volume", "0.4"}), 0);
    QTRY_COMPARE_WITH_TIMEOUT(property("Volume").toDouble(), 0.4, kRealWaitMs);
}

void TestRemoteProcess::rubbishInTheSocketChangesNothing()
{
    QDBusInterface player(kService, "/org/mpris/MediaPlayer2", "org.mpris.MediaPlayer2.Player");
    player.call("Pause");
    QTRY_COMPARE_WITH_TIMEOUT(playbackStatus(), QStringLiteral("Paused"), kRealWaitMs);
    const qlonglong position = property("Position").toLongLong();
    const QString title =
        qdbus_cast<QVariantMap>(property("Metadata")).value("xesam:title").toString();

    const QList<QByteArray> rubbish = {
        QByteArray("\x00\x01\x02\xff\xfe\n", 6),
        "command play-pause-now\ncommand Stop\nplay\n\n",
        "open a.wav\nopen file:///nonexistent/x.wav%00\nopen http://example.org/x.wav\n",
        "command " + QByteArray(100'000, 'a') + "\n",
        "command skip-forw", // never finished
    };
    for (const QByteArray& bytes : rubbish) {
        UnixClient socket(path("runtime/vocarta.socket"));
        QVERIFY(socket.isConnected());
        QVERIFY(socket.write(bytes) > 0);
        QTest::qWait(100);
    }
    QCOMPARE(m_instance.state(), QProcess::Running);
    QCOMPARE(playbackStatus(), QStringLiteral("Paused"));
    QCOMPARE(property("Position").toLongLong(), position);
    QCOMPARE(qdbus_cast<QVariantMap>(property("Metadata")).value("xesam:title").toString(), title);
    // And it still takes what is well made.
    QCOMPARE(vocarta({"--command", "skip-forward"}).status, 0);
    QTRY_VERIFY_WITH_TIMEOUT(property("Position").toLongLong() > position, kRealWaitMs);
}

void TestRemoteProcess::secondStartHandsTheFileOver()
{
    // A path relative to the second process's folder; a box about a running program would
    // keep it from ending.
    const Finished second = vocarta({"b.wav"});
    QCOMPARE(second.status, 0);
    QTRY_COMPARE_WITH_TIMEOUT(
        qdbus_cast<QVariantMap>(property("Metadata")).value("xesam:title").toString(),
        QStringLiteral("b.wav"), kRealWaitMs);
    QTRY_COMPARE_WITH_TIMEOUT(playbackStatus(), QStringLiteral("Playing"), kRealWaitMs);
    // Opened as the open command does: first in the recent list.
    QFile recent(path("data/vocarta/Files/LastFiles.ini"));
    QVERIFY(recent.open(QIODevice::ReadOnly));
    QCOMPARE(recent.readLine().trimmed(), QFile::encodeName(path("b.wav")));
    QVERIFY2(m_instanceErrors.contains("Opened a file handed over"), m_instanceErrors.constData());
}

void TestRemoteProcess::commandWithoutAProgramFails_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<bool>("otherRuntime"); // where no program runs
    QTest::addColumn<int>("status");
    QTest::addColumn<QByteArray>("message");
    QTest::newRow("no program") << QStringList{"--command", "play-pause"} << true << 1
                                << QByteArray("not running");
    QTest::newRow("unknown command") << QStringList{"--command", "rewind"} << false << 2
                                     << QByteArray("unknown command \"rewind\"");
    QTest::newRow("no command name")
        << QStringList{"--command"} << false << 2 << QByteArray("--command takes one command name");
}

void TestRemoteProcess::commandWithoutAProgramFails()
{
    QFETCH(QStringList, arguments);
    QFETCH(bool, otherRuntime);
    QFETCH(int, status);
    QFETCH(QByteArray, message);
    QTemporaryDir empty;
    QProcessEnvironment environment = m_environment;
    if (otherRuntime)
        environment.insert("XDG_RUNTIME_DIR", empty.path());
    const Finished finished = run(m_program, arguments, environment);
    QCOMPARE(finished.status, status);
    QVERIFY2(finished.errors.contains(message), finished.errors.constData());
}

QTEST_GUILESS_MAIN(TestRemoteProcess)
#include "tst_remoteprocess.moc"
