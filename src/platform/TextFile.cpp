#include "platform/TextFile.h"

#include <QCoreApplication>
#include <QFile>
#include <QSaveFile>
#include <QStringDecoder>
#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

QString decodeText(QByteArrayView bytes)
{
    if (const auto marked = QStringConverter::encodingForData(bytes)) {
        QStringDecoder decoder(*marked);
        return decoder(bytes);
    }
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8(bytes);
    if (!utf8.hasError())
        return text;
    QStringDecoder windows1252("windows-1252");
    if (windows1252.isValid())
        return windows1252(bytes);
    return QString::fromLatin1(bytes);
}

bool isBinaryData(QByteArrayView bytes)
{
    constexpr qsizetype kLookedAt = 8000;
    if (QStringConverter::encodingForData(bytes))
        return decodeText(bytes.first(std::min(bytes.size(), kLookedAt))).contains(QChar());
    return bytes.first(std::min(bytes.size(), kLookedAt)).contains('\0');
}

namespace {

bool fail(QSaveFile& file, QString* error, const QString& reason)
{
    if (error)
        *error = reason;
    file.cancelWriting();
    return false;
}

// Opens the file for reading only when it is a regular one: a FIFO would wait for a writer on
// the GUI thread, and a device such as /dev/zero would never end.
bool openRegularFile(QFile& file, const QString& path, QString* error)
{
    const auto failWith = [error](const QString& reason) {
        if (error)
            *error = reason;
        return false;
    };
    // The built-in texts are compiled in, out of reach of the system calls below.
    if (path.startsWith(QLatin1Char(':'))) {
        file.setFileName(path);
        return file.open(QIODevice::ReadOnly) || failWith(file.errorString());
    }
    // Without O_NONBLOCK the open itself waits for a FIFO's writer.
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return failWith(qt_error_string(errno));
    struct stat status {};
    if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) {
        const QString reason =
            status.st_mode == 0 ? qt_error_string(errno)
            : S_ISDIR(status.st_mode)
                ? qt_error_string(EISDIR)
                : QCoreApplication::translate("TextFile", "it is not a regular file");
        ::close(fd);
        return failWith(reason);
    }
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return failWith(file.errorString());
    }
    return true;
}

} // namespace

std::optional<QByteArray> readFileWhole(const QString& path, QString* error)
{
    QFile file;
    if (!openRegularFile(file, path, error))
        return std::nullopt;
    QByteArray data = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        if (error)
            *error = file.errorString();
        return std::nullopt;
    }
    return data;
}

namespace {

// The file's lines, decoded by `decode`, which returns false for a line it cannot take.
template <typename Decode>
std::optional<QStringList> splitTextLines(const QString& path, QString* error, qint64 maxBytes,
                                          bool* whole, Decode decode)
{
    QFile file;
    if (!openRegularFile(file, path, error))
        return std::nullopt;
    maxBytes = std::max<qint64>(maxBytes, 0);
    // One byte more than the limit tells whether anything lies beyond it.
    QByteArray data = file.read(maxBytes + 1);
    if (data.isNull() && file.error() != QFileDevice::NoError) {
        if (error)
            *error = file.errorString();
        return std::nullopt;
    }
    if (whole)
        *whole = data.size() <= maxBytes;
    if (data.size() > maxBytes)
        data.truncate(maxBytes);
    if (data.startsWith("\xEF\xBB\xBF"))
        data.remove(0, 3);

    QStringList lines;
    qsizetype start = 0;
    const qsizetype size = data.size();
    while (start < size) {
        qsizetype end = start;
        while (end < size && data[end] != '\n' && data[end] != '\r')
            ++end;
        QString line;
        if (!decode(QByteArrayView(data).sliced(start, end - start), &line)) {
            if (error)
                *error = QCoreApplication::translate("TextFile", "line %1 is not valid UTF-8")
                             .arg(lines.size() + 1);
            return std::nullopt;
        }
        lines << line;
        if (end < size && data[end] == '\r' && end + 1 < size && data[end + 1] == '\n')
            ++end;
        start = end + 1;
    }
    return lines;
}

} // namespace

std::optional<QStringList> readTextLines(const QString& path, QString* error, qint64 maxBytes,
                                         bool* whole)
{
    return splitTextLines(path, error, maxBytes, whole, [](QByteArrayView bytes, QString* line) {
        *line = decodeText(bytes);
        return true;
    });
}

std::optional<QStringList> readUtf8TextLines(const QString& path, QString* error, qint64 maxBytes)
{
    return splitTextLines(path, error, maxBytes, nullptr, [](QByteArrayView bytes, QString* line) {
        QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
        *line = utf8(bytes);
        return !utf8.hasError();
    });
}

bool writeTextLines(const QString& path, const QStringList& lines, QString* error)
{
    QSaveFile file(path);
    return writeTextLines(file, lines, error);
}

bool writeTextLines(QSaveFile& file, const QStringList& lines, QString* error)
{
    QByteArray data;
    for (const QString& line : lines) {
        data += line.toUtf8();
        data += "\r\n";
    }
    return writeFileWhole(file, data, error);
}

bool writeFileWhole(const QString& path, const QByteArray& data, QString* error)
{
    QSaveFile file(path);
    return writeFileWhole(file, data, error);
}

bool writeFileWhole(QSaveFile& file, const QByteArray& data, QString* error)
{
    // Unbuffered, a failed write reports itself with its reason at once; a buffered one fails
    // only in the flush inside commit(), which ignores it and puts an empty file in place.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        if (error)
            *error = file.errorString();
        return false;
    }
    // A short write is tried again: the next attempt fails with the system's reason.
    for (qint64 written = 0; written < data.size();) {
        const qint64 count = file.write(data.constData() + written, data.size() - written);
        if (count <= 0)
            return fail(file, error, file.errorString());
        written += count;
    }
    if (!file.flush())
        return fail(file, error, file.errorString());
    const qint64 onDisk = file.size();
    if (onDisk != data.size())
        return fail(file, error,
                    QCoreApplication::translate("TextFile", "only %1 of %2 bytes were written")
                        .arg(onDisk)
                        .arg(data.size()));
    // Some file systems report a full disk only here; commit() would ignore it.
    if (::fsync(file.handle()) != 0 && errno != EINVAL)
        return fail(file, error, qt_error_string(errno));
    if (!file.commit()) {
        if (error)
            *error = file.errorString();
        return false;
    }
    return true;
}
