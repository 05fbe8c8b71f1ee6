#include "TestFolder.h"
#include "bookmarks/BookmarkFile.h"
#include "bookmarks/BookmarkTable.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTest>
#include <sys/fsuid.h>
#include <unistd.h>

namespace {

const QString kFile = QStringLiteral("Bookmarks/lecture.mp3.bm");

QString record(const QString& time, const QString& text)
{
    return time + "  " + text + QString(15, QLatin1Char(' ')) + time;
}

QByteArray crlf(const QStringList& lines)
{
    QByteArray bytes;
    for (const QString& line : lines)
        bytes += line.toUtf8() + "\r\n";
    return bytes;
}

// The longest name a file can be replaced under: a save writes "<name>.XXXXXX" first.
constexpr qsizetype kReplaceableName = 255 - 7;

// Makes a file unreadable while its folder stays writable, as a file left by another user is.
// Root, whom mode bits do not stop, checks files as nobody on this thread meanwhile.
class Unreadable {
public:
    Unreadable(const TestFolder& folder, const QString& relative)
        : m_path(folder.filePath(relative))
    {
        constexpr auto open = QFileDevice::Permissions(0x7777);
        QFile::setPermissions(folder.path(), open);
        QFile::setPermissions(QFileInfo(m_path).path(), open);
        QFile::setPermissions(m_path, {});
        if (geteuid() == 0) {
            setfsuid(kNobody);
            m_asNobody = setfsuid(uid_t(-1)) == kNobody;
        }
    }
    ~Unreadable() { end(); }

    // False where this machine lets the file be read all the same.
    bool holds() const { return !QFile(m_path).open(QIODevice::ReadOnly); }
    void end()
    {
        if (m_asNobody)
            setfsuid(0);
        m_asNobody = false;
        QFile::setPermissions(m_path, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    }

private:
    static constexpr uid_t kNobody = 65534;
    QString m_path;
    bool m_asNobody = false;
};

} // namespace

class TestBookmarkFile : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void writtenInTableOrderWithCrLf();
    void removingEveryBookmarkRemovesTheFile();
    void nothingElseWritesOrRemovesAFile();
    void sixHundredLinesAreAllKeptAndWritten();
    void badInputIsReadAndKept_data();
    void badInputIsReadAndKept();
    void failedReadsGiveTheReason_data();
    void failedReadsGiveTheReason();
    void failedWritesGiveTheReasonAndKeepTheRecords_data();
    void failedWritesGiveTheReasonAndKeepTheRecords();
    void aFailedRemovalGivesTheReasonAndIsTriedAgain();
    void aRecordingWithoutANameCannotBeSaved();
    void longMediaNamesGetShortFileNames_data();
    void longMediaNamesGetShortFileNames();
    void longNamesAlikeInTheirFirstBytesGetFilesOfTheirOwn();
    void aFileSavedUnderTheFullNameIsMoved();
    void aFileNotReadWholeIsNeverRewritten_data();
    void aFileNotReadWholeIsNeverRewritten();
    void anUnreadableFileIsNeverReplaced_data();
    void anUnreadableFileIsNeverReplaced();
};

void TestBookmarkFile::writtenInTableOrderWithCrLf()
{
    TestFolder folder;
    const QStringList records = {record("00:02:00", "c"), record("00:00:30", "a"),
                                 record("00:01:00", "b")};
    BookmarkTable table;
    table.setRecords(records);
    QVERIFY(table.save(folder.filePath(kFile)));
    QCOMPARE(folder.readBytes(kFile), crlf(records));
}

void TestBookmarkFile::removingEveryBookmarkRemovesTheFile()
{
    TestFolder folder;
    const QString path = folder.filePath(kFile);
    folder.write(kFile, {record("00:00:10", "a"), record("00:00:20", "b")});
    BookmarkTable table;
    QVERIFY(table.load(path));
    table.setRecords({});
    QVERIFY(table.save(path));
    QVERIFY(!QFileInfo::exists(path));

    // Reopened, the recording has none; new ones are written again.
    QVERIFY(!table.load(path));
    QVERIFY(table.isEmpty());
    table.setRecords({record("00:00:30", "c")});
    QVERIFY(table.save(path));
    QCOMPARE(folder.readBytes(kFile), crlf({record("00:00:30", "c")}));
}

