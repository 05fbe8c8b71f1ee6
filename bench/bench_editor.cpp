// Times the editor window as a transcriber uses it: opening a 5 MB RTF transcript, saving it, a
// keystroke in a 1 MB one, and the memory an open transcript takes. It writes its own
// transcripts, in the form word processors write them. Then files no transcript resembles: how
// long the text area takes to open or refuse them, and its longest hold on the window while it
// reads them and lays them out.

#include "BenchState.h"
#include "BenchSupport.h"
#include "FakeMediaPlayer.h"
#include "core/AppState.h"
#include "editor/DocumentCommands.h"
#include "editor/EditorWindow.h"
#include "editor/RichTextBox.h"
#include "editor/UndoController.h"
#include "platform/Platform.h"
#include "platform/QtDialogs.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>
#include <malloc.h>
#include <unistd.h>

namespace {

using namespace Bench;

// An RTF transcript of about `bytes` bytes: a bold time stamp and a speaker per turn, a few
// accented words, an italic aside now and then, paragraphs of a few lines.
QByteArray makeRtf(qsizetype bytes)
{
    QByteArray rtf = "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fswiss Arial;}"
                     "{\\f1\\froman Times New Roman;}}{\\colortbl;\\red192\\green0\\blue0;}"
                     "\\pard\\f0\\fs24 ";
    const char* speakers[] = {"INTERVIEWER", "SPEAKER 1", "SPEAKER 2"};
    const QByteArray sentence = "so the point is that we measured it twice, and the second "
                                "time the result was clearer than the first; ";
    for (int turn = 0; rtf.size() < bytes; ++turn) {
        rtf += "{\\b [" + QByteArray::number(turn / 60) + ":" + QByteArray::number(turn % 60 + 10) +
               "]} {\\cf1 " + speakers[turn % 3] + ":} ";
        for (int i = 0; i < 3 + turn % 4; ++i)
            rtf += sentence;
        if (turn % 5 == 0)
            rtf += "{\\i (laughs)} perch\\'e9 caf\\'e9 na\\'efve ";
        rtf += "\\par\n";
    }
    return rtf + "}";
}

// Resident memory of this process.
double residentMegabytes()
{
    malloc_trim(0);
    QFile statm(QStringLiteral("/proc/self/statm"));
    if (!statm.open(QIODevice::ReadOnly))
        return 0;
    const QList<QByteArray> fields = statm.readAll().split(' ');
    return fields.size() > 1 ? fields[1].toDouble() * sysconf(_SC_PAGESIZE) / 1048576.0 : 0;
}

// Files at and past the limits of what the text area lays out fast.
QList<QPair<QString, QByteArray>> unusualFiles()
{
    const auto repeated = [](const QByteArray& piece, qsizetype count) {
        return piece.repeated(count);
    };
    QByteArray bold = "{\\rtf1\\ansi ";
    bold += repeated("{\\b a}b", 3'000'000);
    QByteArray boldParagraphs = "{\\rtf1\\ansi ";
    boldParagraphs += repeated(repeated("{\\b ab} cd ", 2'000) + "\\par\n", 100);
    QByteArray wordParagraph = repeated("word ", 19'999);
    QByteArray unbroken = repeated(QByteArray(999, 'x') + ' ', 99);
    return {
        {QStringLiteral("1 MB without spaces or line breaks (txt)"), QByteArray(1 << 20, 'x')},
        {QStringLiteral("10 M empty paragraphs (txt)"), QByteArray(10'000'000, '\n')},
        {QStringLiteral("6 M alternating bold runs (RTF)"), bold + "}"},
        {QStringLiteral("240,000 empty paragraphs (txt)"), QByteArray(240'000, '\n')},
        {QStringLiteral("paragraph of 100,000 characters (txt)"), wordParagraph},
        {QStringLiteral("100 paragraphs of 4,000 bold runs (RTF)"), boldParagraphs + "}"},
        {QStringLiteral("99 stretches of 999 unbroken (txt)"), unbroken},
    };
}

// Opens the file in a shown text area, serving events between the pieces of the reading as the
// editor's progress does, and then until the layout is done.
void openUnusual(const QString& what, const QString& path)
{
    RichTextBox box;
    box.resize(800, 600);
    box.show();
    settle();
    QElapsedTimer clock;
    QElapsedTimer sinceEvents;
    double longest = 0;
    const auto served = [&] {
        longest = std::max(longest, milliseconds(sinceEvents));
        QCoreApplication::processEvents();
        sinceEvents.start();
    };
    clock.start();
    sinceEvents.start();
    const RichTextBox::LoadOutcome outcome = box.loadFile(path, nullptr, [&](int) {
        served();
        return true;
    });
    const double opened = milliseconds(clock);
    served();
    const double longestOpening = longest;
    longest = 0;
    // The layout's own steps, timed by the gaps between the ticks of a fine timer.
    QTimer tick;
    QObject::connect(&tick, &QTimer::timeout, &tick, served);
    tick.start(1);
    const QTextBlock last = box.document()->lastBlock();
    waitFor([&] { return last.layout() && last.layout()->lineCount() > 0; }, 600'000);
    const double laidOut = milliseconds(clock);
    const char* outcomes[] = {"opened", "unreadable", "refused", "stopped"};
    std::printf("%-40s %-8s open %7.1f ms (longest step %6.1f ms), laid out %7.1f ms (longest "
                "step %6.1f ms)\n",
                qPrintable(what), outcomes[int(outcome)], opened, longestOpening, laidOut, longest);
    std::fflush(stdout);
}

} // namespace

int main(int argc, char** argv)
{
    useOffscreenUnlessTold();
    QApplication app(argc, argv);
    QTemporaryDir folder;
    AppState state;
    prepareState(state, folder.path());
    QtDialogs dialogs;
    FakeMediaPlayer media;
    const Platform platform{&media, &dialogs, nullptr};

    const QString big = folder.filePath(QStringLiteral("big.rtf"));
    const QString small = folder.filePath(QStringLiteral("small.rtf"));
    const QByteArray bigRtf = makeRtf(5 << 20);
    QFile bigFile(big);
    QFile smallFile(small);
    if (!bigFile.open(QIODevice::WriteOnly) || bigFile.write(bigRtf) != bigRtf.size() ||
        !smallFile.open(QIODevice::WriteOnly) || smallFile.write(makeRtf(1 << 20)) <= 0) {
        std::printf("cannot write the transcripts in %s\n", qPrintable(folder.path()));
        return 1;
    }
    bigFile.close();
    smallFile.close();
    std::printf("Editor with a %.1f MB RTF transcript (%d runs)\n", bigRtf.size() / 1048576.0,
                Runs / 2);

    std::vector<double> loads, saves;
    double emptyMemory = 0, openMemory = 0;
    for (int run = 0; run < Runs / 2; ++run) {
        EditorWindow editor(state, platform, nullptr);
        editor.show();
        settle();
        if (run == 0)
            emptyMemory = residentMegabytes();
        QElapsedTimer clock;
        clock.start();
        editor.documentCommands()->openDocumentFile(big);
        settle();
        loads.push_back(milliseconds(clock));

        if (run == 0)
            openMemory = residentMegabytes();

        auto* box = editor.findChild<RichTextBox*>(QStringLiteral("textBox"));
        box->moveCursor(QTextCursor::End);
        box->insertPlainText(QStringLiteral("."));
        clock.restart();
        if (editor.documentCommands()->save() != DocumentCommands::SaveOutcome::Saved)
            std::printf("the save failed\n");
        saves.push_back(milliseconds(clock));
    }

    std::vector<double> keystrokes;
    {
        EditorWindow editor(state, platform, nullptr);
        editor.show();
        editor.documentCommands()->openDocumentFile(small);
        auto* box = editor.findChild<RichTextBox*>(QStringLiteral("textBox"));
        box->setFocus();
        // The document's layout finishes in the background first, as it does while one reads.
        waitFor([] { return false; }, 1500);
        box->setSelectionStart(box->document()->characterCount() / 2);
        settle();
        QElapsedTimer clock;
        for (int i = 0; i < 200; ++i) {
            clock.start();
            QTest::keyClick(box, Qt::Key(Qt::Key_A + i % 26));
            QCoreApplication::processEvents();
            keystrokes.push_back(milliseconds(clock));
        }
    }

    // 100,000 characters typed one at a time, a paragraph every 70: the undo history's share
    // of each keystroke, from the document's change to the end of the editor's handling.
    std::vector<double> recordings;
    qsizetype historyBytes = 0;
    constexpr int Typed = 100000;
    {
        EditorWindow editor(state, platform, nullptr);
        editor.show();
        auto* box = editor.findChild<RichTextBox*>(QStringLiteral("textBox"));
        QElapsedTimer clock;
        QObject::connect(box->document(), &QTextDocument::contentsChange, box,
                         [&clock] { clock.start(); });
        QObject::connect(box, &RichTextBox::contentChanged, box,
                         [&] { recordings.push_back(milliseconds(clock)); });
        for (int i = 0; i < Typed; ++i)
            box->insertPlainText(i % 70 == 69 ? QStringLiteral("\n")
                                              : QString(QChar(u'a' + i % 26)));
        historyBytes = editor.undoController()->history().memoryBytes();
    }

    report(QStringLiteral("open 5 MB RTF transcript:"), loads, "< 300 ms");
    report(QStringLiteral("save 5 MB RTF transcript:"), saves, "< 200 ms");
    report(QStringLiteral("keystroke in a 1 MB transcript:"), keystrokes, "< 5 ms");
    const double fileMegabytes = bigRtf.size() / 1048576.0;
    std::printf("%-44s %8.1f MB above the empty editor (%.1f x the file)   target < 5 x\n",
                "memory with the 5 MB transcript open:", openMemory - emptyMemory,
                (openMemory - emptyMemory) / fileMegabytes);
    report(QStringLiteral("undo recording per typed character:"), recordings, "< 0.2 ms");
    // A copy of the whole text per keystroke holds 1 + 2 + ... + n characters of two bytes.
    const double copies = double(Typed) * (Typed + 1) / 1048576.0;
    std::printf("%-44s %8.1f MB (a copy of the text per keystroke: %.0f MB)   target < 16 MB\n",
                "undo history after 100,000 characters:", historyBytes / 1048576.0, copies);

    std::printf("Unusual files (targets: open or refuse < 300 ms or with progress, steps < 100 "
                "ms)\n");
    openUnusual(QStringLiteral("5 MB RTF transcript"), big);
    for (const auto& [what, bytes] : unusualFiles()) {
        const QString path = folder.filePath(QStringLiteral("unusual"));
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size()) {
            std::printf("cannot write %s\n", qPrintable(path));
            return 1;
        }
        file.close();
        openUnusual(what, path);
    }
    return 0;
}
