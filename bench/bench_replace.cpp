// Times Replace All in the editor's text area as a transcriber meets it: a 10 MB transcript
// (bold time stamps and speakers, an italic aside now and then) in a shown text area, a name
// that occurs 100,000 times replaced by a longer one that contains it. Every run opens the
// transcript afresh and lets its layout finish first, as it has while one reads. Besides the
// command itself it times the view painted after it, and the whole document laid out again,
// which the text area does in the background.

#include "BenchSupport.h"
#include "editor/ReplaceAll.h"
#include "editor/RichTextBox.h"

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QStringMatcher>
#include <QTemporaryDir>
#include <QTextDocument>

namespace {

using namespace Bench;

constexpr int Turns = 25000;
constexpr int MatchesPerTurn = 4;

// A turn of about 430 characters that names "Hartley" four times: once as the speaker, three
// times in what is said.
QByteArray makeRtf()
{
    QByteArray rtf = "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fswiss Arial;}}"
                     "{\\colortbl;\\red192\\green0\\blue0;}\\pard\\f0\\fs24 ";
    for (int turn = 0; turn < Turns; ++turn) {
        rtf +=
            "{\\b [" + QByteArray::number(turn / 3600) + ":" +
            QByteArray::number(turn / 60 % 60 + 10) + ":" + QByteArray::number(turn % 60 + 10) +
            "]} {\\b\\cf1 HARTLEY:} so the point is that Hartley measured it twice, and the "
            "second time the result was clearer than the first; we asked hartley why, and "
            "the answer was simple: the room was quieter, the microphone closer, and nobody "
            "was talking over anybody else in the corridor. That is what Hartley wrote down "
            "in the notes for the group. Then we went back over the recording again, line by line, "
            "to be sure of every word.";
        if (turn % 5 == 0)
            rtf += " {\\i (laughs)} caf\\'e9";
        rtf += "\\par\n";
    }
    return rtf + "}";
}

} // namespace

int main(int argc, char** argv)
{
    useOffscreenUnlessTold();
    QApplication app(argc, argv);
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("transcript.rtf"));
    QFile file(path);
    const QByteArray rtf = makeRtf();
    if (!file.open(QIODevice::WriteOnly) || file.write(rtf) != rtf.size()) {
        std::printf("cannot write the transcript in %s\n", qPrintable(folder.path()));
        return 1;
    }
    file.close();

    const QString find = QStringLiteral("Hartley");
    const QString replacement = QStringLiteral("Hartley-Byrne");
    RichTextBox text;
    text.resize(900, 700);
    text.show();
    std::vector<double> calls, untilPainted, untilLaidOut;
    constexpr int runs = 5;
    for (int run = 0; run < runs; ++run) {
        QString error;
        if (text.loadFile(path, &error) != RichTextBox::LoadOutcome::Loaded) {
            std::printf("cannot open the transcript: %s\n", qPrintable(error));
            return 1;
        }
        // Asking the size finishes the layout.
        text.document()->documentLayout()->documentSize();
        settle();
        if (run == 0) {
            const QString plain = text.toPlainText();
            qsizetype matches = 0;
            const QStringMatcher matcher(find, Qt::CaseInsensitive);
            for (qsizetype at = matcher.indexIn(plain); at >= 0;
                 at = matcher.indexIn(plain, at + find.size()))
                ++matches;
            std::printf("Replace All of \"%s\" by \"%s\" in a shown text area: %.1f MB RTF, "
                        "%.1f M characters, %lld matches, %d runs\n",
                        qPrintable(find), qPrintable(replacement), rtf.size() / 1048576.0,
                        plain.size() / 1048576.0, static_cast<long long>(matches), runs);
        }

        QElapsedTimer clock;
        clock.start();
        const int count = replaceAll(text, find, replacement);
        calls.push_back(milliseconds(clock));
        text.repaint();
        settle();
        untilPainted.push_back(milliseconds(clock));
        text.document()->documentLayout()->documentSize();
        untilLaidOut.push_back(milliseconds(clock));
        if (count != Turns * MatchesPerTurn) {
            std::printf("replaced %d, not %d\n", count, Turns * MatchesPerTurn);
            return 1;
        }
    }
    report(QStringLiteral("Replace All, 100,000 in 10 MB:"), calls, "< 1 s");
    report(QStringLiteral("... and the view painted:"), untilPainted, "< 1 s");
    // The rest of the layout goes on in the background, in steps, as after opening a file.
    report(QStringLiteral("... and the whole document laid out:"), untilLaidOut,
           "none (background)");
    return 0;
}
