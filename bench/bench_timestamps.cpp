// Times what timestamps and recovery copies cost a transcriber while typing, in a 1 MB
// transcript with 10,000 timestamps: the recovery copy's share of the GUI thread (the snapshot
// and its hand-over to the writer thread), the writer thread's encoding and writing, and a
// timestamp's insertion and lookup, the waveform's marks read after a keystroke, and one step of
// following along while playing.
//
//   bench_timestamps [timestamps per paragraph]     (1 by default)

#include "BenchState.h"
#include "BenchSupport.h"
#include "FakeMediaPlayer.h"
#include "FakePlayer.h"
#include "core/AppState.h"
#include "core/Timestamp.h"
#include "editor/DocumentCommands.h"
#include "editor/DocumentSnapshot.h"
#include "editor/EditorWindow.h"
#include "editor/FollowAlong.h"
#include "editor/RecoveryKeeper.h"
#include "editor/RecoveryStore.h"
#include "editor/RichTextBox.h"
#include "editor/TimestampCommands.h"
#include "platform/Platform.h"
#include "platform/QtDialogs.h"
#include "rtf/RtfWriter.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <cstdlib>
#include <ctime>

namespace {

using namespace Bench;

// CPU time of this thread: what the work itself costs, without the time other programs on a busy
// machine take the processor away (the wall-clock medians show that too).
double threadMilliseconds()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return now.tv_sec * 1e3 + now.tv_nsec / 1e6;
}

// Wall-clock and CPU time of one call, each run.
struct Timing {
    std::vector<double> wall;
    std::vector<double> cpu;

    template <typename Work> void measure(Work&& work)
    {
        QElapsedTimer clock;
        const double cpuStart = threadMilliseconds();
        clock.start();
        work();
        wall.push_back(milliseconds(clock));
        cpu.push_back(threadMilliseconds() - cpuStart);
    }

    void report(const QString& what, const char* target) const
    {
        Bench::report(what, wall, target);
        Bench::report(QStringLiteral("  (CPU time of the thread)"), cpu, target);
    }
};

constexpr int Stamps = 10000;

// 10,000 timestamps of about 100 characters each, bold, in paragraphs of `perParagraph` of them;
// each paragraph opens with a coloured speaker.
void fillTranscript(QTextDocument& document, int perParagraph)
{
    QTextCursor cursor(&document);
    QTextCharFormat stamp;
    stamp.setFontWeight(QFont::Bold);
    QTextCharFormat speaker;
    speaker.setForeground(QColor(192, 0, 0));
    const QTextCharFormat plain;
    const QString words = QStringLiteral("so the point is that we measured it twice, and the "
                                         "second time it was clearer than before; ");
    for (int turn = 0; turn < Stamps; ++turn) {
        if (turn > 0 && turn % perParagraph == 0)
            cursor.insertBlock();
        if (turn % perParagraph == 0)
            cursor.insertText(QStringLiteral("SPEAKER %1: ").arg(turn % 3 + 1), speaker);
        cursor.insertText(Timestamp::format(qint64(turn) * 7300, Timestamp::kDefaultStyle), stamp);
        cursor.insertText(QStringLiteral(" ") + words, plain);
    }
}

} // namespace

