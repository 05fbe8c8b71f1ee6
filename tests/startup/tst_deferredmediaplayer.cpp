#include "FakeMediaPlayer.h"
#include "RecordingDesktop.h"
#include "RecordingDialogs.h"
#include "TestFolder.h"
#include "app/Startup.h"
#include "core/AppState.h"
#include "core/ProgramFolder.h"
#include "platform/Platform.h"
#include "player/PlayerWindow.h"
#include "startup/DeferredMediaPlayer.h"

#include <QPointer>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QString Reason = QStringLiteral("libmpv.so.2: cannot open shared object file");

} // namespace

class TestDeferredMediaPlayer : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void keptCommandsReachTheEngineInOrder_data();
    void keptCommandsReachTheEngineInOrder();
    void readsBeforeTheEngine_data();
    void readsBeforeTheEngine();
    void callsGoStraightToAnAttachedEngine();
    void engineThatNeverComes_data();
    void engineThatNeverComes();
    void commandLineFileOfAStartedProgram_data();
    void commandLineFileOfAStartedProgram();

private:
    // Commands are written as FakeMediaPlayer writes its calls ("url a.wav", "seek 2.5", ...),
    // with file names standing for files in the test's folder.
    QString pathOf(const QString& name) const
    {
        return name.isEmpty() ? name : m_dir.filePath(name);
    }
    QStringList withPaths(const QStringList& commands) const;
    void give(MediaPlayer& player, const QStringList& commands) const;

    QTemporaryDir m_dir;
};

void TestDeferredMediaPlayer::initTestCase()
{
    QVERIFY(m_dir.isValid());
    for (const char* name : {"a.wav", "b.wav"}) {
        QFile file(pathOf(QString::fromLatin1(name)));
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write("RIFF") == 4);
    }
}

QStringList TestDeferredMediaPlayer::withPaths(const QStringList& commands) const
{
    QStringList result;
    for (const QString& command : commands) {
        result << (command.startsWith(QStringLiteral("url "))
                       ? QStringLiteral("url ") + pathOf(command.mid(4))
                       : command);
    }
    return result;
}

void TestDeferredMediaPlayer::give(MediaPlayer& player, const QStringList& commands) const
{
    for (const QString& command : commands) {
        const QString verb = command.section(QLatin1Char(' '), 0, 0);
        const QString argument = command.section(QLatin1Char(' '), 1);
        if (verb == QStringLiteral("url"))
            player.setUrl(pathOf(argument));
        else if (verb == QStringLiteral("close"))
            player.close();
        else if (verb == QStringLiteral("play"))
            player.play();
        else if (verb == QStringLiteral("pause"))
            player.pause();
        else if (verb == QStringLiteral("stop"))
            player.stop();
        else if (verb == QStringLiteral("seek"))
            player.setCurrentPosition(argument.toDouble());
        else if (verb == QStringLiteral("rate"))
            player.setRate(argument.toDouble());
        else if (verb == QStringLiteral("volume"))
            player.setVolume(argument.toInt());
        else
            qFatal("unknown command %s", qPrintable(command));
    }
}

void TestDeferredMediaPlayer::keptCommandsReachTheEngineInOrder_data()
{
    QTest::addColumn<QStringList>("commands");
    QTest::addColumn<QString>("file");
    QTest::addColumn<MediaPlayer::State>("state");
    QTest::addColumn<double>("position");
    QTest::addColumn<int>("errors");
    using State = MediaPlayer::State;
    // As the player opens the command line's file and then applies the stored volume.
    QTest::newRow("command line's file")
        << QStringList{"url a.wav", "seek 0", "pause", "play", "volume 35"} << "a.wav"
        << State::Playing << 0.0 << 0;
    QTest::newRow("speed and volume before the file")
        << QStringList{"rate 1.5", "volume 30", "url a.wav", "seek 12.5", "pause"} << "a.wav"
        << State::Paused << 12.5 << 0;
    QTest::newRow("a second file replaces the first")
        << QStringList{"url a.wav", "play", "url b.wav", "seek 20", "pause"} << "b.wav"
        << State::Paused << 20.0 << 0;
    QTest::newRow("stopped") << QStringList{"url a.wav", "seek 40", "play", "stop"} << "a.wav"
                             << State::Stopped << 0.0 << 0;
    QTest::newRow("closed again") << QStringList{"url a.wav", "play", "url ", "close"} << ""
                                  << State::Undefined << 0.0 << 0;
    QTest::newRow("a missing file, then a good one")
        << QStringList{"url missing.wav", "url a.wav", "play"} << "a.wav" << State::Playing << 0.0
        << 1;
}

