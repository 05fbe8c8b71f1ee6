#pragma once

#include <QObject>
#include <QString>

class QImage;
class QSize;

// The picture of the current media, drawn by the engine into a surface that a window provides:
// an OpenGL framebuffer, or an image where no OpenGL is available. The engine makes one only
// while its media has a picture; it starts drawing on the first start call that succeeds.
class VideoRenderer : public QObject {
    Q_OBJECT
public:
    // Looks up an OpenGL function of the current context by name.
    using FunctionResolver = void* (*)(void* context, const char* name);

    using QObject::QObject;
    ~VideoRenderer() override = default;

    // With the OpenGL context current; the same context must be current for every draw and for
    // stop(). False with the reason when the engine cannot draw with it.
    virtual bool startOpenGl(FunctionResolver resolve, void* context, QString* error) = 0;
    // Draws into images on the CPU.
    virtual bool startSoftware(QString* error) = 0;
    virtual bool isStarted() const = 0;

    // Draws the current frame into the framebuffer object `framebuffer` of `size` device pixels,
    // scaled to fit with black bars.
    virtual void drawOpenGl(int framebuffer, const QSize& size) = 0;
    // Draws the current frame into `image` (QImage::Format_RGB32), scaled to fit.
    virtual void drawSoftware(QImage& image) = 0;
    // Frees what the start made, the OpenGL one with its context current; a later start may
    // draw again.
    virtual void stop() = 0;

Q_SIGNALS:
    // A new frame is there to draw; queued onto this object's thread, once per batch.
    void frameReady();
    // The engine is going away: stop() now, with the OpenGL context current. Sent directly.
    void engineEnding();
};
