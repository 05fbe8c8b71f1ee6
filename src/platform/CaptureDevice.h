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
// delays the buffers, it loses none of them.
class CaptureDevice : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

    // Opens the input in `format` and starts capturing. `bufferSize` is a multiple of the
    // format's block size. On failure returns false with the device's own words in `error`.
    virtual bool open(const PcmFormat& format, int bufferSize, QString* error) = 0;
    // Stops capturing for a while, or goes on, without waiting for the input to answer. The sound
    // captured before a pause is handed over first, its last part possibly after the call
    // returns and its last buffer possibly short.
    virtual void setPaused(bool paused) = 0;
    // Stops capturing: before it returns, every sound captured until then is handed over (the
    // last buffer possibly short); then the input is closed and its buffers released. Nothing
    // happens while it is not open.
    virtual void close() = 0;
    virtual bool isOpen() const = 0;

Q_SIGNALS:
    void bufferFilled(const QByteArray& sound);
    // Capturing broke off (the sound server went away, the input vanished); the device stays
    // open until closed, and the sound captured until then is still handed over by close().
    void failed(const QString& reason);
};