void TestDeferredMediaPlayer::keptCommandsReachTheEngineInOrder()
{
    QFETCH(QStringList, commands);
    QFETCH(QString, file);
    QFETCH(MediaPlayer::State, state);
    QFETCH(double, position);
    QFETCH(int, errors);
    DeferredMediaPlayer player;
    QSignalSpy mediaErrors(&player, &MediaPlayer::mediaError);
    QSignalSpy attached(&player, &DeferredMediaPlayer::engineAttached);
    give(player, commands);
    QCOMPARE(mediaErrors.count(), 0);

    auto owned = std::make_unique<FakeMediaPlayer>();
    FakeMediaPlayer* engine = owned.get();
    player.attach(std::move(owned));

    QCOMPARE(engine->calls, withPaths(commands));
    QCOMPARE(attached.count(), 1);
    QCOMPARE(mediaErrors.count(), errors);
    QCOMPARE(player.engine(), engine);
    QVERIFY(!player.isWaiting());
    QCOMPARE(player.url(), pathOf(file));
    QCOMPARE(player.playState(), state);
    QCOMPARE(player.currentPosition(), position);
    QCOMPARE(player.rate(), engine->rate());
    QCOMPARE(player.volume(), engine->volume());
}

void TestDeferredMediaPlayer::readsBeforeTheEngine_data()
{
    QTest::addColumn<QStringList>("commands");
    QTest::addColumn<QString>("file");
    QTest::addColumn<MediaPlayer::State>("state");
    QTest::addColumn<double>("position");
    QTest::addColumn<QString>("positionText");
    QTest::addColumn<double>("rate");
    QTest::addColumn<int>("volume");
    using State = MediaPlayer::State;
    QTest::newRow("nothing yet") << QStringList{} << "" << State::Undefined << 0.0 << "" << 1.0
                                 << 50;
    QTest::newRow("a file waits") << QStringList{"url a.wav", "play"} << "a.wav" << State::Busy
                                  << 0.0 << "00:00" << 1.0 << 50;
    QTest::newRow("a position asked for") << QStringList{"url a.wav", "seek 75.5"} << "a.wav"
                                          << State::Busy << 75.5 << "01:15" << 1.0 << 50;
    QTest::newRow("before the start") << QStringList{"url a.wav", "seek -3"} << "a.wav"
                                      << State::Busy << 0.0 << "00:00" << 1.0 << 50;
    QTest::newRow("stopped") << QStringList{"url a.wav", "seek 75.5", "stop"} << "a.wav"
                             << State::Busy << 0.0 << "00:00" << 1.0 << 50;
    QTest::newRow("a new file starts at 0")
        << QStringList{"url a.wav", "seek 30", "url b.wav"} << "b.wav" << State::Busy << 0.0
        << "00:00" << 1.0 << 50;
    QTest::newRow("closed") << QStringList{"url a.wav", "seek 30", "close"} << ""
                            << State::Undefined << 0.0 << "" << 1.0 << 50;
    QTest::newRow("unloaded") << QStringList{"url a.wav", "url "} << "" << State::Undefined << 0.0
                              << "" << 1.0 << 50;
    QTest::newRow("speed and volume") << QStringList{"rate 2.5", "volume 130"} << ""
                                      << State::Undefined << 0.0 << "" << 2.5 << 100;
    QTest::newRow("refused speeds, volume below 0")
        << QStringList{"rate 1.5", "rate 0", "rate -1", "volume -4"} << "" << State::Undefined
        << 0.0 << "" << 1.5 << 0;
}

