#include "capture/PulseCaptureDevice.h"

#include <algorithm>
#include <pulse/pulseaudio.h>

namespace {

// Holds the loop's lock for a scope.
class LoopLock {
public:
    explicit LoopLock(pa_threaded_mainloop* loop) : m_loop(loop)
    {
        pa_threaded_mainloop_lock(loop);
    }
    ~LoopLock() { pa_threaded_mainloop_unlock(m_loop); }
    LoopLock(const LoopLock&) = delete;
    LoopLock& operator=(const LoopLock&) = delete;

private:
    pa_threaded_mainloop* m_loop;
};

QString text(int error)
{
    return QString::fromUtf8(pa_strerror(error));
}

} // namespace

PulseCaptureDevice::PulseCaptureDevice(QObject* parent) : CaptureDevice(parent)
{
    m_answerTimer.setSingleShot(true);
    connect(&m_answerTimer, &QTimer::timeout, this, &PulseCaptureDevice::checkAnswer);
}

PulseCaptureDevice::~PulseCaptureDevice()
{
    // What would be handed over has nobody left to take it.
    blockSignals(true);
    close();
}

void PulseCaptureDevice::open(const PcmFormat& format, int bufferSize)
{
    close();
    m_format = format;
    m_bufferSize = std::max(bufferSize, format.blockSize());
    m_silence = format.bitsPerSample == 8 ? char(0x80) : char(0);
    m_phase = Phase::Opening;
    m_failureReported = false;

    m_mainloop = pa_threaded_mainloop_new();
    if (!m_mainloop || pa_threaded_mainloop_start(m_mainloop) < 0) {
        release();
        post([this] { Q_EMIT failed(Failure::Broken, text(PA_ERR_INTERNAL)); });
        return;
    }
    // Even making the context reads files and may start a server: all of it on libpulse's thread.
    LoopLock lock(m_mainloop);
    pa_mainloop_api* api = pa_threaded_mainloop_get_api(m_mainloop);
    timeval deadline;
    pa_timeval_add(pa_gettimeofday(&deadline), pa_usec_t(kOpenTimeoutMs) * PA_USEC_PER_MSEC);
    m_openTimeout = api->time_new(api, &deadline, &onOpenTimeout, this);
    pa_mainloop_api_once(api, &onConnect, this);
}

template <typename Call> void PulseCaptureDevice::post(Call call)
{
    QMetaObject::invokeMethod(
        this,
        [this, attempt = m_attempt, call] {
            if (attempt == m_attempt)
                call();
        },
        Qt::QueuedConnection);
}

void PulseCaptureDevice::onConnect(pa_mainloop_api* api, void* self)
{
    auto* device = static_cast<PulseCaptureDevice*>(self);
    if (device->m_phase != Phase::Opening)
        return;
    device->m_context = pa_context_new(api, "Vocarta");
    if (!device->m_context) {
        device->reportFailure(Failure::Broken, text(PA_ERR_INTERNAL));
        return;
    }
    pa_context_set_state_callback(device->m_context, &onContextState, device);
    if (pa_context_connect(device->m_context, nullptr, PA_CONTEXT_NOFLAGS, nullptr) < 0)
        device->reportFailure(Failure::Broken, device->serverError());
}

void PulseCaptureDevice::connectStream()
{
    if (m_format.bitsPerSample != 8 && m_format.bitsPerSample != 16) {
        reportFailure(Failure::Broken, text(PA_ERR_NOTSUPPORTED));
        return;
    }
    pa_sample_spec spec;
    spec.format = m_format.bitsPerSample == 8 ? PA_SAMPLE_U8 : PA_SAMPLE_S16LE;
    spec.rate = uint32_t(m_format.samplesPerSecond);
    spec.channels = uint8_t(m_format.channels);
    m_stream = pa_stream_new(m_context, "Recording", &spec, nullptr);
    if (!m_stream) {
        reportFailure(Failure::Broken, serverError());
        return;
    }
    pa_stream_set_state_callback(m_stream, &onStreamState, this);
    pa_stream_set_read_callback(m_stream, &onReadable, this);

    pa_buffer_attr attributes;
    attributes.maxlength = uint32_t(-1);
    attributes.tlength = uint32_t(-1);
    attributes.prebuf = uint32_t(-1);
    attributes.minreq = uint32_t(-1);
    attributes.fragsize =
        uint32_t(pa_usec_to_bytes(pa_usec_t(kFragmentMs) * PA_USEC_PER_MSEC, &spec));
    if (pa_stream_connect_record(m_stream, nullptr, &attributes, PA_STREAM_ADJUST_LATENCY) < 0)
        reportFailure(Failure::Broken, serverError());
}

