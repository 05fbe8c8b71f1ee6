// Times the transcript layer on a 5 MB transcript with 10,000 timestamps, formatted as the
// editor makes one (bold times, italic speakers, a highlighted word, now and then a bulleted
// line): reading it as segments, and making each export's bytes. Prints medians; asserts nothing.

#include "BenchSupport.h"
#include "TranscriptLooks.h"
#include "core/Timestamp.h"
#include "transcript/SubtitleImport.h"
#include "transcript/TranscriptExport.h"
#include "transcript/TranscriptSegments.h"

#include <QGuiApplication>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextList>
#include <cstdio>

namespace {

using namespace Bench;

constexpr int kTimestamps = 10000;
constexpr qsizetype kTranscriptCharacters = 5 * 1000 * 1000;

void makeTranscript(QTextDocument* document)
{
    const QStringList speakers = {QStringLiteral("INTERVIEWER"), QStringLiteral("Dr. Müller")};
    const QString sentence = QStringLiteral(
        "So what we saw in the second trial was that the effect held up, even when we controlled "
        "for the season and the size of the groups; everyone was surprised. ");
    QTextCursor cursor(document);
    const auto [plain, time, speaker, marked, bullets] = TranscriptLooks();

    const qsizetype perTurn = kTranscriptCharacters / kTimestamps;
    cursor.beginEditBlock();
    for (int turn = 0; turn < kTimestamps; ++turn) {
        if (turn > 0)
            cursor.insertBlock(QTextBlockFormat(), plain);
        if (turn % 50 == 49)
            cursor.createList(bullets);
        cursor.insertText(Timestamp::format(qint64(turn) * 7300, Timestamp::kDefaultStyle) +
                              QLatin1Char(' '),
                          time);
        cursor.insertText(speakers[turn % 2] + QStringLiteral(": "), speaker);
        for (qsizetype written = 40; written < perTurn; written += sentence.size())
            cursor.insertText(sentence, plain);
        cursor.insertText(QStringLiteral("trial"), marked);
    }
    cursor.endEditBlock();
}

} // namespace

int main(int argc, char** argv)
{
    useOffscreenUnlessTold();
    QGuiApplication app(argc, argv);
    std::printf("Making a 5 MB transcript with %d timestamps...\n", kTimestamps);
    std::fflush(stdout);
    QTextDocument document;
    makeTranscript(&document);
    std::printf("%d characters, %d paragraphs\n", document.characterCount(), document.blockCount());

    std::vector<double> splits;
    qsizetype segments = 0;
    for (int i = 0; i < Runs; ++i) {
        QElapsedTimer clock;
        clock.start();
        segments = TranscriptSegments::split(document).segments.size();
        splits.push_back(milliseconds(clock));
    }
    std::printf("%lld segments\n", static_cast<long long>(segments));
    report(QStringLiteral("segments of the document:"), splits, "< 50 ms");

    const struct {
        ExportFormat format;
        const char* name;
        int runs;
        const char* target;
    } exports[] = {{ExportFormat::Srt, "SRT", Runs, "< 200 ms"},
                   {ExportFormat::WebVtt, "WebVTT", Runs, "< 200 ms"},
                   {ExportFormat::Text, "TXT", Runs, "< 200 ms"},
                   {ExportFormat::Csv, "CSV", Runs, "< 200 ms"},
                   {ExportFormat::Docx, "DOCX", 5, "< 1000 ms"},
                   {ExportFormat::Odt, "ODT", 3, "(as Qt allows)"}};
    QByteArray srt;
    for (const auto& e : exports) {
        ExportOptions options;
        options.format = e.format;
        std::vector<double> times;
        qsizetype size = 0;
        for (int i = 0; i < e.runs; ++i) {
            QElapsedTimer clock;
            clock.start();
            const auto bytes = TranscriptExport::contents(document, options, nullptr);
            times.push_back(milliseconds(clock));
            size = bytes ? bytes->size() : 0;
            if (e.format == ExportFormat::Srt && bytes)
                srt = *bytes;
        }
        report(QStringLiteral("%1 export (%2 KB):").arg(QLatin1String(e.name)).arg(size / 1024),
               times, e.target);
    }

    std::vector<double> imports;
    for (int i = 0; i < Runs / 4; ++i) {
        QTextDocument back;
        QElapsedTimer clock;
        clock.start();
        SubtitleImport::read(srt, &back, Timestamp::kDefaultStyle);
        imports.push_back(milliseconds(clock));
    }
    report(QStringLiteral("SRT import (%1 KB):").arg(srt.size() / 1024), imports, "(no target)");
    return 0;
}