void TestDeferredMediaPlayer::readsBeforeTheEngine()
{
    QFETCH(QStringList, commands);
    QFETCH(QString, file);
    QFETCH(MediaPlayer::State, state);
    QFETCH(double, position);
    QFETCH(QString, positionText);
    QFETCH(double, rate);
    QFETCH(int, volume);
    DeferredMediaPlayer player;
    give(player, commands);

    QCOMPARE(player.url(), pathOf(file));
    QCOMPARE(player.playState(), state);
    QCOMPARE(player.currentPosition(), position);
    QCOMPARE(player.currentPositionString(), positionText);
    QCOMPARE(player.duration(), 0.0);
    QCOMPARE(player.durationString(), QString());
    QCOMPARE(player.rate(), rate);
    QCOMPARE(player.volume(), volume);
    QVERIFY(player.isWaiting());
    QVERIFY(player.isEngineAvailable());
    QCOMPARE(player.engineUnavailableReason(), QString());
    QCOMPARE(player.engine(), nullptr);
}

void TestDeferredMediaPlayer::callsGoStraightToAnAttachedEngine()
{
    DeferredMediaPlayer player;
    QSignalSpy mediaErrors(&player, &MediaPlayer::mediaError);
    auto owned = std::make_unique<FakeMediaPlayer>();
    FakeMediaPlayer* engine = owned.get();
    engine->durationKnownAtLoad = false;
    player.attach(std::move(owned));
    QCOMPARE(engine->calls, QStringList());

    give(player, {"url a.wav", "rate 2"});
    QCOMPARE(engine->calls, withPaths({"url a.wav", "rate 2"}));
    QCOMPARE(player.durationString(), QString());
    engine->revealDuration();
    engine->advance(3);
    QCOMPARE(player.currentPosition(), 6.0);
    QCOMPARE(player.currentPositionString(), QStringLiteral("00:06"));
    QCOMPARE(player.duration(), engine->loadedDuration);
    QCOMPARE(player.durationString(), QStringLiteral("03:20"));
    QCOMPARE(player.playState(), MediaPlayer::State::Playing);

    give(player, {"url missing.wav"});
    QCOMPARE(mediaErrors.count(), 1);
    QCOMPARE(mediaErrors.first().first().toString(),
             QStringLiteral("cannot open ") + pathOf("missing.wav"));

    // A second engine is refused and not kept.
    auto second = std::make_unique<FakeMediaPlayer>();
    QPointer<FakeMediaPlayer> secondEngine = second.get();
    player.attach(std::move(second));
    QVERIFY(secondEngine.isNull());
    QCOMPARE(player.engine(), engine);
}

void TestDeferredMediaPlayer::engineThatNeverComes_data()
{
    QTest::addColumn<QStringList>("commands");
    QTest::addColumn<QStringList>("refused"); // the files that get mediaError when it fails
    QTest::newRow("the command line's file waits")
        << QStringList{"volume 35", "url a.wav", "seek 0", "pause", "play"} << QStringList{"a.wav"};
    QTest::newRow("no file") << QStringList{"volume 35"} << QStringList{};
    QTest::newRow("a file closed before") << QStringList{"url a.wav", "close"} << QStringList{};
}

