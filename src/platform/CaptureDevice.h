#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>

// A PCM format: interleaved frames, 8-bit unsigned or 16-bit signed little-endian samples.
struct PcmFormat {
    int channels = 2;
    int bitsPerSample = 16;
    int samplesPerSecond = 44100;

    int blockSize() const { return channels * bitsPerSample / 8; }
    int bytesPerSecond() const { return blockSize() * samplesPerSecond; }
    bool operator==(const PcmFormat&) const = default;
};

// A sound input. It captures in the background and hands the sound over on the GUI thread, in
// order, in buffers of the size it was opened with; a GUI thread that is busy for a while only
// delays the buffers, it loses none of them. No call waits for the sound server to answer: a
// stalled server must never hold the GUI thread.
class CaptureDevice : public QObject {
    Q_OBJECT
public:
    enum class Failure {
        // The server refused, went away, or has no such input.
        Broken,
        // The server holds the connection but does not answer.
        Stalled,
    };
    Q_ENUM(Failure)

    using QObject::QObject;

    // Starts opening the input in `format` and returns at once. `bufferSize` is a multiple of the
    // format's block size. Later, never before this returns, comes opened() once capturing, or
    // failed() with the device's own words; after that failure the input is closed again.
    virtual void open(const PcmFormat& format, int bufferSize) = 0;
    // Stops capturing for a while, or goes on, without waiting for the input to answer. The sound
    // captured before a pause is handed over first, its last part possibly after the call
    // returns and its last buffer possibly short.
    virtual void setPaused(bool paused) = 0;
    // Stops capturing, or gives up opening: before it returns, every sound captured until then is
    // handed over (the last buffer possibly short); then the input is closed and its buffers
    // released, and no signal of the closed input follows. Nothing happens while it is not open.
    virtual void close() = 0;
    // From open() until close(), or until opening failed.
    virtual bool isOpen() const = 0;

Q_SIGNALS:
    void opened();
    void bufferFilled(const QByteArray& sound);
    // Opening failed, or capturing broke off (the sound server went away or stopped answering,
    // the input vanished). Once capturing, the device stays open until closed, and the sound
    // captured until then is still handed over by close().
    void failed(CaptureDevice::Failure failure, const QString& reason);
};
