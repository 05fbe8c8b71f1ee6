#include "recorder/WavHeader.h"

#include <QtEndian>

namespace WavHeader {

namespace {

void put32(QByteArray& header, quint32 value)
{
    char bytes[4];
    qToLittleEndian(value, bytes);
    header.append(bytes, 4);
}

void put16(QByteArray& header, quint16 value)
{
    char bytes[2];
    qToLittleEndian(value, bytes);
    header.append(bytes, 2);
}

} // namespace

QByteArray build(const PcmFormat& format, quint32 dataSize)
{
    QByteArray header;
    header.reserve(kSize);
    header.append("RIFF", 4);
    put32(header, dataSize + 36);
    header.append("WAVEfmt ", 8);
    put32(header, 16);
    put16(header, 1); // PCM
    put16(header, quint16(format.channels));
    put32(header, quint32(format.samplesPerSecond));
    put32(header, quint32(format.bytesPerSecond()));
    put16(header, quint16(format.blockSize()));
    put16(header, quint16(format.bitsPerSample));
    header.append("data", 4);
    put32(header, dataSize);
    return header;
}

} // namespace WavHeader
