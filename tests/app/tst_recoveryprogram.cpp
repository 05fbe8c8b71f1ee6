// The real program on an X server of its own, driven by xdotool as a user would drive it: words
// typed into the editor reach the recovery copy, survive a SIGKILL, and come back with the
// recording at its place when the next start is answered Yes.

#include "ProcessEnd.h"
#include "RealWait.h"
#include "TestMedia.h"
#include "core/ProgramFolder.h"
#include "core/SettingsFile.h"
#include "editor/RecoveryRecord.h"
#include "platform/TextFile.h"
#include "rtf/RtfReader.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTextDocument>
#include <QThread>
#include <algorithm>
#include <csignal>
#include <functional>
#include <optional>

namespace {

const QString kTyped = QStringLiteral("Typed before the crash");

bool waitUntil(const std::function<bool()>& condition, int timeoutMs = kRealWaitMs)
{
    QElapsedTimer clock;
    clock.start();
    while (!condition()) {
        if (clock.elapsed() > timeoutMs)
            return false;
        QThread::msleep(100);
    }
    return true;
}

// Xvfb on the first free display from :160 on; ended with the test. Without -noreset the server
// resets when its last client leaves, and a client connecting meanwhile is turned away: the
// program would start just after xdotool's probe has left.
class XServer {
public:
    ~XServer() { endProcess(m_process); }

    bool start()
    {
        for (int display = 160; display < 220; ++display) {
            if (QFile::exists(QStringLiteral("/tmp/.X%1-lock").arg(display)) ||
                QFile::exists(QStringLiteral("/tmp/.X11-unix/X%1").arg(display)))
                continue;
            m_display = QStringLiteral(":%1").arg(display);
            m_process.start(QStringLiteral("Xvfb"),
                            {m_display, QStringLiteral("-screen"), QStringLiteral("0"),
                             QStringLiteral("1280x1024x24"), QStringLiteral("-nolisten"),
                             QStringLiteral("tcp"), QStringLiteral("-noreset")});
            if (!m_process.waitForStarted())
                return false;
            if (waitUntil([this] { return run({QStringLiteral("getmouselocation")}).has_value(); },
                          5000))
                return true;
            m_process.kill();
            m_process.waitForFinished();
        }
        return false;
    }

    QString display() const { return m_display; }

    // xdotool's output, or none when it failed.
    std::optional<QString> run(const QStringList& arguments) const
    {
        QProcess xdotool;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("DISPLAY"), m_display);
        xdotool.setProcessEnvironment(environment);
        xdotool.start(QStringLiteral("xdotool"), arguments);
        if (!xdotool.waitForFinished(10000) || xdotool.exitStatus() != QProcess::NormalExit ||
            xdotool.exitCode() != 0)
            return std::nullopt;
        return QString::fromUtf8(xdotool.readAllStandardOutput()).trimmed();
    }

    // The visible windows whose title matches the pattern.
    QStringList windows(const QString& title) const
    {
        const QString found = run({QStringLiteral("search"), QStringLiteral("--onlyvisible"),
                                   QStringLiteral("--name"), title})
                                  .value_or(QString());
        return found.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    }

    // The titles of all visible windows, for a failure's message.
    QString titles() const
    {
        QStringList names;
        for (const QString& window : windows(QStringLiteral(".*")))
            names << run({QStringLiteral("getwindowname"), window}).value_or(QStringLiteral("?"));
        return names.isEmpty() ? QStringLiteral("no window") : names.join(QStringLiteral(" | "));
    }

private:
    QProcess m_process;
    QString m_display;
};

// PulseAudio with a null sink, its socket in the runtime folder the program is given: the
// recording plays, so its position moves as it does for a user.
class SoundServer {
public:
    ~SoundServer() { endProcess(m_process); }

