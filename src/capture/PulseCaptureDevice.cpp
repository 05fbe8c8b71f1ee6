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

bool PulseCaptureDevice::open(const PcmFormat& format, int bufferSize, QString* error)
{
    close();
    m_bufferSize = std::max(bufferSize, format.blockSize());
    m_silence = format.bitsPerSample == 8 ? char(0x80) : char(0);
    m_timedOut = false;
    m_capturing = false;
    m_failureReported = false;

    m_mainloop = pa_threaded_mainloop_new();
    if (!m_mainloop) {
        if (error)
            *error = text(PA_ERR_INTERNAL);
        return false;
    }
    bool opened = false;
    QString reason;
    if (pa_threaded_mainloop_start(m_mainloop) < 0) {
        reason = text(PA_ERR_INTERNAL);
    } else {
        LoopLock lock(m_mainloop);
        pa_mainloop_api* api = pa_threaded_mainloop_get_api(m_mainloop);
        timeval deadline;
        pa_timeval_add(pa_gettimeofday(&deadline), pa_usec_t(kOpenTimeoutMs) * PA_USEC_PER_MSEC);
        pa_time_event* timeout = api->time_new(api, &deadline, &onTimeout, this);
        opened = connectContext(&reason) && connectStream(format, &reason);
        api->time_free(timeout);
        m_capturing = opened;
    }
    if (!opened) {
        release();
        if (error)
            *error = reason;
        return false;
    }
    return true;
}

template <typename Done> bool PulseCaptureDevice::waitUntil(Done done)
{
    while (!done()) {
        if (m_timedOut)
            return false;
        pa_threaded_mainloop_wait(m_mainloop);
    }
    return true;
}

bool PulseCaptureDevice::connectContext(QString* error)
{
    m_context = pa_context_new(pa_threaded_mainloop_get_api(m_mainloop), "Vocarta");
    if (!m_context) {
        *error = text(PA_ERR_INTERNAL);
        return false;
    }
    pa_context_set_state_callback(m_context, &onContextState, this);
    if (pa_context_connect(m_context, nullptr, PA_CONTEXT_NOFLAGS, nullptr) < 0) {
        *error = serverError();
        return false;
    }
    const auto settled = [this] {
        const pa_context_state_t state = pa_context_get_state(m_context);
        return state == PA_CONTEXT_READY || !PA_CONTEXT_IS_GOOD(state);
    };
    if (!waitUntil(settled)) {
        *error = text(PA_ERR_TIMEOUT);
        return false;
    }
    if (pa_context_get_state(m_context) != PA_CONTEXT_READY) {
        *error = serverError();
        return false;
    }
    return true;
}

bool PulseCaptureDevice::connectStream(const PcmFormat& format, QString* error)
{
    pa_sample_spec spec;
    spec.format = format.bitsPerSample == 8 ? PA_SAMPLE_U8 : PA_SAMPLE_S16LE;
    spec.rate = uint32_t(format.samplesPerSecond);
    spec.channels = uint8_t(format.channels);
    if (format.bitsPerSample != 8 && format.bitsPerSample != 16) {
        *error = text(PA_ERR_NOTSUPPORTED);
        return false;
    }
    m_stream = pa_stream_new(m_context, "Recording", &spec, nullptr);
    if (!m_stream) {
        *error = serverError();
        return false;
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
    if (pa_stream_connect_record(m_stream, nullptr, &attributes, PA_STREAM_ADJUST_LATENCY) < 0) {
        *error = serverError();
        return false;
    }
    const auto settled = [this] {
        const pa_stream_state_t state = pa_stream_get_state(m_stream);
        return state == PA_STREAM_READY || !PA_STREAM_IS_GOOD(state);
    };
    if (!waitUntil(settled)) {
        *error = text(PA_ERR_TIMEOUT);
        return false;
    }
    if (pa_stream_get_state(m_stream) != PA_STREAM_READY) {
        *error = serverError();
        return false;
    }
    return true;
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
        if (!m_capturing || pa_stream_get_state(m_stream) != PA_STREAM_READY)
            return;
        // Not waited for: a stalled server would hold the GUI thread until libpulse gives up.
        // The sound that still comes until the server has paused is read as it arrives.
        pa_operation* operation =
            pa_stream_cork(m_stream, paused ? 1 : 0, paused ? &onCorked : nullptr, this);
        if (!operation) {
            reportFailure(serverError());
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
        reportFailure(text(PA_ERR_TIMEOUT));
}

void PulseCaptureDevice::close()
{
    if (!m_mainloop)
        return;
    {
        LoopLock lock(m_mainloop);
        if (m_stream && PA_STREAM_IS_GOOD(pa_stream_get_state(m_stream)))
            readStream();
        handOverPartial();
        m_capturing = false;
    }
    release();
    deliver();
}

void PulseCaptureDevice::release()
{
    if (m_mainloop) {
        m_answerTimer.stop();
        pa_threaded_mainloop_lock(m_mainloop);
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

void PulseCaptureDevice::reportFailure(const QString& reason)
{
    if (!m_capturing || m_failureReported)
        return;
    m_failureReported = true;
    QMetaObject::invokeMethod(
        this, [this, reason] { Q_EMIT failed(reason); }, Qt::QueuedConnection);
}

void PulseCaptureDevice::onContextState(pa_context* context, void* self)
{
    auto* device = static_cast<PulseCaptureDevice*>(self);
    if (!PA_CONTEXT_IS_GOOD(pa_context_get_state(context)))
        device->reportFailure(device->serverError());
    pa_threaded_mainloop_signal(device->m_mainloop, 0);
}

void PulseCaptureDevice::onStreamState(pa_stream* stream, void* self)
{
    auto* device = static_cast<PulseCaptureDevice*>(self);
    if (!PA_STREAM_IS_GOOD(pa_stream_get_state(stream)))
        device->reportFailure(device->serverError());
    pa_threaded_mainloop_signal(device->m_mainloop, 0);
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

void PulseCaptureDevice::onTimeout(pa_mainloop_api*, pa_time_event*, const timeval*, void* self)
{
    auto* device = static_cast<PulseCaptureDevice*>(self);
    device->m_timedOut = true;
    pa_threaded_mainloop_signal(device->m_mainloop, 0);
}
