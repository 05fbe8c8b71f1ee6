#include "FakePlayer.h"
#include "JournalCompanions.h"
#include "RealWait.h"
#include "core/InterfaceTexts.h"
#include "engine/MpvMediaPlayer.h"
#include "mock/TestMedia.h"
#include "video/VideoCompanion.h"
#include "video/VideoKeys.h"
#include "video/VideoViews.h"
#include "video/VideoWindow.h"

#include <QOpenGLWidget>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

namespace {

// Two seconds of `source` (an FFmpeg lavfi graph ending in [out0]) with a silent sound track.
bool writeVideo(const QString& path, const QString& source)
{
    QProcess ffmpeg;
    ffmpeg.start(QStringLiteral("ffmpeg"), {"-v",
                                            "error",
                                            "-y",
                                            "-f",
                                            "lavfi",
                                            "-i",
                                            source,
                                            "-f",
                                            "lavfi",
                                            "-i",
                                            "anullsrc=r=44100:cl=mono",
                                            "-t",
                                            "2",
                                            "-c:v",
                                            "mpeg4",
                                            "-q:v",
                                            "2",
                                            "-c:a",
                                            "pcm_s16le",
                                            path});
    return ffmpeg.waitForFinished(kRealWaitMs) && ffmpeg.exitCode() == 0;
}

QString colourName(QRgb pixel)
{
    const int r = qRed(pixel), g = qGreen(pixel), b = qBlue(pixel);
    if (r > 180 && g < 80 && b < 80)
        return QStringLiteral("red");
    if (b > 180 && r < 80 && g < 80)
        return QStringLiteral("blue");
    if (r < 40 && g < 40 && b < 40)
        return QStringLiteral("black");
    return QStringLiteral("other");
}

// What the video window shows: none, or its view's kind and the colours at its top and bottom
// quarter.
QString shown(VideoCompanion& video)
{
    VideoWindow* window = video.videoWindow();
    if (!window)
        return QStringLiteral("no window");
    if (!window->view())
        return window->isVisible() ? QStringLiteral("empty window")
                                   : QStringLiteral("hidden window");
    const QImage picture = window->view()->grab().toImage();
    const int x = picture.width() / 2;
    return QStringLiteral("%1 top %2 bottom %3")
        .arg(window->isVisible() ? "shown" : "hidden",
             colourName(picture.pixel(x, picture.height() / 4)),
             colourName(picture.pixel(x, picture.height() * 3 / 4)));
}

} // namespace

class TestVideo : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void keys_data();
    void keys();
    void windowKeysAndDoubleClick();
    void firstFrame_data();
    void firstFrame();
    void picture_data();
    void picture();
    void frameFollowsSeeks_data();
    void frameFollowsSeeks();
    void rendererGoesWithFilesAndEngine();
    void soundPlaysOnWhileThePictureIsHidden();

private:
    QString pathOf(const QString& name) const { return m_dir.filePath(name); }
    bool waitShown(VideoCompanion& video, const QString& expected)
    {
        return QTest::qWaitFor([&] { return shown(video) == expected; }, kRealWaitMs);
    }

    QTemporaryDir m_dir;
    InterfaceTexts m_texts;
    FakeMediaPlayer m_fakeEngine;
    FakePlayer m_commands{&m_fakeEngine};
    QWidget m_player;
};

void TestVideo::initTestCase()
{
    // Under Xvfb the OpenGL view is tested too, on Mesa's CPU renderer.
    qputenv("VOCARTA_VIDEO_DRAWING", "opengl");
    if (QStandardPaths::findExecutable(QStringLiteral("ffmpeg")).isEmpty())
        QSKIP("ffmpeg is not installed, so no video could be made");
    QVERIFY(m_dir.isValid());
    QVERIFY(TestMedia::writeTone(pathOf("tone.wav"), 2));
    QVERIFY(writeVideo(pathOf("red.mkv"), "color=c=red:s=320x240:r=25[out0]"));
    QVERIFY(writeVideo(pathOf("redoverblue.mkv"), "color=c=red:s=320x120:r=25[a];"
                                                  "color=c=blue:s=320x120:r=25[b];"
                                                  "[a][b]vstack[out0]"));
    QVERIFY(writeVideo(pathOf("redthenblue.mkv"), "color=c=red:s=320x240:r=25:d=1[a];"
                                                  "color=c=blue:s=320x240:r=25:d=1[b];"
                                                  "[a][b]concat=n=2:v=1:a=0[out0]"));
    m_player.show();
}

