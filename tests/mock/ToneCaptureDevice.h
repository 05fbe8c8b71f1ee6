#pragma once

#include "platform/CaptureDevice.h"

#include <QElapsedTimer>
#include <QTimer>

// A sound input that captures a sine tone (or silence, at amplitude 0) when the test says so, or
// as the clock runs. Whole buffers are handed over as they fill, the last short one at a pause
// or at the close, as a real device does. An open is answered on the next turn of the event loop.
class ToneCaptureDevice : public CaptureDevice {
    Q_OBJECT
public:
    ToneCaptureDevice();

    void open(const PcmFormat& format, int bufferSize) override;
    void setPaused(bool paused) override;
    void close() override;
    bool isOpen() const override { return m_open || m_opening; }

    // Captures this many bytes of the tone (nothing while paused or closed).
    void capture(qint64 bytes);
    void captureBuffers(int count) { capture(qint64(count) * bufferSize); }
    // Captures these bytes instead of the tone.
    void captureBytes(const QByteArray& sound);
    // Captures in real time whenever open, in steps of `stepMs`.
    void runClock(int stepMs = 10);
    // Breaks off as a sound server that goes away does.
    void breakOff(const QString& reason) { Q_EMIT failed(Failure::Broken, reason); }

    // `bytes` of the tone in `format`, from frame `firstFrame` on.
    static QByteArray tone(const PcmFormat& format, double frequency, double amplitude,
                           qint64 firstFrame, qint64 bytes);

    double frequency = 440;
    double amplitude = 0.5;
    // Set: open fails with these words.
    QString openError;
    Failure openFailure = Failure::Broken;

    PcmFormat format;
    int bufferSize = 0;
    bool paused = false;
    int opens = 0;
    qint64 bytesCaptured = 0;

private:
    void handOver(bool partialToo);

    QByteArray m_filling;
    bool m_open = false;
    bool m_opening = false;
    QTimer m_clock;
    QElapsedTimer m_elapsed;
    qint64 m_clockBytes = 0;
};
