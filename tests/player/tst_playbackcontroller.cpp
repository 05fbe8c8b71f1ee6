#include "FakeMediaPlayer.h"
#include "TestFolder.h"
#include "player/PlaybackController.h"

#include <QSignalSpy>
#include <QTest>

Q_DECLARE_METATYPE(PlayState)

namespace {

// The controller on the fake engine, with a loaded file and no window at all.
struct Transport {
    TestFolder folder;
    FakeMediaPlayer media;
    PlaybackController playback{&media};
    QSignalSpy states{&playback, &PlaybackController::stateChanged};
    QSignalSpy commands{&playback, &PlaybackController::commandDone};

    explicit Transport(bool load = true)
    {
        playback.setOptions({.skipSeconds = 5, .backSeconds = 3});
        if (!load)
            return;
        folder.writeBytes(QStringLiteral("talk.wav"), "RIFF");
        playback.load(folder.filePath(QStringLiteral("talk.wav")));
        media.calls.clear();
        states.clear();
        commands.clear();
    }

    PlayState lastState() const { return states.last().at(0).value<PlayState>(); }
};

} // namespace

class TestPlaybackController : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void loadPlaysFromTheStart();
    void toggleSteps_data();
    void toggleSteps();
    void nothingLoadedDoesNothing();
    void skipsUseTheSetLengthOrTwo_data();
    void skipsUseTheSetLengthOrTwo();
    void goToAndPlayFromPauseAsAPauseDoes_data();
    void goToAndPlayFromPauseAsAPauseDoes();
    void theWatchStopsAtTheEndAndReportsBusy();
    void closeUnloadsAndStops();
    void rateStepsStayInTenths_data();
    void rateStepsStayInTenths();
    void smartPlayFollowsItsSwitch();
    void aMoveAfterThePauseEndsWhereItStopped_data();
    void aMoveAfterThePauseEndsWhereItStopped();
    void seekStaysInTheRecordingAndKeepsThePlayState_data();
    void seekStaysInTheRecordingAndKeepsThePlayState();
};

void TestPlaybackController::loadPlaysFromTheStart()
{
    Transport t;
    QCOMPARE(t.playback.state(), PlayState::Playing);
    QCOMPARE(t.media.playState(), MediaPlayer::State::Playing);
    QVERIFY(t.playback.findChild<QTimer*>(QStringLiteral("refreshTimer"))->isActive());

    // A second file starts playing too, whatever the first was doing.
    t.folder.writeBytes(QStringLiteral("next.wav"), "RIFF");
    t.playback.load(t.folder.filePath(QStringLiteral("next.wav")));
    QCOMPARE(t.media.calls.first(), QStringLiteral("url ") + t.folder.filePath("next.wav"));
    QCOMPARE(t.media.calls.mid(1), (QStringList{"seek 0", "pause", "play"}));
    QCOMPARE(t.lastState(), PlayState::Playing);
}

void TestPlaybackController::toggleSteps_data()
{
    QTest::addColumn<double>("playedTo");
    QTest::addColumn<int>("backSeconds");
    QTest::addColumn<double>("pausedAt");
    QTest::newRow("steps back") << 10.0 << 3 << 7.0;
    QTest::newRow("no step back set") << 10.0 << 0 << 10.0;
}

void TestPlaybackController::toggleSteps()
{
    QFETCH(double, playedTo);
    QFETCH(int, backSeconds);
    QFETCH(double, pausedAt);
    Transport t;
    t.playback.setOptions({.skipSeconds = 5, .backSeconds = backSeconds});
    t.media.advance(playedTo);

    t.playback.togglePlayPause();
    QCOMPARE(t.playback.state(), PlayState::Paused);
    QCOMPARE(t.media.currentPosition(), pausedAt);
    QCOMPARE(t.media.playState(), MediaPlayer::State::Paused);
    QCOMPARE(t.lastState(), PlayState::Paused);
    QCOMPARE(t.commands.size(), 1);
    QCOMPARE(t.playback.stoppedPosition(), playedTo);

    // Resuming plays from where the pause left it, without another step.
    t.media.calls.clear();
    t.playback.togglePlayPause();
    QCOMPARE(t.playback.state(), PlayState::Playing);
    QCOMPARE(t.media.currentPosition(), pausedAt);
    QCOMPARE(t.media.calls.last(), QStringLiteral("play"));
    QCOMPARE(t.commands.size(), 2);
}