void TestBookmarkFile::nothingElseWritesOrRemovesAFile()
{
    TestFolder folder;
    const QString path = folder.filePath(kFile);
    BookmarkTable table;
    QVERIFY(table.save(path));
    QVERIFY(!QFileInfo::exists(folder.filePath(QStringLiteral("Bookmarks"))));

    const QByteArray content = crlf({record("00:00:10", "a")});
    folder.writeBytes(kFile, content);
    folder.writeBytes(QStringLiteral("Bookmarks/other.wav.bm"), content);
    // Emptied by the user, but saved under another recording's name: that file is not theirs.
    QVERIFY(table.load(path));
    table.setRecords({});
    QVERIFY(table.save(folder.filePath(QStringLiteral("Bookmarks/other.wav.bm"))));
    QCOMPARE(folder.readBytes(QStringLiteral("Bookmarks/other.wav.bm")), content);
    // Forgotten by the program as another recording opens: the user removed nothing.
    QVERIFY(table.load(path));
    table.clear();
    QVERIFY(table.save(path));
    QCOMPARE(folder.readBytes(kFile), content);
}

void TestBookmarkFile::sixHundredLinesAreAllKeptAndWritten()
{
    TestFolder folder;
    const QString path = folder.filePath(kFile);
    QStringList lines;
    for (int i = 0; i < 600; ++i)
        lines << record(QStringLiteral("00:%1:%2")
                            .arg(i / 60, 2, 10, QLatin1Char('0'))
                            .arg(i % 60, 2, 10, QLatin1Char('0')),
                        QString::number(i));
    folder.write(kFile, lines);
    BookmarkTable table;
    QVERIFY(table.load(path));
    QCOMPARE(table.records(), lines);

    lines << record("00:10:00", "one more");
    table.setRecords(lines);
    QVERIFY(table.save(path));
    QCOMPARE(folder.readBytes(kFile), crlf(lines));
}

void TestBookmarkFile::badInputIsReadAndKept_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QStringList>("records");
    const QString pad(15, QLatin1Char(' '));
    QTest::newRow("blank lines skipped, records after them kept")
        << QByteArray("a\r\n\r\n   \r\nb\n\nc\r\n") << QStringList{"a", "b", "c"};
    QTest::newRow("older short form, LF ends") << QByteArray("01:23  old               01:23\n")
                                               << QStringList{"00:01:23  old" + pad + "01:23"};
    QTest::newRow("short records")
        << QByteArray("abc\r\nx\r\n12:\r\n") << QStringList{"abc", "x", "12:"};
    QTest::newRow("non-digit times") << QByteArray("xx:yy:zz  what               ab:cd:ef\r\n")
                                     << QStringList{"xx:yy:zz  what" + pad + "ab:cd:ef"};
    const QString longLine = "00:00:01  " + QString(200000, QLatin1Char('w'));
    QTest::newRow("very long line") << (longLine.toUtf8() + "\r\n") << QStringList{longLine};
    QTest::newRow("Windows-1252") << QByteArray("00:00:07  \x93quoted\x94 caf\xe9 \x80\r\n")
                                  << QStringList{QStringLiteral(
                                         "00:00:07  \u201cquoted\u201d caf\u00e9 \u20ac")};
    QTest::newRow("NUL and control bytes, no final line end")
        << QByteArray("a\0b\x01", 4) << QStringList{QString::fromLatin1("a\0b\x01", 4)};
}

void TestBookmarkFile::badInputIsReadAndKept()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QStringList, records);
    TestFolder folder;
    const QString path = folder.filePath(kFile);
    folder.writeBytes(kFile, bytes);
    BookmarkTable table;
    QVERIFY(table.load(path));
    QCOMPARE(table.records(), records);

    // Unchanged, the file stays byte for byte as it was; changed, it is written out whole.
    QVERIFY(table.save(path));
    QCOMPARE(folder.readBytes(kFile), bytes);
    records << record("00:00:09", "new");
    table.setRecords(records);
    QVERIFY(table.save(path));
    QCOMPARE(folder.readBytes(kFile), crlf(records));
}

void TestBookmarkFile::failedReadsGiveTheReason_data()
{
    QTest::addColumn<bool>("folderInPlace");
    QTest::newRow("no such file") << false;
    QTest::newRow("a folder in the file's place") << true;
}

void TestBookmarkFile::failedReadsGiveTheReason()
{
    QFETCH(bool, folderInPlace);
    TestFolder folder;
    const QString path = folder.filePath(kFile);
    if (folderInPlace)
        QVERIFY(QDir().mkpath(path));

    QString error;
    QVERIFY(!BookmarkFile::read(path, &error));
    QVERIFY(!error.isEmpty());

    BookmarkTable table;
    table.setRecords({record("00:00:10", "kept?")});
    error.clear();
    QVERIFY(!table.load(path, &error));
    QVERIFY2(!error.isEmpty(), "no reason given");
    QVERIFY(table.isEmpty());
    QCOMPARE(table.file(), path);
}

