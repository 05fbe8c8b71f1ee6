#pragma once

#include "platform/CaptureDevice.h"

#include <QElapsedTimer>
#include <QTimer>
#include <deque>
#include <mutex>

struct pa_context;
struct pa_operation;
struct pa_mainloop_api;
struct pa_stream;
struct pa_threaded_mainloop;
struct pa_time_event;
struct timeval;

// The sound server's default source through libpulse (PulseAudio, or PipeWire's PulseAudio
// service). libpulse's own thread talks to the server, opens the stream, reads it and cuts it into
// buffers, so a busy GUI thread only delays them and a stalled server never holds the GUI thread;
// the GUI thread hears of the opening, of full buffers and of failures through its event queue.
class PulseCaptureDevice : public CaptureDevice {
    Q_OBJECT
public:
    explicit PulseCaptureDevice(QObject* parent = nullptr);
    ~PulseCaptureDevice() override;

    void open(const PcmFormat& format, int bufferSize) override;
    void setPaused(bool paused) override;
    void close() override;
    bool isOpen() const override { return m_mainloop != nullptr; }

    // How long opening may go unanswered before the server counts as stalled.
    static constexpr int kOpenTimeoutMs = 5000;
    // How much sound the server sends at a time: a filled buffer reaches the GUI thread at most
    // this much later.
    static constexpr int kFragmentMs = 20;
    // How long a pause or a resume may go unanswered before the server counts as stalled and
    // the capture breaks off. A working server answers within milliseconds even on a loaded
    // machine; libpulse itself would wait 30 s.
    static constexpr int kAnswerTimeoutMs = 5000;

private:
    // Ended: opening failed or the device is closing; libpulse's callbacks start nothing more.
    enum class Phase { Opening, Capturing, Ended };

    static void onConnect(pa_mainloop_api* api, void* self);
    static void onContextState(pa_context* context, void* self);
    static void onStreamState(pa_stream* stream, void* self);
    static void onReadable(pa_stream* stream, size_t length, void* self);
    static void onCorked(pa_stream* stream, int success, void* self);
    static void onOpenTimeout(pa_mainloop_api* api, pa_time_event* event, const timeval* when,
                              void* self);

    // On libpulse's thread, or on the GUI thread holding the loop's lock.
    void readStream();
    // `data` null stands for a gap in the stream, taken as silence.
    void take(const char* data, size_t length);
    void handOverPartial();
    void handOver(QByteArray buffer);
    void reportFailure(Failure failure, const QString& reason);
    void connectStream();
    void endOpenTimeout();
    // Runs `call` on the GUI thread unless this opening has been closed or replaced by then.
    template <typename Call> void post(Call call);

    // On the GUI thread.
    void deliver();
    void release();
    void checkAnswer();
    QString serverError() const;

    pa_threaded_mainloop* m_mainloop = nullptr;
    pa_context* m_context = nullptr;
    pa_stream* m_stream = nullptr;
    pa_time_event* m_openTimeout = nullptr;
    PcmFormat m_format;
    int m_bufferSize = 0;
    // Changed only while libpulse's thread is not running.
    quint64 m_attempt = 0;
    char m_silence = 0;
    // Guarded by the loop's lock.
    QByteArray m_filling;
    Phase m_phase = Phase::Opening;
    bool m_failureReported = false;
    // The latest pause or resume sent; the server answers them in order.
    pa_operation* m_unanswered = nullptr;
    QElapsedTimer m_sentClock;
    QTimer m_answerTimer;

    std::mutex m_fullLock;
    std::deque<QByteArray> m_full;
    bool m_deliveryPosted = false;
};
