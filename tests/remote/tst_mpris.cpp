#include "PlayerFixture.h"
#include "RealWait.h"
#include "core/PlayerEvents.h"
#include "remote/MprisService.h"

#include <QDBusArgument>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusObjectPath>
#include <QDBusVariant>
#include <QDir>
#include <QLabel>
#include <QTest>

namespace {

const QString kRoot = QStringLiteral("org.mpris.MediaPlayer2");
const QString kPlayer = QStringLiteral("org.mpris.MediaPlayer2.Player");
const QString kProperties = QStringLiteral("org.freedesktop.DBus.Properties");

// What the bus brings to a client of the player.
class Listener : public QObject {
    Q_OBJECT
public:
    QList<QVariantMap> changes;
    QList<qlonglong> seeks;

public Q_SLOTS:
    void propertiesChanged(const QString& interface, const QVariantMap& changed, const QStringList&)
    {
        if (interface == kPlayer)
            changes << changed;
    }
    void seeked(qlonglong position) { seeks << position; }
};

QVariantMap toMap(const QVariant& value)
{
    return value.canConvert<QDBusArgument>() ? qdbus_cast<QVariantMap>(value) : value.toMap();
}

// A player with a.wav playing at 20 s, offered on the bus, and a client of its own.
struct Fixture {
    PlayerFixture f;
    MprisService service{f.player->control()};
    QDBusConnection client = QDBusConnection::connectToBus(
        QDBusConnection::SessionBus, QStringLiteral("client%1").arg(++clients));
    QString mediaPath;
    Listener listener;
    static inline int clients = 0;

    Fixture()
    {
        mediaPath = f.open(QStringLiteral("a.wav"));
        f.media.advance(20);
        if (!service.registerOn(QDBusConnection::sessionBus()))
            qFatal("no session bus: run this test under dbus-run-session");
        const QString path = QLatin1String(MprisService::kObjectPath);
        client.connect(service.serviceName(), path, kProperties,
                       QStringLiteral("PropertiesChanged"), &listener,
                       SLOT(propertiesChanged(QString, QVariantMap, QStringList)));
        client.connect(service.serviceName(), path, kPlayer, QStringLiteral("Seeked"), &listener,
                       SLOT(seeked(qlonglong)));
    }
    ~Fixture() { QDBusConnection::disconnectFromBus(client.name()); }

    // The service runs on this thread: the call waits in an event loop.
    QDBusMessage call(const QString& interface, const QString& method,
                      const QVariantList& arguments = {})
    {
        QDBusMessage message = QDBusMessage::createMethodCall(
            service.serviceName(), QLatin1String(MprisService::kObjectPath), interface, method);
        message.setArguments(arguments);
        return client.call(message, QDBus::BlockWithGui);
    }
    QVariantMap all(const QString& interface)
    {
        const QDBusMessage reply = call(kProperties, QStringLiteral("GetAll"), {interface});
        return reply.arguments().isEmpty() ? QVariantMap() : toMap(reply.arguments().first());
    }
    QVariant get(const QString& name)
    {
        const QDBusMessage reply = call(kProperties, QStringLiteral("Get"), {kPlayer, name});
        return reply.arguments().isEmpty()
                   ? QVariant()
                   : reply.arguments().first().value<QDBusVariant>().variant();
    }
    QDBusMessage set(const QString& name, const QVariant& value)
    {
        return call(kProperties, QStringLiteral("Set"),
                    {kPlayer, name, QVariant::fromValue(QDBusVariant(value))});
    }
    QString trackId()
    {
        return toMap(get(QStringLiteral("Metadata")))["mpris:trackid"]
            .value<QDBusObjectPath>()
            .path();
    }
    // Lets the announcements of the last command go out and come back.
    void settle()
    {
        call(kProperties, QStringLiteral("Get"), {kPlayer, QStringLiteral("PlaybackStatus")});
        QTest::qWait(50);
    }
};

} // namespace

class TestMpris : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void readEveryProperty();
    void withoutMediaNothingCanPlay();
    void methods_data();
    void methods();
    void openUri_data();
    void openUri();
    void raiseAndQuit();
    void writableProperties_data();
    void writableProperties();
    void changesAreAnnounced();
    void loopStatusIsTheLoop();
};

