#pragma once

#include "platform/TextFile.h"

#include <QString>
#include <QStringList>
#include <optional>

// The bookmark file of a recording: Bookmarks/<media name>.bm below the program folder, one
// record per line.
namespace BookmarkFile {

// The longest file name a save can replace: the save writes beside it under the name plus
// ".XXXXXX" first, and a name holds at most 255 bytes.
constexpr qsizetype kLongestFileName = 255 - 7;
// A larger file is read only this far, and never written back.
constexpr qint64 kReadLimit = kTextFileReadLimit;

// What follows the last "/" of the media path; the whole path when it has none.
QString mediaName(const QString& mediaPath);
// "<media name>.bm" when that fits kLongestFileName bytes of UTF-8; otherwise the media name cut
// at a character boundary, "~", the first 16 hex digits of the full name's SHA-256 and ".bm",
// so that names alike in their first bytes still get files of their own.
QString fileName(const QString& mediaName);
// The file's path below the program folder, or "" when the media path names no file. A file
// that an earlier version saved under the full name, too long to be replaced, is first moved to
// the shortened name.
QString path(const QString& programFolder, const QString& mediaPath);

// The records of an existing file, in file order: blank lines skipped, records of the older
// short form lengthened at the front, everything else kept as it is. nullopt, with the system's
// reason in `error`, when the file cannot be read. A file beyond maxBytes is read that far, and
// `whole` receives false.
[[nodiscard]] std::optional<QStringList> read(const QString& filePath, QString* error = nullptr,
                                              bool* whole = nullptr, qint64 maxBytes = kReadLimit);
// Replaces the file atomically (making its folder if needed). False, with the system's reason in
// `error`, when it could not be written.
[[nodiscard]] bool write(const QString& filePath, const QStringList& records,
                         QString* error = nullptr);

} // namespace BookmarkFile
