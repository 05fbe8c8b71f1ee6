#pragma once

#include <QString>
#include <QStringList>
#include <optional>

// The program's small text files: one value or record per line.
//
// Reading accepts CR LF, LF or CR line ends and decodes each line as UTF-8, or as Windows-1252
// when it is not valid UTF-8, so files made on Windows still load. A final line end does not
// make an empty last line. Files beyond maxBytes are read only that far.
std::optional<QStringList> readTextLines(const QString& path, QString* error = nullptr,
                                         qint64 maxBytes = 64 * 1024 * 1024);

// Writes the lines as UTF-8, each ended by CR LF, replacing the file atomically: a failed write
// leaves the previous file whole.
bool writeTextLines(const QString& path, const QStringList& lines, QString* error = nullptr);
