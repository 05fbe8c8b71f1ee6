#pragma once

#include "core/Timestamp.h"
#include "transcript/SubtitleImport.h"

#include <QString>
#include <optional>

class QTextDocument;

// Any file the editor opens as a transcript: RTF, SRT or WebVTT subtitles, or plain text.
namespace TranscriptFile {

// Replaces the document's content with the file's; subtitles get timestamps in `style`. Nothing
// with the system's reason when the file cannot be read; otherwise what the subtitles held (all
// zero for other files).
[[nodiscard]] std::optional<ImportSummary> read(const QString& path, QTextDocument* document,
                                                Timestamp::Style style, QString* error = nullptr);

} // namespace TranscriptFile
