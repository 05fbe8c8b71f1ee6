// Times a foot pedal's press from its report, written to a FIFO that stands in for
// /dev/hidrawN, to the player's command having run: the real reader, its socket notifier on the
// event loop, the decoding and the pedal's action.

#include "BenchSupport.h"
#include "FakeMediaPlayer.h"
#include "FakePlayer.h"
#include "RecordingDialogs.h"
#include "core/AppState.h"
#include "pedal/FootPedals.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLoggingCategory>
#include <QTemporaryDir>
#include <atomic>
#include <fcntl.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace {

using namespace Bench;

constexpr int kPresses = 200;

// Notes when each command reached the player.
class TimedPlayer : public FakePlayer {
public:
    using FakePlayer::FakePlayer;
    void runCommand(PlayerCommand command) override
    {
        FakePlayer::runCommand(command);
        ranAt = clock.nsecsElapsed();
    }
    void togglePlayPause() override
    {
        FakePlayer::togglePlayPause();
        ranAt = clock.nsecsElapsed();
    }
    QElapsedTimer clock;
    qint64 ranAt = -1;
};

// Presses and releases the pedal of `down` `kPresses` times, each report written by a thread of
// its own while the event loop sleeps, as the kernel's would be: the milliseconds from each
// press's report written to its command run.
std::vector<double> timePresses(int writer, FootPedals& pedals, TimedPlayer& player, char down)
{
    std::vector<double> times;
    for (int i = 0; i < kPresses; ++i) {
        player.ranAt = -1;
        std::atomic<qint64> sentAt = -1;
        std::thread pedal([&] {
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
            sentAt = player.clock.nsecsElapsed();
            if (::write(writer, &down, 1) != 1)
                sentAt = -2;
        });
        // No timer ticks: the loop sleeps until the report wakes it.
        QElapsedTimer waited;
        waited.start();
        while (player.ranAt < 0 && sentAt != -2 && waited.elapsed() < 2000)
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        pedal.join();
        if (player.ranAt < 0)
            break;
        times.push_back((player.ranAt - sentAt) / 1e6);
        const char up = 0;
        if (::write(writer, &up, 1) != 1 ||
            !waitFor([&] { return pedals.controller().down().isEmpty(); }))
            break;
    }
    return times;
}

void printWorst(const std::vector<double>& times)
{
    if (!times.empty())
        std::printf("%-44s max    %8.3f ms\n", "", *std::max_element(times.begin(), times.end()));
}

} // namespace

int main(int argc, char** argv)
{
    useOffscreenUnlessTold();
    QApplication app(argc, argv);
    QLoggingCategory::setFilterRules(QStringLiteral("vocarta.pedal.info=false"));
    QTemporaryDir root;
    const QString sysfs = root.filePath(QStringLiteral("sys"));
    const QString dev = root.filePath(QStringLiteral("dev"));
    QDir().mkpath(sysfs + QStringLiteral("/class/hidraw/hidraw0/device"));
    QDir().mkpath(dev);
    QDir().mkpath(root.filePath(QStringLiteral("Files")));
    QFile uevent(sysfs + QStringLiteral("/class/hidraw/hidraw0/device/uevent"));
    if (!uevent.open(QIODevice::WriteOnly) ||
        uevent.write("HID_ID=0003:000005F3:000000FF\nHID_NAME=VEC USB Footpedal\n") < 0)
        return 1;
    uevent.close();
    const QByteArray node = QFile::encodeName(dev + QStringLiteral("/hidraw0"));
    if (mkfifo(node.constData(), 0600) != 0) {
        std::printf("cannot make the FIFO\n");
        return 1;
    }

    AppState state;
    state.programFolder = root.path();
    RecordingDialogs dialogs;
    FakeMediaPlayer media;
    TimedPlayer player(&media);
    player.clock.start();
    FootPedals pedals(state, dialogs, PedalTargets{&player, nullptr, nullptr},
                      PedalPlaces{sysfs, dev});
    pedals.start();
    const int writer = ::open(node.constData(), O_WRONLY | O_NONBLOCK);
    if (!pedals.reader().isOpen() || writer < 0) {
        std::printf("the pedal's FIFO could not be opened\n");
        return 1;
    }

    const auto skips = timePresses(writer, pedals, player, 0x04);
    report(QStringLiteral("Pedal report to skip forward run"), skips, "< 5 ms");
    printWorst(skips);
    const auto holds = timePresses(writer, pedals, player, 0x02);
    report(QStringLiteral("Pedal report to hold-to-play started"), holds, "< 5 ms");
    printWorst(holds);
    ::close(writer);
    return skips.size() == kPresses && holds.size() == kPresses ? 0 : 1;
}
