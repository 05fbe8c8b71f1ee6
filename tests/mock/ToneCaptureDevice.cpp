#include "ToneCaptureDevice.h"

#include <cmath>
#include <numbers>

ToneCaptureDevice::ToneCaptureDevice()
{
    connect(&m_clock, &QTimer::timeout, this, [this] {
        const qint64 due = m_elapsed.elapsed() * format.bytesPerSecond() / 1000;
        capture(due - m_clockBytes);
        m_clockBytes = due / format.blockSize() * format.blockSize();
    });
}

void ToneCaptureDevice::open(const PcmFormat& f, int size)
{
    ++opens;
    m_opening = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
            if (!std::exchange(m_opening, false))
                return;
            m_open = openError.isEmpty();
            if (m_open)
                Q_EMIT opened();
            else
                Q_EMIT failed(openFailure, openError);
        },
        Qt::QueuedConnection);
    format = f;
    bufferSize = size;
    paused = false;
    bytesCaptured = 0;
    m_filling.clear();
    m_elapsed.restart();
    m_clockBytes = 0;
}

void ToneCaptureDevice::setPaused(bool pause)
{
    if (!m_open)
        return;
    paused = pause;
    if (paused)
        handOver(true);
    m_elapsed.restart();
    m_clockBytes = 0;
}

void ToneCaptureDevice::close()
{
    m_opening = false;
    if (!m_open)
        return;
    handOver(true);
    m_open = false;
    m_filling = QByteArray();
}

void ToneCaptureDevice::capture(qint64 bytes)
{
    if (!m_open || paused || bytes <= 0)
        return;
    const int block = format.blockSize();
    captureBytes(tone(format, frequency, amplitude, bytesCaptured / block, bytes / block * block));
}

void ToneCaptureDevice::captureBytes(const QByteArray& sound)
{
    if (!m_open || paused)
        return;
    bytesCaptured += sound.size();
    m_filling.append(sound);
    handOver(false);
}

void ToneCaptureDevice::handOver(bool partialToo)
{
    while (m_open && m_filling.size() >= bufferSize) {
        const QByteArray buffer = m_filling.left(bufferSize);
        m_filling.remove(0, bufferSize);
        Q_EMIT bufferFilled(buffer);
    }
    if (m_open && partialToo && !m_filling.isEmpty())
        Q_EMIT bufferFilled(std::exchange(m_filling, QByteArray()));
}

void ToneCaptureDevice::runClock(int stepMs)
{
    m_elapsed.start();
    m_clockBytes = 0;
    m_clock.start(stepMs);
}

QByteArray ToneCaptureDevice::tone(const PcmFormat& format, double frequency, double amplitude,
                                   qint64 firstFrame, qint64 bytes)
{
    QByteArray sound;
    sound.reserve(bytes);
    const int block = format.blockSize();
    for (qint64 frame = firstFrame; sound.size() + block <= bytes; ++frame) {
        const double wave = amplitude * std::sin(2 * std::numbers::pi * frequency * double(frame) /
                                                 format.samplesPerSecond);
        for (int c = 0; c < format.channels; ++c) {
            if (format.bitsPerSample == 8) {
                sound.append(char(128 + std::lround(wave * 127)));
            } else {
                const auto sample = qint16(std::lround(wave * 32767));
                sound.append(char(sample & 0xFF));
                sound.append(char((sample >> 8) & 0xFF));
            }
        }
    }
    return sound;
}