void TestPlaybackController::nothingLoadedDoesNothing()
{
    Transport t(false);
    t.playback.togglePlayPause();
    t.playback.playFrom(30);
    QCOMPARE(t.playback.state(), PlayState::Stopped);
    QVERIFY(t.states.isEmpty());
    QVERIFY(t.commands.isEmpty());
    QVERIFY(!t.media.calls.contains(QStringLiteral("play")));
}

void TestPlaybackController::skipsUseTheSetLengthOrTwo_data()
{
    QTest::addColumn<int>("jump");
    QTest::addColumn<bool>("forward");
    QTest::addColumn<double>("landing");
    QTest::addColumn<int>("jumpAfter");
    QTest::newRow("forward") << 5 << true << 25.0 << 5;
    QTest::newRow("back") << 5 << false << 15.0 << 5;
    QTest::newRow("unset forward") << 0 << true << 22.0 << 2;
    QTest::newRow("unset back") << 0 << false << 18.0 << 2;
}

void TestPlaybackController::skipsUseTheSetLengthOrTwo()
{
    QFETCH(int, jump);
    QFETCH(bool, forward);
    QFETCH(double, landing);
    QFETCH(int, jumpAfter);
    Transport t;
    t.media.advance(20);
    t.playback.setOptions({.skipSeconds = jump, .backSeconds = 3});
    QSignalSpy display(&t.playback, &PlaybackController::displayDue);

    forward ? t.playback.skipForward() : t.playback.skipBack();

    QCOMPARE(t.media.currentPosition(), landing);
    QCOMPARE(t.playback.options().skipSeconds, jumpAfter);
    QCOMPARE(t.playback.state(), PlayState::Playing);
    QCOMPARE(display.size(), 1);
    QCOMPARE(t.commands.size(), 1);
}

void TestPlaybackController::goToAndPlayFromPauseAsAPauseDoes_data()
{
    QTest::addColumn<bool>("playing");
    QTest::addColumn<bool>("click");
    QTest::addColumn<double>("landing");
    QTest::addColumn<PlayState>("after");
    QTest::newRow("go to while playing") << true << false << 90.0 << PlayState::Playing;
    QTest::newRow("go to while paused") << false << false << 87.0 << PlayState::Paused;
    QTest::newRow("click while playing") << true << true << 90.0 << PlayState::Playing;
    QTest::newRow("click while paused") << false << true << 87.0 << PlayState::Paused;
}

void TestPlaybackController::goToAndPlayFromPauseAsAPauseDoes()
{
    QFETCH(bool, playing);
    QFETCH(bool, click);
    QFETCH(double, landing);
    QFETCH(PlayState, after);
    Transport t;
    t.media.advance(10);
    if (!playing)
        t.playback.togglePlayPause();

    click ? t.playback.playFrom(90) : t.playback.goTo(90);

    QCOMPARE(t.media.currentPosition(), landing);
    QCOMPARE(t.playback.state(), after);
    QCOMPARE(t.media.playState(), after == PlayState::Playing ? MediaPlayer::State::Playing
                                                              : MediaPlayer::State::Paused);
}

void TestPlaybackController::theWatchStopsAtTheEndAndReportsBusy()
{
    Transport t;
    QSignalSpy busy(&t.playback, &PlaybackController::busyChanged);
    auto* watch = t.playback.findChild<QTimer*>(QStringLiteral("watchTimer"));
    QVERIFY(watch->isActive());

    // Loading left the engine busy until the first look at it.
    t.playback.watchPlaybackState();
    QCOMPARE(busy.size(), 1);
    QCOMPARE(busy.last().at(0).toBool(), false);
    t.playback.watchPlaybackState();
    QCOMPARE(busy.size(), 1);

    t.media.advance(500);
    t.playback.watchPlaybackState();
    QCOMPARE(t.playback.state(), PlayState::Stopped);
    QCOMPARE(t.lastState(), PlayState::Stopped);
    QCOMPARE(t.media.currentPosition(), 0.0);
    QVERIFY(!watch->isActive());
    QVERIFY(!t.playback.findChild<QTimer*>(QStringLiteral("refreshTimer"))->isActive());

    // Playing again watches again.
    t.playback.togglePlayPause();
    QVERIFY(watch->isActive());
}

