// Times the start of the real program on an X server of its own (Xvfb): from process start to the
// player window mapped, beside a bare Qt window (this benchmark again, run with --bare) measured
// the same way in the same run, and to the command line's 10-minute WAV playing on a sound server
// of its own (PulseAudio with a null sink), beside a program that only plays it with libmpv. Every
// run gets a throwaway program folder and lock folder. Prints medians; asserts nothing.
//
//   bench_start [runs]     (12 by default)

#include "BenchSupport.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QProcessEnvironment>
#include <QSocketNotifier>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>
#include <QWidget>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <utility>
#include <xcb/xcb.h>

namespace {

using namespace Bench;

constexpr int DefaultRuns = 12;
constexpr int RunTimeoutMs = 10000;
const QByteArray EngineReadyLine = "Media engine ready";
const QByteArray PlayingLine = "Playing the command line's file";

// The mapped top-level windows of one X server, as its root window reports them.
class MapWatcher {
public:
    ~MapWatcher()
    {
        if (m_connection)
            xcb_disconnect(m_connection);
    }

    bool connect(const QByteArray& display)
    {
        m_connection = xcb_connect(display.constData(), nullptr);
        if (xcb_connection_has_error(m_connection)) {
            xcb_disconnect(m_connection);
            m_connection = nullptr;
            return false;
        }
        const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(m_connection)).data;
        const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
        xcb_change_window_attributes(m_connection, screen->root, XCB_CW_EVENT_MASK, &mask);
        const char name[] = "_NET_WM_PID";
        xcb_intern_atom_reply_t* atom = xcb_intern_atom_reply(
            m_connection, xcb_intern_atom(m_connection, 0, sizeof name - 1, name), nullptr);
        m_pidAtom = atom ? atom->atom : xcb_atom_t(XCB_ATOM_NONE);
        std::free(atom);
        xcb_flush(m_connection);
        return true;
    }

    int fileDescriptor() const { return xcb_get_file_descriptor(m_connection); }

    // The top-level windows (not menus or tooltips) mapped since the last call.
    QList<xcb_window_t> takeMapped()
    {
        QList<xcb_window_t> mapped;
        while (xcb_generic_event_t* event = xcb_poll_for_event(m_connection)) {
            if ((event->response_type & 0x7f) == XCB_MAP_NOTIFY) {
                const auto* map = reinterpret_cast<xcb_map_notify_event_t*>(event);
                if (!map->override_redirect)
                    mapped << map->window;
            }
            std::free(event);
        }
        return mapped;
    }

    // The process that made the window, as Qt writes it into _NET_WM_PID.
    qint64 processOf(xcb_window_t window) const
    {
        xcb_get_property_reply_t* reply = xcb_get_property_reply(
            m_connection,
            xcb_get_property(m_connection, 0, window, m_pidAtom, XCB_ATOM_CARDINAL, 0, 1), nullptr);
        qint64 pid = -1;
        if (reply && xcb_get_property_value_length(reply) == 4)
            pid = *static_cast<const uint32_t*>(xcb_get_property_value(reply));
        std::free(reply);
        return pid;
    }

private:
    xcb_connection_t* m_connection = nullptr;
    xcb_atom_t m_pidAtom = XCB_ATOM_NONE;
};

// Xvfb on the first free display from :90 on.
class XServer {
public:
    ~XServer() { stop(); }

    bool start(MapWatcher& watcher)
    {
        for (int display = 90; display < 140; ++display) {
            if (QFile::exists(QStringLiteral("/tmp/.X11-unix/X%1").arg(display)) ||
                QFile::exists(QStringLiteral("/tmp/.X%1-lock").arg(display)))
                continue;
            m_display = ':' + QByteArray::number(display);
            m_process.start(QStringLiteral("Xvfb"),
                            {QString::fromLatin1(m_display), QStringLiteral("-screen"),
                             QStringLiteral("0"), QStringLiteral("1280x1024x24"),
                             QStringLiteral("-nolisten"), QStringLiteral("tcp")});
            if (!m_process.waitForStarted())
                return false;
            QElapsedTimer clock;
            clock.start();
            while (m_process.state() == QProcess::Running && clock.elapsed() < 5000) {
                if (watcher.connect(m_display))
                    return true;
                QThread::msleep(20);
            }
            stop();
        }
        return false;
    }

