#include "mock/TestMedia.h"

#include <QDataStream>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <cmath>
#include <numbers>

namespace {

QByteArray wavHeader(quint32 dataBytes, int sampleRate, int bitsPerSample, quint16 channels = 1)
{
    const quint16 blockAlign = channels * bitsPerSample / 8;
    QByteArray header;
    QDataStream out(&header, QIODevice::WriteOnly);
    out.setByteOrder(QDataStream::LittleEndian);
    out.writeRawData("RIFF", 4);
    out << quint32(36 + dataBytes);
    out.writeRawData("WAVEfmt ", 8);
    out << quint32(16) << quint16(1) << channels << quint32(sampleRate)
        << quint32(sampleRate * blockAlign) << blockAlign << quint16(bitsPerSample);
    out.writeRawData("data", 4);
    out << dataBytes;
    return header;
}

} // namespace

namespace TestMedia {

bool writeTone(const QString& path, double seconds, int sampleRate)
{
    const int samples = int(std::lround(seconds * sampleRate));
    QByteArray data(samples * 2, Qt::Uninitialized);
    for (int i = 0; i < samples; ++i) {
        const auto value = qint16(8000 * std::sin(2 * std::numbers::pi * 440.0 * i / sampleRate));
        data[2 * i] = char(value & 0xff);
        data[2 * i + 1] = char((value >> 8) & 0xff);
    }
    QFile file(path);
    return file.open(QIODevice::WriteOnly) &&
           file.write(wavHeader(quint32(data.size()), sampleRate, 16) + data) > 0;
}

bool writeLeftTone(const QString& path, double seconds, int sampleRate)
{
    const int frames = int(std::lround(seconds * sampleRate));
    QByteArray data;
    QDataStream out(&data, QIODevice::WriteOnly);
    out.setByteOrder(QDataStream::LittleEndian);
    for (int i = 0; i < frames; ++i)
        out << qint16(8000 * std::sin(2 * std::numbers::pi * 440.0 * i / sampleRate)) << qint16(0);
    QFile file(path);
    return file.open(QIODevice::WriteOnly) &&
           file.write(wavHeader(quint32(data.size()), sampleRate, 16, 2) + data) > 0;
}

QList<double> stereoLevels(const QString& path)
{
    QFile file(path);
    const QByteArray bytes = file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    // The data chunk runs to the end: a writer still at work has not filled in its size.
    const qsizetype data = bytes.indexOf("data");
    QList<double> levels(2, 0.0);
    const auto* samples = reinterpret_cast<const qint16*>(bytes.constData() + data + 8);
    const qsizetype frames = data < 0 ? 0 : (bytes.size() - data - 8) / 4;
    for (qsizetype i = 0; i < 2 * frames; ++i)
        levels[i % 2] += std::pow(samples[i] / 32768.0, 2) / double(frames);
    for (double& level : levels)
        level = std::sqrt(level);
    return levels;
}

bool writeSilence(const QString& path, double seconds)
{
    const int sampleRate = 8000;
    const auto dataBytes = quint32(std::lround(seconds * sampleRate) * 2);
    const QByteArray header = wavHeader(dataBytes, sampleRate, 16);
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(header) == header.size() &&
           file.resize(header.size() + dataBytes);
}

bool writeCorrupt(const QString& path)
{
    QByteArray junk = wavHeader(1 << 20, 44100, 16);
    // A format chunk claiming a huge size, then bytes that are no chunk at all.
    junk.replace(16, 4, QByteArray("\xff\xff\x00\x00", 4));
    for (int i = 0; i < 4096; ++i)
        junk.append(char((i * 7919) % 251));
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(junk) == junk.size();
}

bool lameAvailable()
{
    return !QStandardPaths::findExecutable(QStringLiteral("lame")).isEmpty();
}

bool encodeMp3(const QString& wavPath, const QString& mp3Path, const QStringList& options)
{
    QProcess lame;
    lame.start(QStringLiteral("lame"),
               QStringList{QStringLiteral("--quiet")} + options + QStringList{wavPath, mp3Path});
    return lame.waitForFinished(60000) && lame.exitStatus() == QProcess::NormalExit &&
           lame.exitCode() == 0;
}

} // namespace TestMedia
