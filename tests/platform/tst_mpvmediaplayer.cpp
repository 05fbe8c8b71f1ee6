#include "RealWait.h"
#include "core/AppState.h"
#include "core/SoundFilters.h"
#include "core/Timestamp.h"
#include "engine/MpvMediaPlayer.h"
#include "mock/TestMedia.h"
#include "player/PlaybackController.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

namespace {

const MpvMediaPlayer::Options NullOutput = MpvMediaPlayer::Options::silent();
constexpr double ToneSeconds = 3.0;

// Waits polling every few milliseconds, for timings finer than QTRY's 50 ms steps.
template <typename Condition> bool waitFor(Condition condition, int timeoutMs = kRealWaitMs)
{
    return QTest::qWaitFor(condition, timeoutMs);
}

} // namespace

// Only the MP3 file can be missing: the WAV files are written by the test itself.
#define REQUIRE_FILE(path)                                                                         \
    if (!QFile::exists(path))                                                                      \
        QSKIP("lame is not installed, so no MP3 file could be made");

class TestMpvMediaPlayer : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void callsWithoutMedia();
    void opensPlaysAndPauses_data() { formats(); }
    void opensPlaysAndPauses();
    void seekLandsOnTarget_data();
    void seekLandsOnTarget();
    void stopKeepsMediaAtStart();
    void endOfMediaIsNoticedAndPlayRestarts_data() { formats(); }
    void endOfMediaIsNoticedAndPlayRestarts();
    void badFileReportsErrorAndEngineStaysUsable_data();
    void badFileReportsErrorAndEngineStaysUsable();
    void noSoundOutputIsToldApart();
    void textsFromAnHourOn();
    void settingsReachTheEngine();
    void pausesKeepWhereTheSoundStopped();
    void loopNeverLeavesItsStretch();
    void channelsHeard_data();
    void channelsHeard();
    void refusedFiltersLeaveTheSoundAsItWas_data();
    void refusedFiltersLeaveTheSoundAsItWas();

private:
    static void formats();
    QString pathOf(const QString& name) const { return m_dir.filePath(name); }
    bool openPlaying(MpvMediaPlayer& player, const QString& path);

    QTemporaryDir m_dir;
};

void TestMpvMediaPlayer::initTestCase()
{
    QVERIFY(m_dir.isValid());
    QVERIFY(TestMedia::writeTone(pathOf("tone.wav"), ToneSeconds));
    if (TestMedia::lameAvailable())
        QVERIFY(TestMedia::encodeMp3(pathOf("tone.wav"), pathOf("tone.mp3")));
    QVERIFY(TestMedia::writeCorrupt(pathOf("corrupt.wav")));
    QFile notes(pathOf("notes.mp3"));
    QVERIFY(notes.open(QIODevice::WriteOnly) && notes.write("minutes of the meeting\n") > 0);
}

void TestMpvMediaPlayer::formats()
{
    QTest::addColumn<QString>("file");
    QTest::newRow("wav") << "tone.wav";
    QTest::newRow("mp3") << "tone.mp3";
}

bool TestMpvMediaPlayer::openPlaying(MpvMediaPlayer& player, const QString& path)
{
    player.setUrl(path);
    return waitFor([&] {
        return player.playState() == MediaPlayer::State::Playing && player.currentPosition() > 0.05;
    });
}

void TestMpvMediaPlayer::callsWithoutMedia()
{
    MpvMediaPlayer player(NullOutput);
    QSignalSpy errors(&player, &MediaPlayer::mediaError);
    const auto checkEmpty = [&] {
        QCOMPARE(player.url(), QString());
        QCOMPARE(player.playState(), MediaPlayer::State::Undefined);
        QCOMPARE(player.currentPosition(), 0.0);
        QCOMPARE(player.currentPositionString(), QString());
        QCOMPARE(player.duration(), 0.0);
        QCOMPARE(player.durationString(), QString());
    };
    checkEmpty();
    QCOMPARE(player.rate(), 1.0);
    QCOMPARE(player.volume(), 50);

    player.play();
    player.setCurrentPosition(5);
    player.pause();
    player.stop();
    player.setUrl(QString());
    player.close();
    QTest::qWait(100); // room for anything mpv might answer
    checkEmpty();
    QCOMPARE(errors.count(), 0);
}