    QByteArray display() const { return m_display; }

private:
    // Asked to end, Xvfb removes its lock file and socket; killed, it would leave them behind.
    void stop()
    {
        if (m_process.state() == QProcess::NotRunning)
            return;
        m_process.terminate();
        if (!m_process.waitForFinished(5000)) {
            m_process.kill();
            m_process.waitForFinished();
        }
    }

    QProcess m_process;
    QByteArray m_display;
};

// PulseAudio with a null sink, reached through its socket in a runtime folder of its own, and a
// recorder on the sink's monitor that notices the first sound played into it.
class SoundServer {
public:
    ~SoundServer()
    {
        for (QProcess* process : {&m_recorder, &m_server}) {
            process->terminate();
            if (!process->waitForFinished(5000))
                process->kill();
        }
    }

    bool start()
    {
        if (!m_runtime.isValid() || QStandardPaths::findExecutable("pulseaudio").isEmpty() ||
            QStandardPaths::findExecutable("parec").isEmpty())
            return false;
        QFile::setPermissions(m_runtime.path(),
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), m_runtime.path());
        m_server.setProcessEnvironment(environment);
        m_server.setStandardOutputFile(QProcess::nullDevice());
        m_server.setStandardErrorFile(QProcess::nullDevice());
        m_server.start(QStringLiteral("pulseaudio"),
                       {"--daemonize=no", "--exit-idle-time=-1", "--system=false", "-n",
                        "--load=module-native-protocol-unix auth-anonymous=1",
                        "--load=module-null-sink sink_name=bench"});
        const QString socket = m_runtime.path() + QStringLiteral("/pulse/native");
        if (!m_server.waitForStarted() || !waitFor([&] { return QFile::exists(socket); }, 5000))
            return false;

        environment.insert(QStringLiteral("PULSE_SERVER"), address());
        m_recorder.setProcessEnvironment(environment);
        QObject::connect(&m_recorder, &QProcess::readyReadStandardOutput, [this] { listen(); });
        m_recorder.start(QStringLiteral("parec"),
                         {"--device=bench.monitor", "--raw", "--format=s16le", "--rate=44100",
                          "--channels=1", "--latency-msec=5"});
        // Running once the silence of the idle sink comes in.
        return m_recorder.waitForStarted() && waitFor([&] { return m_heardBytes > 0; }, 5000);
    }

    QString address() const { return QStringLiteral("unix:") + m_runtime.path() + "/pulse/native"; }

    // Waits (up to 5 s) until the sink has been silent for a moment: the sound of a program just
    // ended may still be on its way out.
    void awaitSilence()
    {
        m_silentSamples = 0;
        waitFor([this] { return m_silentSamples >= kSilentMoment; }, 5000);
    }

    // Calls `heard` once, when the next sound comes out of the sink.
    void awaitSound(std::function<void()> heard)
    {
        m_recorder.readAllStandardOutput(); // what came before
        m_heard = std::move(heard);
    }

private:
    static constexpr qint64 kSilentMoment = 44100 / 50; // 20 ms

    void listen()
    {
        const QByteArray data = m_recorder.readAllStandardOutput();
        m_heardBytes += data.size();
        for (qsizetype i = 0; i + 1 < data.size(); i += 2) {
            const auto sample = qint16(quint8(data[i]) | quint8(data[i + 1]) << 8);
            if (std::abs(sample) <= 256) {
                ++m_silentSamples;
            } else {
                m_silentSamples = 0;
                if (m_heard) {
                    std::exchange(m_heard, nullptr)();
                    return;
                }
            }
        }
    }

    QTemporaryDir m_runtime;
    QProcess m_server;
    QProcess m_recorder;
    qint64 m_heardBytes = 0;
    qint64 m_silentSamples = 0;
    std::function<void()> m_heard;
};

