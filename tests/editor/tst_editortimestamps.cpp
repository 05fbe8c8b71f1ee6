#include "EditorFixture.h"
#include "editor/EditorToolbar.h"
#include "editor/TimestampCommands.h"

#include <QAction>
#include <QDir>
#include <QTest>
#include <QTextBlock>

class TestEditorTimestamps : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void ctrlTInsertsThePositionAtTheCaret_data();
    void ctrlTInsertsThePositionAtTheCaret();
    void nothingIsInsertedWithoutMedia();
    void ctrlJPlaysFromTheTimestampAtOrBeforeTheCaret_data();
    void ctrlJPlaysFromTheTimestampAtOrBeforeTheCaret();
    void ctrlClickPlaysOnlyFromATimestamp();
    void newParagraphsGetATimestampWhenChosen();
    void theChosenStyleIsKeptInItsFile();
    void timestampsAreMarksAndTheCaretGoesToOne();
    void optionsAreReadBackOrTheFailedSaveTold_data();
    void optionsAreReadBackOrTheFailedSaveTold();
};

namespace {

// The fixture with a recording open at the position, the editor shown with the keyboard.
struct Fixture : EditorFixture {
    explicit Fixture(double position = 0)
    {
        openMedia(position);
        editor->show();
        active = QTest::qWaitForWindowActive(editor.get());
        text()->setFocus();
    }
    // Menu shortcuts reach only the active window.
    bool active = false;
};

} // namespace

void TestEditorTimestamps::ctrlTInsertsThePositionAtTheCaret_data()
{
    QTest::addColumn<QString>("before");
    QTest::addColumn<int>("caret");
    QTest::addColumn<QString>("after");

    QTest::newRow("empty document") << "" << 0 << "[00:01:15] ";
    QTest::newRow("after a word") << "said" << 4 << "said [00:01:15] ";
    QTest::newRow("between words") << "one two" << 4 << "one [00:01:15] two";
    QTest::newRow("before a word") << "word" << 0 << "[00:01:15] word";
}

void TestEditorTimestamps::ctrlTInsertsThePositionAtTheCaret()
{
    QFETCH(QString, before);
    QFETCH(int, caret);
    QFETCH(QString, after);
    Fixture f(75.4);
    QVERIFY(f.active);
    f.type(before);
    f.text()->setSelectionStart(caret);
    QTest::keyClick(f.text(), Qt::Key_T, Qt::ControlModifier);
    QCOMPARE(f.text()->toPlainText(), after);
    QCOMPARE(f.text()->textCursor().position(), caret + after.size() - before.size());
    QVERIFY(f.editor->documentCommands()->document().modified);
    // One undo takes it away whole.
    f.editor->runEditorCommand(EditorCommand::Undo);
    QCOMPARE(f.text()->toPlainText(), before);
}

void TestEditorTimestamps::nothingIsInsertedWithoutMedia()
{
    EditorFixture f;
    f.type(QStringLiteral("words"));
    f.editor->insertTimestamp();
    f.editor->runToolbarZone(EditorToolbar::Zone::Timestamp);
    QCOMPARE(f.text()->toPlainText(), QStringLiteral("words"));
}

void TestEditorTimestamps::ctrlJPlaysFromTheTimestampAtOrBeforeTheCaret_data()
{
    QTest::addColumn<QString>("document");
    QTest::addColumn<int>("caret");
    QTest::addColumn<double>("played"); // -1: nothing played

    const QString two = QStringLiteral("intro [00:00:10] one\n#00:01:20.50# two");
    QTest::newRow("before any timestamp") << two << 2 << -1.0;
    QTest::newRow("on a timestamp") << two << 9 << 10.0;
    QTest::newRow("after a timestamp") << two << 19 << 10.0;
    QTest::newRow("in the next paragraph") << two << int(two.size()) << 80.5;
    QTest::newRow("no timestamp in the text") << QStringLiteral("just [words]") << 12 << -1.0;
    QTest::newRow("beyond the end of the media") << QStringLiteral("[03:00:00]") << 10 << 7200.0;
}

