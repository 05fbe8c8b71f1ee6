#include "bookmarks/BookmarkFile.h"

#include "bookmarks/BookmarkRecord.h"

#include <QDir>
#include <QFileInfo>

namespace BookmarkFile {

QString mediaName(const QString& mediaPath)
{
    return mediaPath.mid(mediaPath.lastIndexOf(QLatin1Char('/')) + 1);
}

QString path(const QString& programFolder, const QString& mediaPath)
{
    const QString name = mediaName(mediaPath);
    if (name.isEmpty())
        return {};
    return programFolder + QStringLiteral("/Bookmarks/") + name + QStringLiteral(".bm");
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