void TestMpris::readEveryProperty()
{
    Fixture x;
    const QVariantMap root = x.all(kRoot);
    QCOMPARE(root.value("CanQuit"), QVariant(true));
    QCOMPARE(root.value("CanRaise"), QVariant(true));
    QCOMPARE(root.value("HasTrackList"), QVariant(false));
    QCOMPARE(root.value("Identity"), QVariant("Vocarta"));
    QCOMPARE(root.value("DesktopEntry"), QVariant("org.vocarta.vocarta"));
    QCOMPARE(root.value("SupportedUriSchemes").toStringList(), QStringList{"file"});
    QVERIFY(root.value("SupportedMimeTypes").toStringList().contains("audio/mpeg"));

    const QVariantMap player = x.all(kPlayer);
    QCOMPARE(player.value("PlaybackStatus"), QVariant("Playing"));
    QCOMPARE(player.value("Rate").toDouble(), 1.0);
    QCOMPARE(player.value("Volume").toDouble(), 0.5);
    QCOMPARE(player.value("Position").toLongLong(), 20'000'000LL);
    QCOMPARE(player.value("MinimumRate").toDouble(), 0.1);
    QCOMPARE(player.value("MaximumRate").toDouble(), 4.9);
    for (const char* can :
         {"CanGoNext", "CanGoPrevious", "CanPlay", "CanPause", "CanSeek", "CanControl"})
        QVERIFY2(player.value(can).toBool(), can);
    const QVariantMap metadata = toMap(player.value("Metadata"));
    QVERIFY(metadata["mpris:trackid"].value<QDBusObjectPath>().path().startsWith("/org/vocarta/"));
    QCOMPARE(metadata["mpris:length"].toLongLong(), 200'000'000LL);
    QCOMPARE(metadata["xesam:title"].toString(), QStringLiteral("a.wav"));
    QCOMPARE(QUrl(metadata["xesam:url"].toString()).toLocalFile(), x.mediaPath);
}

void TestMpris::withoutMediaNothingCanPlay()
{
    Fixture x;
    x.f.player->mediaSession()->close();
    const QVariantMap player = x.all(kPlayer);
    QCOMPARE(player.value("PlaybackStatus"), QVariant("Stopped"));
    for (const char* can : {"CanGoNext", "CanGoPrevious", "CanPlay", "CanPause", "CanSeek"})
        QVERIFY2(!player.value(can).toBool(), can);
    QCOMPARE(player.value("Position").toLongLong(), 0LL);
    const QVariantMap metadata = toMap(player.value("Metadata"));
    QCOMPARE(metadata.keys(), QStringList{"mpris:trackid"});
    QCOMPARE(metadata["mpris:trackid"].value<QDBusObjectPath>().path(),
             QStringLiteral("/org/mpris/MediaPlayer2/TrackList/NoTrack"));
    // Commands wait for a recording.
    x.call(kPlayer, QStringLiteral("PlayPause"));
    x.call(kPlayer, QStringLiteral("Next"));
    QCOMPARE(x.get("PlaybackStatus"), QVariant("Stopped"));
    QVERIFY(x.f.media.url().isEmpty());
}

void TestMpris::methods_data()
{
    QTest::addColumn<bool>("pausedFirst"); // at 17 s after the step back of 3 s
    QTest::addColumn<QString>("method");
    QTest::addColumn<QVariantList>("arguments"); // "track": the current track's id
    QTest::addColumn<QString>("status");
    QTest::addColumn<double>("position");

    QTest::newRow("PlayPause pauses with the step back")
        << false << "PlayPause" << QVariantList() << "Paused" << 17.0;
    QTest::newRow("PlayPause plays") << true << "PlayPause" << QVariantList() << "Playing" << 17.0;
    QTest::newRow("Play plays") << true << "Play" << QVariantList() << "Playing" << 17.0;
    QTest::newRow("Play while playing") << false << "Play" << QVariantList() << "Playing" << 20.0;
    QTest::newRow("Pause pauses") << false << "Pause" << QVariantList() << "Paused" << 17.0;
    QTest::newRow("Pause while paused steps back no further")
        << true << "Pause" << QVariantList() << "Paused" << 17.0;
    QTest::newRow("Stop") << false << "Stop" << QVariantList() << "Stopped" << 0.0;
    QTest::newRow("Next skips forward") << false << "Next" << QVariantList() << "Playing" << 26.0;
    QTest::newRow("Previous skips back")
        << true << "Previous" << QVariantList() << "Paused" << 11.0;
    QTest::newRow("Seek forward") << false << "Seek" << QVariantList{qlonglong(5'500'000)}
                                  << "Playing" << 25.5;
    QTest::newRow("Seek before the start")
        << true << "Seek" << QVariantList{qlonglong(-60'000'000)} << "Paused" << 0.0;
    QTest::newRow("SetPosition") << false << "SetPosition"
                                 << QVariantList{"track", qlonglong(42'000'000)} << "Playing"
                                 << 42.0;
    QTest::newRow("SetPosition for another track")
        << false << "SetPosition"
        << QVariantList{QVariant::fromValue(QDBusObjectPath("/org/vocarta/track/999")),
                        qlonglong(42'000'000)}
        << "Playing" << 20.0;
    QTest::newRow("SetPosition beyond the end")
        << false << "SetPosition" << QVariantList{"track", qlonglong(900'000'000)} << "Playing"
        << 20.0;
}

