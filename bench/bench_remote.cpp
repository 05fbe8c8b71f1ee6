// Times a command handed to the running program: from the start of `vocarta --command
// play-pause` to the running instance having paused (or played again), as the instance logs it
// right after the toggle told its engine, and to the command's process having ended. The
// instance plays a WAV on a sound server of its own (PulseAudio with a null sink), offscreen, with
// a throwaway program folder and runtime folder. Prints medians; asserts nothing.
//
//   bench_remote [runs]     (20 by default)

#include "BenchSupport.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>
#include <cstdio>
#include <cstdlib>

namespace {

using namespace Bench;

constexpr int DefaultRuns = 20;

// The instance's log, as it comes.
class Instance {
public:
    explicit Instance(const QProcessEnvironment& environment)
    {
        m_process.setProcessEnvironment(environment);
        m_process.setStandardOutputFile(QProcess::nullDevice());
        QObject::connect(&m_process, &QProcess::readyReadStandardError,
                         [this] { m_log += m_process.readAllStandardError(); });
    }
    ~Instance()
    {
        m_process.terminate();
        if (!m_process.waitForFinished(10000))
            m_process.kill();
    }

    bool start(const QString& program, const QString& recording)
    {
        m_process.start(program, {recording});
        return m_process.waitForStarted() &&
               waitFor([this] { return m_log.contains("Listening at"); }, 30000) &&
               waitFor([this] { return m_log.contains("Playing the command line's file"); }, 30000);
    }

    // Whether `line` came after the first `from` bytes of the log.
    bool saidSince(qsizetype from, const QByteArray& line) const
    {
        return m_log.indexOf(line, from) >= 0;
    }
    qsizetype logSize() const { return m_log.size(); }
    QByteArray log() const { return m_log; }

private:
    QProcess m_process;
    QByteArray m_log;
};

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : DefaultRuns;
#ifdef NDEBUG
    std::printf("Commands to the running program over %d runs\n", runs);
#else
    std::printf("Commands to the running program over %d runs (a debug build: a Release build "
                "gives the true figures)\n",
                runs);
#endif

    QTemporaryDir work;
    const QString program = work.filePath(QStringLiteral("app/vocarta"));
    const QString module = QStringLiteral(VOCARTA_ENGINE_MODULE_FILE);
    const QString runtime = work.filePath(QStringLiteral("runtime"));
    const QString data = work.filePath(QStringLiteral("data"));
    if (!QDir().mkpath(work.filePath(QStringLiteral("app"))) || !QDir().mkpath(runtime) ||
        !QDir().mkpath(data + QStringLiteral("/vocarta")) ||
        !QFile::copy(QStringLiteral(VOCARTA_PROGRAM), program) ||
        !QFile::copy(module,
                     work.filePath(QStringLiteral("app/")) + QFileInfo(module).fileName()) ||
        !run(QStringLiteral("cp"),
             {"-R", QStringLiteral(VOCARTA_SOURCE_DATA_DIR "/."), data + "/vocarta"})) {
        std::printf("cannot prepare the program and its folders\n");
        return 1;
    }
    QFile::setPermissions(runtime, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    const QString recording = work.filePath(QStringLiteral("lecture.wav"));
    if (!run(QStringLiteral("sox"), {"-n", "-r", "44100", "-c", "1", "-b", "16", recording, "synth",
                                     QString::number(MediaSeconds), "sine", "440"})) {
        std::printf("sox failed or is not installed\n");
        return 1;
    }

    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime);
    environment.insert(QStringLiteral("XDG_DATA_HOME"), data);
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), work.filePath(QStringLiteral("config")));
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));

    QProcess soundServer;
    soundServer.setProcessEnvironment(environment);
    soundServer.setStandardOutputFile(QProcess::nullDevice());
    soundServer.setStandardErrorFile(QProcess::nullDevice());
    soundServer.start(QStringLiteral("pulseaudio"),
                      {"--daemonize=no", "--exit-idle-time=-1", "--system=false", "-n",
                       "--load=module-native-protocol-unix auth-anonymous=1",
                       "--load=module-null-sink sink_name=bench"});
    const QString socket = runtime + QStringLiteral("/pulse/native");
    if (!soundServer.waitForStarted() || !waitFor([&] { return QFile::exists(socket); }, 5000)) {
        std::printf("PulseAudio could not be started\n");
        return 1;
    }
    environment.insert(QStringLiteral("PULSE_SERVER"), QStringLiteral("unix:") + socket);

    QProcessEnvironment instanceEnvironment = environment;
    instanceEnvironment.insert(
        QStringLiteral("QT_LOGGING_RULES"),
        QStringLiteral("vocarta.remote.debug=true\nvocarta.player.debug=true"));
    std::vector<double> paused, playing, delivered;
    {
        Instance instance(instanceEnvironment);
        if (!instance.start(program, recording)) {
            std::printf("the instance did not start playing; its log:\n%s\n",
                        instance.log().constData());
            return 1;
        }
        for (int i = 0; i < 2 * runs; ++i) {
            const bool pausing = i % 2 == 0;
            const QByteArray line = pausing ? "Ran the command play-pause: paused"
                                            : "Ran the command play-pause: playing";
            const qsizetype from = instance.logSize();
            QProcess command;
            command.setProcessEnvironment(environment);
            double ran = -1;
            double ended = -1;
            QElapsedTimer clock;
            QObject::connect(&command, &QProcess::finished,
                             [&](int status) { ended = status == 0 ? milliseconds(clock) : -2; });
            clock.start();
            command.start(program, {"--command", "play-pause"});
            waitFor(
                [&] {
                    if (ran < 0 && instance.saidSince(from, line))
                        ran = milliseconds(clock);
                    return ran >= 0 && ended != -1;
                },
                10000);
            if (ran < 0 || ended < 0) {
                std::printf("run %d: %s\n", i, ended == -2 ? "the command failed" : "no answer");
                continue;
            }
            (pausing ? paused : playing).push_back(ran);
            delivered.push_back(ended);
            // Playing on a moment before the next command, as a user would.
            QElapsedTimer pause;
            pause.start();
            waitFor([&] { return pause.elapsed() > 100; }, 1000);
        }
    }
    soundServer.terminate();
    soundServer.waitForFinished();

    report(QStringLiteral("--command play-pause -> instance paused:"), paused, "< 50 ms");
    report(QStringLiteral("--command play-pause -> instance playing:"), playing, "(no target)");
    report(QStringLiteral("--command play-pause -> command ended:"), delivered, "(no target)");
    return 0;
}
