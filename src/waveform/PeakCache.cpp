#include "waveform/PeakCache.h"

#include <QCryptographicHash>
#include <QDataStream>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace {

constexpr quint32 kMagic = 0x56504B53; // "VPKS"
constexpr quint32 kVersion = 1;
// More than 24 hours at 192 kHz is no recording this program makes peaks of.
constexpr quint64 kMostBins = 24ull * 3600 * 192000 / Peaks::kSamplesPerBin;

QByteArray binBytes(const std::vector<PeakBin>& bins)
{
    return QByteArray::fromRawData(reinterpret_cast<const char*>(bins.data()),
                                   qsizetype(bins.size() * sizeof(PeakBin)));
}

QByteArray digest(const QByteArray& bytes)
{
    return QCryptographicHash::hash(bytes, QCryptographicHash::Md5);
}

} // namespace

PeakCache::Source PeakCache::Source::of(const QString& path)
{
    const QFileInfo info(path);
    Source source;
    source.path = info.absoluteFilePath();
    if (info.isFile()) {
        source.size = info.size();
        source.modifiedMs = info.lastModified().toMSecsSinceEpoch();
    }
    return source;
}

QString PeakCache::fileFor(const QString& folder, const QString& path)
{
    const QByteArray key = QCryptographicHash::hash(QFileInfo(path).absoluteFilePath().toUtf8(),
                                                    QCryptographicHash::Sha1);
    return QDir(folder).filePath(QString::fromLatin1(key.toHex()) + QStringLiteral(".peaks"));
}

bool PeakCache::read(const QString& file, const Source& source, int* sampleRate,
                     std::vector<PeakBin>* bins)
{
    QFile in(file);
    if (source.size < 0 || !in.open(QIODevice::ReadOnly))
        return false;
    QDataStream stream(&in);
    quint32 magic = 0, version = 0;
    Source stored;
    qint32 rate = 0;
    quint64 count = 0;
    stream >> magic >> version;
    if (magic != kMagic || version != kVersion)
        return false;
    stream >> stored.path >> stored.size >> stored.modifiedMs >> rate >> count;
    if (stream.status() != QDataStream::Ok || !(stored == source) || rate <= 0 || count > kMostBins)
        return false;
    const qint64 byteCount = qint64(count * sizeof(PeakBin));
    constexpr qint64 kDigestSize = 16;
    if (in.size() - in.pos() != byteCount + kDigestSize)
        return false;
    std::vector<PeakBin> result(count);
    if (in.read(reinterpret_cast<char*>(result.data()), byteCount) != byteCount)
        return false;
    if (in.read(kDigestSize) != digest(binBytes(result)))
        return false;
    *sampleRate = rate;
    *bins = std::move(result);
    return true;
}

bool PeakCache::write(const QString& file, const Source& source, int sampleRate,
                      const std::vector<PeakBin>& bins, QString* error)
{
    if (!QDir().mkpath(QFileInfo(file).absolutePath())) {
        *error = QFileInfo(file).absolutePath();
        return false;
    }
    QSaveFile out(file);
    if (!out.open(QIODevice::WriteOnly)) {
        *error = out.errorString();
        return false;
    }
    QDataStream stream(&out);
    stream << kMagic << kVersion << source.path << source.size << source.modifiedMs
           << qint32(sampleRate) << quint64(bins.size());
    const QByteArray bytes = binBytes(bins);
    out.write(bytes);
    out.write(digest(bytes));
    if (stream.status() != QDataStream::Ok || !out.commit()) {
        *error = out.errorString();
        return false;
    }
    return true;
}
