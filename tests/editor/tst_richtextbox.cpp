#include "editor/LayoutLimits.h"
#include "editor/RichTextBox.h"

#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

class TestRichTextBox : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void selectionByPositions();
    void richSelectionKeepsItsFormatting();
    void find_data();
    void find();
    void findNextEndsWithAnEmptySelection();
    void loadingRaisesOneChangeAndAFailureKeepsTheDocument();
    void filesBeyondTheLayoutLimitsAreRefused_data();
    void filesBeyondTheLayoutLimitsAreRefused();
    void rightButtonAsksForTheMenu();
};

void TestRichTextBox::selectionByPositions()
{
    RichTextBox box;
    box.setPlainText(QStringLiteral("first line\nsecond"));
    box.setSelectionStart(6);
    box.setSelectionLength(9);
    // A line break counts one.
    QCOMPARE(box.selectedPlainText(), QStringLiteral("line\nseco"));
    box.replaceSelection(QStringLiteral("LINE SECO"));
    QCOMPARE(box.toPlainText(), QStringLiteral("first LINE SECOnd"));
    QCOMPARE(box.selectionStart(), 15);
    QCOMPARE(box.selectionLength(), 0);
    // Positions past the end stop at it.
    box.setSelectionStart(500);
    QCOMPARE(box.selectionStart(), 17);
}

void TestRichTextBox::richSelectionKeepsItsFormatting()
{
    RichTextBox source;
    source.setPlainText(QStringLiteral("plain bold plain"));
    source.setSelectionStart(6);
    source.setSelectionLength(4);
    source.setSelectionBold(true);
    const QByteArray rtf = source.selectedRtf();
    QVERIFY(rtf.startsWith("{\\rtf"));

    RichTextBox target;
    target.setPlainText(QStringLiteral("[]"));
    target.setSelectionStart(1);
    target.replaceSelectionWithRtf(rtf);
    QCOMPARE(target.toPlainText(), QStringLiteral("[bold]"));
    target.setSelectionStart(1);
    target.setSelectionLength(4);
    QVERIFY(target.selectionBold());
    QCOMPARE(target.selectionStart(), 1);

    // Bytes that are no RTF go in as they are.
    target.setSelectionStart(0);
    target.replaceSelectionWithRtf("{\\b not rtf}");
    QCOMPARE(target.toPlainText(), QStringLiteral("{\\b not rtf}[bold]"));
}

void TestRichTextBox::find_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("start");
    QTest::addColumn<int>("end");
    QTest::addColumn<QTextDocument::FindFlags>("options");
    QTest::addColumn<int>("found");

    const QString what = QStringLiteral("cat");
    const QTextDocument::FindFlags any;
    QTest::newRow("first") << what << 0 << -1 << any << 0;
    QTest::newRow("at start") << what << 4 << -1 << any << 4;
    QTest::newRow("case") << what << 1 << -1
                          << QTextDocument::FindFlags(QTextDocument::FindCaseSensitively) << 11;
    QTest::newRow("whole word") << what << 1 << -1
                                << QTextDocument::FindFlags(QTextDocument::FindWholeWords) << 4;
    QTest::newRow("case, whole word")
        << what << 1 << -1 << (QTextDocument::FindCaseSensitively | QTextDocument::FindWholeWords)
        << 20;
    QTest::newRow("beyond end") << what << 5 << 10 << any << -1;
    QTest::newRow("nothing") << QStringLiteral("dog") << 0 << -1 << any << -1;
}

void TestRichTextBox::find()
{
    QFETCH(QString, text);
    QFETCH(int, start);
    QFETCH(int, end);
    QFETCH(QTextDocument::FindFlags, options);
    QFETCH(int, found);
    RichTextBox box;
    box.setPlainText(QStringLiteral("cat Cat concatenate cat"));
    box.setSelectionStart(2);
    box.setSelectionLength(1);
    QCOMPARE(box.find(text, start, end, options), found);
    if (found >= 0) {
        QCOMPARE(box.selectionStart(), found);
        QCOMPARE(box.selectionLength(), text.size());
    } else {
        QCOMPARE(box.selectionStart(), 2);
        QCOMPARE(box.selectionLength(), 1);
    }
}

void TestRichTextBox::findNextEndsWithAnEmptySelection()
{
    RichTextBox box;
    box.setPlainText(QStringLiteral("a-b-c"));
    int found = 0;
    while (box.findNext(QStringLiteral("-")))
        ++found;
    QCOMPARE(found, 2);
    QCOMPARE(box.selectionLength(), 0);
}

