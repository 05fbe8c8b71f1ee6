#pragma once

#include "platform/CaptureDevice.h"
#include "recorder/WavWriter.h"

#include <QByteArray>
#include <QObject>
#include <QPointer>
#include <optional>

// The one sound capture of the program: takes the device's buffers, writes them to a WAV file
// (or only counts them), keeps the counters the recorder window shows and measures the levels of
// the latest sound.
class CaptureEngine : public QObject {
    Q_OBJECT
public:
    enum class Fault {
        Device,
        // The sound server stopped answering.
        Stalled,
        File,
    };
    Q_ENUM(Fault)

    enum class State { Idle, Starting, Recording, Paused };
    Q_ENUM(State)

    struct Peaks {
        int left = 0;
        int right = 0;
    };

    // `device` is not owned; it serves this engine alone while a capture is open.
    explicit CaptureEngine(CaptureDevice* device, QObject* parent = nullptr);
    ~CaptureEngine() override;

    // Starts opening the device; once it captures, opens the file (replacing one of that name;
    // "" records to no file) and records. Returns at once; started() or startFailed() follows.
    // On failure nothing is open, and an existing file is untouched when the device failed.
    void start(const PcmFormat& format, const QString& fileName);
    // Pauses a running capture, or resumes a paused one.
    void togglePause();
    // Writes every sound the device captured until now, finishes and closes the file; while
    // starting, gives up the start without a signal. Nothing happens when no capture is open.
    void stop();

    State state() const { return m_state; }
    // Starting, recording or paused.
    bool isOpen() const { return m_state != State::Idle; }
    bool isPaused() const { return m_state == State::Paused; }
    QString fileName() const { return m_fileName; }
    const PcmFormat& format() const { return m_format; }
    int bufferSize() const { return m_bufferSize; }

    // With a file, the 1-based position at which the next sound goes (45 at the start);
    // without one, the bytes captured.
    qint64 bytesWritten() const { return m_byteCounter; }
    // bytesWritten() in whole seconds of sound.
    qint64 elapsedSeconds() const;
    // The largest sample magnitude of the format: 32767 for 16 bits, 127 for 8, else 0.
    double fullScale() const;
    // The peak magnitudes of about a millisecond of the latest sound, or nullopt while no sound
    // has come in since the start.
    std::optional<Peaks> peaks() const;

    // The largest multiple of the block size not above 8192.
    static int bufferSizeFor(const PcmFormat& format);
    // The bytes of about a millisecond of sound, rounded half to even.
    static int peakWindowBytes(const PcmFormat& format);
    // The peaks of `window` (a mono format gives the left peak on both sides).
    static Peaks peaksOf(QByteArrayView window, const PcmFormat& format);
    // The little-endian signed 16-bit sample of two bytes.
    static int sample16(quint8 low, quint8 high);

Q_SIGNALS:
    void started();
    // The start failed, with the device's or the system's reason; the engine is idle again.
    void startFailed(CaptureEngine::Fault fault, const QString& reason);
    // A fault ended the capture; it is stopped and its file holds the sound until the fault.
    void brokeOff(CaptureEngine::Fault fault, const QString& reason);

private:
    void openFile();
    void deviceFailed(CaptureDevice::Failure failure, const QString& reason);
    void failStart(Fault fault, const QString& reason);
    void writeBuffer(const QByteArray& sound);
    void breakOff(Fault fault, const QString& reason);

    QPointer<CaptureDevice> m_device;
    WavWriter m_writer;
    PcmFormat m_format;
    QString m_fileName;
    int m_bufferSize = 8192;
    qint64 m_byteCounter = 0;
    // Sound written since the header last stated the sizes.
    qint64 m_beyondHeader = 0;
    QByteArray m_latest;
    State m_state = State::Idle;
    bool m_stopping = false;
    struct Failure {
        Fault fault;
        QString reason;
    };
    std::optional<Failure> m_failure;
};