struct Times {
    double mapped = -1;
    double engineReady = -1;
    double playing = -1; // as the program logs it
    double sound = -1;   // as the sound server gets it
};

// What a start is timed until.
struct Until {
    bool window = false;
    bool playingLine = false;
    SoundServer* sound = nullptr; // its sound at this server
};

// One start of `program`, timed from just before the process is made; ends it once all that
// `until` names has come.
Times timeStart(const QString& program, const QStringList& arguments,
                const QProcessEnvironment& environment, MapWatcher& watcher, const Until& until)
{
    Times times;
    QProcess process;
    process.setProgram(program);
    process.setArguments(arguments);
    process.setProcessEnvironment(environment);
    process.setStandardOutputFile(QProcess::nullDevice());
    QElapsedTimer clock;

    QSocketNotifier notifier(watcher.fileDescriptor(), QSocketNotifier::Read);
    watcher.takeMapped(); // nothing from an earlier run
    QObject::connect(&notifier, &QSocketNotifier::activated, [&] {
        const double now = milliseconds(clock);
        for (xcb_window_t window : watcher.takeMapped()) {
            if (times.mapped < 0 && watcher.processOf(window) == process.processId())
                times.mapped = now;
        }
    });
    QByteArray errors;
    QObject::connect(&process, &QProcess::readyReadStandardError, [&] {
        const double now = milliseconds(clock);
        errors += process.readAllStandardError();
        if (times.engineReady < 0 && errors.contains(EngineReadyLine))
            times.engineReady = now;
        if (times.playing < 0 && errors.contains(PlayingLine))
            times.playing = now;
    });

    if (until.sound) {
        until.sound->awaitSilence();
        until.sound->awaitSound([&] { times.sound = milliseconds(clock); });
    }

    clock.start();
    process.start();
    const auto missing = [&]() -> const char* {
        if (until.window && times.mapped < 0)
            return "no window";
        if (until.sound && times.sound < 0)
            return "no sound";
        if (until.playingLine && times.playing < 0)
            return "no playing line";
        return nullptr;
    };
    const bool done = waitFor([&] { return !missing(); }, RunTimeoutMs);
    if (until.sound)
        until.sound->awaitSound(nullptr);
    process.kill();
    process.waitForFinished();
    if (!done) {
        std::printf("%s: %s within %d ms; its output:\n%s\n", qPrintable(program), missing(),
                    RunTimeoutMs, errors.constData());
    }
    return times;
}

// A throwaway program folder (XDG_DATA_HOME/vocarta, filled with the shipped defaults) and lock
// folder for one run.
bool prepareRun(const QString& folder, QProcessEnvironment& environment)
{
    const QString runtime = folder + QStringLiteral("/runtime");
    const QString data = folder + QStringLiteral("/data");
    if (!QDir().mkpath(runtime) || !QDir().mkpath(data + QStringLiteral("/vocarta")))
        return false;
    QFile::setPermissions(runtime, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    if (!run(QStringLiteral("cp"), {"-R", QStringLiteral(VOCARTA_SOURCE_DATA_DIR "/."),
                                    data + QStringLiteral("/vocarta")}))
        return false;
    environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime);
    environment.insert(QStringLiteral("XDG_DATA_HOME"), data);
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), folder + QStringLiteral("/config"));
    return true;
}

int bareWindow(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QWidget window;
    window.resize(320, 200);
    window.show();
    return app.exec();
}

