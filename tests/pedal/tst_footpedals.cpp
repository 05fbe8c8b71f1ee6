// The pedals as the program reads them: devices found in a sysfs tree of the test's own, and
// reports fed through a FIFO that stands in for /dev/hidrawN to the real reader.

#include "FakePlayer.h"
#include "JournalCompanions.h"
#include "RealWait.h"
#include "RecordingDialogs.h"
#include "TestFolder.h"
#include "core/AppState.h"
#include "pedal/FootPedals.h"

#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QTest>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Device name and uevent file.
using Devices = QList<QPair<QString, QByteArray>>;

const QByteArray kVec = "HID_ID=0003:000005F3:000000FF\nHID_NAME=VEC USB Footpedal\n";
const QByteArray kKeyboard = "HID_ID=0003:0000046D:0000C31C\nHID_NAME=Logitech USB Keyboard\n";

// A program folder, a sysfs tree and a device folder, and what the pedals drive.
struct Fixture {
    TestFolder folder;
    AppState state;
    RecordingDialogs dialogs;
    FakeMediaPlayer media;
    FakePlayer player{&media};
    QStringList journal;
    JournalBookmarks bookmarks{journal};
    JournalEditor editor{journal};
    std::unique_ptr<FootPedals> pedals;
    int writer = -1;

    Fixture()
    {
        state.programFolder = folder.path();
        QDir().mkpath(folder.filePath(QStringLiteral("dev")));
        folder.writeBytes(QStringLiteral("media/talk.wav"), "RIFF");
        media.setUrl(folder.filePath(QStringLiteral("media/talk.wav")));
        media.pause();
    }
    ~Fixture()
    {
        pedals.reset();
        unplug();
    }

    // A device under class/hidraw; `node` makes its device file a FIFO.
    void addDevice(const QString& name, const QByteArray& uevent, bool node = true) const
    {
        folder.writeBytes(QStringLiteral("sys/class/hidraw/%1/device/uevent").arg(name), uevent);
        if (node)
            mkfifo(QFile::encodeName(devicePath(name)).constData(), 0600);
    }
    QString devicePath(const QString& name) const
    {
        return folder.filePath(QStringLiteral("dev/") + name);
    }

    FootPedals& start()
    {
        pedals =
            std::make_unique<FootPedals>(state, dialogs, PedalTargets{&player, &bookmarks, &editor},
                                         PedalPlaces{folder.filePath(QStringLiteral("sys")),
                                                     folder.filePath(QStringLiteral("dev"))});
        pedals->start();
        return *pedals;
    }

    // The pedal's end of the FIFO, once the program reads the other.
    bool plugIn(const QString& name = QStringLiteral("hidraw0"))
    {
        writer = ::open(QFile::encodeName(devicePath(name)).constData(), O_WRONLY | O_NONBLOCK);
        return writer >= 0;
    }
    void unplug()
    {
        if (writer >= 0)
            ::close(writer);
        writer = -1;
    }
    bool send(char report) const { return ::write(writer, &report, 1) == 1; }
    // Sends one report and waits until the program has read it: the kernel hands over one report
    // per read, and a FIFO would join two written at once.
    bool feed(char report) const
    {
        PedalSet expected;
        for (Pedal pedal : {Pedal::Left, Pedal::Middle, Pedal::Right}) {
            if (report & (1 << int(pedal)))
                expected.add(pedal);
        }
        return send(report) &&
               QTest::qWaitFor([&] { return pedals->controller().down() == expected; });
    }

    bool playing() const { return media.playState() == MediaPlayer::State::Playing; }
};

} // namespace

Q_DECLARE_METATYPE(PedalStatus::Kind)

class TestFootPedals : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void theFirstKnownPedalIsFound_data();
    void theFirstKnownPedalIsFound();
    void aPedalNotAllowedIsToldSo();
    void reportsDriveThePlayer();
    void anUnpluggedPedalStopsWhatItHeld();
    void theOptionsChooseWhatEachPedalDoes();
};