void TestMpris::methods()
{
    QFETCH(bool, pausedFirst);
    QFETCH(QString, method);
    QFETCH(QVariantList, arguments);
    QFETCH(QString, status);
    QFETCH(double, position);
    Fixture x;
    if (pausedFirst)
        x.f.player->control()->togglePlayPause();
    for (QVariant& argument : arguments) {
        if (argument == QVariant("track"))
            argument = QVariant::fromValue(QDBusObjectPath(x.trackId()));
    }
    const QDBusMessage reply = x.call(kPlayer, method, arguments);
    QCOMPARE(reply.type(), QDBusMessage::ReplyMessage);
    QCOMPARE(x.get("PlaybackStatus").toString(), status);
    QCOMPARE(x.f.media.currentPosition(), position);
    QCOMPARE(x.get("Position").toLongLong(), qlonglong(position * 1e6));
}

void TestMpris::openUri_data()
{
    QTest::addColumn<QString>("uri"); // "b": a file URL of b.wav
    QTest::addColumn<bool>("opened");
    QTest::newRow("file") << "b" << true;
    QTest::newRow("missing file") << "file:///nonexistent/c.wav" << false;
    QTest::newRow("web address") << "https://example.org/c.wav" << false;
    QTest::newRow("relative file") << "file:relative" << false; // to b.wav from the current folder
}

void TestMpris::openUri()
{
    QFETCH(QString, uri);
    QFETCH(bool, opened);
    Fixture x;
    const QString b = x.f.mediaFile(QStringLiteral("b.wav"));
    if (uri == QLatin1String("b"))
        uri = QUrl::fromLocalFile(b).toString();
    uri.replace(QLatin1String("relative"), QDir().relativeFilePath(b));
    const QDBusMessage reply = x.call(kPlayer, QStringLiteral("OpenUri"), {uri});
    QCOMPARE(reply.type(), opened ? QDBusMessage::ReplyMessage : QDBusMessage::ErrorMessage);
    x.settle();
    // Opened as the open command does: the recent list has it first.
    QCOMPARE(x.f.media.url(), opened ? b : x.mediaPath);
    QCOMPARE(x.f.player->mediaSession()->recent().caption(0), opened ? b : x.mediaPath);
    QVERIFY(x.f.dialogs.messages.isEmpty());
}

void TestMpris::raiseAndQuit()
{
    Fixture x;
    x.f.player->showMinimized();
    QCOMPARE(x.call(kRoot, QStringLiteral("Raise")).type(), QDBusMessage::ReplyMessage);
    QVERIFY(!x.f.player->isMinimized());
    QVERIFY(x.f.player->isVisible());
    QCOMPARE(x.call(kRoot, QStringLiteral("Quit")).type(), QDBusMessage::ReplyMessage);
    // Through the closing sequence: the transcript is asked about.
    QTRY_VERIFY_WITH_TIMEOUT(x.f.journal.contains(QStringLiteral("program ended")), kRealWaitMs);
    QVERIFY(x.f.journal.contains(QStringLiteral("editor question")));
}

