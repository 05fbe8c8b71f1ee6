#include "recorder/CaptureEngine.h"

#include "recorder/RecorderLog.h"
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
        connect(m_device, &CaptureDevice::bufferFilled, this, &CaptureEngine::writeBuffer);
        connect(m_device, &CaptureDevice::failed, this,
                [this](const QString& reason) { breakOff(Fault::Device, reason); });
    }
}

CaptureEngine::~CaptureEngine()
{
    QSignalBlocker quiet(this);
    stop();
}

std::optional<CaptureEngine::Fault> CaptureEngine::start(const PcmFormat& format,
                                                         const QString& fileName, QString* error)
{
    stop();
    m_format = format;
    m_fileName = fileName;
    m_bufferSize = bufferSizeFor(format);
    m_byteCounter = 0;
    m_beyondHeader = 0;
    m_latest = QByteArray();
    m_failure.reset();

    // The device first: when it cannot record, a file of that name is left as it was.
    QString reason;
    if (!m_device || !m_device->open(format, m_bufferSize, &reason)) {
        qCWarning(lcRecorder).noquote() << "The sound input could not be opened:" << reason;
        if (error)
            *error = reason;
        return Fault::Device;
    }
    if (!fileName.isEmpty()) {
        if (!m_writer.open(fileName, format, &reason)) {
            qCWarning(lcRecorder).noquote() << "Cannot write" << fileName << reason;
            m_device->close();
            if (error)
                *error = reason;
            return Fault::File;
        }
        m_byteCounter = WavHeader::kSize + 1;
    }
    m_open = true;
    m_paused = false;
    return std::nullopt;
}

void CaptureEngine::togglePause()
{
    if (!m_open)
        return;
    m_paused = !m_paused;
    // The sound before the pause is written as the device hands it over.
    m_device->setPaused(m_paused);
    QString error;
    if (m_paused && m_writer.isOpen() && !m_writer.updateHeader(&error))
        breakOff(Fault::File, error);
    else if (m_paused)
        m_beyondHeader = 0;
}

void CaptureEngine::stop()
{
    if (!m_open || m_stopping)
        return;
    m_stopping = true;
    if (m_device)
        m_device->close();
    QString error;
    if (!m_writer.finish(&error) && !m_failure)
        m_failure = Failure{Fault::File, error};
    m_open = false;
    m_paused = false;
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
    if (!m_open || m_failure)
        return;
    m_failure = Failure{fault, reason};
    stop();
}

void CaptureEngine::writeBuffer(const QByteArray& sound)
{
    // After a failed write nothing more can go in; after a failed device, what it still hands
    // over is sound from before the fault.
    if (!m_open || sound.isEmpty() || (m_failure && m_failure->fault == Fault::File))
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
