#pragma once

#include "platform/CaptureDevice.h"

#include <QByteArray>

namespace WavHeader {

constexpr int kSize = 44;
// The most sound bytes the header's sizes can count.
constexpr qint64 kLargestDataSize = 0xFFFFFFFFLL - 36;

// The canonical 44-byte header of a PCM WAV file holding `dataSize` bytes of sound.
QByteArray build(const PcmFormat& format, quint32 dataSize);

} // namespace WavHeader