void TestDeferredMediaPlayer::engineThatNeverComes()
{
    QFETCH(QStringList, commands);
    QFETCH(QStringList, refused);
    DeferredMediaPlayer player;
    // What each signal's handler saw, in the order they came.
    QStringList heard;
    const auto available = [&player] {
        return player.isEngineAvailable() ? QStringLiteral("yes") : QStringLiteral("no");
    };
    connect(&player, &MediaPlayer::mediaError, this, [&](const QString& message) {
        heard << QStringLiteral("error %1 (available %2)").arg(message, available());
    });
    connect(&player, &MediaPlayer::engineUnavailable, this, [&](const QString& reason) {
        heard << QStringLiteral("unavailable %1 (available %2)").arg(reason, available());
    });
    give(player, commands);

    player.fail(Reason);
    QStringList expected;
    for (const QString& file : refused)
        expected << QStringLiteral("error Cannot play %1: %2 (available no)").arg(file, Reason);
    expected << QStringLiteral("unavailable %1 (available no)").arg(Reason);
    QCOMPARE(heard, expected);
    QVERIFY(!player.isWaiting());
    QVERIFY(!player.isEngineAvailable());
    QCOMPARE(player.engineUnavailableReason(), Reason);
    QCOMPARE(player.url(), QString());
    QCOMPARE(player.playState(), MediaPlayer::State::Undefined);

    // Every later file is refused at once; the rest does nothing, and the knob's volume holds.
    heard.clear();
    give(player, {"url b.wav", "seek 10", "play", "pause", "stop", "rate 2", "volume 70", "close"});
    QCOMPARE(heard,
             QStringList{QStringLiteral("error Cannot play b.wav: %1 (available no)").arg(Reason)});
    QCOMPARE(player.url(), QString());
    QCOMPARE(player.playState(), MediaPlayer::State::Undefined);
    QCOMPARE(player.currentPosition(), 0.0);
    QCOMPARE(player.currentPositionString(), QString());
    QCOMPARE(player.volume(), 70);

    // The engine is missing for good: a later failure or engine changes nothing.
    heard.clear();
    player.fail(QStringLiteral("another reason"));
    auto late = std::make_unique<FakeMediaPlayer>();
    QPointer<FakeMediaPlayer> lateEngine = late.get();
    player.attach(std::move(late));
    QVERIFY(lateEngine.isNull());
    QCOMPARE(player.engine(), nullptr);
    QCOMPARE(heard, QStringList());
    QCOMPARE(player.engineUnavailableReason(), Reason);
}

void TestDeferredMediaPlayer::commandLineFileOfAStartedProgram_data()
{
    QTest::addColumn<bool>("engineComes");
    QTest::newRow("the engine comes") << true;
    QTest::newRow("the engine never comes") << false;
}

void TestDeferredMediaPlayer::commandLineFileOfAStartedProgram()
{
    QFETCH(bool, engineComes);
    TestFolder folder;
    QVERIFY(ProgramFolder::fillMissing(QStringLiteral(VOCARTA_SOURCE_DATA_DIR), folder.path()));
    AppState state;
    state.programFolder = folder.path();
    RecordingDialogs dialogs;
    RecordingDesktop desktop;
    DeferredMediaPlayer media;
    QSignalSpy mediaErrors(&media, &MediaPlayer::mediaError);
    const QString file = pathOf("a.wav");

    const Startup::Session session = Startup::start(state, Platform{&media, &dialogs, &desktop},
                                                    file, QLocale(QLocale::English));
    QVERIFY(session.player);
    QVERIFY(session.player->isVisible());
    QCOMPARE(media.url(), file);
    QCOMPARE(media.playState(), MediaPlayer::State::Busy);

    if (engineComes) {
        auto owned = std::make_unique<FakeMediaPlayer>();
        FakeMediaPlayer* engine = owned.get();
        media.attach(std::move(owned));
        QVERIFY2(engine->calls.contains(QStringLiteral("url ") + file),
                 qPrintable(engine->calls.join(QStringLiteral(", "))));
        QCOMPARE(engine->url(), file);
        QCOMPARE(engine->playState(), MediaPlayer::State::Playing);
        QCOMPARE(mediaErrors.count(), 0);
    } else {
        media.fail(Reason);
        QCOMPARE(mediaErrors.count(), 1);
        QVERIFY(mediaErrors.first().first().toString().contains(QStringLiteral("a.wav")));
        // The window goes on: another file is refused the same way, transport does nothing.
        session.player->control()->openMedia(pathOf("b.wav"));
        session.player->control()->togglePlayPause();
        session.player->control()->skipForward();
        session.player->control()->stop();
        QCOMPARE(mediaErrors.count(), 2);
        QVERIFY(session.player->isVisible());
        QCOMPARE(media.playState(), MediaPlayer::State::Undefined);
        // Each refused file is told in a box of its own, with its name.
        QCOMPARE(dialogs.messages.size(), 2);
        QVERIFY(dialogs.messages.at(0).text.contains(QStringLiteral("a.wav")));
        QVERIFY(dialogs.messages.at(1).text.contains(QStringLiteral("b.wav")));
        return;
    }
    QCOMPARE(dialogs.messages.size(), 0);
}

QTEST_MAIN(TestDeferredMediaPlayer)
#include "tst_deferredmediaplayer.moc"