void TestVideo::keys_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
    QTest::addColumn<bool>("released");
    QTest::addColumn<VideoKeyAction>("expected");
    const auto player = [](PlayerCommand c) { return VideoKeyAction{std::nullopt, c}; };
    const auto window = [](VideoWindowCommand c) { return VideoKeyAction{c, std::nullopt}; };
    const Qt::KeyboardModifiers none = Qt::NoModifier, ctrl = Qt::ControlModifier;
    QTest::newRow("F11 is full screen")
        << int(Qt::Key_F11) << none << true << window(VideoWindowCommand::ToggleFullScreen);
    QTest::newRow("Escape leaves it")
        << int(Qt::Key_Escape) << none << false << window(VideoWindowCommand::LeaveFullScreen);
    QTest::newRow("Ctrl+T stamps")
        << int(Qt::Key_T) << ctrl << false << window(VideoWindowCommand::InsertTimestamp);
    QTest::newRow("F5 on release")
        << int(Qt::Key_F5) << none << true << player(PlayerCommand::PlayPause);
    QTest::newRow("F5 not on press") << int(Qt::Key_F5) << none << false << VideoKeyAction{};
    QTest::newRow("Ctrl+F7 on press")
        << int(Qt::Key_F7) << ctrl << false << player(PlayerCommand::SpeedUp);
    QTest::newRow("Ctrl+M bookmark")
        << int(Qt::Key_M) << ctrl << false << player(PlayerCommand::AddBookmark);
    QTest::newRow("Ctrl+C is no player command")
        << int(Qt::Key_C) << ctrl << true << VideoKeyAction{};
}

void TestVideo::keys()
{
    QFETCH(int, key);
    QFETCH(Qt::KeyboardModifiers, modifiers);
    QFETCH(bool, released);
    QFETCH(VideoKeyAction, expected);
    const VideoKeyAction action =
        released ? VideoKeys::onRelease(key, modifiers) : VideoKeys::onPress(key, modifiers);
    QVERIFY(action == expected);
}

void TestVideo::windowKeysAndDoubleClick()
{
    FakeMediaPlayer engine;
    FakePlayer player(&engine);
    QStringList journal;
    JournalEditor editor(journal);
    VideoWindow window(m_texts, player);
    window.setEditor(&editor);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QStringList seen;
    const auto screen = [&] { seen << (window.isFullScreen() ? "full" : "window"); };
    QTest::keyClick(&window, Qt::Key_F5);
    QTest::keyClick(&window, Qt::Key_M, Qt::ControlModifier);
    QTest::keyClick(&window, Qt::Key_T, Qt::ControlModifier);
    QTest::keyClick(&window, Qt::Key_F11);
    screen();
    QTest::keyClick(&window, Qt::Key_Escape);
    screen();
    QTest::mouseDClick(&window, Qt::LeftButton);
    screen();
    QCOMPARE(player.commands,
             (QList<PlayerCommand>{PlayerCommand::PlayPause, PlayerCommand::AddBookmark}));
    QCOMPARE(journal, QStringList{"timestamp inserted"});
    QCOMPARE(seen.join(' '), QStringLiteral("full window full"));
}

void TestVideo::firstFrame_data()
{
    QTest::addColumn<int>("besideWidth");
    QTest::addColumn<QRect>("expected");
    // A 7200 x 4050 twip window beside the player and transcript on a 19200 twip wide screen.
    QTest::newRow("room enough") << 6000 << QRect(6060, 300, 7200, 4050);
    QTest::newRow("shrunk to the room") << 12000 << QRect(12060, 300, 7140, 4016);
    QTest::newRow("too narrow to shrink") << 16000 << QRect(16060, 300, 7200, 4050);
}

void TestVideo::firstFrame()
{
    QFETCH(int, besideWidth);
    QFETCH(QRect, expected);
    QCOMPARE(firstVideoFrame(QRect(0, 300, besideWidth, 9000), QSize(7200, 4050),
                             QRect(0, 0, 19200, 14400)),
             expected);
}

void TestVideo::picture_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("options");
    QTest::addColumn<QString>("expected");
    QTest::newRow("sound alone") << "tone.wav"
                                 << ""
                                 << "no window";
    QTest::newRow("red") << "red.mkv"
                         << ""
                         << "shown top red bottom red";
    QTest::newRow("upright") << "redoverblue.mkv"
                             << ""
                             << "shown top red bottom blue";
    QTest::newRow("at its place") << "red.mkv"
                                  << "Place=600,600,4800,2700"
                                  << "shown top red bottom red";
    QTest::newRow("not wanted") << "red.mkv"
                                << "Shown=no"
                                << "hidden window";
}