void TestMpris::writableProperties_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<double>("value");
    QTest::addColumn<double>("rate");
    QTest::addColumn<int>("volume");
    QTest::addColumn<QString>("status");
    QTest::newRow("rate by speed steps") << "Rate" << 1.3 << 1.3 << 50 << "Playing";
    QTest::newRow("rate down") << "Rate" << 0.44 << 0.4 << 50 << "Playing";
    QTest::newRow("rate above the fastest") << "Rate" << 9.0 << 4.9 << 50 << "Playing";
    QTest::newRow("rate 0 pauses") << "Rate" << 0.0 << 1.0 << 50 << "Paused";
    QTest::newRow("volume") << "Volume" << 0.25 << 1.0 << 25 << "Playing";
    QTest::newRow("volume above full") << "Volume" << 1.7 << 1.0 << 100 << "Playing";
    QTest::newRow("volume below silence") << "Volume" << -0.5 << 1.0 << 0 << "Playing";
}

void TestMpris::writableProperties()
{
    QFETCH(QString, name);
    QFETCH(double, value);
    QFETCH(double, rate);
    QFETCH(int, volume);
    QFETCH(QString, status);
    Fixture x;
    QCOMPARE(x.set(name, value).type(), QDBusMessage::ReplyMessage);
    QCOMPARE(x.f.media.rate(), rate);
    QCOMPARE(x.f.media.volume(), volume);
    QCOMPARE(x.get("PlaybackStatus").toString(), status);
    // The player's face shows the volume as its slider does.
    QCOMPARE(x.f.player->findChild<QLabel*>("volumeLabel")->text(),
             QString::number(volume) + QLatin1Char('%'));
}

void TestMpris::changesAreAnnounced()
{
    Fixture x;
    x.call(kPlayer, QStringLiteral("Pause"));
    QTRY_COMPARE_WITH_TIMEOUT(x.listener.changes.size(), 1, kRealWaitMs);
    QCOMPARE(x.listener.changes.takeFirst(), (QVariantMap{{"PlaybackStatus", "Paused"}}));
    QTRY_COMPARE_WITH_TIMEOUT(x.listener.seeks, QList<qlonglong>{17'000'000}, kRealWaitMs);
    x.listener.seeks.clear();

    // The player's own key is heard as well.
    x.f.player->control()->togglePlayPause();
    QTRY_COMPARE_WITH_TIMEOUT(x.listener.changes.size(), 1, kRealWaitMs);
    QCOMPARE(x.listener.changes.takeFirst(), (QVariantMap{{"PlaybackStatus", "Playing"}}));

    // A seek moves the position: Seeked tells it, PropertiesChanged does not carry it.
    x.call(kPlayer, QStringLiteral("Seek"), {qlonglong(30'000'000)});
    QTRY_COMPARE_WITH_TIMEOUT(x.listener.seeks, QList<qlonglong>{47'000'000}, kRealWaitMs);
    x.settle();
    QVERIFY(x.listener.changes.isEmpty());

    x.f.open(QStringLiteral("b.wav"));
    QTRY_COMPARE_WITH_TIMEOUT(x.listener.changes.size(), 1, kRealWaitMs);
    const QVariantMap metadata = toMap(x.listener.changes.first().value("Metadata"));
    QCOMPARE(metadata["xesam:title"].toString(), QStringLiteral("b.wav"));
}

void TestMpris::loopStatusIsTheLoop()
{
    Fixture x;
    QCOMPARE(x.get("LoopStatus").toString(), QStringLiteral("None"));
    QCOMPARE(x.set("LoopStatus", "Track").type(), QDBusMessage::ReplyMessage);
    QTRY_COMPARE_WITH_TIMEOUT(x.listener.changes.size(), 1, kRealWaitMs);
    QCOMPARE(x.listener.changes.takeFirst(), (QVariantMap{{"LoopStatus", "Track"}}));
    QCOMPARE(x.f.player->control()->loopSpan(), std::optional(TimeSpan{15, 20}));
    x.set("LoopStatus", "Sideways");
    QVERIFY(x.f.player->control()->loopSpan());
    QCOMPARE(x.set("LoopStatus", "None").type(), QDBusMessage::ReplyMessage);
    QCOMPARE(x.get("LoopStatus").toString(), QStringLiteral("None"));
    QCOMPARE(x.f.media.currentPosition(), 20.0);
}

QTEST_MAIN(TestMpris)
#include "tst_mpris.moc"
