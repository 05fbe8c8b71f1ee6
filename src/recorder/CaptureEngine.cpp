#include "recorder/CaptureEngine.h"

#include "recorder/RecorderLogging.h"
#include "recorder/WavHeader.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace {

constexpr int kLargestBuffer = 8192;

} // namespace

CaptureEngine::CaptureEngine(CaptureDevice* device, QObject* parent)
    : QObject(parent), m_device(device)
{
    if (m_device) {
        connect(m_device, &CaptureDevice::opened, this, &CaptureEngine::openFile);
        connect(m_device, &CaptureDevice::bufferFilled, this, &CaptureEngine::writeBuffer);
        connect(m_device, &CaptureDevice::failed, this, &CaptureEngine::deviceFailed);
    }
}

CaptureEngine::~CaptureEngine()
{
    QSignalBlocker quiet(this);
    stop();
}

void CaptureEngine::start(const PcmFormat& format, const QString& fileName)
{
    stop();
    m_format = format;
    m_fileName = fileName;
    m_bufferSize = bufferSizeFor(format);
    m_byteCounter = 0;
    m_beyondHeader = 0;
    m_latest = QByteArray();
    m_failure.reset();
    m_state = State::Starting;
    // The device first: when it cannot record, a file of that name is left as it was.
    if (m_device)
        m_device->open(format, m_bufferSize);
    else
        QMetaObject::invokeMethod(
            this, [this] { failStart(Fault::Device, QString()); }, Qt::QueuedConnection);
}

void CaptureEngine::openFile()
{
    if (m_state != State::Starting)
        return;
    QString reason;
    if (!m_fileName.isEmpty()) {
        if (!m_writer.open(m_fileName, m_format, &reason)) {
            qCWarning(lcRecorder).noquote() << "Cannot write" << m_fileName << reason;
            m_device->close();
            failStart(Fault::File, reason);
            return;
        }
        m_byteCounter = WavHeader::kSize + 1;
    }
    m_state = State::Recording;
    Q_EMIT started();
}

void CaptureEngine::deviceFailed(CaptureDevice::Failure failure, const QString& reason)
{
    const Fault fault = failure == CaptureDevice::Failure::Stalled ? Fault::Stalled : Fault::Device;
    if (m_state != State::Starting) {
        breakOff(fault, reason);
        return;
    }
    qCWarning(lcRecorder).noquote() << "The sound input could not be opened:" << reason;
    m_device->close();
    failStart(fault, reason);
}

void CaptureEngine::failStart(Fault fault, const QString& reason)
{
    if (m_state != State::Starting)
        return;
    m_state = State::Idle;
    Q_EMIT startFailed(fault, reason);
}

void CaptureEngine::togglePause()
{
    if (m_state != State::Recording && m_state != State::Paused)
        return;
    const bool pausing = m_state == State::Recording;
    m_state = pausing ? State::Paused : State::Recording;
    // The sound before the pause is written as the device hands it over.
    m_device->setPaused(pausing);
    QString error;
    if (pausing && m_writer.isOpen() && !m_writer.updateHeader(&error))
        breakOff(Fault::File, error);
    else if (pausing)
        m_beyondHeader = 0;
}

void CaptureEngine::stop()
{
    if (m_state == State::Idle || m_stopping)
        return;
    if (m_state == State::Starting) {
        if (m_device)
            m_device->close();
        m_state = State::Idle;
        return;
    }
    m_stopping = true;
    if (m_device)
        m_device->close();
    QString error;
    if (!m_writer.finish(&error) && !m_failure)
        m_failure = Failure{Fault::File, error};
    m_state = State::Idle;
    m_stopping = false;
    m_latest = QByteArray();
    if (m_failure) {
        const Failure failure = *std::exchange(m_failure, std::nullopt);
        qCWarning(lcRecorder).noquote() << "Recording ended by a fault:" << failure.reason;
        Q_EMIT brokeOff(failure.fault, failure.reason);
    }
}

void CaptureEngine::breakOff(Fault fault, const QString& reason)
{
    if (m_state == State::Idle || m_failure)
        return;
    m_failure = Failure{fault, reason};
    stop();
}

void CaptureEngine::writeBuffer(const QByteArray& sound)
{
    // After a failed write nothing more can go in; after a failed device, what it still hands
    // over is sound from before the fault.
    if ((m_state != State::Recording && m_state != State::Paused) || sound.isEmpty() ||
        (m_failure && m_failure->fault == Fault::File))
        return;
    m_latest = sound;
    if (!m_writer.isOpen()) {
        m_byteCounter += sound.size();
        return;
    }
    QString error;
    if (!m_writer.append(sound, &error)) {
        breakOff(Fault::File, error);
        return;
    }
    m_byteCounter += sound.size();
    m_beyondHeader += sound.size();
    // Updated before a whole second of sound could go unstated.
    if (m_beyondHeader + m_bufferSize > m_format.bytesPerSecond()) {
        if (!m_writer.updateHeader(&error)) {
            breakOff(Fault::File, error);
            return;
        }
        m_beyondHeader = 0;
    }
}

qint64 CaptureEngine::elapsedSeconds() const
{
    const int perSecond = m_format.bytesPerSecond();
    return perSecond > 0 ? m_byteCounter / perSecond : 0;
}

double CaptureEngine::fullScale() const
{
    switch (m_format.bitsPerSample) {
    case 16:
        return 32767;
    case 8:
        return 127;
    default:
        return 0;
    }
}

std::optional<CaptureEngine::Peaks> CaptureEngine::peaks() const
{
    if (m_latest.isEmpty())
        return std::nullopt;
    const int block = std::max(1, m_format.blockSize());
    const qsizetype window = std::min<qsizetype>(peakWindowBytes(m_format), m_latest.size());
    const qsizetype from = (m_latest.size() - window) / block * block;
    return peaksOf(QByteArrayView(m_latest).sliced(from, window), m_format);
}

int CaptureEngine::bufferSizeFor(const PcmFormat& format)
{
    const int block = std::max(1, format.blockSize());
    return kLargestBuffer - kLargestBuffer % block;
}

int CaptureEngine::peakWindowBytes(const PcmFormat& format)
{
    // std::nearbyint rounds half to even in the default rounding mode.
    return int(std::nearbyint(format.samplesPerSecond / 1000.0 * format.blockSize()));
}

CaptureEngine::Peaks CaptureEngine::peaksOf(QByteArrayView window, const PcmFormat& format)
{
    const auto byte = [&window](qsizetype i) { return quint8(window[i]); };
    const int block = format.blockSize();
    const bool stereo = format.channels == 2;
    Peaks peaks;
    if (block <= 0)
        return peaks;
    for (qsizetype i = 0; i < window.size() - 2 && i + block <= window.size(); i += block) {
        if (format.bitsPerSample == 8) {
            peaks.left = std::max(peaks.left, std::abs(byte(i) - 128));
            if (stereo)
                peaks.right = std::max(peaks.right, std::abs(byte(i + 1) - 128));
        } else if (format.bitsPerSample == 16) {
            peaks.left = std::max(peaks.left, std::abs(sample16(byte(i), byte(i + 1))));
            if (stereo)
                peaks.right = std::max(peaks.right, std::abs(sample16(byte(i + 2), byte(i + 3))));
        }
    }
    if (!stereo)
        peaks.right = peaks.left;
    return peaks;
}

int CaptureEngine::sample16(quint8 low, quint8 high)
{
    return high * 256 + low - (high >= 128 ? 65536 : 0);
}
