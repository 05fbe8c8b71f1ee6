#pragma once

#include "platform/VideoRenderer.h"

#include <atomic>

struct mpv_handle;
struct mpv_render_context;
class MpvMediaPlayer;

// The picture of an MpvMediaPlayer through libmpv's render API. mpv has one render context per
// player; while it lives the player decodes the picture, and without it the sound alone.
class MpvVideoRenderer : public VideoRenderer {
    Q_OBJECT
public:
    MpvVideoRenderer(mpv_handle* mpv, MpvMediaPlayer* engine);
    ~MpvVideoRenderer() override;

    bool startOpenGl(FunctionResolver resolve, void* context, QString* error) override;
    bool startSoftware(QString* error) override;
    bool isStarted() const override { return m_context != nullptr; }
    void drawOpenGl(int framebuffer, const QSize& size) override;
    void drawSoftware(QImage& image) override;
    void stop() override;

    // Called by the engine before it frees mpv: after it, nothing reaches mpv any more.
    void endWithEngine();

private:
    bool start(void* params, QString* error);
    // Takes the frame mpv has for the next draw; false when there is none yet.
    bool takeFrame();

    mpv_handle* m_mpv;
    MpvMediaPlayer* m_engine;
    mpv_render_context* m_context = nullptr;
    std::atomic_bool m_frameQueued = false;
};
