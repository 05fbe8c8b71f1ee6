// Times the RTF codec on 5 MB transcripts it makes, in English and in Russian (whose every letter
// is a \uN): writing the document, reading it into a document that is not shown, and pasting a
// slice into a document. Prints medians and the heap the read document holds; asserts nothing.

#include "BenchSupport.h"
#include "TranscriptLooks.h"
#include "rtf/RtfReader.h"
#include "rtf/RtfWriter.h"

#include <QGuiApplication>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextList>
#include <cstdio>
#include <malloc.h>
#include <memory>
#include <vector>

namespace {

using namespace Bench;

constexpr qsizetype TranscriptBytes = 5 * 1024 * 1024;

struct Language {
    const char* name;
    QStringList speakers;
    QString sentence;
};

// A transcript as the editor makes one: a bold time and a speaker per turn, now and then a
// highlighted word, a bulleted summary every so often.
std::unique_ptr<QTextDocument> makeTranscript(const Language& language, int turns)
{
    auto document = std::make_unique<QTextDocument>();
    QTextCursor cursor(document.get());
    const auto [plain, time, speaker, marked, bullets] = TranscriptLooks();

    cursor.beginEditBlock();
    for (int turn = 0; turn < turns; ++turn) {
        if (turn > 0)
            cursor.insertBlock(QTextBlockFormat(), plain);
        if (turn % 50 == 49) {
            cursor.createList(bullets);
            cursor.insertText(language.speakers[0] + u' ' + QString::number(turn), plain);
            continue;
        }
        const int seconds = turn * 17;
        cursor.insertText(QStringLiteral("[%1:%2:%3] ")
                              .arg(seconds / 3600, 2, 10, QLatin1Char('0'))
                              .arg(seconds / 60 % 60, 2, 10, QLatin1Char('0'))
                              .arg(seconds % 60, 2, 10, QLatin1Char('0')),
                          time);
        cursor.insertText(language.speakers[turn % language.speakers.size()] + QStringLiteral(": "),
                          speaker);
        cursor.insertText(language.sentence, plain);
        cursor.insertText(language.speakers[0], marked);
        cursor.insertText(QStringLiteral(" — "), plain);
        cursor.insertText(language.sentence, plain);
    }
    cursor.endEditBlock();
    return document;
}

// As many turns as make an RTF of the size asked for.
std::unique_ptr<QTextDocument> makeTranscript(const Language& language, qsizetype rtfBytes)
{
    const int sampleTurns = 100;
    const qsizetype sampleBytes = RtfWriter::write(*makeTranscript(language, sampleTurns)).size();
    return makeTranscript(language, int(rtfBytes * sampleTurns / sampleBytes));
}

size_t heapInUse()
{
    return mallinfo2().uordblks;
}

} // namespace

// Times writing and reading a transcript; returns its RTF.
QByteArray benchTranscript(const QTextDocument& source, const char* language)
{
    const QByteArray rtf = RtfWriter::write(source);
    std::printf("%s RTF: %.2f MB, %d paragraphs, %d characters of text\n", language,
                rtf.size() / 1048576.0, source.blockCount(), source.characterCount());

    std::vector<double> writes;
    for (int i = 0; i < Runs; ++i) {
        QElapsedTimer clock;
        clock.start();
        const QByteArray written = RtfWriter::write(source);
        writes.push_back(milliseconds(clock));
        if (written.size() != rtf.size())
            std::printf("the writer gave a different size on run %d\n", i);
    }
    std::vector<double> reads;
    for (int i = 0; i < Runs; ++i) {
        QTextDocument document;
        QElapsedTimer clock;
        clock.start();
        RtfReader::read(rtf, &document);
        reads.push_back(milliseconds(clock));
        if (document.characterCount() != source.characterCount())
            std::printf("the reader gave %d characters, not %d\n", document.characterCount(),
                        source.characterCount());
    }
    report(QStringLiteral("write 5 MB %1 transcript:").arg(language), writes, "< 200 ms");
    report(QStringLiteral("read 5 MB %1 transcript:").arg(language), reads, "< 300 ms");
    return rtf;
}

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    const Language english = {
        "English",
        {QStringLiteral("Interviewer"), QStringLiteral("Dr. Müller"), QStringLiteral("Ana Lúcia")},
        QStringLiteral("so what we saw in the second trial was that the effect held up, even when "
                       "we controlled for the season and the size of the groups, which surprised "
                       "everyone. ")};
    const Language russian = {
        "Russian",
        {QStringLiteral("Интервьюер"), QStringLiteral("Д-р Мюллер"), QStringLiteral("Анна")},
        QStringLiteral("во втором опыте эффект сохранился, даже когда мы учли время года и "
                       "размер групп, что всех удивило. ")};
    std::printf("Making 5 MB transcripts...\n");
    std::fflush(stdout);
    const std::unique_ptr<QTextDocument> source = makeTranscript(english, TranscriptBytes);
    const QByteArray rtf = benchTranscript(*source, english.name);
    benchTranscript(*makeTranscript(russian, TranscriptBytes), russian.name);
    // A paste of a twentieth of the transcript into the middle of another.
    QTextCursor slice(source.get());
    slice.setPosition(source->characterCount() / 2);
    slice.setPosition(source->characterCount() / 2 + source->characterCount() / 20,
                      QTextCursor::KeepAnchor);
    const QByteArray pasted = RtfWriter::writeSelection(slice);
    std::vector<double> pastes;
    for (int i = 0; i < Runs; ++i) {
        QTextDocument document;
        RtfReader::read(rtf, &document);
        QTextCursor cursor(&document);
        cursor.setPosition(document.characterCount() / 3);
        QElapsedTimer clock;
        clock.start();
        RtfReader::insert(pasted, cursor);
        pastes.push_back(milliseconds(clock));
    }

    report(QStringLiteral("paste %1 KB of RTF mid-document:").arg(pasted.size() / 1024), pastes,
           "(no target)");

    // Against the floor: the same document as Qt copies it, and its bare text.
    size_t before = heapInUse();
    auto document = std::make_unique<QTextDocument>();
    RtfReader::read(rtf, document.get());
    const size_t held = heapInUse() - before;
    before = heapInUse();
    const std::unique_ptr<QTextDocument> copy(source->clone());
    const size_t copyHeld = heapInUse() - before;
    std::printf("%-44s %8.1f MB (Qt's own copy: %.1f MB; the text as UTF-16: %.1f MB)\n",
                "heap held by the read document:", held / 1048576.0, copyHeld / 1048576.0,
                document->characterCount() * 2 / 1048576.0);
    return 0;
}
