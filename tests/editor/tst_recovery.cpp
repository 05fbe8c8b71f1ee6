#include "Controls.h"
#include "EditorFixture.h"
#include "editor/DocumentSnapshot.h"
#include "editor/RecoveryKeeper.h"
#include "editor/RecoverySchedule.h"
#include "editor/RecoveryStore.h"
#include "platform/TextFile.h"
#include "rtf/RtfReader.h"
#include "rtf/RtfWriter.h"

#include <QDir>
#include <QSysInfo>
#include <QTest>
#include <QTextCursor>
#include <QTextList>
#include <QThread>
#include <QTimer>

class TestRecovery : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void scheduleWaitsForAPauseAndNeverLongerThanAMinute_data();
    void scheduleWaitsForAPauseAndNeverLongerThanAMinute();
    void snapshotRebuildsTheSameDocument();
    void copyIsWrittenAfterChangesAndReplaced();
    void copyGoesOnlyWhenTheUserDecides_data();
    void copyGoesOnlyWhenTheUserDecides();
    void aCopyLeftBehindIsOffered_data();
    void aCopyLeftBehindIsOffered();
    void damagedCopyIsRestoredAsFarAsItReads_data();
    void damagedCopyIsRestoredAsFarAsItReads();
    void twoProgramsNeverShareACopy();
    void aCopyNobodyHoldsIsOfferedFirst_data();
    void aCopyNobodyHoldsIsOfferedFirst();
    void aRecentDocumentNeverDropsChangesNotKept_data();
    void aRecentDocumentNeverDropsChangesNotKept();
};

namespace {

QString recoveryPath(const EditorParts& f, const QString& name)
{
    return f.folder.filePath(QStringLiteral("Recovery/") + name);
}

// The plain text of the RTF copy, or "-" while there is none.
QString copyText(const EditorParts& f)
{
    QFile file(recoveryPath(f, QStringLiteral("Transcript.rtf")));
    if (!file.open(QIODevice::ReadOnly))
        return QStringLiteral("-");
    QTextDocument document;
    RtfReader::read(file.readAll(), &document);
    return document.toPlainText();
}

// A copy and record as a run that ended without closing would leave them.
void leaveCopy(const EditorFixture& f, const QByteArray& copy, const QStringList& record)
{
    f.folder.writeBytes(QStringLiteral("Recovery/Transcript.rtf"), copy);
    if (!record.isEmpty())
        f.folder.write(QStringLiteral("Recovery/Transcript.ini"), record);
}

} // namespace

void TestRecovery::scheduleWaitsForAPauseAndNeverLongerThanAMinute_data()
{
    QTest::addColumn<QList<qint64>>("changes");
    QTest::addColumn<qint64>("due");

    QList<qint64> steady;
    for (qint64 t = 0; t <= 58000; t += 1000)
        steady << t;
    QTest::newRow("one change") << QList<qint64>{1000} << qint64(6000);
    QTest::newRow("a burst, then a pause") << QList<qint64>{0, 300, 2500} << qint64(7500);
    QTest::newRow("typing without a pause") << steady << qint64(60000);
}

void TestRecovery::scheduleWaitsForAPauseAndNeverLongerThanAMinute()
{
    QFETCH(QList<qint64>, changes);
    QFETCH(qint64, due);
    RecoverySchedule schedule;
    QVERIFY(!schedule.isPending());
    for (qint64 at : changes)
        schedule.changed(at);
    QVERIFY(schedule.isPending());
    QCOMPARE(schedule.dueAt(), due);
    // Written: the next minute counts from the next change.
    schedule.clear();
    QVERIFY(!schedule.isPending());
    schedule.changed(due + 100);
    QCOMPARE(schedule.dueAt(), due + 100 + RecoverySchedule::kPauseMs);
}