void TestEditorTimestamps::ctrlJPlaysFromTheTimestampAtOrBeforeTheCaret()
{
    QFETCH(QString, document);
    QFETCH(int, caret);
    QFETCH(double, played);
    Fixture f(33);
    QVERIFY(f.active);
    f.type(document);
    f.text()->setSelectionStart(caret);
    f.player.calls.clear();
    QTest::keyClick(f.text(), Qt::Key_J, Qt::ControlModifier);
    if (played < 0) {
        QVERIFY(f.player.calls.isEmpty());
        QCOMPARE(f.media.currentPosition(), 33.0);
    } else {
        QCOMPARE(f.player.calls, QStringList{QStringLiteral("play from %1").arg(played)});
    }
    QCOMPARE(f.text()->toPlainText(), document);
    QVERIFY(f.text()->hasFocus());
}

void TestEditorTimestamps::ctrlClickPlaysOnlyFromATimestamp()
{
    Fixture f;
    f.type(QStringLiteral("[00:00:42] words after it"));
    QVERIFY(QTest::qWaitForWindowExposed(f.editor.get()));
    QTextCursor cursor = f.text()->textCursor();
    const auto pointAt = [&](int position) {
        cursor.setPosition(position);
        return f.text()->cursorRect(cursor).center();
    };
    QTest::mouseClick(f.text()->viewport(), Qt::LeftButton, Qt::ControlModifier, pointAt(20));
    QVERIFY(f.player.calls.isEmpty());
    QTest::mouseClick(f.text()->viewport(), Qt::LeftButton, Qt::NoModifier, pointAt(4));
    QVERIFY(f.player.calls.isEmpty());
    QTest::mouseClick(f.text()->viewport(), Qt::LeftButton, Qt::ControlModifier, pointAt(4));
    QCOMPARE(f.player.calls, QStringList{QStringLiteral("play from 42")});

    // Without media the same click is an ordinary one.
    f.media.close();
    f.player.calls.clear();
    QTest::mouseClick(f.text()->viewport(), Qt::LeftButton, Qt::ControlModifier, pointAt(4));
    QVERIFY(f.player.calls.isEmpty());
}

void TestEditorTimestamps::newParagraphsGetATimestampWhenChosen()
{
    Fixture f(61);
    f.type(QStringLiteral("first"));
    QTest::keyClick(f.text(), Qt::Key_Return);
    QCOMPARE(f.text()->toPlainText(), QStringLiteral("first\n"));

    QAction* option = f.editor->findChild<QAction*>(QStringLiteral("newParagraphStampAction"));
    QVERIFY(option && !option->isChecked());
    option->trigger();
    QVERIFY(f.state.timestamps.stampNewParagraphs);
    QTest::keyClick(f.text(), Qt::Key_Return);
    QTest::keyClick(f.text(), Qt::Key_Return, Qt::ShiftModifier);
    QTest::keyClick(f.text(), Qt::Key_Enter, Qt::KeypadModifier);
    // The line break of Shift+Return starts no paragraph.
    QCOMPARE(f.text()->toPlainText(), QStringLiteral("first\n\n[00:01:01] \n\n[00:01:01] "));
    QCOMPARE(f.text()->document()->blockCount(), 4);
}

void TestEditorTimestamps::theChosenStyleIsKeptInItsFile()
{
    Fixture f(3599.9);
    f.editor->findChild<QAction*>(QStringLiteral("timestampTenthsAction"))->trigger();
    QCOMPARE(f.folder.readBytes(QStringLiteral("Files/Timestamps.ini")),
             QByteArray("Format=[HH:MM:SS.d]\r\nNewParagraph=no\r\nAfterStepBack=no\r\n"));
    f.editor->runToolbarZone(EditorToolbar::Zone::Timestamp);
    QCOMPARE(f.text()->toPlainText(), QStringLiteral("[00:59:59.9] "));

    // Paused after a step back, the stamp is where the sound stopped, unless chosen otherwise.
    f.player.stoppedAt = 3602.5;
    f.editor->insertTimestamp();
    f.editor->findChild<QAction*>(QStringLiteral("afterStepBackStampAction"))->trigger();
    f.editor->insertTimestamp();
    QCOMPARE(f.text()->toPlainText(), QStringLiteral("[00:59:59.9] [01:00:02.5] [00:59:59.9] "));

    // A new window reads the choices back.
    f.editor =
        std::make_unique<EditorWindow>(f.state, Platform{&f.media, &f.dialogs, nullptr}, &f.player);
    QVERIFY(f.editor->findChild<QAction*>(QStringLiteral("timestampTenthsAction"))->isChecked());
    QVERIFY(f.editor->findChild<QAction*>(QStringLiteral("afterStepBackStampAction"))->isChecked());
}