void TestPlaybackController::closeUnloadsAndStops()
{
    Transport t;
    t.playback.setSmartPlay(true);
    t.playback.togglePlayPause();
    t.playback.togglePlayPause();
    QVERIFY(t.playback.findChild<QTimer*>(QStringLiteral("smartPlayTimer"))->isActive());

    t.playback.close();
    QVERIFY(!t.playback.hasMedia());
    QCOMPARE(t.lastState(), PlayState::Stopped);
    QVERIFY(!t.playback.findChild<QTimer*>(QStringLiteral("smartPlayTimer"))->isActive());
    QVERIFY(!t.playback.findChild<QTimer*>(QStringLiteral("refreshTimer"))->isActive());
    QCOMPARE(t.media.calls.mid(t.media.calls.size() - 2), (QStringList{"url ", "close"}));
}

void TestPlaybackController::rateStepsStayInTenths_data()
{
    QTest::addColumn<double>("step");
    QTest::addColumn<int>("presses");
    QTest::addColumn<double>("rate");
    QTest::newRow("down to the slowest") << -0.1 << 30 << 0.1;
    QTest::newRow("up to the fastest") << 0.1 << 60 << 4.9;
    QTest::newRow("three up") << 0.1 << 3 << 1.3;
}

void TestPlaybackController::rateStepsStayInTenths()
{
    QFETCH(double, step);
    QFETCH(int, presses);
    QFETCH(double, rate);
    Transport t;
    double shown = 0;
    for (int i = 0; i < presses; ++i)
        shown = t.playback.stepRate(step);
    QCOMPARE(shown, rate);
    QCOMPARE(t.media.rate(), rate);

    FakeMediaPlayer* none = nullptr;
    PlaybackController withoutEngine(none);
    QCOMPARE(withoutEngine.stepRate(step), 1.0);
}

void TestPlaybackController::smartPlayFollowsItsSwitch()
{
    Transport t;
    auto* cycle = t.playback.findChild<QTimer*>(QStringLiteral("smartPlayTimer"));
    t.playback.setOptions({.skipSeconds = 5, .backSeconds = 3, .playTime = 4});
    t.playback.setSmartPlay(true);
    t.playback.togglePlayPause();
    t.playback.togglePlayPause();
    QCOMPARE(cycle->interval(), 4000);
    QVERIFY(cycle->isActive());

    t.playback.setSmartPlay(false);
    QVERIFY(!cycle->isActive());
    QVERIFY(t.playback.isPlaying());
}

void TestPlaybackController::aMoveAfterThePauseEndsWhereItStopped_data()
{
    QTest::addColumn<QString>("move");
    QTest::addColumn<double>("stoppedAt");
    QTest::newRow("none") << "" << 10.0;
    QTest::newRow("skip") << "skip" << 12.0;
    QTest::newRow("seek behind the transport's back") << "seek" << 4.0;
    QTest::newRow("go to") << "go to" << 4.0;
    QTest::newRow("play on") << "play" << 7.0;
    QTest::newRow("stop") << "stop" << 0.0;
}

void TestPlaybackController::aMoveAfterThePauseEndsWhereItStopped()
{
    QFETCH(QString, move);
    QFETCH(double, stoppedAt);
    Transport t;
    t.media.advance(10);
    t.playback.togglePlayPause();
    if (move == "skip")
        t.playback.skipForward();
    else if (move == "seek")
        t.media.setCurrentPosition(4);
    else if (move == "go to")
        t.playback.goTo(4);
    else if (move == "play")
        t.playback.togglePlayPause();
    else if (move == "stop")
        t.playback.stop();
    QCOMPARE(t.playback.stoppedPosition(), stoppedAt);
}

void TestPlaybackController::seekStaysInTheRecordingAndKeepsThePlayState_data()
{
    QTest::addColumn<double>("target");
    QTest::addColumn<double>("landing");
    QTest::newRow("inside") << 42.5 << 42.5;
    QTest::newRow("before the start") << -5.0 << 0.0;
    QTest::newRow("past the end") << 1e9 << 200.0;
}

void TestPlaybackController::seekStaysInTheRecordingAndKeepsThePlayState()
{
    QFETCH(double, target);
    QFETCH(double, landing);
    for (const bool playing : {true, false}) {
        Transport t;
        if (!playing)
            t.playback.togglePlayPause();
        QSignalSpy moved(&t.playback, &PlaybackController::positionMoved);
        t.playback.seekTo(target);
        QCOMPARE(t.media.currentPosition(), landing);
        QCOMPARE(t.playback.isPlaying(), playing);
        QCOMPARE(moved.size(), 1);
    }
}

QTEST_MAIN(TestPlaybackController)
#include "tst_playbackcontroller.moc"
