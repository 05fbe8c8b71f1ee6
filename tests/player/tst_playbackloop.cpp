#include "FakeMediaPlayer.h"
#include "TestFolder.h"
#include "core/ListeningOptions.h"
#include "player/PlaybackController.h"
#include "player/PlaybackLoop.h"

#include <QTest>

namespace {

// The loop on the transport and the fake engine, a minute-long file playing from `at`.
struct Looping {
    TestFolder folder;
    FakeMediaPlayer media;
    PlaybackController playback{&media};
    PlaybackLoop loop{&media, &playback};

    explicit Looping(double at)
    {
        media.loadedDuration = 60;
        playback.setOptions({.skipSeconds = 20, .backSeconds = 3, .loopSeconds = 5});
        folder.writeBytes(QStringLiteral("talk.wav"), "RIFF");
        playback.load(folder.filePath(QStringLiteral("talk.wav")));
        media.setCurrentPosition(at);
    }

    // What the user hears and the engine was told, in one line.
    QString shown() const
    {
        const auto span = loop.span();
        return QStringLiteral("%1 at %2 %3, engine %4-%5")
            .arg(span ? QStringLiteral("loop %1-%2").arg(span->from).arg(span->to)
                      : QStringLiteral("no loop"))
            .arg(media.currentPosition())
            .arg(playback.isPlaying() ? QStringLiteral("playing") : QStringLiteral("paused"))
            .arg(media.loopFrom)
            .arg(media.loopTo);
    }
};

} // namespace

class TestPlaybackLoop : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void loopsAndLeaves_data();
    void loopsAndLeaves();
    void growingStepBack_data();
    void growingStepBack();
    void listeningOptionsKeepTheirRange_data();
    void listeningOptionsKeepTheirRange();
};

void TestPlaybackLoop::loopsAndLeaves_data()
{
    QTest::addColumn<double>("at");
    // Steps: "toggle", "start", "end", "pause", "skip", "play N" (seconds of playing on),
    // "marks A B", "clear".
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<QString>("expected");

    QTest::newRow("last seconds, over and over")
        << 30.0 << QStringList{"toggle", "play 7"} << "loop 25-30 at 27 playing, engine 25-30";
    QTest::newRow("left, it plays on from the end")
        << 30.0 << QStringList{"toggle", "play 2", "toggle"} << "no loop at 30 playing, engine 0-0";
    QTest::newRow("at the start, the first seconds")
        << 2.0 << QStringList{"toggle"} << "loop 0-5 at 0 playing, engine 0-5";
    QTest::newRow("paused, from what was heard before the step back")
        << 30.0 << QStringList{"pause", "toggle"} << "loop 25-30 at 25 playing, engine 25-30";
    QTest::newRow("between the marks")
        << 10.0 << QStringList{"start", "play 4", "end", "toggle", "play 5"}
        << "loop 10-14 at 11 playing, engine 10-14";
    QTest::newRow("marks set end first are put in order")
        << 14.0 << QStringList{"end", "play 6", "start", "toggle"}
        << "loop 14-20 at 14 playing, engine 14-20";
    QTest::newRow("a pause in the loop steps back no further than its start")
        << 30.0 << QStringList{"toggle", "play 1", "pause"}
        << "loop 25-30 at 25 paused, engine 25-30";
    QTest::newRow("a skip out of it leaves it where the skip went")
        << 30.0 << QStringList{"toggle", "skip"} << "no loop at 45 playing, engine 0-0";
    QTest::newRow("a dragged stretch moves the loop")
        << 30.0 << QStringList{"toggle", "marks 40 44"} << "loop 40-44 at 40 playing, engine 40-44";
    QTest::newRow("an empty stretch clears the marks")
        << 30.0 << QStringList{"marks 40 44", "marks 0 0", "toggle"}
        << "loop 25-30 at 25 playing, engine 25-30";
    QTest::newRow("another recording: no loop, no marks")
        << 30.0 << QStringList{"marks 40 44", "toggle", "clear", "toggle"}
        << "loop 35-40 at 35 playing, engine 35-40";
}

void TestPlaybackLoop::loopsAndLeaves()
{
    QFETCH(double, at);
    QFETCH(QStringList, steps);
    Looping l(at);
    for (const QString& step : steps) {
        const QStringList words = step.split(QLatin1Char(' '));
        if (step == QLatin1String("toggle"))
            l.loop.toggle();
        else if (step == QLatin1String("start"))
            l.loop.markStart();
        else if (step == QLatin1String("end"))
            l.loop.markEnd();
        else if (step == QLatin1String("pause"))
            l.playback.togglePlayPause();
        else if (step == QLatin1String("skip"))
            l.playback.skipForward();
        else if (words.first() == QLatin1String("play"))
            l.media.advance(words.at(1).toDouble());
        else if (words.first() == QLatin1String("marks"))
            l.loop.setMarks({words.at(1).toDouble(), words.at(2).toDouble()});
        else if (step == QLatin1String("clear"))
            l.loop.clear();
        else
            QFAIL(qPrintable(step));
    }
    QTEST(l.shown(), "expected");
}

void TestPlaybackLoop::growingStepBack_data()
{
    QTest::addColumn<bool>("growing");
    QTest::addColumn<int>("pauseMs");
    QTest::addColumn<bool>("looping");
    QTest::addColumn<double>("resumedAt");

    // Paused at 40 with a step back of 3: 37, then a second more for every ten of the pause.
    QTest::newRow("off") << false << 60000 << false << 37.0;
    QTest::newRow("a short pause") << true << 9000 << false << 37.0;
    QTest::newRow("35 s") << true << 35000 << false << 34.0;
    QTest::newRow("at most ten seconds") << true << 600000 << false << 27.0;
    QTest::newRow("never before the loop's start") << true << 60000 << true << 35.0;
}

void TestPlaybackLoop::growingStepBack()
{
    QFETCH(bool, growing);
    QFETCH(int, pauseMs);
    QFETCH(bool, looping);
    Looping l(40);
    qint64 now = 0;
    l.playback.setClock([&now] { return now; });
    TransportOptions options = l.playback.options();
    options.growingStepBack = growing;
    l.playback.setOptions(options);
    if (looping) {
        l.loop.toggle();
        l.media.advance(5);
    }
    l.playback.togglePlayPause();
    now += pauseMs;
    l.playback.togglePlayPause();
    QVERIFY(l.playback.isPlaying());
    QTEST(l.media.currentPosition(), "resumedAt");
}

void TestPlaybackLoop::listeningOptionsKeepTheirRange_data()
{
    QTest::addColumn<QStringList>("file");
    QTest::addColumn<QStringList>("read");

    const QStringList defaults = ListeningOptions{}.lines();
    QTest::newRow("nothing") << QStringList{} << defaults;
    QTest::newRow("all set, any case")
        << QStringList{"typetopause=YES", "TypingRestMs = 500", "GrowingStepBack=1",
                       "LoopSeconds=12", "FollowAlong=no"}
        << QStringList{"TypeToPause=yes", "TypingRestMs=500", "GrowingStepBack=yes",
                       "LoopSeconds=12", "FollowAlong=no"};
    QTest::newRow("out of range and unreadable values leave the defaults")
        << QStringList{"LoopSeconds=0", "TypingRestMs=10", "GrowingStepBack=maybe"} << defaults;
}

void TestPlaybackLoop::listeningOptionsKeepTheirRange()
{
    QFETCH(QStringList, file);
    QTEST(ListeningOptions::parse(file).lines(), "read");
}

QTEST_GUILESS_MAIN(TestPlaybackLoop)
#include "tst_playbackloop.moc"