void TestRecovery::snapshotRebuildsTheSameDocument()
{
    QTextDocument document;
    document.setDefaultFont(QFont(QStringLiteral("Arial"), 12));
    QTextCursor cursor(&document);
    QTextCharFormat bold;
    bold.setFontWeight(QFont::Bold);
    QTextCharFormat red;
    red.setForeground(Qt::red);
    red.setFontItalic(true);
    cursor.insertText(QStringLiteral("[00:00:10] "), bold);
    cursor.insertText(QStringLiteral("SPEAKER: caf\u00e9"), red);
    QTextBlockFormat centred;
    centred.setAlignment(Qt::AlignHCenter);
    cursor.insertBlock(centred);
    cursor.insertText(QStringLiteral("middle\u2028line"));
    cursor.insertBlock(QTextBlockFormat());
    cursor.createList(QTextListFormat::ListDisc);
    cursor.insertText(QStringLiteral("first item"));
    cursor.insertBlock();
    cursor.insertText(QStringLiteral("second item"), bold);
    cursor.insertBlock(QTextBlockFormat());
    cursor.insertText(QStringLiteral("after the list"));

    const DocumentSnapshot snapshot = DocumentSnapshot::take(document);
    QByteArray rebuilt;
    // Rebuilt where the writer does it, away from the GUI thread.
    std::unique_ptr<QThread> worker(QThread::create(
        [&snapshot, &rebuilt] { rebuilt = RtfWriter::write(*snapshot.rebuild()); }));
    worker->start();
    QVERIFY(worker->wait(10000));
    QCOMPARE(rebuilt, RtfWriter::write(document));
}

void TestRecovery::copyIsWrittenAfterChangesAndReplaced()
{
    // The keeper alone, on a text area and document of its own.
    EditorParts f;
    f.openMedia(12.5);
    RichTextBox text;
    EditorDocument document;
    RecoveryKeeper keeper(f.state, f.dialogs, &f.player, {.document = &document, .text = &text});
    const auto change = [&](const QString& words) {
        text.moveCursor(QTextCursor::End);
        text.insertPlainText(words);
        document.modified = true;
        keeper.noteChange();
    };
    auto* timer = keeper.findChild<QTimer*>(QStringLiteral("recoveryTimer"));
    keeper.start();
    QVERIFY(keeper.keepsCopies());
    QVERIFY(!timer->isActive());

    change(QStringLiteral("first words"));
    QVERIFY(timer->isActive());
    QCOMPARE(timer->interval(), int(RecoverySchedule::kPauseMs));
    QCOMPARE(copyText(f), QStringLiteral("-"));
    keeper.writeCopy();
    QVERIFY(!timer->isActive());
    QTRY_COMPARE(copyText(f), QStringLiteral("first words"));
    const auto record = readTextLines(recoveryPath(f, QStringLiteral("Transcript.ini")), nullptr);
    QVERIFY(record);
    const RecoveryRecord read = RecoveryRecord::parse(*record);
    QCOMPARE(read.documentPath, QString());
    QCOMPARE(read.untitledNumber, 1);
    QCOMPARE(read.mediaPath, f.media.url());
    QCOMPARE(read.position, 12.5);
    QVERIFY(read.written.isValid());

    change(QStringLiteral(" and more"));
    keeper.writeCopy();
    QTRY_COMPARE(copyText(f), QStringLiteral("first words and more"));
    // Only the copy and its lock: the replaced copy left nothing behind.
    QCOMPARE(QDir(f.folder.filePath(QStringLiteral("Recovery"))).entryList(QDir::Files, QDir::Name),
             (QStringList{"Transcript.ini", "Transcript.lock", "Transcript.rtf"}));

    // Ended on a signal before the timer came: the last words are in the copy all the same.
    change(QStringLiteral(" at the end"));
    keeper.keepCopy();
    QCOMPARE(copyText(f), QStringLiteral("first words and more at the end"));
}

void TestRecovery::copyGoesOnlyWhenTheUserDecides_data()
{
    QTest::addColumn<QString>("how");
    QTest::addColumn<bool>("kept");

    QTest::newRow("saved") << "save" << false;
    QTest::newRow("No to the question before New") << "new, No" << false;
    QTest::newRow("Cancel to the question before New") << "new, Cancel" << true;
    QTest::newRow("No before Open, then no file chosen") << "open, No" << true;
    QTest::newRow("No to the question at the end") << "end, No" << false;
    QTest::newRow("Cancel to the question at the end") << "end, Cancel" << true;
}

void TestRecovery::copyGoesOnlyWhenTheUserDecides()
{
    QFETCH(QString, how);
    QFETCH(bool, kept);
    EditorFixture f;
    f.editor->startRecovery();
    f.type(QStringLiteral("unsaved"));
    f.editor->keepRecoveryCopy();
    QCOMPARE(copyText(f), QStringLiteral("unsaved"));

    const QMessageBox::StandardButton answer =
        how.endsWith(QLatin1String("No")) ? QMessageBox::No : QMessageBox::Cancel;
    if (how == QLatin1String("save")) {
        f.dialogs.chosenFiles.enqueue(f.folder.filePath(QStringLiteral("kept.rtf")));
        QCOMPARE(f.editor->documentCommands()->save(), DocumentCommands::SaveOutcome::Saved);
    } else if (how.startsWith(QLatin1String("new"))) {
        f.dialogs.answers.enqueue(answer);
        f.editor->documentCommands()->newDocument();
    } else if (how.startsWith(QLatin1String("open"))) {
        f.dialogs.answers.enqueue(answer);
        f.editor->documentCommands()->openDocument();
    } else {
        f.dialogs.answers.enqueue(answer);
        f.editor->askToSaveBeforeExit();
    }
    f.editor.reset(); // waits for the writer
    QCOMPARE(copyText(f), kept ? QStringLiteral("unsaved") : QStringLiteral("-"));
}

