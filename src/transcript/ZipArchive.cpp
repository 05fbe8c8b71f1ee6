#include "transcript/ZipArchive.h"

#include <QCoreApplication>
#include <QDateTime>
#include <limits>
#include <zlib.h>

namespace {

constexpr quint32 kLocalHeader = 0x04034b50;
constexpr quint32 kDirectoryEntry = 0x02014b50;
constexpr quint32 kDirectoryEnd = 0x06054b50;
constexpr quint16 kVersionNeeded = 20;
constexpr quint16 kDeflated = 8;
constexpr quint16 kUtf8Names = 1 << 11;

void put16(QByteArray& out, quint16 value)
{
    out.append(char(value & 0xff)).append(char(value >> 8));
}

void put32(QByteArray& out, quint32 value)
{
    put16(out, quint16(value & 0xffff));
    put16(out, quint16(value >> 16));
}

// The time in the form zip took from MS-DOS: two-second steps from 1980.
void putDosTime(QByteArray& out, const QDateTime& when)
{
    const QDate date = when.date();
    const QTime time = when.time();
    put16(out, quint16(time.hour() << 11 | time.minute() << 5 | time.second() / 2));
    put16(out, quint16(std::max(date.year() - 1980, 0) << 9 | date.month() << 5 | date.day()));
}

bool deflateRaw(const QByteArray& in, QByteArray* out, QString* error)
{
    z_stream stream{};
    // Negative window bits: the bare deflate stream that zip holds, without zlib's wrapper.
    if (deflateInit2(&stream, Z_DEFAULT_COMPRESSION, Z_DEFLATED, -MAX_WBITS, 8,
                     Z_DEFAULT_STRATEGY) != Z_OK) {
        if (error)
            *error = QString::fromLatin1(stream.msg ? stream.msg : "deflateInit2 failed");
        return false;
    }
    out->resize(qsizetype(deflateBound(&stream, uLong(in.size()))));
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(in.constData()));
    stream.avail_in = uInt(in.size());
    stream.next_out = reinterpret_cast<Bytef*>(out->data());
    stream.avail_out = uInt(out->size());
    const int result = deflate(&stream, Z_FINISH);
    out->resize(qsizetype(stream.total_out));
    deflateEnd(&stream);
    if (result != Z_STREAM_END) {
        if (error)
            *error = QCoreApplication::translate("ZipArchive", "compression failed (zlib %1)")
                         .arg(result);
        return false;
    }
    return true;
}

} // namespace

bool ZipArchive::add(const QString& name, const QByteArray& contents, QString* error)
{
    constexpr qint64 kLargest = std::numeric_limits<quint32>::max() / 2;
    if (contents.size() > kLargest || m_data.size() > kLargest ||
        m_count == std::numeric_limits<quint16>::max()) {
        if (error)
            *error = QCoreApplication::translate("ZipArchive", "the document is too large");
        return false;
    }
    QByteArray packed;
    if (!deflateRaw(contents, &packed, error))
        return false;
    const QByteArray fileName = name.toUtf8();
    const auto crc =
        quint32(crc32(crc32(0, nullptr, 0), reinterpret_cast<const Bytef*>(contents.constData()),
                      uInt(contents.size())));
    const quint32 offset = quint32(m_data.size());
    const QDateTime now = QDateTime::currentDateTime();

    // What the local header and the directory entry share, from the version needed on.
    QByteArray common;
    put16(common, kVersionNeeded);
    put16(common, kUtf8Names);
    put16(common, kDeflated);
    putDosTime(common, now);
    put32(common, crc);
    put32(common, quint32(packed.size()));
    put32(common, quint32(contents.size()));
    put16(common, quint16(fileName.size()));
    put16(common, 0); // no extra field

    put32(m_data, kLocalHeader);
    m_data += common;
    m_data += fileName;
    m_data += packed;

    put32(m_directory, kDirectoryEntry);
    put16(m_directory, kVersionNeeded); // made by
    m_directory += common;
    put16(m_directory, 0); // comment
    put16(m_directory, 0); // disk
    put16(m_directory, 0); // internal attributes
    put32(m_directory, 0); // external attributes
    put32(m_directory, offset);
    m_directory += fileName;
    ++m_count;
    return true;
}

QByteArray ZipArchive::finish()
{
    QByteArray archive = std::move(m_data);
    const quint32 directoryOffset = quint32(archive.size());
    archive += m_directory;
    put32(archive, kDirectoryEnd);
    put16(archive, 0);
    put16(archive, 0);
    put16(archive, m_count);
    put16(archive, m_count);
    put32(archive, quint32(m_directory.size()));
    put32(archive, directoryOffset);
    put16(archive, 0);
    m_directory.clear();
    m_count = 0;
    return archive;
}
