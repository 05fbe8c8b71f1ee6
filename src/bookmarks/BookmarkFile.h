#pragma once

#include "platform/TextFile.h"

#include <QString>
#include <QStringList>
#include <optional>

// The bookmark file of a recording: Bookmarks/<media name>.bm below the program folder, one
// record per line.
namespace BookmarkFile {

// A larger file is read only this far, and never written back.
constexpr qint64 kReadLimit = kTextFileReadLimit;

// What follows the last "/" of the media path; the whole path when it has none.
QString mediaName(const QString& mediaPath);
// The file's path below the program folder, or "" when the media path names no file.
QString path(const QString& programFolder, const QString& mediaPath);

// The records of an existing file, in file order: blank lines skipped, records of the older
// short form lengthened at the front, everything else kept as it is. nullopt, with the system's
// reason in `error`, when the file cannot be read. A file beyond maxBytes is read that far, and
// `whole` receives false.
std::optional<QStringList> read(const QString& filePath, QString* error = nullptr,
                                bool* whole = nullptr, qint64 maxBytes = kReadLimit);
// Replaces the file atomically (making its folder if needed). False, with the system's reason in
// `error`, when it could not be written.
bool write(const QString& filePath, const QStringList& records, QString* error = nullptr);

} // namespace BookmarkFile