void TestMpvMediaPlayer::opensPlaysAndPauses()
{
    QFETCH(QString, file);
    const QString path = pathOf(file);
    REQUIRE_FILE(path);
    MpvMediaPlayer player(NullOutput);

    player.setUrl(path);
    QCOMPARE(player.url(), path);
    QCOMPARE(player.playState(), MediaPlayer::State::Busy);
    QCOMPARE(player.durationString(), QString());
    QTRY_COMPARE_WITH_TIMEOUT(player.playState(), MediaPlayer::State::Playing, kRealWaitMs);
    QTRY_COMPARE_WITH_TIMEOUT(player.durationString(), QStringLiteral("00:03"), kRealWaitMs);
    QVERIFY(qAbs(player.duration() - ToneSeconds) < 0.1);
    QTRY_VERIFY_WITH_TIMEOUT(player.currentPosition() > 0.3, kRealWaitMs);
    QCOMPARE(player.currentPositionString(), QStringLiteral("00:00"));

    player.pause();
    QCOMPARE(player.playState(), MediaPlayer::State::Paused);
    QTest::qWait(300); // mpv may report the exact point where it halted a little later
    const double held = player.currentPosition();
    QTest::qWait(300);
    QCOMPARE(player.currentPosition(), held);
    QVERIFY(held < 1.5);
}

void TestMpvMediaPlayer::seekLandsOnTarget_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("how");
    QTest::addColumn<double>("target");
    QTest::addColumn<double>("expected");
    for (const char* file : {"tone.wav", "tone.mp3"}) {
        const QString name = QString::fromLatin1(file);
        QTest::addRow("%s skip while paused", file) << name << "paused" << 2.2 << 2.2;
        // The target is relative to the position here, as the window's step back is.
        QTest::addRow("%s step back on pause", file) << name << "step back" << -1.0 << -1.0;
        // mpv would read -2 as two seconds before the end.
        QTest::addRow("%s before the start", file) << name << "paused" << -2.0 << 0.0;
        QTest::addRow("%s go-to while stopped", file) << name << "stopped" << 1.5 << 1.5;
    }
}

void TestMpvMediaPlayer::seekLandsOnTarget()
{
    QFETCH(QString, file);
    QFETCH(QString, how);
    QFETCH(double, target);
    QFETCH(double, expected);
    const QString path = pathOf(file);
    REQUIRE_FILE(path);
    MpvMediaPlayer player(NullOutput);
    QVERIFY(openPlaying(player, path));

    if (how == "step back") {
        // As the window pauses: write the position minus the step, then pause.
        QTRY_VERIFY_WITH_TIMEOUT(player.currentPosition() > 1.2, kRealWaitMs);
        expected = target = player.currentPosition() + target;
        player.setCurrentPosition(target);
        player.pause();
    } else {
        if (how == "stopped")
            player.stop();
        else
            player.pause();
        player.setCurrentPosition(target);
    }
    QCOMPARE(player.currentPosition(), expected);
    QCOMPARE(player.playState(), MediaPlayer::State::Paused);
    QTRY_VERIFY_WITH_TIMEOUT(!player.isSeeking(), kRealWaitMs);
    QTest::qWait(150); // mpv's own paused time, off by its output buffer, would come by now
    QCOMPARE(player.currentPosition(), expected);
    QCOMPARE(player.currentPositionString(), formatMediaTime(expected));

    // Where playback really resumes, compared with the time it has played since.
    QElapsedTimer clock;
    clock.start();
    player.play();
    QVERIFY(waitFor([&] { return player.currentPosition() > expected + 0.3; }));
    const double played = player.currentPosition() - expected;
    const double elapsed = clock.elapsed() / 1000.0;
    QVERIFY2(played <= elapsed + 0.05 && played >= elapsed - 0.2,
             qPrintable(QStringLiteral("played %1 s in %2 s").arg(played).arg(elapsed)));
}

void TestMpvMediaPlayer::stopKeepsMediaAtStart()
{
    const QString path = pathOf("tone.wav");
    MpvMediaPlayer player(NullOutput);
    QVERIFY(openPlaying(player, path));
    player.setCurrentPosition(2.0);
    QTRY_VERIFY_WITH_TIMEOUT(!player.isSeeking(), kRealWaitMs);

    player.stop();
    QCOMPARE(player.playState(), MediaPlayer::State::Stopped);
    QCOMPARE(player.currentPosition(), 0.0);
    QTest::qWait(300);
    QCOMPARE(player.playState(), MediaPlayer::State::Stopped);
    QCOMPARE(player.currentPosition(), 0.0);
    QCOMPARE(player.currentPositionString(), QStringLiteral("00:00"));
    QCOMPARE(player.url(), path);
    QCOMPARE(player.durationString(), QStringLiteral("00:03"));

    player.play();
    QCOMPARE(player.playState(), MediaPlayer::State::Playing);
    QTRY_VERIFY_WITH_TIMEOUT(player.currentPosition() > 0.2, kRealWaitMs);
    QVERIFY(player.currentPosition() < 1.0);
}