int main(int argc, char** argv)
{
    useOffscreenUnlessTold();
    QApplication app(argc, argv);
    // Timestamps per paragraph: Qt's relayout after an edit grows with the paragraphs.
    const int perParagraph = argc > 1 ? std::max(1, std::atoi(argv[1])) : 1;
    QTemporaryDir folder;
    AppState state;
    prepareState(state, folder.path());
    QtDialogs dialogs;
    FakeMediaPlayer media;
    media.loadedDuration = 24 * 3600;
    FakePlayer player(&media);
    const QString recording = folder.filePath(QStringLiteral("talk.wav"));
    QFile(recording).open(QIODevice::WriteOnly);
    media.setUrl(recording);
    media.setCurrentPosition(3723.4);

    EditorWindow editor(state, Platform{&media, &dialogs, nullptr}, &player);
    editor.show();
    auto* box = editor.findChild<RichTextBox*>(QStringLiteral("textBox"));
    fillTranscript(*box->document(), perParagraph);
    editor.startRecovery();
    box->setFocus();
    // The layout finishes in the background first, as it does while one reads.
    waitFor([] { return false; }, 1500);
    const double megabytes = box->document()->characterCount() / 1048576.0;
    std::printf("Transcript of %.2f M characters, %d timestamps in %d paragraphs (%d runs)\n",
                megabytes, Stamps, box->document()->blockCount(), Runs);

    Timing snapshots, handOvers, encodes;
    const QString copy = folder.filePath(QStringLiteral("Recovery/Transcript.rtf"));
    RecoveryStore store(folder.filePath(QStringLiteral("bench")));
    if (!store.claim()) {
        std::fprintf(stderr, "The bench folder cannot hold recovery copies\n");
        return 1;
    }
    bool written = true;
    for (int run = 0; run < Runs; ++run) {
        DocumentSnapshot snapshot;
        snapshots.measure([&] { snapshot = DocumentSnapshot::take(*box->document()); });
        encodes.measure(
            [&] { written = store.write(RtfWriter::write(*snapshot.rebuild()), {}) && written; });

        // The whole GUI-thread part of a copy, as the timer runs it.
        box->insertPlainText(QStringLiteral("x"));
        const QDateTime before = QFileInfo(copy).lastModified();
        handOvers.measure([&] { editor.documentCommands()->recovery()->writeCopy(); });
        waitFor([&] { return QFileInfo(copy).lastModified() != before; }, 10000);
    }
    if (!written)
        std::fprintf(stderr, "A recovery copy could not be written: the figures are not real\n");

    // The waveform's timestamp marks: read whole once, then again after each keystroke.
    Timing firstMarks, marksAfterKeystroke;
    qsizetype marks = 0;
    firstMarks.measure([&] { marks = editor.timestampCommands()->marks().size(); });

    Timing insertions, insertionsAlone, lookups, keystrokes;
    int found = 0;
    QTextCursor cursor(box->document());
    for (int run = 0; run < Runs * 10; ++run) {
        const int position =
            int((qint64(run) * 7919 % 1000) * box->document()->characterCount() / 1000);
        cursor.setPosition(position);
        box->setTextCursor(cursor);
        // Scrolled there first: the caret's move is none of the timestamp's cost.
        settle();
        lookups.measure(
            [&] { found += Timestamp::findAtOrBefore(*box->document(), position).has_value(); });
        insertions.measure([&] {
            editor.insertTimestamp();
            QCoreApplication::processEvents();
        });
        // Without the repaint, which any keystroke there would cost.
        insertionsAlone.measure([&] { editor.insertTimestamp(); });
        settle();
        keystrokes.measure([&] {
            box->insertPlainText(QStringLiteral("a"));
            QCoreApplication::processEvents();
        });
        marksAfterKeystroke.measure([&] { marks = editor.timestampCommands()->marks().size(); });
    }

    // Following along: one reading of the position as the poll makes it while playing, with the
    // highlight moved to a part far away and scrolled there, or staying; and the first search
    // for the part heard after a keystroke, when the marks are read again.
    Timing ticksMoved, ticksStaying, heardAfterKeystroke;
    FollowAlong follow(state, dialogs, &player, box, *editor.timestampCommands());
    media.play();
    for (int run = 0; run < Runs * 10; ++run) {
        QTextCursor(box->document()).insertText(QStringLiteral("a"));
        const double seconds = (qint64(run) * 7919 % Stamps) * 7.3 + 1;
        heardAfterKeystroke.measure([&] { editor.timestampCommands()->heardAt(seconds); });
        // The keystroke moved the caret along: that stopped the following.
        follow.resume();
        settle();
        media.setCurrentPosition(seconds);
        ticksMoved.measure([&] {
            follow.tick();
            QCoreApplication::processEvents();
        });
        ticksStaying.measure([&] { follow.tick(); });
    }
    if (!follow.isPolling())
        std::printf("following stopped: the figures are not real\n");

    // The longest lookup: the caret far from any timestamp, the whole text read back to the
    // start.
    Timing fullScans;
    {
        QTextDocument bare;
        QString text;
        const QString line = QStringLiteral("words [and] more words, with no timestamp in this "
                                            "paragraph at all\n");
        while (text.size() < (1 << 20))
            text += line;
        bare.setPlainText(text);
        for (int run = 0; run < Runs; ++run) {
            fullScans.measure([&] {
                if (Timestamp::findAtOrBefore(bare, bare.characterCount() - 1))
                    std::printf("a timestamp where there is none\n");
            });
        }
    }

    snapshots.report(QStringLiteral("recovery copy, snapshot (GUI thread):"), "< 10 ms");
    handOvers.report(QStringLiteral("recovery copy, whole GUI-thread share:"), "< 10 ms");
    encodes.report(QStringLiteral("recovery copy, encode+write (writer):"), "off the GUI thread");
    insertions.report(QStringLiteral("timestamp insertion (Ctrl+T), repainted:"), "< 5 ms");
    insertionsAlone.report(QStringLiteral("timestamp insertion, without the repaint:"), "< 5 ms");
    keystrokes.report(QStringLiteral("one typed letter, repainted, to compare:"), "< 5 ms");
    lookups.report(QStringLiteral("timestamp lookup (Ctrl+J):"), "< 5 ms");
    firstMarks.report(QStringLiteral("waveform's marks, first reading:"), "< 100 ms");
    marksAfterKeystroke.report(QStringLiteral("waveform's marks after a keystroke:"), "< 5 ms");
    ticksMoved.report(QStringLiteral("following along, a step to a new part:"), "< 5 ms");
    ticksStaying.report(QStringLiteral("following along, a step in the same part:"), "< 1 ms");
    heardAfterKeystroke.report(QStringLiteral("part heard, after a keystroke:"), "< 5 ms");
    std::printf("%-44s %lld\n", "marks:", qlonglong(marks));
    std::printf("%-44s %d of %zu\n", "lookups that found a timestamp:", found, lookups.wall.size());
    fullScans.report(QStringLiteral("lookup with no timestamp in 1 MB:"), "< 5 ms");
    return 0;
}