void TestFootPedals::theFirstKnownPedalIsFound_data()
{
    QTest::addColumn<Devices>("devices");
    QTest::addColumn<PedalStatus::Kind>("kind");
    QTest::addColumn<QString>("opened");
    using K = PedalStatus::Kind;
    const QByteArray philips = "HID_ID=0003:00000911:0000091A\nHID_NAME=Philips ACC2330\n";

    QTest::newRow("no devices") << Devices{} << K::NotFound << "";
    QTest::newRow("only a keyboard") << Devices{{"hidraw0", kKeyboard}} << K::NotFound << "";
    QTest::newRow("pedal after a keyboard")
        << Devices{{"hidraw0", kKeyboard}, {"hidraw1", kVec}} << K::Connected << "hidraw1";
    QTest::newRow("kernel order, not the names'")
        << Devices{{"hidraw10", philips}, {"hidraw2", kVec}} << K::Connected << "hidraw2";
    QTest::newRow("unreadable uevent skipped")
        << Devices{{"hidraw0", "HID_NAME=broken\n"}, {"hidraw1", philips}} << K::Connected
        << "hidraw1";
    QTest::newRow("pedal maker, unknown product")
        << Devices{{"hidraw0", "HID_ID=0003:00000911:00000C1C\nHID_NAME=Philips device\n"}}
        << K::LayoutUnknown << "";
    QTest::newRow("calls itself a foot switch")
        << Devices{{"hidraw0", "HID_ID=0003:00001A86:0000E026\nHID_NAME=PCsensor FootSwitch\n"}}
        << K::LayoutUnknown << "";
    QTest::newRow("not a hidraw entry")
        << Devices{{"hidrawX", kVec}, {"event3", kVec}} << K::NotFound << "";
}

void TestFootPedals::theFirstKnownPedalIsFound()
{
    QFETCH(Devices, devices);
    QFETCH(PedalStatus::Kind, kind);
    QFETCH(QString, opened);
    Fixture f;
    for (const auto& [name, uevent] : devices)
        f.addDevice(name, uevent);
    FootPedals& pedals = f.start();
    QCOMPARE(pedals.status().kind, kind);
    QCOMPARE(pedals.reader().node(), opened.isEmpty() ? QString() : f.devicePath(opened));
    // Looks again every few seconds unless it has a pedal; never a question to the user.
    QCOMPARE(pedals.isScanning(), kind != PedalStatus::Kind::Connected);
    QVERIFY(f.dialogs.messages.isEmpty());
}

void TestFootPedals::aPedalNotAllowedIsToldSo()
{
    if (geteuid() == 0)
        QSKIP("root may open any device file");
    Fixture f;
    f.addDevice(QStringLiteral("hidraw0"), kVec, false);
    f.folder.writeBytes(QStringLiteral("dev/hidraw0"), "");
    QVERIFY(QFile::setPermissions(f.devicePath(QStringLiteral("hidraw0")), QFile::Permissions()));
    FootPedals& pedals = f.start();
    QCOMPARE(pedals.status().kind, PedalStatus::Kind::NotAllowed);
    QVERIFY(pedals.status().text(f.state.texts).contains(f.devicePath(QStringLiteral("hidraw0"))));

    // A device file gone between the listing and the opening.
    QVERIFY(QFile::remove(f.devicePath(QStringLiteral("hidraw0"))));
    pedals.scan();
    QCOMPARE(pedals.status().kind, PedalStatus::Kind::CannotOpen);
}

void TestFootPedals::reportsDriveThePlayer()
{
    Fixture f;
    f.addDevice(QStringLiteral("hidraw0"), kVec);
    FootPedals& pedals = f.start();
    QVERIFY(f.plugIn());
    PedalController& controller = pedals.controller();

    // Hold to play: plays while the middle pedal is down, pauses as it comes up.
    QVERIFY(f.send(0x02));
    QTRY_VERIFY_WITH_TIMEOUT(f.playing(), kRealWaitMs);
    QVERIFY(f.send(0x00));
    QTRY_VERIFY_WITH_TIMEOUT(!f.playing(), kRealWaitMs);
    QCOMPARE(f.player.calls, (QStringList{"play toggle", "play toggle"}));

    // A skip held down repeats, each tick of its timer, until the pedal comes up.
    QVERIFY(f.send(0x01));
    QTRY_COMPARE_WITH_TIMEOUT(f.player.commands, (QList<PlayerCommand>{PlayerCommand::SkipBack}),
                              kRealWaitMs);
    QVERIFY(controller.isRepeating(Pedal::Left));
    controller.repeat(Pedal::Left);
    controller.repeat(Pedal::Left);
    QCOMPARE(f.player.commands.size(), 3);
    // Right goes down too, left stays.
    QVERIFY(f.send(0x05));
    QTRY_COMPARE_WITH_TIMEOUT(f.player.commands.size(), 4, kRealWaitMs);
    QCOMPARE(f.player.commands.last(), PlayerCommand::SkipForward);
    QVERIFY(controller.isRepeating(Pedal::Right));
    QVERIFY(f.send(0x00));
    QTRY_VERIFY_WITH_TIMEOUT(!controller.isRepeating(Pedal::Left), kRealWaitMs);
    QVERIFY(!controller.isRepeating(Pedal::Right));
    controller.repeat(Pedal::Left);
    QCOMPARE(f.player.commands,
             (QList<PlayerCommand>{PlayerCommand::SkipBack, PlayerCommand::SkipBack,
                                   PlayerCommand::SkipBack, PlayerCommand::SkipForward}));
    QCOMPARE(f.player.calls.size(), 2);
}

