#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <optional>

class QSaveFile;

// The largest file the readers take in by default.
constexpr qint64 kTextFileReadLimit = 64 * 1024 * 1024;

// By the byte order mark when there is one (UTF-8, UTF-16 or UTF-32, either byte order); else
// UTF-8, or Windows-1252 when the bytes are not valid UTF-8.
QString decodeText(QByteArrayView bytes);

// Whether the bytes are binary data rather than text: a NUL character near the start, as text
// never has one and every binary format soon does.
bool isBinaryData(QByteArrayView bytes);

// The whole file, or nullopt with the system's reason.
[[nodiscard]] std::optional<QByteArray> readFileWhole(const QString& path,
                                                      QString* error = nullptr);

// Replaces the file atomically with the bytes. The old file is replaced only once every byte is
// known to be on the disk; otherwise it stays whole and `error` receives the system's reason
// ("No space left on device"). The second form takes a save file that is named but not open yet,
// so that a test can hand in one whose writes fail.
[[nodiscard]] bool writeFileWhole(const QString& path, const QByteArray& data,
                                  QString* error = nullptr);
[[nodiscard]] bool writeFileWhole(QSaveFile& file, const QByteArray& data,
                                  QString* error = nullptr);

// The program's small text files: one value or record per line.
//
// Reading accepts CR LF, LF or CR line ends and decodes each line as UTF-8, or as Windows-1252
// when it is not valid UTF-8, so files made on Windows still load. A final line end does not
// make an empty last line. Files beyond maxBytes are read only that far; `whole` then receives
// false, so that such a file is never written back in place.
[[nodiscard]] std::optional<QStringList> readTextLines(const QString& path,
                                                       QString* error = nullptr,
                                                       qint64 maxBytes = kTextFileReadLimit,
                                                       bool* whole = nullptr);

// As readTextLines, but every line must be valid UTF-8: otherwise nullopt, with `error` naming
// the first line that is not. For files whose texts the user reads, where a guess would turn
// every text to mojibake.
[[nodiscard]] std::optional<QStringList> readUtf8TextLines(const QString& path,
                                                           QString* error = nullptr,
                                                           qint64 maxBytes = kTextFileReadLimit);

// Writes the lines as UTF-8, each ended by CR LF, replacing the file atomically. The old file is
// replaced only once every byte is known to be on the disk; otherwise it stays whole and `error`
// receives the system's reason ("No space left on device").
[[nodiscard]] bool writeTextLines(const QString& path, const QStringList& lines,
                                  QString* error = nullptr);
// The same through a save file that is named but not open yet, so that a test can hand in one
// whose writes fail.
[[nodiscard]] bool writeTextLines(QSaveFile& file, const QStringList& lines,
                                  QString* error = nullptr);