void PulseCaptureDevice::endOpenTimeout()
{
    if (m_openTimeout) {
        pa_mainloop_api* api = pa_threaded_mainloop_get_api(m_mainloop);
        api->time_free(std::exchange(m_openTimeout, nullptr));
    }
}

QString PulseCaptureDevice::serverError() const
{
    return text(m_context ? pa_context_errno(m_context) : PA_ERR_CONNECTIONREFUSED);
}

void PulseCaptureDevice::setPaused(bool paused)
{
    if (!m_mainloop)
        return;
    {
        LoopLock lock(m_mainloop);
        if (m_phase != Phase::Capturing || pa_stream_get_state(m_stream) != PA_STREAM_READY)
            return;
        // Not waited for: a stalled server would hold the GUI thread until libpulse gives up.
        // The sound that still comes until the server has paused is read as it arrives.
        pa_operation* operation =
            pa_stream_cork(m_stream, paused ? 1 : 0, paused ? &onCorked : nullptr, this);
        if (!operation) {
            reportFailure(Failure::Broken, serverError());
            return;
        }
        if (m_unanswered)
            pa_operation_unref(m_unanswered);
        m_unanswered = operation;
        m_sentClock.start();
        if (paused) {
            readStream();
            handOverPartial();
        }
    }
    if (!m_answerTimer.isActive())
        m_answerTimer.start(kAnswerTimeoutMs);
    deliver();
}

void PulseCaptureDevice::checkAnswer()
{
    if (!m_mainloop)
        return;
    LoopLock lock(m_mainloop);
    if (!m_unanswered)
        return;
    if (pa_operation_get_state(m_unanswered) != PA_OPERATION_RUNNING) {
        pa_operation_unref(std::exchange(m_unanswered, nullptr));
        return;
    }
    const qint64 waited = m_sentClock.elapsed();
    if (waited < kAnswerTimeoutMs)
        m_answerTimer.start(int(kAnswerTimeoutMs - waited));
    else
        reportFailure(Failure::Stalled, text(PA_ERR_TIMEOUT));
}

void PulseCaptureDevice::close()
{
    if (!m_mainloop) {
        ++m_attempt;
        return;
    }
    {
        LoopLock lock(m_mainloop);
        if (m_stream && PA_STREAM_IS_GOOD(pa_stream_get_state(m_stream)))
            readStream();
        handOverPartial();
    }
    release();
    // What the closed opening still had on its way is dropped.
    ++m_attempt;
    deliver();
}

void PulseCaptureDevice::release()
{
    if (m_mainloop) {
        m_answerTimer.stop();
        pa_threaded_mainloop_lock(m_mainloop);
        m_phase = Phase::Ended;
        endOpenTimeout();
        if (m_unanswered) {
            pa_operation_cancel(m_unanswered);
            pa_operation_unref(std::exchange(m_unanswered, nullptr));
        }
        if (m_stream) {
            pa_stream_set_state_callback(m_stream, nullptr, nullptr);
            pa_stream_set_read_callback(m_stream, nullptr, nullptr);
            if (PA_STREAM_IS_GOOD(pa_stream_get_state(m_stream)))
                pa_stream_disconnect(m_stream);
            pa_stream_unref(m_stream);
            m_stream = nullptr;
        }
        if (m_context) {
            pa_context_set_state_callback(m_context, nullptr, nullptr);
            pa_context_disconnect(m_context);
            pa_context_unref(m_context);
            m_context = nullptr;
        }
        pa_threaded_mainloop_unlock(m_mainloop);
        pa_threaded_mainloop_stop(m_mainloop);
        pa_threaded_mainloop_free(m_mainloop);
        m_mainloop = nullptr;
    }
    m_filling = QByteArray();
}

