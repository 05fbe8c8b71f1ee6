#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QtEndian>

// What a WAV file's canonical header says, read as another program would.
struct WavFacts {
    QByteArray riff, wave, fmt, data;
    quint32 riffSize = 0, fmtSize = 0, samplesPerSecond = 0, bytesPerSecond = 0, dataSize = 0;
    quint16 formatTag = 0, channels = 0, blockSize = 0, bitsPerSample = 0;
    QByteArray sound; // everything after the header

    static WavFacts read(const QByteArray& file)
    {
        WavFacts w;
        if (file.size() < 44)
            return w;
        const auto u32 = [&file](int at) {
            return qFromLittleEndian<quint32>(file.constData() + at);
        };
        const auto u16 = [&file](int at) {
            return qFromLittleEndian<quint16>(file.constData() + at);
        };
        w.riff = file.mid(0, 4);
        w.riffSize = u32(4);
        w.wave = file.mid(8, 4);
        w.fmt = file.mid(12, 4);
        w.fmtSize = u32(16);
        w.formatTag = u16(20);
        w.channels = u16(22);
        w.samplesPerSecond = u32(24);
        w.bytesPerSecond = u32(28);
        w.blockSize = u16(32);
        w.bitsPerSample = u16(34);
        w.data = file.mid(36, 4);
        w.dataSize = u32(40);
        w.sound = file.mid(44);
        return w;
    }

    static WavFacts readFile(const QString& path)
    {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? read(f.readAll()) : WavFacts();
    }
};