int benchmark(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : DefaultRuns;
#ifdef NDEBUG
    std::printf("Start times over %d runs\n", runs);
#else
    std::printf("Start times over %d runs (a debug build: a Release build gives the true "
                "figures)\n",
                runs);
#endif

    QTemporaryDir work;
    // The program away from the build tree, whose own program folder it would otherwise use.
    const QString program = work.filePath(QStringLiteral("app/vocarta"));
    QDir().mkpath(work.filePath(QStringLiteral("app")));
    const QString module = QStringLiteral(VOCARTA_ENGINE_MODULE_FILE);
    if (!QFile::copy(QStringLiteral(VOCARTA_PROGRAM), program) ||
        !QFile::copy(module,
                     work.filePath(QStringLiteral("app/")) + QFileInfo(module).fileName())) {
        std::printf("cannot copy the program and its engine module\n");
        return 1;
    }
    const QString recording = work.filePath(QStringLiteral("lecture.wav"));
    if (!run(QStringLiteral("sox"), {"-n", "-r", "44100", "-c", "1", "-b", "16", recording, "synth",
                                     QString::number(MediaSeconds), "sine", "440"})) {
        std::printf("sox failed or is not installed\n");
        return 1;
    }

    MapWatcher watcher;
    XServer xServer;
    if (!xServer.start(watcher)) {
        std::printf("Xvfb could not be started\n");
        return 1;
    }
    SoundServer soundServer;
    const bool sound = soundServer.start();
    if (!sound)
        std::printf("PulseAudio or parec could not be started: no playing figures\n");

    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("DISPLAY"), QString::fromLatin1(xServer.display()));
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    environment.insert(QStringLiteral("QT_LOGGING_RULES"),
                       QStringLiteral("vocarta.player.debug=true"));
    if (sound)
        environment.insert(QStringLiteral("PULSE_SERVER"), soundServer.address());

    std::vector<double> bare, player, ready, playing, sounding, libmpvSounding;
    for (int i = 0; i < runs; ++i) {
        // Taken in turns, so that a change in the machine's load touches all alike.
        QTemporaryDir bareRun, playerRun;
        QProcessEnvironment bareEnvironment = environment;
        QProcessEnvironment playerEnvironment = environment;
        if (!prepareRun(bareRun.path(), bareEnvironment) ||
            !prepareRun(playerRun.path(), playerEnvironment)) {
            std::printf("cannot prepare the program folders\n");
            return 1;
        }
        const Times b = timeStart(QCoreApplication::applicationFilePath(), {"--bare"},
                                  bareEnvironment, watcher, {.window = true});
        const Times p = timeStart(
            program, {recording}, playerEnvironment, watcher,
            {.window = true, .playingLine = sound, .sound = sound ? &soundServer : nullptr});
        if (sound) {
            const Times l = timeStart(QStringLiteral(LIBMPV_ONLY_PLAYER), {recording}, environment,
                                      watcher, {.sound = &soundServer});
            if (l.sound >= 0)
                libmpvSounding.push_back(l.sound);
        }
        if (b.mapped >= 0)
            bare.push_back(b.mapped);
        if (p.mapped >= 0)
            player.push_back(p.mapped);
        if (p.engineReady >= 0)
            ready.push_back(p.engineReady);
        if (p.playing >= 0)
            playing.push_back(p.playing);
        if (p.sound >= 0)
            sounding.push_back(p.sound);
    }

    report(QStringLiteral("start->bare Qt window mapped:"), bare, "(reference)");
    report(QStringLiteral("start->player window mapped:"), player, "< 2x the bare window");
    if (!bare.empty() && !player.empty()) {
        std::printf("%-44s %8.2f\n",
                    "player / bare window (medians):", median(player) / median(bare));
    }
    report(QStringLiteral("start->media engine ready:"), ready, "(no target)");
    // The engine reports its position at most every 50 ms, so the log line can come that much
    // after the sound.
    report(QStringLiteral("start->file playing, as the program logs it:"), playing, "(no target)");
    report(QStringLiteral("start->file's sound at the sound server:"), sounding, "< 150 ms");
    // What the engine library alone takes to load and play the file, in the same run: the part of
    // the figure above that the program's own work does not add.
    report(QStringLiteral("start->the same, a program of libmpv alone:"), libmpvSounding,
           "(reference)");
    return 0;
}

} // namespace

int main(int argc, char* argv[])
{
    if (argc > 1 && qstrcmp(argv[1], "--bare") == 0)
        return bareWindow(argc, argv);
    return benchmark(argc, argv);
}
