#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

class QTextDocument;

// A Word document (WordprocessingML, zipped) of the transcript: its paragraphs with alignment and
// bullets or numbers, and each run's font, size, bold, italic, underline, strike, colour and
// highlight. Timestamps and speaker labels are text like the rest.
namespace DocxWriter {

// The file's bytes, or nothing with the reason in error.
[[nodiscard]] std::optional<QByteArray> write(const QTextDocument& document,
                                              QString* error = nullptr);

} // namespace DocxWriter
