// Times the RTF codec on a 5 MB transcript it makes: reading into a document that is not shown,
// writing the document, and pasting a slice into a document. Prints medians and the heap the read
// document holds beside its text; asserts nothing.

#include "BenchSupport.h"
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

// A transcript as the editor makes one: a bold time and a speaker per turn, now and then a
// highlighted or coloured word, accented names, a bulleted summary every so often.
std::unique_ptr<QTextDocument> makeTranscript(qsizetype rtfBytes)
{
    auto document = std::make_unique<QTextDocument>();
    QTextCursor cursor(document.get());
    QTextCharFormat plain;
    plain.setFontFamilies({QStringLiteral("Liberation Serif")});
    plain.setFontPointSize(12);
    QTextCharFormat time = plain;
    time.setFontWeight(QFont::Bold);
    QTextCharFormat speaker = plain;
    speaker.setFontItalic(true);
    speaker.setForeground(QColor(0, 0, 160));
    QTextCharFormat marked = plain;
    marked.setBackground(QColor(255, 255, 0));
    const QStringList speakers = {QStringLiteral("Interviewer"), QStringLiteral("Dr. Müller"),
                                  QStringLiteral("Ana Lúcia")};
    const QString sentence = QStringLiteral(
        "so what we saw in the second trial was that the effect held up, even when we "
        "controlled for the season and the size of the groups, which surprised everyone. ");
    QTextListFormat bullets;
    bullets.setStyle(QTextListFormat::ListDisc);

    cursor.beginEditBlock();
    qsizetype estimate = 0;
    for (int turn = 0; estimate < rtfBytes; ++turn) {
        if (turn > 0)
            cursor.insertBlock(QTextBlockFormat(), plain);
        if (turn % 50 == 49) {
            cursor.createList(bullets);
            cursor.insertText(QStringLiteral("Summary point ") + QString::number(turn), plain);
            estimate += 110;
            continue;
        }
        const int seconds = turn * 17;
        cursor.insertText(QStringLiteral("[%1:%2:%3] ")
                              .arg(seconds / 3600, 2, 10, QLatin1Char('0'))
                              .arg(seconds / 60 % 60, 2, 10, QLatin1Char('0'))
                              .arg(seconds % 60, 2, 10, QLatin1Char('0')),
                          time);
        cursor.insertText(speakers[turn % 3] + QStringLiteral(": "), speaker);
        cursor.insertText(sentence, plain);
        cursor.insertText(QStringLiteral("really"), marked);
        cursor.insertText(QStringLiteral(" — "), plain);
        cursor.insertText(sentence, plain);
        estimate += 2 * sentence.size() + 90;
    }
    cursor.endEditBlock();
    return document;
}

size_t heapInUse()
{
    return mallinfo2().uordblks;
}

} // namespace

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    std::printf("Making a %lld MB transcript...\n", static_cast<long long>(TranscriptBytes >> 20));
    std::fflush(stdout);
    const std::unique_ptr<QTextDocument> source = makeTranscript(TranscriptBytes);
    const QByteArray rtf = RtfWriter::write(*source);
    std::printf("RTF: %.2f MB, %d paragraphs, %lld characters of text\n", rtf.size() / 1048576.0,
                source->blockCount(), static_cast<long long>(source->characterCount()));

    std::vector<double> writes;
    for (int i = 0; i < Runs; ++i) {
        QElapsedTimer clock;
        clock.start();
        const QByteArray written = RtfWriter::write(*source);
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
        if (document.characterCount() != source->characterCount())
            std::printf("the reader gave %d characters, not %d\n", document.characterCount(),
                        source->characterCount());
    }

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

    report(QStringLiteral("write 5 MB transcript:"), writes, "< 200 ms");
    report(QStringLiteral("read 5 MB transcript:"), reads, "< 300 ms");
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