void TestMpvMediaPlayer::endOfMediaIsNoticedAndPlayRestarts()
{
    QFETCH(QString, file);
    const QString path = pathOf(file);
    REQUIRE_FILE(path);
    MpvMediaPlayer player(NullOutput);
    QVERIFY(openPlaying(player, path));
    player.pause();
    const double remaining = 1.0;
    player.setCurrentPosition(player.duration() - remaining);
    QTRY_VERIFY_WITH_TIMEOUT(!player.isSeeking(), kRealWaitMs);

    QElapsedTimer clock;
    clock.start();
    player.play();
    QVERIFY(waitFor([&] { return player.playState() == MediaPlayer::State::Stopped; }));
    const double late = clock.elapsed() / 1000.0 - remaining;
    QVERIFY2(qAbs(late) <= 0.2, qPrintable(QStringLiteral("end noticed %1 s late").arg(late)));
    QCOMPARE(player.currentPosition(), player.duration());
    QCOMPARE(player.currentPositionString(), player.durationString());
    QTest::qWait(100);
    QCOMPARE(player.playState(), MediaPlayer::State::Stopped);

    player.play();
    QCOMPARE(player.playState(), MediaPlayer::State::Playing);
    QCOMPARE(player.currentPosition(), 0.0);
    QTRY_VERIFY_WITH_TIMEOUT(player.currentPosition() > 0.2, kRealWaitMs);
    QVERIFY(player.currentPosition() < 1.0);
}

void TestMpvMediaPlayer::badFileReportsErrorAndEngineStaysUsable_data()
{
    QTest::addColumn<QString>("file");
    QTest::newRow("corrupt header") << "corrupt.wav";
    QTest::newRow("text as mp3") << "notes.mp3";
    QTest::newRow("missing") << "missing.wav";
}

void TestMpvMediaPlayer::badFileReportsErrorAndEngineStaysUsable()
{
    QFETCH(QString, file);
    MpvMediaPlayer player(NullOutput);
    QSignalSpy errors(&player, &MediaPlayer::mediaError);
    QVERIFY(openPlaying(player, pathOf("tone.wav")));

    player.setUrl(pathOf(file));
    QTRY_COMPARE_WITH_TIMEOUT(errors.count(), 1, kRealWaitMs);
    QVERIFY2(errors.first().first().toString().contains(file),
             qPrintable(errors.first().first().toString()));
    QCOMPARE(player.url(), QString());
    QCOMPARE(player.playState(), MediaPlayer::State::Undefined);
    QCOMPARE(player.currentPosition(), 0.0);
    QCOMPARE(player.durationString(), QString());

    QVERIFY(openPlaying(player, pathOf("tone.wav")));
    QCOMPARE(errors.count(), 1);
}

void TestMpvMediaPlayer::noSoundOutputIsToldApart()
{
    // The one output allowed, with a sound server that is not there.
    qputenv("PULSE_SERVER", "unix:/nonexistent/vocarta-test");
    MpvMediaPlayer::Options onlyPulse;
    onlyPulse.audioOutputs = "pulse";
    MpvMediaPlayer player(onlyPulse);
    QSignalSpy missing(&player, &MediaPlayer::soundOutputMissing);
    QSignalSpy errors(&player, &MediaPlayer::mediaError);

    player.setUrl(pathOf("tone.wav"));

    QTRY_COMPARE_WITH_TIMEOUT(missing.count(), 1, kRealWaitMs);
    QVERIFY2(missing.first().first().toString().contains(QStringLiteral("tone.wav")),
             qPrintable(missing.first().first().toString()));
    QCOMPARE(errors.count(), 0);
    QCOMPARE(player.url(), QString());
    qunsetenv("PULSE_SERVER");
}

void TestMpvMediaPlayer::textsFromAnHourOn()
{
    const QString path = pathOf("long.wav");
    QVERIFY(TestMedia::writeSilence(path, 3601.5));
    MpvMediaPlayer player(NullOutput);
    player.setUrl(path);
    player.pause();
    QTRY_COMPARE_WITH_TIMEOUT(player.durationString(), QStringLiteral("01:00:01"), kRealWaitMs);
    player.setCurrentPosition(3600.4);
    QCOMPARE(player.currentPositionString(), QStringLiteral("01:00:00"));
    player.setCurrentPosition(3599.9);
    QCOMPARE(player.currentPositionString(), QStringLiteral("59:59"));
    QTRY_VERIFY_WITH_TIMEOUT(!player.isSeeking(), kRealWaitMs);
    QCOMPARE(player.currentPositionString(), QStringLiteral("59:59"));
}

