#include "video/VideoViews.h"

#include "core/Logging.h"

#include <QGuiApplication>
#include <QOffscreenSurface>
#include <QOpenGLContext>
#include <QOpenGLFunctions>
#include <QPainter>

namespace {

void* resolveFunction(void* context, const char* name)
{
    return reinterpret_cast<void*>(static_cast<QOpenGLContext*>(context)->getProcAddress(name));
}

} // namespace

OpenGlVideoView::OpenGlVideoView(std::unique_ptr<VideoRenderer> renderer, QWidget* parent)
    : QOpenGLWidget(parent), m_renderer(std::move(renderer))
{
    setObjectName(QStringLiteral("videoView"));
    connect(m_renderer.get(), &VideoRenderer::frameReady, this, qOverload<>(&QWidget::update));
    connect(m_renderer.get(), &VideoRenderer::engineEnding, this, &OpenGlVideoView::releaseRenderer,
            Qt::DirectConnection);
}

OpenGlVideoView::~OpenGlVideoView()
{
    releaseRenderer();
    // QOpenGLWidget's destructor destroys the context, when this part of the object is gone.
    if (QOpenGLContext* current = context())
        disconnect(current, nullptr, this, nullptr);
}

void OpenGlVideoView::initializeGL()
{
    // A new context: the widget was shown, or moved to another window and lost the last one.
    connect(context(), &QOpenGLContext::aboutToBeDestroyed, this, &OpenGlVideoView::releaseRenderer,
            Qt::DirectConnection);
    QString error;
    if (m_renderer && !m_renderer->startOpenGl(resolveFunction, context(), &error))
        Q_EMIT failed(error);
}

void OpenGlVideoView::paintGL()
{
    // The framebuffer's own size: a logical size times a fractional scale may round otherwise.
    if (!m_renderer)
        return;
    GLint viewport[4] = {0, 0, 0, 0};
    context()->functions()->glGetIntegerv(GL_VIEWPORT, viewport);
    m_renderer->drawOpenGl(int(defaultFramebufferObject()), QSize(viewport[2], viewport[3]));
}

std::unique_ptr<VideoRenderer> OpenGlVideoView::takeRenderer()
{
    releaseRenderer();
    if (m_renderer)
        disconnect(m_renderer.get(), nullptr, this, nullptr);
    return std::move(m_renderer);
}

void OpenGlVideoView::releaseRenderer()
{
    if (!m_renderer || !m_renderer->isStarted())
        return;
    makeCurrent();
    m_renderer->stop();
    doneCurrent();
}

SoftwareVideoView::SoftwareVideoView(std::unique_ptr<VideoRenderer> renderer, QWidget* parent)
    : QWidget(parent), m_renderer(std::move(renderer))
{
    setObjectName(QStringLiteral("videoView"));
    setAttribute(Qt::WA_OpaquePaintEvent);
    connect(m_renderer.get(), &VideoRenderer::frameReady, this, qOverload<>(&QWidget::update));
    connect(m_renderer.get(), &VideoRenderer::engineEnding, this, [this] { m_renderer->stop(); });
    QString error;
    if (!m_renderer->startSoftware(&error))
        qCWarning(lcPlayer).noquote() << "The picture cannot be drawn:" << error;
}

SoftwareVideoView::~SoftwareVideoView()
{
    m_renderer->stop();
}

void SoftwareVideoView::paintEvent(QPaintEvent*)
{
    const qreal scale = devicePixelRatioF();
    const QSize pixels = (QSizeF(size()) * scale).toSize();
    if (m_frame.size() != pixels) {
        m_frame = QImage(pixels, QImage::Format_RGB32);
        m_frame.setDevicePixelRatio(scale);
    }
    QPainter painter(this);
    if (m_frame.isNull() || !m_renderer->isStarted()) {
        painter.fillRect(rect(), Qt::black);
        return;
    }
    m_renderer->drawSoftware(m_frame);
    painter.drawImage(0, 0, m_frame);
}

namespace VideoViews {

bool openGlAvailable()
{
    static const bool available = [] {
        const QByteArray chosen = qgetenv("VOCARTA_VIDEO_DRAWING");
        if (chosen == "software")
            return false;
        if (QGuiApplication::platformName() == QLatin1String("offscreen"))
            return false;
        QOpenGLContext probe;
        QOffscreenSurface surface;
        surface.create();
        if (!probe.create() || !probe.makeCurrent(&surface))
            return false;
        const QByteArray renderer =
            reinterpret_cast<const char*>(probe.functions()->glGetString(GL_RENDERER));
        probe.doneCurrent();
        // OpenGL drawn by the CPU (Mesa's llvmpipe, in virtual machines and remote desktops) costs
        // the GUI thread about 37 ms a 720p frame; mpv's software renderer about 2 ms.
        const bool onCpu = renderer.contains("llvmpipe") || renderer.contains("softpipe") ||
                           renderer.contains("Software Rasterizer");
        if (onCpu && chosen != "opengl") {
            qCInfo(lcPlayer).noquote()
                << "The picture is drawn without OpenGL, which runs on the CPU here:" << renderer;
            return false;
        }
        return true;
    }();
    return available;
}

} // namespace VideoViews
