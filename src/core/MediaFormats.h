#pragma once

#include <QLatin1StringView>
#include <QString>
#include <QStringList>
#include <span>

// The recordings the player offers to open: what its engine (libmpv, with FFmpeg) plays. The
// open dialog's patterns, the desktop entry's MimeType line and the media controls' MIME list all
// follow this one table.
namespace MediaFormats {

struct Format {
    QLatin1StringView extension; // without the dot, in lower case
    // Every MIME type the desktop may give a file of that extension, separated by ";".
    QLatin1StringView mimeTypes;
};

std::span<const Format> formats();

// "*.avi;*.mp3;...", for the open dialog's filter.
QString dialogPatterns();

// Each MIME type of the table once, in the table's order.
QStringList mimeTypes();

} // namespace MediaFormats