void TestMpvMediaPlayer::settingsReachTheEngine()
{
    MpvMediaPlayer player(NullOutput);
    player.setRate(1.5);
    player.setRate(0);
    player.setVolume(30);
    QCOMPARE(player.rate(), 1.5);
    QCOMPARE(player.volume(), 30);
    QTRY_COMPARE_WITH_TIMEOUT(player.engineProperty("speed").toDouble(), 1.5, kRealWaitMs);
    QTRY_COMPARE_WITH_TIMEOUT(player.engineProperty("volume").toDouble(), 30.0, kRealWaitMs);
    QCOMPARE(player.engineProperty("audio-pitch-correction").toBool(), true);
    player.setVolume(130);
    QCOMPARE(player.volume(), 100);
    player.setVolume(-5);
    QCOMPARE(player.volume(), 0);

    // Twice the speed: the first 1.2 s of sound take about 0.6 s.
    player.setRate(2.0);
    QElapsedTimer clock;
    clock.start();
    QVERIFY(openPlaying(player, pathOf("tone.wav")));
    QVERIFY(waitFor([&] { return player.currentPosition() >= 1.2; }));
    QVERIFY2(clock.elapsed() < 1000, qPrintable(QString::number(clock.elapsed())));

    // The program's own player: the default sound output, and never a window of mpv's own: the
    // picture is decoded only for the program's renderer.
    MpvMediaPlayer real;
    QCOMPARE(real.engineProperty("vid"), QVariant(false));
    QCOMPARE(real.engineProperty("vo").toString(), QStringLiteral("libmpv"));
    QVERIFY(real.engineProperty("ao").toString() != QStringLiteral("null"));
}

// An hour of VBR MP3 at three quarters speed: after each pause with its step back, the
// timestamp is where the sound stopped, not where the step went.
void TestMpvMediaPlayer::pausesKeepWhereTheSoundStopped()
{
    if (!TestMedia::lameAvailable())
        QSKIP("lame is not installed, so no MP3 file could be made");
    const QString path = pathOf("hour.mp3");
    QVERIFY(TestMedia::writeTone(pathOf("hour.wav"), 3600, 8000));
    QVERIFY(TestMedia::encodeMp3(pathOf("hour.wav"), path, {QStringLiteral("-V7")}));
    MpvMediaPlayer media(NullOutput);
    PlaybackController playback(&media);
    playback.setOptions({.backSeconds = 2});
    playback.load(path);
    QVERIFY(waitFor([&] { return media.playState() == MediaPlayer::State::Playing; }));
    media.setRate(0.75);
    playback.togglePlayPause();
    QRandomGenerator random(20261209);
    for (int i = 0; i < 50; ++i) {
        playback.goTo(random.bounded(3590.0));
        playback.togglePlayPause();
        QTest::qWait(random.bounded(50, 300));
        QCOMPARE(playback.state(), PlayState::Playing);
        const double stopped = media.currentPosition();
        playback.togglePlayPause();
        QVERIFY(waitFor([&] { return !media.isSeeking(); }));
        QTest::qWait(20);
        const QString stamp =
            Timestamp::formatSeconds(playback.stoppedPosition(), Timestamp::Style::HashHundredths);
        const double stamped = Timestamp::parseAt(stamp, 0)->milliseconds / 1000.0;
        QVERIFY2(std::abs(stamped - stopped) <= 0.1,
                 qPrintable(QStringLiteral("stopped at %1, stamp %2").arg(stopped).arg(stamp)));
    }
}

// Played over and over at double speed: every position sampled lies within the stretch, and the
// loop does turn.
void TestMpvMediaPlayer::loopNeverLeavesItsStretch()
{
    constexpr double kFrom = 1.0;
    constexpr double kTo = 1.8;
    constexpr double kSlack = 0.05;
    const QString path = pathOf("tone.wav");
    // A short output buffer: the position told is then the sound's, not one buffer behind it.
    MpvMediaPlayer::Options options = NullOutput;
    options.nullOutputBuffer = "0.02";
    MpvMediaPlayer player(options);
    player.setRate(2.0);
    QVERIFY(openPlaying(player, path));
    player.pause();
    player.setLoop(kFrom, kTo);
    player.setCurrentPosition(kFrom);
    QVERIFY(waitFor([&] { return !player.isSeeking(); }));
    player.play();
    QElapsedTimer clock;
    clock.start();
    int turns = 0;
    double last = kFrom;
    while (clock.elapsed() < 3000) {
        QTest::qWait(5);
        const double now = player.currentPosition();
        QVERIFY2(now >= kFrom - kSlack && now <= kTo + kSlack,
                 qPrintable(QStringLiteral("at %1 after %2 turns").arg(now).arg(turns)));
        turns += now < last - 0.3 ? 1 : 0;
        last = now;
    }
    QVERIFY2(turns >= 4, qPrintable(QString::number(turns)));
    player.setLoop(0, 0);
    QVERIFY(waitFor([&] { return player.currentPosition() > kTo + 0.3; }));
}

