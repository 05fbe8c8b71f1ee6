#include "bookmarks/BookmarkFile.h"
#include "bookmarks/BookmarkRecord.h"

#include <QTest>

using namespace BookmarkRecord;

namespace {

QString spaces(int n)
{
    return QString(n, QLatin1Char(' '));
}

} // namespace

class TestBookmarkRecord : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void recordLayout_data();
    void recordLayout();
    void shownLineOfARecord_data();
    void shownLineOfARecord();
    void jumpSecondsFromTheTrailingField_data();
    void jumpSecondsFromTheTrailingField();
    void shortFormIsLengthenedAtTheFront_data();
    void shortFormIsLengthenedAtTheFront();
    void listOrderIgnoresCaseAndKeepsListsInStep();
    void mediaName_data();
    void mediaName();
};

void TestBookmarkRecord::recordLayout_data()
{
    QTest::addColumn<QString>("position");
    QTest::addColumn<QString>("description");
    QTest::addColumn<QString>("time");
    QTest::addColumn<int>("length");
    // clang-format off
    QTest::newRow("empty description") << "01:23" << "" << "00:01:23" << 33;
    QTest::newRow("intro, M:SS") << "1:23" << "intro" << "00:01:23" << 38;
    QTest::newRow("long, spaces at both ends")
        << "01:02:03" << "  " + QString(300, QLatin1Char('x')) + "  " << "01:02:03" << 337;
    QTest::newRow("no position") << "" << "x" << "00:00:00" << 34;
    QTest::newRow("100 hours") << "100:00:00" << "x" << "100:00:00" << 36;
    // clang-format on
}

void TestBookmarkRecord::recordLayout()
{
    QFETCH(QString, position);
    QFETCH(QString, description);
    QFETCH(QString, time);
    QFETCH(int, length);
    const QString shown = shownLine(position, description);
    const QString record = makeRecord(shown, timeField(position));

    QCOMPARE(timeField(position), time);
    QCOMPARE(shown, time + "  " + description);
    QCOMPARE(record, shown + spaces(15) + time);
    QCOMPARE(record.size(), length);
    // Reading it back gives the very line that was typed, and the time it was made at.
    QCOMPARE(shownLineOf(record), shown);
    QCOMPARE(jumpSeconds(record), jumpSeconds(time));
}

void TestBookmarkRecord::shownLineOfARecord_data()
{
    QTest::addColumn<QString>("record");
    QTest::addColumn<QString>("shown");
    QTest::newRow("older form, lengthened") << "00:01:23  intro" + spaces(15) + "01:23"
                                            << "00:01:23  intro";
    QTest::newRow("few spaces before the field") << "00:00:05  note   00:00:05"
                                                 << "00:00:05  note";
    QTest::newRow("no trailing field") << "00:00:05  hello world"
                                       << "00:00:05  hello world";
    QTest::newRow("shorter than 15") << "abc"
                                     << "abc";
    QTest::newRow("only a time") << "   00:01:23"
                                 << "   00:01:23";
    QTest::newRow("trailing spaces only") << "00:00:05  note" + spaces(20) << "00:00:05  note";
}

void TestBookmarkRecord::shownLineOfARecord()
{
    QFETCH(QString, record);
    QFETCH(QString, shown);
    QCOMPARE(shownLineOf(record), shown);
}

void TestBookmarkRecord::jumpSecondsFromTheTrailingField_data()
{
    QTest::addColumn<QString>("record");
    QTest::addColumn<int>("seconds");
    const QString pad = spaces(15);
    QTest::newRow("83 s") << "00:01:23  intro" + pad + "00:01:23" << 83;
    QTest::newRow("1:02:03") << "01:02:03  x" + pad + "01:02:03" << 3723;
    QTest::newRow("trailing field wins") << "00:00:10  x" + pad + "00:00:20" << 20;
    QTest::newRow("older MM:SS trailer") << "00:01:23  intro" + pad + "01:23" << 83;
    QTest::newRow("no selection") << "" << 0;
    QTest::newRow("shorter than 15") << "abc" << 0;
    QTest::newRow("non-digit time") << "xx:yy:zz  x" + pad + "xx:yy:zz" << 0;
    QTest::newRow("leading digits only") << "x" + pad + "0a:1b:2c" << 62;
    QTest::newRow("words before the time") << "note at 00:00:42" << 42;
    QTest::newRow("fourteen digits do not overflow") << "x" + pad + "99999999999999" << 99999;
    QTest::newRow("MM beyond 59") << "x" + pad + "999999:99999999" << 99999 * 60 + 99999;
}

