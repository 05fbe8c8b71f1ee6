#include "transcript/TranscriptFile.h"

#include "platform/TextFile.h"
#include "rtf/RtfReader.h"

#include <QTextDocument>

namespace TranscriptFile {

std::optional<ImportSummary> read(const QString& path, QTextDocument* document,
                                  Timestamp::Style style, QString* error)
{
    const auto bytes = readFileWhole(path, error);
    if (!bytes)
        return std::nullopt;
    if (RtfReader::isRtf(*bytes)) {
        RtfReader::read(*bytes, document);
        return ImportSummary{};
    }
    if (SubtitleImport::isSubtitleFile(path) || SubtitleImport::isWebVtt(*bytes))
        return SubtitleImport::read(*bytes, document, style);
    document->setPlainText(decodeText(*bytes));
    return ImportSummary{};
}

} // namespace TranscriptFile