    bool start(const QString& runtime)
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime);
        m_process.setProcessEnvironment(environment);
        m_process.setStandardOutputFile(QProcess::nullDevice());
        m_process.setStandardErrorFile(QProcess::nullDevice());
        m_process.start(QStringLiteral("pulseaudio"),
                        {"--daemonize=no", "--exit-idle-time=-1", "--system=false", "-n",
                         "--load=module-native-protocol-unix auth-anonymous=1",
                         "--load=module-null-sink sink_name=test"});
        m_address = runtime + QStringLiteral("/pulse/native");
        return m_process.waitForStarted() &&
               waitUntil([this] { return QFile::exists(m_address); }, 10000);
    }

    QString address() const { return QStringLiteral("unix:") + m_address; }

private:
    QProcess m_process;
    QString m_address;
};

} // namespace

class TestRecoveryProgram : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void typedWordsSurviveAKill();

private:
    bool startProgram(QProcess& program, const QStringList& arguments);

    QTemporaryDir m_work;
    XServer m_x;
    SoundServer m_sound;
    QProcessEnvironment m_environment;
    QString m_program;
    QString m_folder;
};

bool TestRecoveryProgram::startProgram(QProcess& program, const QStringList& arguments)
{
    program.setProcessEnvironment(m_environment);
    program.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    program.start(m_program, arguments);
    return program.waitForStarted();
}