void TestBookmarkRecord::jumpSecondsFromTheTrailingField()
{
    QFETCH(QString, record);
    QFETCH(int, seconds);
    QCOMPARE(jumpSeconds(record), seconds);
}

void TestBookmarkRecord::shortFormIsLengthenedAtTheFront_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("stored");
    const QString pad = spaces(15);
    QTest::newRow("MM:SS record") << "01:23  intro" + pad + "01:23"
                                  << "00:01:23  intro" + pad + "01:23";
    QTest::newRow("current form") << "00:01:23  intro" + pad + "00:01:23"
                                  << "00:01:23  intro" + pad + "00:01:23";
    QTest::newRow("too short to tell") << "01:23 "
                                       << "01:23 ";
    QTest::newRow("only one space") << "01:23 x"
                                    << "01:23 x";
}

void TestBookmarkRecord::shortFormIsLengthenedAtTheFront()
{
    QFETCH(QString, line);
    QFETCH(QString, stored);
    QCOMPARE(lengthenShortForm(line), stored);
}

void TestBookmarkRecord::listOrderIgnoresCaseAndKeepsListsInStep()
{
    const QString pad = spaces(15);
    const auto rec = [&pad](const QString& time, const QString& text) {
        return time + "  " + text + pad + time;
    };
    // A tab sorts before the space padding of a record but after the end of a shown line: the
    // two lists would disagree if each were sorted by itself.
    const QStringList records = {rec("00:02:00", "b"),    rec("00:00:05", "Banana"),
                                 rec("00:00:30", "a\tb"), rec("00:00:05", "apple"),
                                 rec("00:00:30", "a"),    rec("00:01:00", "c")};
    QStringList shown;
    QStringList sorted;
    sortForList(records, &shown, &sorted);

    const QStringList expected = {"00:00:05  apple", "00:00:05  Banana", "00:00:30  a",
                                  "00:00:30  a\tb",  "00:01:00  c",      "00:02:00  b"};
    QCOMPARE(shown, expected);
    QCOMPARE(sorted.size(), records.size());
    for (qsizetype i = 0; i < shown.size(); ++i)
        QCOMPARE(shownLineOf(sorted[i]), shown[i]);
}

void TestBookmarkRecord::mediaName_data()
{
    QTest::addColumn<QString>("mediaPath");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("file");
    QTest::newRow("full path") << "/home/ada/lezione1.mp3"
                               << "lezione1.mp3"
                               << "/p/Bookmarks/lezione1.mp3.bm";
    QTest::newRow("no separator") << "lezione1.mp3"
                                  << "lezione1.mp3"
                                  << "/p/Bookmarks/lezione1.mp3.bm";
    QTest::newRow("Windows path") << "C:\\rec\\a.wav"
                                  << "C:\\rec\\a.wav"
                                  << "/p/Bookmarks/C:\\rec\\a.wav.bm";
    QTest::newRow("folder only") << "/home/ada/"
                                 << ""
                                 << "";
    QTest::newRow("no media") << ""
                              << ""
                              << "";
}

void TestBookmarkRecord::mediaName()
{
    QFETCH(QString, mediaPath);
    QFETCH(QString, name);
    QFETCH(QString, file);
    QCOMPARE(BookmarkFile::mediaName(mediaPath), name);
    QCOMPARE(BookmarkFile::path(QStringLiteral("/p"), mediaPath), file);
}

QTEST_APPLESS_MAIN(TestBookmarkRecord)
#include "tst_bookmarkrecord.moc"