void TestEditorTimestamps::optionsAreReadBackOrTheFailedSaveTold_data()
{
    QTest::addColumn<bool>("writable");
    QTest::addColumn<QString>("shown"); // boxes | options read back by the next commands

    QTest::newRow("kept") << true << " | [HH:MM:SS.d] yes yes";
    // Told once for the three changes; the next start has the defaults.
    QTest::newRow("not writable") << false << "Not saved\nF | [HH:MM:SS] no no";
}

void TestEditorTimestamps::optionsAreReadBackOrTheFailedSaveTold()
{
    QFETCH(bool, writable);
    QFETCH(QString, shown);
    // The commands alone, on a text area of their own.
    EditorParts f;
    f.state.texts.setText(Text::SaveFailed, QStringLiteral("Not saved"));
    const QString file = f.state.filesPath(QLatin1String(TimestampOptions::kFileName));
    QVERIFY(writable || QDir().mkpath(file));
    RichTextBox text;
    {
        TimestampCommands commands(f.state, f.dialogs, &f.player, &text);
        commands.setStyle(Timestamp::Style::Tenths);
        commands.setStampNewParagraphs(true);
        commands.setStampAfterStepBack(true);
    }
    f.state.timestamps = {};
    TimestampCommands again(f.state, f.dialogs, &f.player, &text);
    QStringList boxes;
    for (const auto& message : std::as_const(f.dialogs.messages))
        boxes << message.text.section(QLatin1Char('\n'), 0, 1).replace(file, QStringLiteral("F"));
    const TimestampOptions& read = f.state.timestamps;
    const auto yesNo = [](bool on) { return on ? QStringLiteral("yes") : QStringLiteral("no"); };
    QCOMPARE(boxes.join(QStringLiteral(" / ")) + QStringLiteral(" | ") +
                 Timestamp::pattern(read.style) + QLatin1Char(' ') +
                 yesNo(read.stampNewParagraphs) + QLatin1Char(' ') + yesNo(read.afterStepBack),
             shown);
}

void TestEditorTimestamps::timestampsAreMarksAndTheCaretGoesToOne()
{
    EditorFixture f;
    TimestampCommands* stamps = f.editor->timestampCommands();
    f.text()->setPlainText(QStringLiteral("[00:00:05] one #00:01:02.50# two\nagain [12] [1:2]"));
    QCOMPARE(stamps->marks().size(), 2);
    f.text()->append(QStringLiteral("[01:00:00] later"));
    QStringList shown;
    for (const TimeMark& mark : stamps->marks())
        shown << QStringLiteral("%1 %2").arg(mark.seconds).arg(mark.text);
    QCOMPARE(shown.join(QStringLiteral(" | ")),
             QStringLiteral("5 [00:00:05] one #00:01:02.50# two | 62.5 #00:01:02.50# two | "
                            "3600 [01:00:00] later"));
    QVERIFY(stamps->goTo(62.5));
    QCOMPARE(f.text()->textCursor().position(), 15);
    QVERIFY(!stamps->goTo(62));
    QCOMPARE(f.text()->textCursor().position(), 15);

    // Typed paragraph by paragraph, as a transcriber does.
    f.text()->clear();
    f.type(QStringLiteral("[00:00:11] A"));
    QCOMPARE(stamps->marks().size(), 1);
    QTest::keyClick(f.text(), Qt::Key_Return);
    f.type(QStringLiteral("[00:00:16] B"));
    QCOMPARE(stamps->marks().size(), 2);
    QTest::keyClick(f.text(), Qt::Key_Backspace);
    QTest::keyClick(f.text(), Qt::Key_Backspace);
    QTest::keyClick(f.text(), Qt::Key_Backspace);
    QCOMPARE(stamps->marks().size(), 1);
}

QTEST_MAIN(TestEditorTimestamps)
#include "tst_editortimestamps.moc"