void TestRecoveryProgram::typedWordsSurviveAKill()
{
    for (const char* tool : {"Xvfb", "xdotool", "pulseaudio"}) {
        if (QStandardPaths::findExecutable(QLatin1String(tool)).isEmpty())
            QSKIP(qPrintable(QStringLiteral("%1 is not installed (scripts/setup installs it)")
                                 .arg(QLatin1String(tool))));
    }
    QVERIFY(m_work.isValid());
    QVERIFY(m_x.start());

    // The program away from the build tree, whose own program folder it would use; its folder
    // is the user's data folder, filled from the shipped defaults.
    m_program = m_work.filePath(QStringLiteral("app/vocarta"));
    QVERIFY(QDir().mkpath(m_work.filePath(QStringLiteral("app"))));
    const QString module = QStringLiteral(VOCARTA_ENGINE_MODULE_FILE);
    QVERIFY(QFile::copy(QStringLiteral(VOCARTA_PROGRAM), m_program));
    QVERIFY(QFile::copy(module,
                        m_work.filePath(QStringLiteral("app/")) + QFileInfo(module).fileName()));
    m_folder = m_work.filePath(QStringLiteral("data/vocarta"));
    QVERIFY(ProgramFolder::fillMissing(QStringLiteral(VOCARTA_SOURCE_DATA_DIR), m_folder));
    StoredSettings settings;
    settings.languageFile = QStringLiteral("English.lng");
    settings.jumpSeconds = 10;
    QVERIFY(SettingsFile::write(m_folder + QStringLiteral("/Files/Vocarta.ini"), settings));
    const QString runtime = m_work.filePath(QStringLiteral("runtime"));
    QVERIFY(QDir().mkpath(runtime));
    QFile::setPermissions(runtime, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QVERIFY(m_sound.start(runtime));
    const QString recording = m_work.filePath(QStringLiteral("talk.wav"));
    QVERIFY(TestMedia::writeTone(recording, 60));

    m_environment = QProcessEnvironment::systemEnvironment();
    m_environment.insert(QStringLiteral("DISPLAY"), m_x.display());
    m_environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    m_environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime);
    m_environment.insert(QStringLiteral("PULSE_SERVER"), m_sound.address());
    m_environment.insert(QStringLiteral("XDG_DATA_HOME"), m_work.filePath(QStringLiteral("data")));
    m_environment.insert(QStringLiteral("XDG_CONFIG_HOME"),
                         m_work.filePath(QStringLiteral("config")));
    // Killed on purpose, and the engine's libraries keep what they allocate until the end.
    m_environment.insert(QStringLiteral("ASAN_OPTIONS"), QStringLiteral("detect_leaks=0"));

    const QString copyPath = m_folder + QStringLiteral("/Recovery/Transcript.rtf");
    const QString recordPath = m_folder + QStringLiteral("/Recovery/Transcript.ini");
    const auto copyText = [&copyPath] {
        const auto bytes = readFileWhole(copyPath);
        if (!bytes)
            return QString();
        QTextDocument document;
        RtfReader::read(*bytes, &document);
        return document.toPlainText();
    };
    const auto record = [&recordPath] {
        const auto lines = readTextLines(recordPath);
        return lines ? RecoveryRecord::parse(*lines) : RecoveryRecord{};
    };

    // First run: the recording from the command line, words typed, two skips forward.
    QProcess first;
    QVERIFY(startProgram(first, {recording}));
    QStringList editors;
    QVERIFY2(waitUntil([&] {
                 editors = m_x.windows(QStringLiteral("^Text editor - "));
                 return !editors.isEmpty();
             }),
             qPrintable(m_x.titles()));
    // A click into the text, as the keyboard is elsewhere when the window first shows.
    QVERIFY(m_x.run({QStringLiteral("windowfocus"), QStringLiteral("--sync"), editors.first()}));
    QVERIFY(m_x.run({QStringLiteral("mousemove"), QStringLiteral("--window"), editors.first(),
                     QStringLiteral("300"), QStringLiteral("200"), QStringLiteral("click"),
                     QStringLiteral("1")}));
    QVERIFY(
        m_x.run({QStringLiteral("type"), QStringLiteral("--delay"), QStringLiteral("40"), kTyped}));
    QVERIFY(m_x.run({QStringLiteral("key"), QStringLiteral("--delay"), QStringLiteral("200"),
                     QStringLiteral("F7"), QStringLiteral("F7")}));
    // Written a few seconds after the typing paused.
    // The copy is replaced before its record: both are waited for.
    RecoveryRecord kept;
    QVERIFY2(waitUntil([&] {
                 kept = record();
                 return copyText() == kTyped && kept.mediaPath == recording && kept.position >= 15;
             }),
             qPrintable(copyText()));
    QCOMPARE(kept.mediaPath, recording);
    QVERIFY2(kept.position >= 15, qPrintable(QString::number(kept.position)));

    QCOMPARE(::kill(pid_t(first.processId()), SIGKILL), 0);
    QVERIFY(first.waitForFinished(kRealWaitMs));
    QVERIFY(QFile::exists(copyPath));

    // Second run, with nothing on the command line: the question, answered Yes with Return. The
    // player and the box share their title; the box is made later, so its window id is the
    // higher. It is given the keyboard as a user's click would, whatever a slow start focused.
    QProcess second;
    QVERIFY(startProgram(second, {}));
    QStringList shown;
    QVERIFY2(waitUntil([&] {
                 shown = m_x.windows(QStringLiteral("^Vocarta$"));
                 return shown.size() >= 2;
             }),
             qPrintable(m_x.titles()));
    const QString box =
        *std::max_element(shown.cbegin(), shown.cend(), [](const QString& a, const QString& b) {
            return a.toULongLong() < b.toULongLong();
        });
    QVERIFY(waitUntil([&] {
        return m_x.run({QStringLiteral("windowfocus"), QStringLiteral("--sync"), box}) &&
               m_x.run({QStringLiteral("getwindowfocus")}) == box;
    }));
    QVERIFY(m_x.run({QStringLiteral("key"), QStringLiteral("Return")}));
    QVERIFY(waitUntil([&] { return m_x.windows(QStringLiteral("^Vocarta$")).size() == 1; }));

    // Ended from outside: the copy is brought up to date with the player's position as the
    // restored run has it, so what the restore did is what the copy now says.
    QFile::remove(recordPath);
    QThread::msleep(3000);
    QCOMPARE(::kill(pid_t(second.processId()), SIGTERM), 0);
    QVERIFY(second.waitForFinished(kRealWaitMs));
    QCOMPARE(second.exitStatus(), QProcess::NormalExit);
    QCOMPARE(copyText(), kTyped);
    const RecoveryRecord restored = record();
    QCOMPARE(restored.mediaPath, recording);
    QVERIFY2(std::abs(restored.position - kept.position) < 0.25,
             qPrintable(QStringLiteral("restored at %1, kept at %2")
                            .arg(restored.position)
                            .arg(kept.position)));
}

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    TestRecoveryProgram test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_recoveryprogram.moc"