void TestRecovery::aCopyLeftBehindIsOffered_data()
{
    QTest::addColumn<bool>("restore");
    QTest::addColumn<QString>("document"); // "" for an untitled one
    QTest::newRow("Yes, untitled") << true << "";
    QTest::newRow("Yes, with a path") << true << "/home/anna/interview.rtf";
    QTest::newRow("No") << false << "";
    QTest::newRow("No, a damaged name") << false << "/" + QString(1 << 20, QLatin1Char('x'));
    QTest::newRow("no answer, the program ending") << false << "ending";
}

void TestRecovery::aCopyLeftBehindIsOffered()
{
    QFETCH(bool, restore);
    QFETCH(QString, document);
    const bool ending = document == QLatin1String("ending");
    if (ending)
        document.clear();
    EditorFixture f;
    f.media.loadedDuration = 3600;
    f.folder.writeBytes(QStringLiteral("media/talk.wav"), "RIFF");
    const QString media = f.folder.filePath(QStringLiteral("media/talk.wav"));
    RecoveryRecord record{document, 7, media, 754.3, QDateTime(QDate(2024, 5, 1), QTime(10, 22))};
    QTextDocument kept;
    kept.setPlainText(QStringLiteral("what was typed\nbefore the crash"));
    leaveCopy(f, RtfWriter::write(kept), record.lines());

    f.dialogs.answers.enqueue(restore  ? QMessageBox::Yes
                              : ending ? QMessageBox::NoButton
                                       : QMessageBox::No);
    f.editor->startRecovery();
    QCOMPARE(f.dialogs.messages.size(), 1);
    QCOMPARE(f.dialogs.messages[0].icon, QMessageBox::Question);
    QVERIFY(f.dialogs.messages[0].text.startsWith(f.entry(Text::RecoveryFound)));
    // A name of any length is shown clipped: a box lays out a megabyte for many seconds.
    QVERIFY(f.dialogs.messages[0].text.size() < 1000);
    QVERIFY(f.dialogs.messages[0].text.contains(
        document.isEmpty() ? f.entry(Text::Untitled) + QStringLiteral(" 7") : document.left(150)));
    QVERIFY(f.dialogs.messages[0].text.endsWith(f.entry(Text::RecoveryQuestion)));

    const QStringList left = QDir(f.folder.filePath(QStringLiteral("Recovery")))
                                 .entryList({QStringLiteral("*.rtf")}, QDir::Files);
    if (ending) {
        // Left where the next start offers it again, and never written over in this run.
        QCOMPARE(left, QStringList{QStringLiteral("Transcript.rtf")});
        QVERIFY(!f.editor->documentCommands()->recovery()->keepsCopies());
        return;
    }
    if (!restore) {
        QVERIFY(f.text()->document()->isEmpty());
        QVERIFY(f.player.calls.isEmpty());
        // Kept aside under a dated name; the next start asks nothing.
        QCOMPARE(left.size(), 1);
        QVERIFY2(left[0].startsWith(QStringLiteral("Transcript 2")), qPrintable(left[0]));
        QVERIFY(QFile::exists(recoveryPath(f, left[0].chopped(4) + QStringLiteral(".ini"))));
        return;
    }
    QCOMPARE(f.text()->toPlainText(), kept.toPlainText());
    QCOMPARE(f.editor->documentCommands()->document().path, document);
    QVERIFY(f.editor->documentCommands()->document().modified);
    QCOMPARE(f.editor->windowTitle(),
             f.state.texts.text(Text::TextEditor) + QStringLiteral(" - ") +
                 (document.isEmpty() ? f.state.texts.text(Text::Untitled) + QStringLiteral(" 7")
                                     : QStringLiteral("interview.rtf")));
    QCOMPARE(f.player.calls, QStringList{QStringLiteral("open %1 at 754.3").arg(media)});
    QCOMPARE(f.media.currentPosition(), 754.3);
    QCOMPARE(left, QStringList{QStringLiteral("Transcript.rtf")});
}