void TestBookmarkFile::failedWritesGiveTheReasonAndKeepTheRecords_data()
{
    QTest::addColumn<QString>("obstacle");
    QTest::addColumn<bool>("obstacleIsFolder");
    QTest::newRow("a file in the folder's place") << QStringLiteral("Bookmarks") << false;
    QTest::newRow("a folder in the file's place") << kFile << true;
}

void TestBookmarkFile::failedWritesGiveTheReasonAndKeepTheRecords()
{
    QFETCH(QString, obstacle);
    QFETCH(bool, obstacleIsFolder);
    TestFolder folder;
    const QString path = folder.filePath(kFile);
    const QString obstaclePath = folder.filePath(obstacle);
    if (obstacleIsFolder)
        QVERIFY(QDir().mkpath(obstaclePath + QStringLiteral("/inside")));
    else
        folder.writeBytes(obstacle, "in the way");
    const QStringList records = {record("00:00:10", "a"), record("00:00:20", "b")};

    QString error;
    QVERIFY(!BookmarkFile::write(path, records, &error));
    QVERIFY(!error.isEmpty());

    BookmarkTable table;
    table.setRecords(records);
    error.clear();
    QVERIFY(!table.save(path, &error));
    QVERIFY2(!error.isEmpty(), "no reason given");
    QCOMPARE(table.records(), records);
    QVERIFY(table.file().isEmpty());

    // Once the way is clear, the same table saves.
    QVERIFY(obstacleIsFolder ? QDir(obstaclePath).removeRecursively()
                             : QFile::remove(obstaclePath));
    QVERIFY(table.save(path, &error));
    QCOMPARE(folder.readBytes(kFile), crlf(records));
    QCOMPARE(table.file(), path);
}

void TestBookmarkFile::aFailedRemovalGivesTheReasonAndIsTriedAgain()
{
    TestFolder folder;
    const QString path = folder.filePath(kFile);
    const QByteArray content = crlf({record("00:00:10", "a")});
    folder.writeBytes(kFile, content);
    BookmarkTable table;
    QVERIFY(table.load(path));
    table.setRecords({});

    // A folder with something in it cannot be removed as a file.
    QVERIFY(QFile::remove(path));
    QVERIFY(QDir().mkpath(path + QStringLiteral("/inside")));
    QString error;
    QVERIFY(!table.save(path, &error));
    QVERIFY2(!error.isEmpty(), "no reason given");

    QVERIFY(QDir(path).removeRecursively());
    folder.writeBytes(kFile, content);
    QVERIFY(table.save(path, &error));
    QVERIFY(!QFileInfo::exists(path));
}

void TestBookmarkFile::aRecordingWithoutANameCannotBeSaved()
{
    BookmarkTable table;
    QString error;
    QVERIFY(table.save(QString(), &error));
    QVERIFY(error.isEmpty());
    table.setRecords({record("00:00:10", "a")});
    QVERIFY(!table.save(QString(), &error));
    QVERIFY(!error.isEmpty());
}

void TestBookmarkFile::longMediaNamesGetShortFileNames_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("kept");
    QTest::newRow("short") << QStringLiteral("lecture.mp3") << true;
    QTest::newRow("longest kept, ASCII") << QString(kReplaceableName - 3, QLatin1Char('a')) << true;
    QTest::newRow("longest kept, two-byte letters")
        << QStringLiteral("a") + QString((kReplaceableName - 4) / 2, QChar(0xE8)) << true;
    QTest::newRow("one byte more, ASCII")
        << QString(kReplaceableName - 2, QLatin1Char('a')) << false;
    QTest::newRow("252 bytes, ASCII") << QString(248, QLatin1Char('b')) + ".mp3" << false;
    QTest::newRow("300 bytes, ASCII") << QString(296, QLatin1Char('c')) + ".wav" << false;
    QTest::newRow("two-byte letters") << QString(150, QChar(0xE8)) + ".mp3" << false;
    QTest::newRow("three-byte letters") << QString(90, QChar(0x6F22)) + ".mp3" << false;
    QString faces;
    for (int i = 0; i < 70; ++i)
        faces += QString::fromUcs4(U"\U0001F600", 1);
    QTest::newRow("four-byte letters") << faces + ".ogg" << false;
    QTest::newRow("one ASCII letter before four-byte ones") << "x" + faces << false;
}

