#include "engine/MpvVideoRenderer.h"

#include "engine/MpvMediaPlayer.h"

#include <QImage>
#include <QSize>
#include <mpv/render.h>
#include <mpv/render_gl.h>

MpvVideoRenderer::MpvVideoRenderer(mpv_handle* mpv, MpvMediaPlayer* engine)
    : m_mpv(mpv), m_engine(engine)
{
}

MpvVideoRenderer::~MpvVideoRenderer()
{
    // An OpenGL context should have been freed by its view with the context current; this is the
    // last resort that keeps mpv from drawing into freed memory.
    stop();
    if (m_engine)
        m_engine->forgetRenderer(this);
}

bool MpvVideoRenderer::startOpenGl(FunctionResolver resolve, void* context, QString* error)
{
    mpv_opengl_init_params init{resolve, context};
    mpv_render_param params[] = {
        {MPV_RENDER_PARAM_API_TYPE, const_cast<char*>(MPV_RENDER_API_TYPE_OPENGL)},
        {MPV_RENDER_PARAM_OPENGL_INIT_PARAMS, &init},
        {MPV_RENDER_PARAM_INVALID, nullptr}};
    return start(params, error);
}

bool MpvVideoRenderer::startSoftware(QString* error)
{
    mpv_render_param params[] = {
        {MPV_RENDER_PARAM_API_TYPE, const_cast<char*>(MPV_RENDER_API_TYPE_SW)},
        {MPV_RENDER_PARAM_INVALID, nullptr}};
    return start(params, error);
}

bool MpvVideoRenderer::start(void* params, QString* error)
{
    if (m_context)
        return true;
    if (!m_mpv) {
        if (error)
            *error = QStringLiteral("the media engine has ended");
        return false;
    }
    const int result =
        mpv_render_context_create(&m_context, m_mpv, static_cast<mpv_render_param*>(params));
    if (result < 0) {
        m_context = nullptr;
        if (error)
            *error = QString::fromUtf8(mpv_error_string(result));
        return false;
    }
    // Called on an mpv thread, sometimes from inside mpv's own calls: only queue the repaint.
    mpv_render_context_set_update_callback(
        m_context,
        [](void* self) {
            auto* renderer = static_cast<MpvVideoRenderer*>(self);
            if (!renderer->m_frameQueued.exchange(true))
                QMetaObject::invokeMethod(
                    renderer,
                    [renderer] {
                        renderer->m_frameQueued.store(false);
                        Q_EMIT renderer->frameReady();
                    },
                    Qt::QueuedConnection);
        },
        this);
    if (m_engine)
        m_engine->setVideoOutput(true);
    return true;
}

bool MpvVideoRenderer::takeFrame()
{
    return m_context && (mpv_render_context_update(m_context) & MPV_RENDER_UPDATE_FRAME);
}

void MpvVideoRenderer::drawOpenGl(int framebuffer, const QSize& size)
{
    if (!m_context || size.isEmpty())
        return;
    // Every paint draws, also without a new frame: the widget's framebuffer may have been
    // resized or recreated.
    takeFrame();
    mpv_opengl_fbo target{framebuffer, size.width(), size.height(), 0};
    int flip = 1; // a framebuffer object's first row is the bottom one
    mpv_render_param params[] = {{MPV_RENDER_PARAM_OPENGL_FBO, &target},
                                 {MPV_RENDER_PARAM_FLIP_Y, &flip},
                                 {MPV_RENDER_PARAM_INVALID, nullptr}};
    mpv_render_context_render(m_context, params);
}

void MpvVideoRenderer::drawSoftware(QImage& image)
{
    if (!m_context || image.isNull() || image.format() != QImage::Format_RGB32)
        return;
        // Qt's native 32-bit pixel, which the window's backing store copies as it is: an image of
        // the byte order RGBX would be converted at every paint.
#if Q_BYTE_ORDER == Q_LITTLE_ENDIAN
    static char format[] = "bgr0";
#else
    static char format[] = "0rgb";
#endif
    takeFrame();
    int size[2] = {image.width(), image.height()};
    size_t stride = size_t(image.bytesPerLine());
    mpv_render_param params[] = {{MPV_RENDER_PARAM_SW_SIZE, size},
                                 {MPV_RENDER_PARAM_SW_FORMAT, format},
                                 {MPV_RENDER_PARAM_SW_STRIDE, &stride},
                                 {MPV_RENDER_PARAM_SW_POINTER, image.bits()},
                                 {MPV_RENDER_PARAM_INVALID, nullptr}};
    mpv_render_context_render(m_context, params);
}

void MpvVideoRenderer::stop()
{
    if (!m_context)
        return;
    // The update callback is cleared by the free, which waits for the video output to go.
    mpv_render_context_free(m_context);
    m_context = nullptr;
    if (m_engine)
        m_engine->setVideoOutput(false);
}

void MpvVideoRenderer::endWithEngine()
{
    Q_EMIT engineEnding();
    stop();
    m_engine = nullptr;
    m_mpv = nullptr;
}
