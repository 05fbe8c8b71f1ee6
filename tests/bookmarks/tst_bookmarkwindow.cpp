#include "BookmarkWindowUser.h"
#include "bookmarks/BookmarkWindow.h"
#include "core/InterfaceTexts.h"

#include <QSignalSpy>
#include <QTest>
#include <QTimer>

using namespace BookmarkWindowUser;

namespace {

QString record(const QString& time, const QString& text)
{
    return time + "  " + text + QString(15, QLatin1Char(' ')) + time;
}

// A shown window and a watch on each of its signals.
struct Fixture {
    InterfaceTexts texts;
    BookmarkWindow window{texts};
    QSignalSpy adds{&window, &BookmarkWindow::addRequested};
    QSignalSpy changes{&window, &BookmarkWindow::linesChanged};
    QSignalSpy jumps{&window, &BookmarkWindow::jumpRequested};
    QSignalSpy unloads{&window, &BookmarkWindow::unloadRequested};

    explicit Fixture(const QStringList& records = {})
    {
        window.showRecords(records);
        window.show();
    }

    int signalCount() const
    {
        return int(adds.size() + changes.size() + jumps.size() + unloads.size());
    }
};

const QStringList kThree = {record("00:00:30", "c"), record("00:00:10", "a"),
                            record("00:00:20", "b")};

} // namespace

class TestBookmarkWindow : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void showsRecordsSortedAndInStep();
    void insertLine_data();
    void insertLine();
    void textsFollowTheTable();
    void plusAsksToAdd();
    void minusRemovesTheSelectedLine_data();
    void minusRemovesTheSelectedLine();
    void doubleClickAsksToJump_data();
    void doubleClickAsksToJump();
    void closingAsksToUnload();
    void unloadSoonAsksOnceAfterTheDelay();
};

void TestBookmarkWindow::showsRecordsSortedAndInStep()
{
    Fixture f(kThree);
    QCOMPARE(lines(&f.window), (QStringList{"00:00:10  a", "00:00:20  b", "00:00:30  c"}));
    QCOMPARE(f.window.records(), (QStringList{record("00:00:10", "a"), record("00:00:20", "b"),
                                              record("00:00:30", "c")}));
    QCOMPARE(f.window.lineCount(), 3);
    QCOMPARE(f.window.selectedIndex(), -1);
    QVERIFY(f.window.selectedRecord().isEmpty());

    f.window.selectLine(2);
    QCOMPARE(f.window.selectedIndex(), 2);
    QCOMPARE(f.window.selectedRecord(), record("00:00:30", "c"));

    f.window.clearLines();
    QCOMPARE(f.window.lineCount(), 0);
    QVERIFY(f.window.records().isEmpty());
    QVERIFY(lines(&f.window).isEmpty());
    QCOMPARE(f.signalCount(), 0);
}

void TestBookmarkWindow::insertLine_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<bool>("inserted");
    QTest::addColumn<int>("index");
    QTest::newRow("first") << "00:00:05  x" << true << 0;
    QTest::newRow("between") << "00:00:15  x" << true << 1;
    QTest::newRow("last") << "00:00:40  x" << true << 3;
    QTest::newRow("exact repeat refused") << "00:00:20  b" << false << -1;
    QTest::newRow("other case goes after its equal") << "00:00:20  B" << true << 2;
    QTest::newRow("trailing space is another line") << "00:00:20  b " << true << 2;
}

void TestBookmarkWindow::insertLine()
{
    QFETCH(QString, line);
    QFETCH(bool, inserted);
    QFETCH(int, index);
    Fixture f(kThree);
    const QString newRecord = line + "               tail";

    QCOMPARE(f.window.insertLine(line, newRecord), inserted);

    QCOMPARE(f.window.lineCount(), inserted ? 4 : 3);
    QCOMPARE(f.window.records().size(), qsizetype(f.window.lineCount()));
    if (inserted) {
        QCOMPARE(lines(&f.window).at(index), line);
        QCOMPARE(f.window.records().at(index), newRecord);
    } else {
        QCOMPARE(lines(&f.window), (QStringList{"00:00:10  a", "00:00:20  b", "00:00:30  c"}));
        QVERIFY(!f.window.records().contains(newRecord));
    }
    // Inserting is the caller's own doing: no signal tells it back.
    QCOMPARE(f.signalCount(), 0);
}