void TestBookmarkFile::longMediaNamesGetShortFileNames()
{
    QFETCH(QString, name);
    QFETCH(bool, kept);
    TestFolder folder;
    const QString mediaPath = QStringLiteral("/srv/recordings/") + name;
    const QString path = BookmarkFile::path(folder.path(), mediaPath);

    // Saved, added to and read back under that name.
    const QStringList first = {record("00:00:10", "a"), record("00:00:20", "b")};
    BookmarkTable table;
    table.setRecords(first);
    QString error;
    QVERIFY2(table.save(path, &error), qPrintable(error));
    QVERIFY(table.load(path, &error));
    QStringList more = table.records();
    more << record("00:00:30", "c");
    table.setRecords(more);
    QVERIFY2(table.save(path, &error), qPrintable(error));

    BookmarkTable again;
    QVERIFY2(again.load(BookmarkFile::path(folder.path(), mediaPath), &error), qPrintable(error));
    QCOMPARE(again.records(), more);

    // The name: unchanged when it fits, otherwise cut and told apart by its full name's hash.
    const QString fileName = path.mid(path.lastIndexOf(QLatin1Char('/')) + 1);
    QCOMPARE(path, folder.filePath(QStringLiteral("Bookmarks/") + fileName));
    QCOMPARE(BookmarkFile::fileName(name), fileName);
    if (kept) {
        QCOMPARE(fileName, name + ".bm");
    } else {
        const QByteArray bytes = fileName.toUtf8();
        QVERIFY2(bytes.size() <= kReplaceableName, bytes.constData());
        QVERIFY2(!fileName.contains(QChar::ReplacementCharacter), qPrintable(fileName));
        QCOMPARE(QString::fromUtf8(bytes), fileName);
        const QString hash = QString::fromLatin1(
            QCryptographicHash::hash(name.toUtf8(), QCryptographicHash::Sha256).toHex().left(16));
        QVERIFY2(fileName.endsWith("~" + hash + ".bm"), qPrintable(fileName));
        const QString cut = fileName.chopped(hash.size() + 4);
        QVERIFY(name.startsWith(cut));
        QVERIFY2(bytes.size() > kReplaceableName - 4, "cut further than a character needs");
    }
}

void TestBookmarkFile::longNamesAlikeInTheirFirstBytesGetFilesOfTheirOwn()
{
    TestFolder folder;
    const QString common(250, QLatin1Char('n'));
    const QString first = BookmarkFile::path(folder.path(), "/m/" + common + "-part 1.mp3");
    const QString second = BookmarkFile::path(folder.path(), "/m/" + common + "-part 2.mp3");
    QVERIFY(first != second);

    BookmarkTable table;
    table.setRecords({record("00:00:01", "one")});
    QVERIFY(table.save(first));
    table.clear();
    table.setRecords({record("00:00:02", "two")});
    QVERIFY(table.save(second));
    QVERIFY(table.load(first));
    QCOMPARE(table.records(), QStringList{record("00:00:01", "one")});
    QVERIFY(table.load(second));
    QCOMPARE(table.records(), QStringList{record("00:00:02", "two")});
}

void TestBookmarkFile::aFileSavedUnderTheFullNameIsMoved()
{
    TestFolder folder;
    // Its file name, 253 bytes, could be created but never replaced.
    const QString name = QString(246, QLatin1Char('f')) + ".mp3";
    const QByteArray content = crlf({record("00:00:10", "earlier")});
    folder.writeBytes("Bookmarks/" + name + ".bm", content);

    const QString path = BookmarkFile::path(folder.path(), "/m/" + name);
    QCOMPARE(path, folder.filePath("Bookmarks/" + BookmarkFile::fileName(name)));
    QVERIFY(!QFileInfo::exists(folder.filePath("Bookmarks/" + name + ".bm")));
    QCOMPARE(folder.readBytes("Bookmarks/" + BookmarkFile::fileName(name)), content);
}

void TestBookmarkFile::aFileNotReadWholeIsNeverRewritten_data()
{
    QTest::addColumn<int>("added");
    QTest::addColumn<int>("kept"); // of the records read; -1: all of them
    QTest::addColumn<bool>("refused");
    QTest::newRow("unchanged") << 0 << -1 << false;
    QTest::newRow("a bookmark added") << 1 << -1 << true;
    QTest::newRow("a bookmark removed") << 0 << 1 << true;
    QTest::newRow("every bookmark removed") << 0 << 0 << true;
}