void TestRecovery::damagedCopyIsRestoredAsFarAsItReads_data()
{
    QTest::addColumn<QByteArray>("copy");
    QTest::addColumn<QStringList>("record");
    QTest::addColumn<QString>("text");

    QTextDocument whole;
    whole.setPlainText(QStringLiteral("the first paragraph\nthe second one"));
    const QByteArray rtf = RtfWriter::write(whole);
    const qsizetype cut = rtf.indexOf("second") + 3;
    const QStringList record{QStringLiteral("Document="), QStringLiteral("Untitled=2")};

    QTest::newRow("cut short") << rtf.left(cut) << record
                               << QStringLiteral("the first paragraph\nthe sec");
    QTest::newRow("cut in its header") << rtf.left(20) << record << QString();
    QTest::newRow("not RTF") << QByteArray("plain \xe9 words") << record
                             << QStringLiteral("plain \u00e9 words");
    QTest::newRow("empty") << QByteArray() << record << QString();
    QTest::newRow("without its record") << rtf << QStringList() << whole.toPlainText();
    QTest::newRow("record of garbage")
        << rtf
        << QStringList{QStringLiteral("Untitled=-4"), QStringLiteral("Position=nan"),
                       QStringLiteral("Written=yesterday"), QStringLiteral("\x01\x02")}
        << whole.toPlainText();
}

void TestRecovery::damagedCopyIsRestoredAsFarAsItReads()
{
    QFETCH(QByteArray, copy);
    QFETCH(QStringList, record);
    QFETCH(QString, text);
    EditorFixture f;
    leaveCopy(f, copy, record);
    f.dialogs.answers.enqueue(QMessageBox::Yes);
    f.editor->startRecovery();
    QCOMPARE(f.dialogs.messages.size(), 1);
    QCOMPARE(f.text()->toPlainText(), text);
    QVERIFY(f.editor->documentCommands()->document().isUntitled());
    // Nothing to reopen: the record names no media.
    QVERIFY(f.player.calls.isEmpty());
}

void TestRecovery::twoProgramsNeverShareACopy()
{
    TestFolder folder;
    const QString recovery = folder.filePath(QStringLiteral("Recovery"));
    // A crashed program's lock: its process is gone.
    folder.writeBytes(QStringLiteral("Recovery/Transcript.lock"),
                      "999999999\nvocarta\n" + QSysInfo::machineHostName().toUtf8() + "\n");
    folder.writeBytes(QStringLiteral("Recovery/Transcript.rtf"), "{\\rtf1 left}");

    auto first = std::make_unique<RecoveryStore>(recovery);
    QVERIFY(first->claim());
    QCOMPARE(first->copyPath(), recovery + QStringLiteral("/Transcript.rtf"));
    QVERIFY(first->hasCopy());

    RecoveryStore second(recovery);
    QVERIFY(second.claim());
    QCOMPARE(second.copyPath(), recovery + QStringLiteral("/Transcript-2.rtf"));
    QVERIFY(!second.hasCopy());
    QVERIFY(second.write("{\\rtf1 second}", {}));
    QCOMPARE(folder.readBytes(QStringLiteral("Recovery/Transcript.rtf")),
             QByteArray("{\\rtf1 left}"));

    // Once the first program has ended, its name is free again.
    first.reset();
    RecoveryStore third(recovery);
    QVERIFY(third.claim());
    QCOMPARE(third.copyPath(), recovery + QStringLiteral("/Transcript.rtf"));
}

void TestRecovery::aCopyNobodyHoldsIsOfferedFirst_data()
{
    QTest::addColumn<QString>("base");    // the name whose copy and lock were left
    QTest::addColumn<QByteArray>("lock"); // "held": a running program holds it
    QTest::addColumn<int>("age");         // of the lock, in seconds
    QTest::addColumn<QString>("taken");
    const QByteArray dead = "999999999\nvocarta\n" + QSysInfo::machineHostName().toUtf8() + "\n";
    QTest::newRow("empty lock") << "Transcript" << QByteArray() << 60 << "Transcript";
    QTest::newRow("other computer")
        << "Transcript" << QByteArray("42\nv\nelsewhere\n") << 0 << "Transcript";
    QTest::newRow("second program's") << "Transcript-2" << dead << 0 << "Transcript-2";
    QTest::newRow("lock being written") << "Transcript" << QByteArray() << 0 << "Transcript-2";
    QTest::newRow("held") << "Transcript" << QByteArray("held") << 0 << "Transcript-2";
}