void TestVideo::picture()
{
    QFETCH(QString, file);
    QFETCH(QString, options);
    QFETCH(QString, expected);
    const QString optionsPath = pathOf(QStringLiteral("%1.ini").arg(QTest::currentDataTag()));
    QFile optionsFile(optionsPath);
    QVERIFY(optionsFile.open(QIODevice::WriteOnly) && optionsFile.write(options.toUtf8()) >= 0);
    optionsFile.close();
    MpvMediaPlayer engine(MpvMediaPlayer::Options::silent());
    VideoCompanion video(m_texts, engine, m_commands, &m_player, optionsPath);
    engine.setUrl(pathOf(file));
    QVERIFY(QTest::qWaitFor([&] { return engine.playState() == MediaPlayer::State::Playing; },
                            kRealWaitMs));
    QVERIFY2(waitShown(video, expected), qPrintable(shown(video)));
    // No OpenGL context for sound, nor where the display has none.
    const bool openGl = video.window() && !video.window()->findChildren<QOpenGLWidget*>().isEmpty();
    QCOMPARE(openGl,
             video.videoWindow() && video.videoWindow()->view() && VideoViews::openGlAvailable());
    // The program closing its windows is no wish of the user's.
    if (video.window())
        video.window()->close();
    QCOMPARE(video.isWanted(), !options.startsWith("Shown=no"));
}

void TestVideo::frameFollowsSeeks_data()
{
    QTest::addColumn<QList<double>>("seeks");
    QTest::addColumn<QString>("expected");
    QTest::newRow("into the blue") << QList<double>{1.5} << "shown top blue bottom blue";
    QTest::newRow("there and back") << QList<double>{1.5, 0.4} << "shown top red bottom red";
}

void TestVideo::frameFollowsSeeks()
{
    QFETCH(QList<double>, seeks);
    QFETCH(QString, expected);
    MpvMediaPlayer engine(MpvMediaPlayer::Options::silent());
    VideoCompanion video(m_texts, engine, m_commands, &m_player);
    engine.setUrl(pathOf("redthenblue.mkv"));
    QVERIFY(waitShown(video, "shown top red bottom red"));
    engine.pause();
    for (double seconds : seeks) {
        engine.setCurrentPosition(seconds);
        QVERIFY(QTest::qWaitFor([&] { return !engine.isSeeking(); }, kRealWaitMs));
    }
    QVERIFY2(waitShown(video, expected), qPrintable(shown(video)));
}

void TestVideo::rendererGoesWithFilesAndEngine()
{
    auto engine = std::make_unique<MpvMediaPlayer>(MpvMediaPlayer::Options::silent());
    VideoCompanion video(m_texts, *engine, m_commands, &m_player);
    const QString red = "shown top red bottom red";
    for (const char* file : {"red.mkv", "tone.wav", "redoverblue.mkv", "red.mkv"}) {
        engine->setUrl(pathOf(file));
        QVERIFY(QTest::qWaitFor([&] { return engine->playState() == MediaPlayer::State::Playing; },
                                kRealWaitMs));
        if (qstrcmp(file, "tone.wav") == 0)
            QVERIFY2(waitShown(video, "hidden window"), qPrintable(shown(video)));
        else
            QVERIFY2(waitShown(video, qstrcmp(file, "red.mkv") == 0
                                          ? red
                                          : QString("shown top red bottom blue")),
                     qPrintable(shown(video)));
    }
    // The renderer may only be made once at a time; closing drops it, so it can be made again.
    QVERIFY(!engine->createVideoRenderer());
    engine->close();
    QVERIFY(waitShown(video, "hidden window"));
    engine->setUrl(pathOf("red.mkv"));
    QVERIFY(waitShown(video, red));
    // The engine goes first: the window's view must let go of mpv's render context in time.
    engine.reset();
    QTest::qWait(50);
}

void TestVideo::soundPlaysOnWhileThePictureIsHidden()
{
    MpvMediaPlayer engine(MpvMediaPlayer::Options::silent());
    VideoCompanion video(m_texts, engine, m_commands, &m_player);
    engine.setUrl(pathOf("redthenblue.mkv"));
    QVERIFY(waitShown(video, "shown top red bottom red"));
    video.setWanted(false);
    // Nothing draws a hidden window: mpv must not wait for it.
    QVERIFY(QTest::qWaitFor([&] { return engine.currentPosition() > 1.5; }, kRealWaitMs));
    QCOMPARE(shown(video), QStringLiteral("hidden window"));
    video.setWanted(true);
    QVERIFY2(waitShown(video, "shown top blue bottom blue"), qPrintable(shown(video)));
}

QTEST_MAIN(TestVideo)
#include "tst_video.moc"