void PulseCaptureDevice::readStream()
{
    for (;;) {
        const size_t readable = pa_stream_readable_size(m_stream);
        if (readable == 0 || readable == size_t(-1))
            return;
        const void* data = nullptr;
        size_t length = 0;
        if (pa_stream_peek(m_stream, &data, &length) < 0 || length == 0)
            return;
        take(static_cast<const char*>(data), length);
        pa_stream_drop(m_stream);
    }
}

void PulseCaptureDevice::take(const char* data, size_t length)
{
    while (length > 0) {
        if (m_filling.isEmpty())
            m_filling.reserve(m_bufferSize);
        const size_t part = std::min(length, size_t(m_bufferSize - m_filling.size()));
        if (data) {
            m_filling.append(data, qsizetype(part));
            data += part;
        } else {
            m_filling.append(qsizetype(part), m_silence);
        }
        length -= part;
        if (m_filling.size() == m_bufferSize)
            handOver(std::exchange(m_filling, QByteArray()));
    }
}

void PulseCaptureDevice::handOverPartial()
{
    if (!m_filling.isEmpty())
        handOver(std::exchange(m_filling, QByteArray()));
}

void PulseCaptureDevice::handOver(QByteArray buffer)
{
    std::lock_guard guard(m_fullLock);
    m_full.push_back(std::move(buffer));
    if (!m_deliveryPosted) {
        m_deliveryPosted = true;
        QMetaObject::invokeMethod(this, &PulseCaptureDevice::deliver, Qt::QueuedConnection);
    }
}

void PulseCaptureDevice::deliver()
{
    // One at a time, so that a receiver that closes the device keeps the order.
    for (;;) {
        QByteArray next;
        {
            std::lock_guard guard(m_fullLock);
            if (m_full.empty()) {
                m_deliveryPosted = false;
                return;
            }
            next = std::move(m_full.front());
            m_full.pop_front();
        }
        Q_EMIT bufferFilled(next);
    }
}

void PulseCaptureDevice::reportFailure(Failure failure, const QString& reason)
{
    if (m_phase == Phase::Opening) {
        m_phase = Phase::Ended;
        endOpenTimeout();
        post([this, failure, reason] {
            release();
            Q_EMIT failed(failure, reason);
        });
    } else if (m_phase == Phase::Capturing && !m_failureReported) {
        m_failureReported = true;
        post([this, failure, reason] { Q_EMIT failed(failure, reason); });
    }
}

void PulseCaptureDevice::onContextState(pa_context* context, void* self)
{
    auto* device = static_cast<PulseCaptureDevice*>(self);
    const pa_context_state_t state = pa_context_get_state(context);
    if (!PA_CONTEXT_IS_GOOD(state))
        device->reportFailure(Failure::Broken, device->serverError());
    else if (state == PA_CONTEXT_READY && device->m_phase == Phase::Opening && !device->m_stream)
        device->connectStream();
}

void PulseCaptureDevice::onStreamState(pa_stream* stream, void* self)
{
    auto* device = static_cast<PulseCaptureDevice*>(self);
    const pa_stream_state_t state = pa_stream_get_state(stream);
    if (!PA_STREAM_IS_GOOD(state)) {
        device->reportFailure(Failure::Broken, device->serverError());
    } else if (state == PA_STREAM_READY && device->m_phase == Phase::Opening) {
        device->endOpenTimeout();
        device->m_phase = Phase::Capturing;
        // Posted before any buffer, which comes only from a ready stream.
        device->post([device] { Q_EMIT device->opened(); });
    }
}

void PulseCaptureDevice::onReadable(pa_stream*, size_t, void* self)
{
    static_cast<PulseCaptureDevice*>(self)->readStream();
}

void PulseCaptureDevice::onCorked(pa_stream*, int, void* self)
{
    // The last of the sound before the pause, possibly a short buffer.
    auto* device = static_cast<PulseCaptureDevice*>(self);
    device->readStream();
    device->handOverPartial();
}

void PulseCaptureDevice::onOpenTimeout(pa_mainloop_api* api, pa_time_event* event, const timeval*,
                                       void* self)
{
    auto* device = static_cast<PulseCaptureDevice*>(self);
    api->time_free(event);
    device->m_openTimeout = nullptr;
    device->reportFailure(Failure::Stalled, text(PA_ERR_TIMEOUT));
}