void TestFootPedals::anUnpluggedPedalStopsWhatItHeld()
{
    Fixture f;
    f.addDevice(QStringLiteral("hidraw0"), kVec);
    FootPedals& pedals = f.start();
    pedals.showOptions(nullptr);
    auto* status = pedals.optionsDialog()->findChild<QLabel*>(QStringLiteral("pedalStatus"));
    QVERIFY(status->text().contains(f.devicePath(QStringLiteral("hidraw0"))));
    QVERIFY(f.plugIn());
    QVERIFY(f.send(0x03));
    QTRY_VERIFY_WITH_TIMEOUT(f.playing(), kRealWaitMs);
    QVERIFY(pedals.controller().isRepeating(Pedal::Left));

    f.unplug();
    QTRY_COMPARE_WITH_TIMEOUT(pedals.status().kind, PedalStatus::Kind::NotFound, kRealWaitMs);
    QVERIFY(!f.playing());
    QVERIFY(!pedals.controller().isRepeating(Pedal::Left));
    QVERIFY(!pedals.reader().isOpen());
    QVERIFY(pedals.isScanning());
    QCOMPARE(status->text(), PedalStatus().text(f.state.texts));
    QVERIFY(f.dialogs.messages.isEmpty());

    // Plugged in again: found on the next round.
    pedals.scan();
    QCOMPARE(pedals.status().kind, PedalStatus::Kind::Connected);
    QVERIFY(f.plugIn());
    QVERIFY(f.send(0x04));
    QTRY_COMPARE_WITH_TIMEOUT(f.player.commands.last(), PlayerCommand::SkipForward, kRealWaitMs);
}

void TestFootPedals::theOptionsChooseWhatEachPedalDoes()
{
    Fixture f;
    f.addDevice(QStringLiteral("hidraw0"), kVec);
    f.folder.write(QStringLiteral("Files/Pedals.ini"),
                   {QStringLiteral("Left=next-bookmark"), QStringLiteral("Middle=insert-timestamp"),
                    QStringLiteral("Right=faster")});
    FootPedals& pedals = f.start();
    QVERIFY(f.plugIn());
    for (char report : {0x01, 0x00, 0x02, 0x00, 0x04, 0x00})
        QVERIFY(f.feed(report));
    QCOMPARE(f.journal, (QStringList{"next bookmark", "timestamp inserted"}));
    QCOMPARE(f.player.commands, (QList<PlayerCommand>{PlayerCommand::SpeedUp}));
    QVERIFY(!pedals.controller().isRepeating(Pedal::Right));
    QVERIFY(f.player.calls.isEmpty());

    // The dialog shows them, and its OK keeps a change in the file.
    pedals.showOptions(nullptr);
    auto* right = pedals.optionsDialog()->findChild<QComboBox*>(QStringLiteral("rightPedalAction"));
    QCOMPARE(right->currentData().toInt(), int(PedalAction::Faster));
    right->setCurrentIndex(right->findData(int(PedalAction::Slower)));
    pedals.optionsDialog()->accept();
    QCOMPARE(pedals.options().action(Pedal::Right), PedalAction::Slower);
    QCOMPARE(PedalOptions::read(f.folder.filePath(QStringLiteral("Files/Pedals.ini"))),
             pedals.options());
    QCOMPARE(pedals.options().action(Pedal::Left), PedalAction::NextBookmark);
}

QTEST_MAIN(TestFootPedals)
#include "tst_footpedals.moc"