void TestRichTextBox::loadingRaisesOneChangeAndAFailureKeepsTheDocument()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("doc.rtf"));
    RichTextBox box;
    box.setPlainText(QStringLiteral("before"));
    QVERIFY(box.saveFile(path));
    box.setPlainText(QStringLiteral("other"));

    QSignalSpy changes(&box, &RichTextBox::contentChanged);
    QCOMPARE(box.loadFile(path), RichTextBox::LoadOutcome::Loaded);
    QCOMPARE(changes.size(), 1);
    QCOMPARE(box.toPlainText(), QStringLiteral("before"));

    QString error;
    QCOMPARE(box.loadFile(dir.filePath(QStringLiteral("missing.rtf")), &error),
             RichTextBox::LoadOutcome::Unreadable);
    QVERIFY(!error.isEmpty());
    QCOMPARE(box.toPlainText(), QStringLiteral("before"));
    QCOMPARE(changes.size(), 1);
}

void TestRichTextBox::filesBeyondTheLayoutLimitsAreRefused_data()
{
    using namespace LayoutLimits;
    using Outcome = RichTextBox::LoadOutcome;
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("stopAt"); // the progress call that answers no; -1: none
    QTest::addColumn<Outcome>("outcome");
    QTest::addColumn<int>("length"); // of the text then shown

    const QByteArray unbroken(kMaxUnbrokenLength, 'x');
    const QByteArray bold = "{\\b a} ";
    const int before = 6;
    QTest::newRow("at every limit")
        << (QByteArray("{\\rtf1 ") + bold.repeated(kMaxParagraphRuns / 2) + "\\par " +
            (unbroken + ' ').repeated(kMaxParagraphLength / 1001) + "}")
        << -1 << Outcome::Loaded << kMaxParagraphRuns + 1 + kMaxParagraphLength / 1001 * 1001;
    // Chinese has no spaces, but a line may break between any two of its characters.
    QTest::newRow("breakable without spaces")
        << QStringLiteral(u"\u6C49\u5B57").repeated(kMaxUnbrokenLength).toUtf8() << -1
        << Outcome::Loaded << 2 * kMaxUnbrokenLength;
    // The text goes in in pieces; one ends between CR and LF here.
    QTest::newRow("pieces") << "xx" + QByteArray("a\r\n").repeated(10'000) << -1 << Outcome::Loaded
                            << 20'002;
    QTest::newRow("unbroken") << unbroken + 'x' << -1 << Outcome::BeyondLimits << before;
    QTest::newRow("paragraph length") << (unbroken + ' ').repeated(kMaxParagraphLength / 1000) << -1
                                      << Outcome::BeyondLimits << before;
    QTest::newRow("formatting runs")
        << (QByteArray("{\\rtf1 ") + bold.repeated(kMaxParagraphRuns / 2 + 1) + "}") << -1
        << Outcome::BeyondLimits << before;
    QTest::newRow("paragraphs, plain")
        << QByteArray(kMaxParagraphs, '\n') << -1 << Outcome::BeyondLimits << before;
    QTest::newRow("paragraphs, RTF")
        << (QByteArray("{\\rtf1 ") + QByteArray("\\par ").repeated(kMaxParagraphs) + "x}") << -1
        << Outcome::BeyondLimits << before;
    QTest::newRow("characters") << QByteArray(kMaxCharacters + 1, ' ') << -1
                                << Outcome::BeyondLimits << before;
    QTest::newRow("cancelled") << QByteArray("line\n").repeated(20'000) << 1 << Outcome::Stopped
                               << before;
}

void TestRichTextBox::filesBeyondTheLayoutLimitsAreRefused()
{
    QFETCH(QByteArray, bytes);
    QFETCH(int, stopAt);
    QFETCH(RichTextBox::LoadOutcome, outcome);
    QFETCH(int, length);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("unusual"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
    file.close();
    RichTextBox box;
    box.setPlainText(QStringLiteral("before"));
    int calls = 0;
    QCOMPARE(box.loadFile(path, nullptr, [&](int) { return ++calls != stopAt; }), outcome);
    QCOMPARE(box.plainLength(), length);
}

void TestRichTextBox::rightButtonAsksForTheMenu()
{
    RichTextBox box;
    box.setPlainText(QStringLiteral("words"));
    box.setSelectionStart(1);
    box.show();
    QVERIFY(QTest::qWaitForWindowExposed(&box));
    QSignalSpy asked(&box, &RichTextBox::rightButtonPressed);
    QTest::mousePress(box.viewport(), Qt::RightButton, {}, QPoint(5, 5));
    QCOMPARE(asked.size(), 1);
    QCOMPARE(asked.first().first().toPoint(), box.viewport()->mapToGlobal(QPoint(5, 5)));
    QCOMPARE(box.selectionStart(), 1);
}

QTEST_MAIN(TestRichTextBox)
#include "tst_richtextbox.moc"
