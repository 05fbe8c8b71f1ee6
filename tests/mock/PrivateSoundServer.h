#pragma once

#include "ProcessEnd.h"
#include "RealWait.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>
#include <csignal>

// A PulseAudio server of its own, in a runtime folder of its own, with no sink or source until
// asked; for tests and benchmarks that need a real sound server.
class PrivateSoundServer {
public:
    ~PrivateSoundServer()
    {
        stall(false);
        for (QProcess* process : {&m_player, &m_server})
            endProcess(*process);
    }

    // Starts the server; "" when it answers, otherwise why it could not start.
    QString start()
    {
        for (const char* tool : {"pulseaudio", "pactl", "paplay"}) {
            if (QStandardPaths::findExecutable(QLatin1String(tool)).isEmpty())
                return QStringLiteral("%1 is not installed").arg(QLatin1String(tool));
        }
        if (!m_runtime.isValid())
            return QStringLiteral("no temporary folder");
        QFile::setPermissions(m_runtime.path(),
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        m_environment = QProcessEnvironment::systemEnvironment();
        m_environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), m_runtime.path());
        m_environment.insert(QStringLiteral("HOME"), m_runtime.path());
        m_server.setProcessEnvironment(m_environment);
        // Its log is not read: a full pipe would stop the server.
        m_server.setStandardOutputFile(QProcess::nullDevice());
        m_server.setStandardErrorFile(QProcess::nullDevice());
        m_server.start(QStringLiteral("pulseaudio"),
                       {"--daemonize=no", "--exit-idle-time=-1", "--system=false", "-n",
                        "--disable-shm=yes",
                        "--load=module-native-protocol-unix auth-anonymous=1"});
        if (!m_server.waitForStarted())
            return QStringLiteral("pulseaudio did not start: ") + m_server.errorString();
        m_environment.insert(QStringLiteral("PULSE_SERVER"), address());
        QElapsedTimer clock;
        clock.start();
        while (!pactl({QStringLiteral("info")})) {
            if (m_server.state() == QProcess::NotRunning || clock.elapsed() > 5000)
                return QStringLiteral("pulseaudio did not answer");
            QThread::msleep(20);
        }
        return {};
    }

    QString address() const
    {
        return QStringLiteral("unix:") + m_runtime.path() + QStringLiteral("/pulse/native");
    }

    bool pactl(const QStringList& arguments)
    {
        QProcess tool;
        tool.setProcessEnvironment(m_environment);
        tool.start(QStringLiteral("pactl"), arguments);
        return tool.waitForFinished(kRealWaitMs) && tool.exitStatus() == QProcess::NormalExit &&
               tool.exitCode() == 0;
    }

    // A null sink named `name` whose monitor becomes the default source.
    bool addNullSink(const QString& name)
    {
        return pactl({QStringLiteral("load-module"), QStringLiteral("module-null-sink"),
                      QStringLiteral("sink_name=") + name}) &&
               pactl({QStringLiteral("set-default-source"), name + QStringLiteral(".monitor")});
    }

    // A source of its own that plays a sine tone, made the default source.
    bool addSineSource(const QString& name, int frequency)
    {
        return pactl({QStringLiteral("load-module"), QStringLiteral("module-sine-source"),
                      QStringLiteral("source_name=") + name,
                      QStringLiteral("frequency=%1").arg(frequency)}) &&
               pactl({QStringLiteral("set-default-source"), name});
    }

    // Plays a sound file into the sink, in the background.
    bool play(const QString& sink, const QString& file)
    {
        m_player.setProcessEnvironment(m_environment);
        m_player.start(QStringLiteral("paplay"), {QStringLiteral("--device=") + sink, file});
        return m_player.waitForStarted();
    }

    // Stops the server in its tracks, as a hung one would be, or lets it go on.
    void stall(bool stalled)
    {
        if (m_server.processId() > 0)
            ::kill(pid_t(m_server.processId()), stalled ? SIGSTOP : SIGCONT);
    }

private:
    QTemporaryDir m_runtime{QDir::tempPath() + QStringLiteral("/vocarta-pulse-XXXXXX")};
    QProcessEnvironment m_environment;
    QProcess m_server;
    QProcess m_player;
};