void TestMpvMediaPlayer::channelsHeard_data()
{
    QTest::addColumn<SoundChannels>("channels");
    QTest::addColumn<QString>("heard");
    // The tone is on the left only, at a level of 0.17.
    QTest::newRow("both") << SoundChannels::Both << "left 0.17 right 0.00";
    QTest::newRow("left only") << SoundChannels::LeftOnly << "left 0.17 right 0.17";
    QTest::newRow("right only") << SoundChannels::RightOnly << "left 0.00 right 0.00";
    QTest::newRow("mono mix") << SoundChannels::MonoMix << "left 0.09 right 0.09";
}

void TestMpvMediaPlayer::channelsHeard()
{
    QFETCH(SoundChannels, channels);
    QFETCH(QString, heard);
    const QString tone = pathOf("left.wav");
    QVERIFY(TestMedia::writeLeftTone(tone, 1.0));
    MpvMediaPlayer::Options toFile;
    toFile.soundFile = pathOf("heard.wav");
    {
        MpvMediaPlayer player(toFile);
        player.setVolume(100);
        player.setAudioFilters(SoundFilters{.channels = channels}.chain());
        player.setUrl(tone);
        QVERIFY(waitFor([&] { return player.playState() == MediaPlayer::State::Stopped; }));
    } // the output file is complete once the engine has ended
    // All of the second was heard, so silence is the filter's doing.
    QVERIFY(QFileInfo(toFile.soundFile).size() > 0.9 * 4 * 44100);
    const QList<double> levels = TestMedia::stereoLevels(toFile.soundFile);
    QCOMPARE(QStringLiteral("left %1 right %2").arg(levels[0], 0, 'f', 2).arg(levels[1], 0, 'f', 2),
             heard);
}

void TestMpvMediaPlayer::refusedFiltersLeaveTheSoundAsItWas_data()
{
    QTest::addColumn<QString>("chain");
    QTest::addColumn<bool>("beforeOpening");
    QTest::newRow("unknown filter, playing") << "nosuchfilter" << false;
    QTest::newRow("bad value, playing") << "highpass=f=abc" << false;
    QTest::newRow("unknown filter, then a file") << "nosuchfilter" << true;
    QTest::newRow("value out of range, then a file") << "afftdn=nr=500" << true;
}

void TestMpvMediaPlayer::refusedFiltersLeaveTheSoundAsItWas()
{
    QFETCH(QString, chain);
    QFETCH(bool, beforeOpening);
    MpvMediaPlayer player(NullOutput);
    QSignalSpy refused(&player, &MediaPlayer::audioFiltersRefused);
    QSignalSpy errors(&player, &MediaPlayer::mediaError);
    if (beforeOpening)
        player.setAudioFilters(chain);
    QVERIFY(openPlaying(player, pathOf("tone.wav")));
    if (!beforeOpening)
        player.setAudioFilters(chain);
    QTRY_COMPARE_WITH_TIMEOUT(refused.count(), 1, kRealWaitMs);
    QCOMPARE(refused.first().first().toString(), chain);
    QVERIFY(!refused.first().last().toString().isEmpty());
    QCOMPARE(player.engineProperty("af").toString(), QString());

    // The next file plays with no filter, and every filter of the clean-up is taken.
    QVERIFY(openPlaying(player, pathOf("tone.wav")));
    player.setAudioFilters(SoundFilters{.channels = SoundChannels::MonoMix,
                                        .boostPercent = 300,
                                        .speechNormaliser = true,
                                        .noiseReduction = true,
                                        .highPass = true}
                               .chain());
    QTRY_VERIFY_WITH_TIMEOUT(player.engineProperty("af").toString().contains("alimiter"),
                             kRealWaitMs);
    QCOMPARE(refused.count(), 1);
    QCOMPARE(errors.count(), 0);
}

QTEST_GUILESS_MAIN(TestMpvMediaPlayer)
#include "tst_mpvmediaplayer.moc"