void TestBookmarkFile::aFileNotReadWholeIsNeverRewritten()
{
    QFETCH(int, added);
    QFETCH(int, kept);
    QFETCH(bool, refused);
    TestFolder folder;
    const QString path = folder.filePath(kFile);
    QStringList lines;
    for (int i = 0; i < 10; ++i)
        lines << record(QStringLiteral("00:00:%1").arg(i, 2, 10, QLatin1Char('0')),
                        QString::number(i));
    const QByteArray content = crlf(lines);
    folder.writeBytes(kFile, content);
    // Room for a little over two records.
    BookmarkTable table(100);
    QVERIFY(table.load(path));
    QVERIFY(!table.readWhole());
    QCOMPARE(table.records().size(), 3);

    QStringList records = kept < 0 ? table.records() : table.records().mid(0, kept);
    for (int i = 0; i < added; ++i)
        records << record("00:01:00", "new");
    table.setRecords(records);
    QString error;
    auto failure = BookmarkTable::SaveFailure::CannotWrite;
    QCOMPARE(table.save(path, &error, &failure), !refused);
    QCOMPARE(failure, refused ? BookmarkTable::SaveFailure::FileNotReadWhole
                              : BookmarkTable::SaveFailure::None);
    QCOMPARE(error.isEmpty(), !refused);
    QCOMPARE(folder.readBytes(kFile), content);
    QCOMPARE(table.records(), records);

    // The same records go whole to another recording's file.
    const QString other = folder.filePath(QStringLiteral("Bookmarks/other.wav.bm"));
    if (!records.isEmpty()) {
        QVERIFY(table.save(other, &error, &failure));
        QCOMPARE(failure, BookmarkTable::SaveFailure::None);
        QCOMPARE(folder.readBytes(QStringLiteral("Bookmarks/other.wav.bm")), crlf(records));
    }
}

void TestBookmarkFile::anUnreadableFileIsNeverReplaced_data()
{
    QTest::addColumn<bool>("added");
    QTest::addColumn<QString>("bySave"); // what has become of the file when the table is saved
    QTest::newRow("still unreadable") << true << QStringLiteral("unreadable");
    QTest::newRow("readable again") << true << QStringLiteral("readable");
    QTest::newRow("removed") << true << QStringLiteral("removed");
    QTest::newRow("nothing added") << false << QStringLiteral("unreadable");
}

void TestBookmarkFile::anUnreadableFileIsNeverReplaced()
{
    QFETCH(bool, added);
    QFETCH(QString, bySave);
    TestFolder folder;
    const QString path = folder.filePath(kFile);
    const QStringList old = {record("00:00:10", "old one"), record("00:00:20", "old two")};
    folder.writeBytes(kFile, crlf(old));
    const QStringList added_ = added ? QStringList{record("00:00:15", "new")} : QStringList{};

    Unreadable unreadable(folder, kFile);
    if (!unreadable.holds())
        QSKIP("this machine lets every file be read");
    BookmarkTable table;
    QString error;
    QVERIFY(!table.load(path, &error));
    QVERIFY(!error.isEmpty());
    table.setRecords(added_);

    if (bySave != QLatin1String("unreadable"))
        unreadable.end();
    if (bySave == QLatin1String("removed"))
        QVERIFY(QFile::remove(path));
    error.clear();
    auto failure = BookmarkTable::SaveFailure::None;
    const bool refused = added && bySave == QLatin1String("unreadable");
    QCOMPARE(table.save(path, &error, &failure), !refused);
    unreadable.end();

    QCOMPARE(failure,
             refused ? BookmarkTable::SaveFailure::FileNotRead : BookmarkTable::SaveFailure::None);
    QCOMPARE(error.isEmpty(), !refused);
    if (bySave == QLatin1String("readable")) {
        QCOMPARE(table.records(), old + added_);
        QCOMPARE(folder.readBytes(kFile), crlf(old + added_));
    } else if (bySave == QLatin1String("removed")) {
        QCOMPARE(table.records(), added_);
        QCOMPARE(folder.readBytes(kFile), crlf(added_));
    } else {
        QCOMPARE(table.records(), added_);
        QCOMPARE(folder.readBytes(kFile), crlf(old));
    }
}

QTEST_GUILESS_MAIN(TestBookmarkFile)
#include "tst_bookmarkfile.moc"
