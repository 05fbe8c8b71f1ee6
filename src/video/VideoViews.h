#pragma once

#include "platform/VideoRenderer.h"

#include <QImage>
#include <QOpenGLWidget>
#include <QWidget>
#include <memory>

// The picture drawn by the engine with OpenGL into the widget's framebuffer. The renderer's
// OpenGL state lives with the widget's context: it is freed with that context current when the
// widget goes, when its context is replaced (the widget moved to another window) and when the
// engine ends, and made again when Qt next initialises the widget.
class OpenGlVideoView : public QOpenGLWidget {
    Q_OBJECT
public:
    OpenGlVideoView(std::unique_ptr<VideoRenderer> renderer, QWidget* parent = nullptr);
    ~OpenGlVideoView() override;

    VideoRenderer* renderer() const { return m_renderer.get(); }
    // Hands the renderer over to another view, after a failure.
    std::unique_ptr<VideoRenderer> takeRenderer();

Q_SIGNALS:
    // The engine cannot draw with this context; the reason in its words.
    void failed(const QString& reason);

protected:
    void initializeGL() override;
    void paintGL() override;

private:
    void releaseRenderer();

    std::unique_ptr<VideoRenderer> m_renderer;
};

// The picture drawn by the engine on the CPU into an image, where no OpenGL is available.
class SoftwareVideoView : public QWidget {
    Q_OBJECT
public:
    SoftwareVideoView(std::unique_ptr<VideoRenderer> renderer, QWidget* parent = nullptr);
    ~SoftwareVideoView() override;

    VideoRenderer* renderer() const { return m_renderer.get(); }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::unique_ptr<VideoRenderer> m_renderer;
    QImage m_frame;
};

namespace VideoViews {

// Whether the picture is drawn with OpenGL: the display gives OpenGL contexts, drawn by a graphics
// processor (or VOCARTA_VIDEO_DRAWING=opengl says to use them anyway; =software never does).
// Asked once per run, and only for a video.
bool openGlAvailable();

} // namespace VideoViews
