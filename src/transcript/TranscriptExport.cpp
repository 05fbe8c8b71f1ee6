#include "transcript/TranscriptExport.h"

#include "platform/TextFile.h"
#include "transcript/DocxWriter.h"
#include "transcript/SubtitleCues.h"
#include "transcript/TranscriptSegments.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextDocumentWriter>
#include <memory>

namespace TranscriptExport {

namespace {

QByteArray withWindowsLineEnds(QString text)
{
    text.replace(QLatin1Char('\n'), QLatin1String("\r\n"));
    return text.toUtf8();
}

// A table field: quoted when it holds the separator, a quote or a line break, its quotes doubled.
QString field(const QString& value, QChar separator)
{
    if (!value.contains(separator) && !value.contains(QLatin1Char('"')) &&
        !value.contains(QLatin1Char('\n')) && !value.contains(QLatin1Char('\r')))
        return value;
    QString quoted = value;
    quoted.replace(QLatin1Char('"'), QLatin1String("\"\""));
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}

// Rows end in CR LF; line breaks inside a quoted text stay as they are.
QByteArray table(const QList<Segment>& segments, QChar separator)
{
    QString out = QStringList{QStringLiteral("start"), QStringLiteral("end"),
                              QStringLiteral("speaker"), QStringLiteral("text")}
                      .join(separator) +
                  QLatin1String("\r\n");
    for (const Segment& segment : segments) {
        out += SubtitleCues::clockTime(segment.start, QLatin1Char('.')) + separator +
               SubtitleCues::clockTime(segment.end, QLatin1Char('.')) + separator +
               field(segment.speaker, separator) + separator + field(segment.text, separator) +
               QLatin1String("\r\n");
    }
    return out.toUtf8();
}

// Qt 6.4's OpenDocument writer names a run's font only when the run holds Qt 5's property of a
// single family, and calls every other run's font "Sans"; a copy gets that property on each run.
std::unique_ptr<QTextDocument> withSingleFontFamilies(const QTextDocument& document)
{
    std::unique_ptr<QTextDocument> copy(document.clone());
    copy->setUndoRedoEnabled(false);
    struct Run {
        int start;
        int end;
        QString family;
    };
    QList<Run> runs;
    for (QTextBlock block = copy->begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            const QStringList families = fragment.charFormat().fontFamilies().toStringList();
            runs.append({fragment.position(), fragment.position() + fragment.length(),
                         families.isEmpty() ? copy->defaultFont().family() : families.first()});
        }
    }
    QTextCursor cursor(copy.get());
    cursor.beginEditBlock();
    for (const Run& run : runs) {
        cursor.setPosition(run.start);
        cursor.setPosition(run.end, QTextCursor::KeepAnchor);
        QTextCharFormat font;
        font.setFontFamilies({run.family});
        font.setProperty(QTextFormat::OldFontFamily, run.family);
        cursor.mergeCharFormat(font);
    }
    cursor.endEditBlock();
    return copy;
}

std::optional<QByteArray> openDocument(const QTextDocument& document, QString* error)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    QTextDocumentWriter writer(&buffer, "odf");
    if (!writer.write(withSingleFontFamilies(document).get())) {
        if (error)
            *error = buffer.errorString().isEmpty()
                         ? QCoreApplication::translate("TranscriptExport",
                                                       "the OpenDocument writer failed")
                         : buffer.errorString();
        return std::nullopt;
    }
    return bytes;
}

} // namespace

const QList<FormatInfo>& formats()
{
    static const QList<FormatInfo> list = {
        {ExportFormat::Docx, "docx"},  {ExportFormat::Odt, "odt"},  {ExportFormat::Srt, "srt"},
        {ExportFormat::WebVtt, "vtt"}, {ExportFormat::Text, "txt"}, {ExportFormat::Csv, "csv"},
        {ExportFormat::Tsv, "tsv"}};
    return list;
}

std::optional<ExportFormat> formatOfPath(const QString& path)
{
    const QString suffix = QFileInfo(path).suffix();
    for (const FormatInfo& info : formats()) {
        if (suffix.compare(QLatin1String(info.extension), Qt::CaseInsensitive) == 0)
            return info.format;
    }
    return std::nullopt;
}

QString extensionList()
{
    QStringList names;
    for (const FormatInfo& info : formats())
        names << QLatin1Char('.') + QLatin1String(info.extension);
    return names.join(QLatin1String(", "));
}

std::optional<QByteArray> contents(const QTextDocument& document, const ExportOptions& options,
                                   ExportSummary* summary, QString* error)
{
    ExportSummary done;
    done.outcome = ExportSummary::Outcome::Written;
    std::optional<QByteArray> bytes;
    switch (options.format) {
    case ExportFormat::Docx:
        bytes = DocxWriter::write(document, error);
        break;
    case ExportFormat::Odt:
        bytes = openDocument(document, error);
        break;
    case ExportFormat::Text: {
        const QString text = TranscriptSegments::plainText(document);
        bytes = withWindowsLineEnds(
            options.textTimestamps ? text : TranscriptSegments::withoutTimestamps(text));
        break;
    }
    case ExportFormat::Srt:
    case ExportFormat::WebVtt:
    case ExportFormat::Csv:
    case ExportFormat::Tsv: {
        const SegmentList list = TranscriptSegments::split(document, options.mediaDuration);
        done.segments = int(list.segments.size());
        done.preambleLeftOut = !list.preamble.isEmpty();
        if (options.format == ExportFormat::Csv || options.format == ExportFormat::Tsv) {
            bytes = table(list.segments, options.format == ExportFormat::Csv ? QLatin1Char(',')
                                                                             : QLatin1Char('\t'));
            break;
        }
        const bool srt = options.format == ExportFormat::Srt;
        const QList<Cue> cues =
            SubtitleCues::fromSegments(list.segments, srt ? SubtitleCues::SpeakerPlace::InText
                                                          : SubtitleCues::SpeakerPlace::AsVoice);
        done.cues = int(cues.size());
        bytes = srt ? SubtitleCues::srt(cues) : SubtitleCues::webVtt(cues);
        break;
    }
    }
    if (!bytes)
        done.outcome = ExportSummary::Outcome::Failed;
    if (summary)
        *summary = done;
    return bytes;
}

bool isSameFile(const QString& path, const QString& other)
{
    if (path.isEmpty() || other.isEmpty())
        return false;
    const QFileInfo a(path);
    const QFileInfo b(other);
    if (a.exists() && b.exists())
        return a.canonicalFilePath() == b.canonicalFilePath();
    return QDir::cleanPath(a.absoluteFilePath()) == QDir::cleanPath(b.absoluteFilePath());
}

ExportSummary write(const QTextDocument& document, const QString& outPath,
                    const ExportOptions& options, QString* error)
{
    ExportSummary summary;
    if (isSameFile(outPath, options.transcriptPath)) {
        summary.outcome = ExportSummary::Outcome::OverTranscript;
        return summary;
    }
    const auto bytes = contents(document, options, &summary, error);
    if (!bytes || !writeFileWhole(outPath, *bytes, error))
        summary.outcome = ExportSummary::Outcome::Failed;
    return summary;
}

} // namespace TranscriptExport
