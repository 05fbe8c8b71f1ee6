// Times what timestamps and recovery copies cost a transcriber while typing, in a 1 MB
// transcript with 10,000 timestamps: the recovery copy's share of the GUI thread (the snapshot
// and its hand-over to the writer thread), the writer thread's encoding and writing, and a
// timestamp's insertion and lookup.

#include "BenchSupport.h"
#include "FakeMediaPlayer.h"
#include "FakePlayer.h"
#include "core/AppState.h"
#include "core/Timestamp.h"
#include "editor/DocumentSnapshot.h"
#include "editor/EditorWindow.h"
#include "editor/RecoveryStore.h"
#include "editor/RichTextBox.h"
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

namespace {

using namespace Bench;

constexpr int Stamps = 10000;

// Turns of about 100 characters, each opened by a bold timestamp and a coloured speaker.
void fillTranscript(QTextDocument& document)
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
        if (turn > 0)
            cursor.insertBlock();
        cursor.insertText(Timestamp::format(qint64(turn) * 7300, Timestamp::kDefaultStyle), stamp);
        cursor.insertText(QStringLiteral(" SPEAKER %1: ").arg(turn % 3 + 1), speaker);
        cursor.insertText(words, plain);
    }
}

} // namespace

int main(int argc, char** argv)
{
    useOffscreenUnlessTold();
    QApplication app(argc, argv);
    QTemporaryDir folder;
    AppState state;
    state.programFolder = folder.path();
    QDir(folder.path()).mkpath(QStringLiteral("Files"));
    state.languageFile = QStringLiteral("English.lng");
    state.productTitle = QStringLiteral("Vocarta");
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
    fillTranscript(*box->document());
    editor.startRecovery();
    box->setFocus();
    // The layout finishes in the background first, as it does while one reads.
    waitFor([] { return false; }, 1500);
    const double megabytes = box->document()->characterCount() / 1048576.0;
    std::printf("Transcript of %.2f M characters, %d timestamps (%d runs)\n", megabytes, Stamps,
                Runs);

    std::vector<double> snapshots, handOvers, encodes;
    const QString copy = folder.filePath(QStringLiteral("Recovery/Transcript.rtf"));
    RecoveryStore store(folder.filePath(QStringLiteral("bench")));
    store.claim();
    for (int run = 0; run < Runs; ++run) {
        QElapsedTimer clock;
        clock.start();
        const DocumentSnapshot snapshot = DocumentSnapshot::take(*box->document());
        snapshots.push_back(milliseconds(clock));

        clock.restart();
        const auto rebuilt = snapshot.rebuild();
        store.write(RtfWriter::write(*rebuilt), {});
        encodes.push_back(milliseconds(clock));

        // The whole GUI-thread part of a copy, as the timer runs it.
        box->insertPlainText(QStringLiteral("x"));
        const QDateTime before = QFileInfo(copy).lastModified();
        clock.restart();
        editor.writeRecoveryCopy();
        handOvers.push_back(milliseconds(clock));
        waitFor([&] { return QFileInfo(copy).lastModified() != before; }, 10000);
    }

    std::vector<double> insertions, lookups;
    QTextCursor cursor(box->document());
    for (int run = 0; run < Runs * 10; ++run) {
        const int position =
            int((qint64(run) * 7919 % 1000) * box->document()->characterCount() / 1000);
        cursor.setPosition(position);
        box->setTextCursor(cursor);
        QElapsedTimer clock;
        clock.start();
        const auto found = Timestamp::findAtOrBefore(*box->document(), position);
        lookups.push_back(milliseconds(clock));
        if (!found)
            std::printf("no timestamp before %d\n", position);

        clock.restart();
        editor.insertTimestamp();
        QCoreApplication::processEvents();
        insertions.push_back(milliseconds(clock));
    }

    // The longest lookup: the caret far from any timestamp, every paragraph read back to the
    // start.
    std::vector<double> fullScans;
    {
        QTextDocument bare;
        QString text;
        const QString line = QStringLiteral("words [and] more words, with no timestamp in this "
                                            "paragraph at all\n");
        while (text.size() < (1 << 20))
            text += line;
        bare.setPlainText(text);
        for (int run = 0; run < Runs; ++run) {
            QElapsedTimer clock;
            clock.start();
            if (Timestamp::findAtOrBefore(bare, bare.characterCount() - 1))
                std::printf("a timestamp where there is none\n");
            fullScans.push_back(milliseconds(clock));
        }
    }

    report(QStringLiteral("recovery copy, snapshot on the GUI thread:"), snapshots, "< 10 ms");
    report(QStringLiteral("recovery copy, whole GUI-thread share:"), handOvers, "< 10 ms");
    report(QStringLiteral("recovery copy, writer thread (encode+write):"), encodes,
           "off the GUI thread");
    report(QStringLiteral("timestamp insertion (Ctrl+T):"), insertions, "< 5 ms");
    report(QStringLiteral("timestamp lookup (Ctrl+J):"), lookups, "< 5 ms");
    report(QStringLiteral("lookup with no timestamp in 1 MB:"), fullScans, "< 5 ms");
    return 0;
}
