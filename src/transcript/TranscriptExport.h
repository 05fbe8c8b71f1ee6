#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <optional>

class QTextDocument;

enum class ExportFormat { Docx, Odt, Srt, WebVtt, Text, Csv, Tsv };

struct ExportOptions {
    ExportFormat format = ExportFormat::Text;
    // Plain text keeps the timestamps, or leaves them out.
    bool textTimestamps = true;
    // The media's length, which ends the last segment.
    std::optional<qint64> mediaDuration;
    // The open transcript's file, which an export never replaces.
    QString transcriptPath;
};

struct ExportSummary {
    enum class Outcome {
        Written,
        OverTranscript, // the target is the open transcript's own file
        Failed,         // the reason is in the error text
    };
    Outcome outcome = Outcome::Failed;
    int segments = 0;
    int cues = 0;
    // The file kept only the timed text; the preamble before the first timestamp is not in it.
    bool preambleLeftOut = false;

    bool written() const { return outcome == Outcome::Written; }
};

// Writes a transcript in the formats other programs read: Word and OpenDocument text with the
// transcript's formatting, SRT and WebVTT subtitles, plain text, and comma or tab separated
// tables of the segments (start, end, speaker, text).
namespace TranscriptExport {

struct FormatInfo {
    ExportFormat format;
    const char* extension; // without the dot
};
const QList<FormatInfo>& formats();

// The format the file name's extension names, in any letter case.
std::optional<ExportFormat> formatOfPath(const QString& path);
// ".docx, .odt, .srt, ..." for messages.
QString extensionList();

// The file's bytes; the summary says what they hold. Fails only for the packed formats, with the
// reason in error.
[[nodiscard]] std::optional<QByteArray> contents(const QTextDocument& document,
                                                 const ExportOptions& options,
                                                 ExportSummary* summary, QString* error = nullptr);

// Replaces the file at outPath atomically: a failure leaves any old file whole and puts the
// system's reason in error. Refuses the open transcript's own file.
ExportSummary write(const QTextDocument& document, const QString& outPath,
                    const ExportOptions& options, QString* error = nullptr);

// Whether the two names lead to one file (through links too), such as the transcript's.
bool isSameFile(const QString& path, const QString& other);

} // namespace TranscriptExport