void TestBookmarkWindow::textsFollowTheTable()
{
    Fixture f;
    f.texts.setText(Text::BookmarksTitle, QStringLiteral("Marks"));
    f.texts.setText(Text::AddBookmark, QStringLiteral("&Add"));
    f.texts.setText(Text::RemoveBookmark, QStringLiteral("Remove"));
    f.window.retranslate();
    QCOMPARE(f.window.windowTitle(), QStringLiteral("Marks"));
    QCOMPARE(addButton(&f.window)->text(), QStringLiteral("+"));
    QCOMPARE(addButton(&f.window)->toolTip(), QStringLiteral(" &Add "));
    QCOMPARE(removeButton(&f.window)->text(), QStringLiteral("-"));
    QCOMPARE(removeButton(&f.window)->toolTip(), QStringLiteral(" Remove "));
}

void TestBookmarkWindow::plusAsksToAdd()
{
    Fixture f(kThree);
    addButton(&f.window)->click();
    QCOMPARE(f.adds.size(), 1);
    QCOMPARE(f.signalCount(), 1);
    QCOMPARE(f.window.lineCount(), 3);
}

void TestBookmarkWindow::minusRemovesTheSelectedLine_data()
{
    QTest::addColumn<int>("selected");
    QTest::addColumn<QStringList>("remaining");
    QTest::newRow("nothing selected") << -1 << QStringList{"a", "b", "c"};
    QTest::newRow("first") << 0 << QStringList{"b", "c"};
    QTest::newRow("middle") << 1 << QStringList{"a", "c"};
    QTest::newRow("last") << 2 << QStringList{"a", "b"};
}

void TestBookmarkWindow::minusRemovesTheSelectedLine()
{
    QFETCH(int, selected);
    QFETCH(QStringList, remaining);
    Fixture f(kThree);
    if (selected >= 0)
        f.window.selectLine(selected);

    removeButton(&f.window)->click();

    QStringList expectedLines;
    QStringList expectedRecords;
    const QStringList times = {"00:00:10", "00:00:20", "00:00:30"};
    for (const QString& text : remaining) {
        const QString time = times.at(text.at(0).unicode() - 'a');
        expectedLines << time + "  " + text;
        expectedRecords << record(time, text);
    }
    QCOMPARE(lines(&f.window), expectedLines);
    QCOMPARE(f.window.records(), expectedRecords);
    QCOMPARE(f.changes.size(), selected >= 0 ? 1 : 0);
    QCOMPARE(f.signalCount(), int(f.changes.size()));
}

void TestBookmarkWindow::doubleClickAsksToJump_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<QString>("expected");
    QTest::newRow("first") << 0 << record("00:00:10", "a");
    QTest::newRow("last") << 2 << record("00:00:30", "c");
}

void TestBookmarkWindow::doubleClickAsksToJump()
{
    QFETCH(int, row);
    QFETCH(QString, expected);
    Fixture f(kThree);
    f.window.selectLine(1);

    doubleClickLine(&f.window, row);

    QCOMPARE(f.jumps.size(), 1);
    QCOMPARE(f.jumps.first().first().toString(), expected);
    QCOMPARE(f.window.selectedIndex(), row);
    QCOMPARE(f.signalCount(), 1);
    QCOMPARE(f.window.lineCount(), 3);
    // Enter on the current line, the keypad's too, asks the same, selected or not.
    lineList(&f.window)->clearSelection();
    for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Enter})
        QTest::keyClick(lineList(&f.window), key);
    QCOMPARE(f.jumps.size(), 3);
    QCOMPARE(f.jumps.last().first().toString(), expected);
}

void TestBookmarkWindow::closingAsksToUnload()
{
    Fixture f(kThree);
    QVERIFY(f.window.close());
    QVERIFY(!f.window.isVisible());
    QCOMPARE(f.unloads.size(), 1);
    QCOMPARE(f.signalCount(), 1);
    // The records stay for whoever unloads it.
    QCOMPARE(f.window.records().size(), 3);
}

void TestBookmarkWindow::unloadSoonAsksOnceAfterTheDelay()
{
    Fixture f(kThree);
    const QTimer* timer = f.window.findChild<QTimer*>(QStringLiteral("unloadTimer"));
    QVERIFY(timer);
    QVERIFY(!timer->isActive());

    f.window.unloadSoon(30);
    QVERIFY(timer->isActive());
    QCOMPARE(timer->interval(), 30);
    QVERIFY(f.unloads.isEmpty());

    QVERIFY(f.unloads.wait(2000));
    QCOMPARE(f.unloads.size(), 1);
    QVERIFY(!timer->isActive());
    QTest::qWait(100);
    QCOMPARE(f.unloads.size(), 1);
    QCOMPARE(f.signalCount(), 1);
}

QTEST_MAIN(TestBookmarkWindow)
#include "tst_bookmarkwindow.moc"
