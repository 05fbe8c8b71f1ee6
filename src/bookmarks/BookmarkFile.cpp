#include "bookmarks/BookmarkFile.h"

#include "bookmarks/BookmarkRecord.h"
#include "core/Logging.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace BookmarkFile {

namespace {

const QString kExtension = QStringLiteral(".bm");
constexpr qsizetype kHashDigits = 16;

bool isUtf8Continuation(char byte)
{
    return (static_cast<unsigned char>(byte) & 0xC0) == 0x80;
}

} // namespace

QString mediaName(const QString& mediaPath)
{
    return mediaPath.mid(mediaPath.lastIndexOf(QLatin1Char('/')) + 1);
}

QString fileName(const QString& mediaName)
{
    const QByteArray full = mediaName.toUtf8();
    if (full.size() + kExtension.size() <= kLongestFileName)
        return mediaName + kExtension;
    const QByteArray hash =
        QCryptographicHash::hash(full, QCryptographicHash::Sha256).toHex().left(kHashDigits);
    qsizetype cut = kLongestFileName - kExtension.size() - 1 - hash.size();
    while (cut > 0 && isUtf8Continuation(full.at(cut)))
        --cut;
    return QString::fromUtf8(full.left(cut)) + QLatin1Char('~') + QString::fromLatin1(hash) +
           kExtension;
}

QString path(const QString& programFolder, const QString& mediaPath)
{
    const QString name = mediaName(mediaPath);
    if (name.isEmpty())
        return {};
    const QString folder = programFolder + QStringLiteral("/Bookmarks/");
    const QString shortened = fileName(name);
    const QString fullName = name + kExtension;
    const QString file = folder + shortened;
    // Full names of up to 255 bytes could be created, though never replaced.
    if (shortened != fullName && fullName.toUtf8().size() <= 255) {
        QFile earlier(folder + fullName);
        if (earlier.exists() && !QFileInfo::exists(file) && !earlier.rename(file))
            qCWarning(lcBookmarks, "Could not move \"%s\" to \"%s\": %s",
                      qUtf8Printable(earlier.fileName()), qUtf8Printable(file),
                      qUtf8Printable(earlier.errorString()));
    }
    return file;
}

std::optional<QStringList> read(const QString& filePath, QString* error, bool* whole,
                                qint64 maxBytes)
{
    auto lines = readTextLines(filePath, error, maxBytes, whole);
    if (!lines)
        return std::nullopt;
    QStringList records;
    records.reserve(lines->size());
    for (const QString& line : std::as_const(*lines)) {
        // A blank line used to end the list for good, losing every record after it.
        if (line.trimmed().isEmpty())
            continue;
        records << BookmarkRecord::lengthenShortForm(line);
    }
    return records;
}

bool write(const QString& filePath, const QStringList& records, QString* error)
{
    // A folder that cannot be made gives no reason; the write below then fails with one.
    QDir().mkpath(QFileInfo(filePath).absolutePath());
    return writeTextLines(filePath, records, error);
}

} // namespace BookmarkFile
