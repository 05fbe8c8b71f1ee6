#include "EditorFixture.h"
#include "editor/DocumentSnapshot.h"
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
    void retryIsDueAMinuteAfterAFailure_data();
    void retryIsDueAMinuteAfterAFailure();
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
    void anUnusableFolderIsToldOnceAndTriedAgain();
    void aHugeDocumentNameIsShownClipped();
};

namespace {

QString recoveryPath(const EditorFixture& f, const QString& name)
{
    return f.folder.filePath(QStringLiteral("Recovery/") + name);
}

// The plain text of the RTF copy, or "-" while there is none.
QString copyText(const EditorFixture& f)
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

QTimer* recoveryTimer(const EditorFixture& f)
{
    return f.editor->findChild<QTimer*>(QStringLiteral("recoveryTimer"));
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
    EditorFixture f;
    f.folder.writeBytes(QStringLiteral("media/talk.wav"), "RIFF");
    f.media.setUrl(f.folder.filePath(QStringLiteral("media/talk.wav")));
    f.media.setCurrentPosition(12.5);
    f.editor->startRecovery();
    QVERIFY(f.editor->keepsRecoveryCopies());
    QVERIFY(!recoveryTimer(f)->isActive());

    f.type(QStringLiteral("first words"));
    QVERIFY(recoveryTimer(f)->isActive());
    QCOMPARE(recoveryTimer(f)->interval(), int(RecoverySchedule::kPauseMs));
    QCOMPARE(copyText(f), QStringLiteral("-"));
    f.editor->writeRecoveryCopy();
    QVERIFY(!recoveryTimer(f)->isActive());
    QTRY_COMPARE(copyText(f), QStringLiteral("first words"));
    const auto record = readTextLines(recoveryPath(f, QStringLiteral("Transcript.ini")), nullptr);
    QVERIFY(record);
    const RecoveryRecord read = RecoveryRecord::parse(*record);
    QCOMPARE(read.documentPath, QString());
    QCOMPARE(read.untitledNumber, 1);
    QCOMPARE(read.mediaPath, f.media.url());
    QCOMPARE(read.position, 12.5);
    QVERIFY(read.written.isValid());

    f.type(QStringLiteral(" and more"));
    f.editor->writeRecoveryCopy();
    QTRY_COMPARE(copyText(f), QStringLiteral("first words and more"));
    // Only the copy and its lock: the replaced copy left nothing behind.
    QCOMPARE(QDir(f.folder.filePath(QStringLiteral("Recovery"))).entryList(QDir::Files, QDir::Name),
             (QStringList{"Transcript.ini", "Transcript.lock", "Transcript.rtf"}));

    // Ended on a signal before the timer came: the last words are in the copy all the same.
    f.type(QStringLiteral(" at the end"));
    f.editor->keepRecoveryCopy();
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
        QCOMPARE(f.editor->save(), EditorWindow::SaveOutcome::Saved);
    } else if (how.startsWith(QLatin1String("new"))) {
        f.dialogs.answers.enqueue(answer);
        f.editor->newDocument();
    } else if (how.startsWith(QLatin1String("open"))) {
        f.dialogs.answers.enqueue(answer);
        f.editor->openDocument();
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
    QVERIFY(f.dialogs.messages[0].text.contains(
        document.isEmpty() ? f.entry(Text::Untitled) + QStringLiteral(" 7") : document));
    QVERIFY(f.dialogs.messages[0].text.endsWith(f.entry(Text::RecoveryQuestion)));

    const QStringList left = QDir(f.folder.filePath(QStringLiteral("Recovery")))
                                 .entryList({QStringLiteral("*.rtf")}, QDir::Files);
    if (ending) {
        // Left where the next start offers it again, and never written over in this run.
        QCOMPARE(left, QStringList{QStringLiteral("Transcript.rtf")});
        QVERIFY(!f.editor->keepsRecoveryCopies());
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
    QCOMPARE(f.editor->document().path, document);
    QVERIFY(f.editor->document().modified);
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
    QVERIFY(f.editor->document().isUntitled());
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

void TestRecovery::retryIsDueAMinuteAfterAFailure_data()
{
    QTest::addColumn<qint64>("now");
    QTest::addColumn<bool>("cleared");
    QTest::addColumn<bool>("due");
    QTest::newRow("within the minute") << qint64(61000) << false << false;
    QTest::newRow("a minute on") << qint64(62000) << false << true;
    QTest::newRow("claimed meanwhile") << qint64(90000) << true << false;
}

void TestRecovery::retryIsDueAMinuteAfterAFailure()
{
    QFETCH(qint64, now);
    QFETCH(bool, cleared);
    QFETCH(bool, due);
    RecoveryRetry retry;
    QVERIFY(!retry.isDue(now));
    retry.failed(2000);
    if (cleared)
        retry.clear();
    QCOMPARE(retry.isDue(now), due);
}

void TestRecovery::aCopyNobodyHoldsIsOfferedFirst_data()
{
    QTest::addColumn<QString>("base");    // the name whose copy and lock were left
    QTest::addColumn<QByteArray>("lock"); // "held": a running program holds it
    QTest::addColumn<int>("ageSeconds");  // of the lock file
    QTest::addColumn<QString>("taken");
    const QByteArray dead = "999999999\nvocarta\n" + QSysInfo::machineHostName().toUtf8() + "\n";
    QTest::newRow("an empty lock") << "Transcript" << QByteArray() << 60 << "Transcript";
    QTest::newRow("a lock of garbage")
        << "Transcript" << QByteArray("\xff\x01?") << 60 << "Transcript";
    QTest::newRow("another computer's lock")
        << "Transcript" << QByteArray("4242\nvocarta\nsomewhere-else\n") << 0 << "Transcript";
    QTest::newRow("a second program's copy") << "Transcript-2" << dead << 0 << "Transcript-2";
    QTest::newRow("an empty lock being written")
        << "Transcript" << QByteArray() << 0 << "Transcript-2";
    QTest::newRow("held by a running program")
        << "Transcript" << QByteArray("held") << 0 << "Transcript-2";
}

void TestRecovery::aCopyNobodyHoldsIsOfferedFirst()
{
    QFETCH(QString, base);
    QFETCH(QByteArray, lock);
    QFETCH(int, ageSeconds);
    QFETCH(QString, taken);
    TestFolder folder;
    const QString recovery = folder.filePath(QStringLiteral("Recovery"));
    folder.writeBytes(QStringLiteral("Recovery/") + base + QStringLiteral(".rtf"), "{\\rtf1 x}");
    RecoveryStore running(recovery);
    if (lock == "held") {
        QVERIFY(running.claim());
    } else {
        folder.writeBytes(QStringLiteral("Recovery/") + base + QStringLiteral(".lock"), lock);
        QFile file(recovery + QLatin1Char('/') + base + QStringLiteral(".lock"));
        QVERIFY(file.open(QIODevice::ReadWrite));
        QVERIFY(file.setFileTime(QDateTime::currentDateTime().addSecs(-ageSeconds),
                                 QFileDevice::FileModificationTime));
    }
    RecoveryStore store(recovery);
    QVERIFY(store.claim());
    QCOMPARE(store.copyPath(), recovery + QLatin1Char('/') + taken + QStringLiteral(".rtf"));
}

void TestRecovery::aRecentDocumentNeverDropsChangesNotKept_data()
{
    QTest::addColumn<QString>("breakage");
    QTest::addColumn<QString>("shown"); // the boxes | the editor's text | the copy set aside
    QTest::newRow("kept aside") << ""
                                << "Changes to Untitled 2 kept in:\n"
                                   "R/Transcript <stamp>.rtf | the other one | unsaved";
    QTest::newRow("Recovery is a file")
        << "Recovery"
        << "Unavailable\nR\nIt is not a folder. / Modified? | unsaved | -";
    QTest::newRow("the copy cannot be written") << "Recovery/Transcript.rtf"
                                                << "Modified? | unsaved | -";
}

void TestRecovery::aRecentDocumentNeverDropsChangesNotKept()
{
    QFETCH(QString, breakage);
    QFETCH(QString, shown);
    EditorFixture f;
    f.state.texts.setEntry(int(Text::RecoveryKeptAside), QStringLiteral("Changes to %1 kept in:"));
    f.state.texts.setEntry(int(Text::RecoveryUnavailable), QStringLiteral("Unavailable"));
    f.state.texts.setEntry(int(Text::DocumentModified), QStringLiteral("Modified?"));
    const QString recovery = f.folder.filePath(QStringLiteral("Recovery"));
    if (breakage == QLatin1String("Recovery"))
        f.folder.writeBytes(breakage, "a file");
    const QString other = f.document(QStringLiteral("other.txt"), "the other one");
    f.editor->startRecovery();
    if (breakage.endsWith(QLatin1String(".rtf")))
        QVERIFY(QDir().mkpath(f.folder.filePath(breakage)));
    f.editor->openDocumentFile(other);
    f.editor->newDocument();
    f.type(QStringLiteral("unsaved"));
    f.dialogs.answers.enqueue(QMessageBox::Cancel);
    f.editor->openRecentDocument(0);

    QStringList boxes;
    for (const auto& message : std::as_const(f.dialogs.messages))
        boxes << message.text;
    const QStringList aside =
        QDir(recovery).entryList({QStringLiteral("Transcript 2*.rtf")}, QDir::Files);
    QString keptText = QStringLiteral("-");
    if (aside.size() == 1) {
        QTextDocument kept;
        RtfReader::read(f.folder.readBytes(QStringLiteral("Recovery/") + aside[0]), &kept);
        keptText = kept.toPlainText();
    }
    QString state = boxes.join(QStringLiteral(" / ")) + QStringLiteral(" | ") +
                    f.text()->toPlainText() + QStringLiteral(" | ") + keptText;
    state.replace(recovery, QStringLiteral("R"));
    state.replace(f.entry(Text::Untitled), QStringLiteral("Untitled"));
    if (aside.size() == 1)
        state.replace(aside[0], QStringLiteral("Transcript <stamp>.rtf"));
    QCOMPARE(state, shown);
}

void TestRecovery::anUnusableFolderIsToldOnceAndTriedAgain()
{
    EditorFixture f;
    f.folder.writeBytes(QStringLiteral("Recovery"), "a file");
    f.editor->startRecovery();
    f.editor->retryRecovery();
    QCOMPARE(f.dialogs.messages.size(), 1);
    QVERIFY(f.dialogs.messages[0].text.contains(f.folder.filePath(QStringLiteral("Recovery"))));
    QVERIFY(!f.editor->keepsRecoveryCopies());

    // Usable again, with a copy an earlier run left: kept aside, never written over.
    QVERIFY(QFile::remove(f.folder.filePath(QStringLiteral("Recovery"))));
    leaveCopy(f, "{\\rtf1 earlier}", {});
    f.editor->retryRecovery();
    QVERIFY(f.editor->keepsRecoveryCopies());
    QCOMPARE(f.dialogs.messages.size(), 1);
    QCOMPARE(copyText(f), QStringLiteral("-"));
}

void TestRecovery::aHugeDocumentNameIsShownClipped()
{
    EditorFixture f;
    const QString huge = QStringLiteral("/") + QString(1 << 20, QLatin1Char('x'));
    leaveCopy(f, "{\\rtf1 kept}", {QStringLiteral("Document=") + huge + QStringLiteral(".rtf")});
    f.dialogs.answers.enqueue(QMessageBox::No);
    f.editor->startRecovery();
    QCOMPARE(f.dialogs.messages.size(), 1);
    const QString& text = f.dialogs.messages[0].text;
    QVERIFY2(text.size() < 1000, qPrintable(QString::number(text.size())));
    QVERIFY(text.contains(QStringLiteral("/xxx")) && text.contains(QStringLiteral("x\u2026x")) &&
            text.contains(QStringLiteral("xxx.rtf")));
}

QTEST_MAIN(TestRecovery)
#include "tst_recovery.moc"