void TestRecovery::aCopyNobodyHoldsIsOfferedFirst()
{
    QFETCH(QString, base);
    QFETCH(QByteArray, lock);
    QFETCH(int, age);
    QFETCH(QString, taken);
    TestFolder folder;
    const QString recovery = folder.filePath(QStringLiteral("Recovery"));
    folder.writeBytes(QStringLiteral("Recovery/") + base + QStringLiteral(".rtf"), "{\\rtf1 x}");
    folder.writeBytes(QStringLiteral("Recovery/") + base + QStringLiteral(".lock"), lock);
    QFile file(recovery + QLatin1Char('/') + base + QStringLiteral(".lock"));
    QVERIFY(file.open(QIODevice::ReadWrite) &&
            file.setFileTime(QDateTime::currentDateTime().addSecs(-age),
                             QFileDevice::FileModificationTime));
    RecoveryStore running(recovery);
    QVERIFY(lock != "held" || (file.remove() && running.claim()));
    RecoveryStore store(recovery);
    QVERIFY(store.claim());
    QCOMPARE(store.copyPath(), recovery + QLatin1Char('/') + taken + QStringLiteral(".rtf"));
}

void TestRecovery::aRecentDocumentNeverDropsChangesNotKept_data()
{
    QTest::addColumn<QString>("breakage");
    QTest::addColumn<QString>("shown"); // boxes | editor | copy set aside | copies after a retry
    QTest::newRow("kept aside") << ""
                                << "Kept Untitled 2 in:\nR/Transcript <stamp>.rtf | "
                                   "the other one | unsaved | on";
    // Told once, however often it is tried; a retry once it is mended takes it up again.
    QTest::newRow("Recovery is a file")
        << "Recovery"
        << "Unusable\nR\nIt is not a folder. / Modified? | unsaved | - | on";
    QTest::newRow("copy not writable") << "Recovery/Transcript.rtf"
                                       << "Modified? | unsaved | - | on";
}

void TestRecovery::aRecentDocumentNeverDropsChangesNotKept()
{
    QFETCH(QString, breakage);
    QFETCH(QString, shown);
    EditorFixture f;
    f.state.texts.setEntry(int(Text::RecoveryKeptAside), QStringLiteral("Kept %1 in:"));
    f.state.texts.setEntry(int(Text::RecoveryUnavailable), QStringLiteral("Unusable"));
    f.state.texts.setEntry(int(Text::DocumentModified), QStringLiteral("Modified?"));
    const QString recovery = f.folder.filePath(QStringLiteral("Recovery"));
    if (breakage == QLatin1String("Recovery"))
        f.folder.writeBytes(breakage, "a file");
    const QString other = f.document(QStringLiteral("other.txt"), "the other one");
    f.editor->startRecovery();
    QVERIFY(breakage != QLatin1String("Recovery/Transcript.rtf") ||
            QDir().mkpath(recovery + QStringLiteral("/Transcript.rtf")));
    f.editor->documentCommands()->openDocumentFile(other);
    f.editor->documentCommands()->newDocument();
    f.type(QStringLiteral("unsaved"));
    f.dialogs.answers.enqueue(QMessageBox::Cancel);
    recentAction(f.editor, 0)->trigger();
    f.editor->documentCommands()->recovery()->retry();
    if (breakage == QLatin1String("Recovery"))
        QVERIFY(QFile::remove(recovery));
    f.editor->documentCommands()->recovery()->retry();

    QStringList boxes;
    for (const auto& message : std::as_const(f.dialogs.messages))
        boxes << message.text;
    const QStringList aside =
        QDir(recovery).entryList({QStringLiteral("Transcript 2*.rtf")}, QDir::Files);
    QTextDocument kept(QStringLiteral("-"));
    if (aside.size() == 1)
        RtfReader::read(f.folder.readBytes(QStringLiteral("Recovery/") + aside.value(0)), &kept);
    QString state =
        QStringList{boxes.join(QStringLiteral(" / ")), f.text()->toPlainText(), kept.toPlainText(),
                    f.editor->documentCommands()->recovery()->keepsCopies() ? QStringLiteral("on")
                                                                            : "off"}
            .join(QStringLiteral(" | "));
    state.replace(recovery, QStringLiteral("R")).replace(f.entry(Text::Untitled), "Untitled");
    QCOMPARE(state.replace(aside.value(0, "<none>"), QStringLiteral("Transcript <stamp>.rtf")),
             shown);
}

QTEST_MAIN(TestRecovery)
#include "tst_recovery.moc"
