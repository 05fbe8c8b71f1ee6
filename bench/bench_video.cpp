// Times the video window on a generated 720p video playing through the libmpv engine: the GUI
// thread's time per frame shown (the repaint requests, paints and frame notices of the window and
// its view), and how long after the sound starts the first picture is on screen. Run it on a
// display (xvfb-run gives Mesa's OpenGL on the CPU) for the OpenGL view, or offscreen for the
// software one (VOCARTA_VIDEO_DRAWING=opengl draws with Mesa's CPU OpenGL, which the program
// otherwise leaves for the software renderer). Prints averages and medians; asserts nothing.

#include "BenchSupport.h"
#include "FakePlayer.h"
#include "core/InterfaceTexts.h"
#include "engine/MpvMediaPlayer.h"
#include "video/VideoCompanion.h"
#include "video/VideoViews.h"
#include "video/VideoWindow.h"

#include <QApplication>
#include <QTemporaryDir>

namespace {

using namespace Bench;

constexpr int kPlaySeconds = 8;
constexpr int kOpenRuns = 10;

// Adds up the time the GUI thread spends on events of the video window, its view and its
// renderer, outermost calls only.
class TimingApplication : public QApplication {
public:
    using QApplication::QApplication;

    bool notify(QObject* receiver, QEvent* event) override
    {
        if (event->type() == QEvent::Paint && receiver && receiver == view)
            ++paints;
        if (m_depth > 0 || !watched(receiver))
            return QApplication::notify(receiver, event);
        ++m_depth;
        QElapsedTimer clock;
        clock.start();
        const bool result = QApplication::notify(receiver, event);
        busyNs += clock.nsecsElapsed();
        --m_depth;
        return result;
    }

    QWidget* window = nullptr;
    QWidget* view = nullptr;
    QObject* renderer = nullptr;
    qint64 busyNs = 0;
    int paints = 0;

private:
    bool watched(QObject* receiver) const
    {
        return receiver && (receiver == window || receiver == view || receiver == renderer);
    }

    int m_depth = 0;
};

QObject* rendererOf(QWidget* view)
{
    if (auto* gl = qobject_cast<OpenGlVideoView*>(view))
        return gl->renderer();
    if (auto* sw = qobject_cast<SoftwareVideoView*>(view))
        return sw->renderer();
    return nullptr;
}

} // namespace

int main(int argc, char** argv)
{
    TimingApplication app(argc, argv);
    QTemporaryDir dir;
    const QString video = dir.filePath(QStringLiteral("lecture.mkv"));
    std::printf("Making a 20-second 1280x720 25 fps video with sound (ffmpeg)...\n");
    std::fflush(stdout);
    if (!run(QStringLiteral("ffmpeg"), {"-v",
                                        "error",
                                        "-y",
                                        "-f",
                                        "lavfi",
                                        "-i",
                                        "testsrc=s=1280x720:r=25",
                                        "-f",
                                        "lavfi",
                                        "-i",
                                        "sine=f=440:r=44100",
                                        "-t",
                                        "20",
                                        "-c:v",
                                        "libx264",
                                        "-preset",
                                        "veryfast",
                                        "-pix_fmt",
                                        "yuv420p",
                                        "-c:a",
                                        "aac",
                                        video})) {
        std::printf("ffmpeg failed or is not installed\n");
        return 1;
    }
    std::printf("Drawing with %s\n",
                VideoViews::openGlAvailable() ? "OpenGL" : "the software renderer (no OpenGL)");

    InterfaceTexts texts;
    FakeMediaPlayer fakeEngine;
    FakePlayer commands(&fakeEngine);
    QWidget player;
    player.resize(300, 100);
    player.show();
    MpvMediaPlayer engine(MpvMediaPlayer::Options::silent());
    VideoCompanion companion(texts, engine, commands, &player);

    // Connected after the companion: its view and renderer exist when this runs.
    QElapsedTimer clock;
    double frameAt = -1;
    double pictureAt = -1;
    QObject::connect(&engine, &MediaPlayer::videoChanged, &app, [&] {
        VideoWindow* window = companion.videoWindow();
        if (!window || !window->view())
            return;
        window->resize(1280, 720);
        app.window = window;
        app.view = window->view();
        app.renderer = rendererOf(app.view);
        QObject::connect(static_cast<VideoRenderer*>(app.renderer), &VideoRenderer::frameReady,
                         &app, [&] {
                             if (frameAt < 0)
                                 frameAt = milliseconds(clock);
                         });
    });

    std::vector<double> pictureAfterSound;
    for (int i = 0; i < kOpenRuns; ++i) {
        engine.close();
        waitFor([] { return false; }, 100);
        frameAt = pictureAt = -1;
        double soundAt = -1;
        int paintsBefore = 0;
        clock.start();
        engine.setUrl(video);
        const bool shown = waitFor(
            [&] {
                if (soundAt < 0 && engine.playState() == MediaPlayer::State::Playing &&
                    engine.currentPosition() > 0)
                    soundAt = milliseconds(clock);
                if (frameAt >= 0 && paintsBefore == 0)
                    paintsBefore = app.paints + 1;
                // The first paint after the first frame came.
                if (pictureAt < 0 && paintsBefore > 0 && app.paints >= paintsBefore)
                    pictureAt = milliseconds(clock);
                return soundAt >= 0 && pictureAt >= 0;
            },
            20000);
        if (shown)
            pictureAfterSound.push_back(pictureAt - soundAt);
    }
    report(QStringLiteral("open: picture on screen after sound starts"), pictureAfterSound,
           "< 300 ms");

    // Plays on from where the last open left it, in a window of the picture's size and in one
    // of the window's first size.
    for (const QSize size : {QSize(1280, 720), QSize(480, 270)}) {
        if (!app.window)
            break;
        app.window->resize(size);
        engine.setCurrentPosition(1);
        engine.play();
        waitFor([] { return false; }, 500);
        app.busyNs = 0;
        const int paintsBefore = app.paints;
        waitFor([] { return false; }, kPlaySeconds * 1000);
        const int frames = app.paints - paintsBefore;
        const QString what = QStringLiteral("playing 720p in %1x%2: GUI thread per frame")
                                 .arg(size.width())
                                 .arg(size.height());
        if (frames > 0)
            std::printf("%-44s average  %8.3f ms (%d frames in %d s)   target < 3 ms\n",
                        qPrintable(what), app.busyNs / 1e6 / frames, frames, kPlaySeconds);
        else
            std::printf("%s: no frame was shown\n", qPrintable(what));
    }
    return 0;
}
