#include "TestFolder.h"
#include "core/SettingsFile.h"
#include "player/ValueEntry.h"

#include <QFile>
#include <QTest>

Q_DECLARE_METATYPE(ValueEntry::Mode)

namespace {

// A complete file whose lines can be changed one by one.
QStringList fullFile()
{
    return {QStringLiteral("English.lng"),
            "80",
            "500",
            "5",
            "2",
            "0",
            "/home/ada/notes",
            "0",
            "1500",
            "300",
            "1500",
            "2200",
            "9000",
            "6000",
            "1",
            "1",
            "0",
            "0",
            "0",
            "0",
            "7",
            "5",
            "0"};
}

QVariant field(const StoredSettings& s, const QString& name)
{
    static const QHash<QString, std::function<QVariant(const StoredSettings&)>> fields = {
        {"languageFile", [](auto& s) { return QVariant(s.languageFile); }},
        {"jumpSeconds", [](auto& s) { return QVariant(s.jumpSeconds); }},
        {"backSeconds", [](auto& s) { return QVariant(s.backSeconds); }},
        {"showFullPath", [](auto& s) { return QVariant(s.showFullPath); }},
        {"editorFolder", [](auto& s) { return QVariant(s.editorFolder); }},
        {"editorVisible", [](auto& s) { return QVariant(s.editorVisible); }},
        {"playerLeft", [](auto& s) { return QVariant(s.playerLeft); }},
        {"editorHeight", [](auto& s) { return QVariant(s.editorHeight); }},
        {"alwaysOnTop", [](auto& s) { return QVariant(s.alwaysOnTop); }},
        {"bookmarksVisible", [](auto& s) { return QVariant(s.bookmarksVisible); }},
        {"bookmarksHeight", [](auto& s) { return QVariant(s.bookmarksHeight); }},
        {"playTime", [](auto& s) { return QVariant(s.playTime); }},
        {"pauseTime", [](auto& s) { return QVariant(s.pauseTime); }},
        {"smartPlay", [](auto& s) { return QVariant(s.smartPlay); }},
        {"volume", [](auto& s) { return QVariant(s.volume.value_or(-999)); }},
    };
    return fields.value(name)(s);
}

} // namespace

class TestSettingsFile : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void readingRules_data();
    void readingRules();
    void fileEndingEarly();
    void commaInEditorFolderStaysOneValue();
    void garbageNeverCrashes_data();
    void garbageNeverCrashes();
    void roundTripWritesTwentyThreeLines();
    void shippedFileIsWrittenBackByteForByte();
    void everyValueReadIsOneTheDialogKeeps_data();
    void everyValueReadIsOneTheDialogKeeps();
    void unwritableFolderFailsWithoutCrash();
};

void TestSettingsFile::readingRules_data()
{
    QTest::addColumn<int>("line");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("field");
    QTest::addColumn<QVariant>("expected");

    QTest::newRow("play time 0 reads 7") << 21 << "0"
                                         << "playTime" << QVariant(7);
    QTest::newRow("play time 2 reads 7") << 21 << "2"
                                         << "playTime" << QVariant(7);
    QTest::newRow("play time 3 stays") << 21 << "3"
                                       << "playTime" << QVariant(3);
    QTest::newRow("play time 1000 stays") << 21 << "1000"
                                          << "playTime" << QVariant(1000);
    QTest::newRow("pause time -4 reads 7") << 22 << "-4"
                                           << "pauseTime" << QVariant(7);
    QTest::newRow("pause time text reads 7") << 22 << "soon"
                                             << "pauseTime" << QVariant(7);

    QTest::newRow("volume 64") << 2 << "64"
                               << "volume" << QVariant(64);
    QTest::newRow("volume kept beyond 100") << 2 << "150"
                                            << "volume" << QVariant(150);
    QTest::newRow("volume below 0 kept") << 2 << "-5"
                                         << "volume" << QVariant(-5);
    QTest::newRow("volume of words reads 0") << 2 << "loud"
                                             << "volume" << QVariant(0);
    QTest::newRow("volume rounded") << 2 << "64.6"
                                    << "volume" << QVariant(65);
    QTest::newRow("volume before a unit") << 2 << " 70 %"
                                          << "volume" << QVariant(70);

    QTest::newRow("on top: 0") << 15 << "0"
                               << "alwaysOnTop" << QVariant(true);
    QTest::newRow("on top: empty") << 15 << ""
                                   << "alwaysOnTop" << QVariant(true);
    QTest::newRow("on top: 1 turns it off") << 15 << "1"
                                            << "alwaysOnTop" << QVariant(false);
    QTest::newRow("on top: any other text off") << 15 << "yes"
                                                << "alwaysOnTop" << QVariant(false);

    QTest::newRow("full path: 1") << 6 << "1"
                                  << "showFullPath" << QVariant(true);
    QTest::newRow("full path: 0") << 6 << "0"
                                  << "showFullPath" << QVariant(false);
    QTest::newRow("full path: 2") << 6 << "2"
                                  << "showFullPath" << QVariant(false);
    QTest::newRow("full path: not a number") << 6 << "abc"
                                             << "showFullPath" << QVariant(true);

    QTest::newRow("editor: 0 shown") << 8 << "0"
                                     << "editorVisible" << QVariant(true);
    QTest::newRow("editor: 1 closed") << 8 << "1"
                                      << "editorVisible" << QVariant(false);
    QTest::newRow("editor: -1 closed") << 8 << "-1"
                                       << "editorVisible" << QVariant(false);
    QTest::newRow("editor: text reads 0") << 8 << "x"
                                          << "editorVisible" << QVariant(true);
    QTest::newRow("bookmarks: 0 shown") << 16 << "0"
                                        << "bookmarksVisible" << QVariant(true);

    QTest::newRow("smart play: 2 is on") << 23 << "2"
                                         << "smartPlay" << QVariant(true);
    QTest::newRow("smart play: 0 off") << 23 << "0"
                                       << "smartPlay" << QVariant(false);
    QTest::newRow("smart play: text off") << 23 << "on"
                                          << "smartPlay" << QVariant(false);

    QTest::newRow("geometry 32767 kept") << 9 << "32767"
                                         << "playerLeft" << QVariant(32767);
    QTest::newRow("geometry -32768 kept") << 9 << "-32768"
                                          << "playerLeft" << QVariant(-32768);
    QTest::newRow("geometry 32768 reads 0") << 9 << "32768"
                                            << "playerLeft" << QVariant(0);
    QTest::newRow("geometry -40000 reads 0") << 14 << "-40000"
                                             << "editorHeight" << QVariant(0);
    QTest::newRow("geometry 1e9 reads 0") << 20 << "1e9"
                                          << "bookmarksHeight" << QVariant(0);
    QTest::newRow("geometry fraction 1234.5") << 9 << "1234.5"
                                              << "playerLeft" << QVariant(1234);
    QTest::newRow("geometry fraction 1235.5") << 9 << "1235.5"
                                              << "playerLeft" << QVariant(1236);

    QTest::newRow("jump 2.5 to even") << 4 << "2.5"
                                      << "jumpSeconds" << QVariant(2);
    QTest::newRow("jump 3.5 to even") << 4 << "3.5"
                                      << "jumpSeconds" << QVariant(4);
    QTest::newRow("jump quoted, blanks") << 4 << "   \"12\""
                                         << "jumpSeconds" << QVariant(12);
    QTest::newRow("jump beyond 16 bits") << 4 << "99999"
                                         << "jumpSeconds" << QVariant(0);
    QTest::newRow("back not a number") << 5 << "five"
                                       << "backSeconds" << QVariant(0);
    QTest::newRow("back nan") << 5 << "nan"
                              << "backSeconds" << QVariant(0);

    QTest::newRow("jump 0 stays unset") << 4 << "0"
                                        << "jumpSeconds" << QVariant(0);
    QTest::newRow("jump 1 reads 2") << 4 << "1"
                                    << "jumpSeconds" << QVariant(2);
    QTest::newRow("jump -30 reads 2") << 4 << "-30"
                                      << "jumpSeconds" << QVariant(2);
    QTest::newRow("jump 2 stays") << 4 << "2"
                                  << "jumpSeconds" << QVariant(2);
    QTest::newRow("jump 60 stays") << 4 << "60"
                                   << "jumpSeconds" << QVariant(60);
    QTest::newRow("jump 61 reads 60") << 4 << "61"
                                      << "jumpSeconds" << QVariant(60);
    QTest::newRow("jump 32767 reads 60") << 4 << "32767"
                                         << "jumpSeconds" << QVariant(60);
    QTest::newRow("back -5 reads 0") << 5 << "-5"
                                     << "backSeconds" << QVariant(0);
    QTest::newRow("back -32768 reads 0") << 5 << "-32768"
                                         << "backSeconds" << QVariant(0);
    QTest::newRow("back 0 stays") << 5 << "0"
                                  << "backSeconds" << QVariant(0);
    QTest::newRow("back 20 stays") << 5 << "20"
                                   << "backSeconds" << QVariant(20);
    QTest::newRow("back 21 reads 20") << 5 << "21"
                                      << "backSeconds" << QVariant(20);
    QTest::newRow("play time -10 reads 7") << 21 << "-10"
                                           << "playTime" << QVariant(7);

    QTest::newRow("language quoted") << 1 << "\"Italiano.lng\""
                                     << "languageFile" << QVariant(QStringLiteral("Italiano.lng"));
    QTest::newRow("folder keeps inner blanks")
        << 7 << "  /home/a b/c d  "
        << "editorFolder" << QVariant(QStringLiteral("/home/a b/c d"));
}

void TestSettingsFile::readingRules()
{
    QFETCH(int, line);
    QFETCH(QString, value);
    QFETCH(QString, field);
    QFETCH(QVariant, expected);

    QStringList lines = fullFile();
    lines[line - 1] = value;
    QCOMPARE(::field(SettingsFile::parse(lines), field), expected);
}

void TestSettingsFile::fileEndingEarly()
{
    const StoredSettings s = SettingsFile::parse(fullFile().mid(0, 7));
    QVERIFY(s.editorVisible);
    QVERIFY(s.alwaysOnTop);
    QVERIFY(!s.smartPlay);
    QVERIFY(!s.bookmarksVisible);
    QCOMPARE(s.playTime, 7);
    QCOMPARE(s.pauseTime, 7);
    QCOMPARE(s.editorWidth + s.editorHeight, 0);
    QCOMPARE(s.jumpSeconds, 5);

    const StoredSettings first = SettingsFile::parse({QStringLiteral("English.lng")});
    QVERIFY(!first.volume.has_value());
    QVERIFY(!first.knobTop.has_value());
    QVERIFY(first.showFullPath);
    QCOMPARE(first.jumpSeconds, 0);
    QCOMPARE(first.editorFolder, QString());
}

void TestSettingsFile::commaInEditorFolderStaysOneValue()
{
    TestFolder folder;
    StoredSettings s;
    s.languageFile = QStringLiteral("English.lng");
    s.editorFolder = QStringLiteral("/home/ada/Lectures, autumn");
    s.editorVisible = false;
    s.playerLeft = 1500;
    s.playTime = 9;
    const QString path = folder.filePath(QStringLiteral("Files/Vocarta.ini"));
    QVERIFY(SettingsFile::write(path, s));

    const auto back = SettingsFile::read(path);
    QVERIFY(back);
    QCOMPARE(back->editorFolder, s.editorFolder);
    QCOMPARE(back->editorVisible, false);
    QCOMPARE(back->playerLeft, 1500);
    QCOMPARE(back->playTime, 9);
}

void TestSettingsFile::garbageNeverCrashes_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("empty") << QByteArray();
    QTest::newRow("binary") << QByteArray("\x00\xff\xfe\x01\r\n\x80\x81\n\n\x00", 11);
    QTest::newRow("megabyte line") << QByteArray(3 * 1024 * 1024, '7');
    QTest::newRow("only line ends") << QByteArray(500, '\n');
    QTest::newRow("unclosed quote") << QByteArray("\"English.lng\r\n\"\r\n");
}

void TestSettingsFile::garbageNeverCrashes()
{
    QFETCH(QByteArray, bytes);
    TestFolder folder;
    folder.writeBytes(QStringLiteral("Files/Vocarta.ini"), bytes);
    const auto s = SettingsFile::read(folder.filePath(QStringLiteral("Files/Vocarta.ini")));
    QVERIFY(s);
    QVERIFY(s->playTime >= 3);
    QVERIFY(s->pauseTime >= 3);
    QVERIFY(s->playerLeft >= -32768 && s->playerLeft <= 32767);
}

void TestSettingsFile::roundTripWritesTwentyThreeLines()
{
    TestFolder folder;
    StoredSettings s;
    s.languageFile = QStringLiteral("Italiano.lng");
    s.volume = 64;
    s.knobTop = 721.5;
    s.jumpSeconds = 6;
    s.backSeconds = 3;
    s.showFullPath = false;
    s.editorFolder = QStringLiteral("/srv/trascrizioni");
    s.editorVisible = false;
    s.playerLeft = -150;
    s.playerTop = 750;
    s.editorLeft = 750;
    s.editorTop = 3000;
    s.editorWidth = 9000;
    s.editorHeight = 6000;
    s.alwaysOnTop = false;
    s.bookmarksVisible = true;
    s.bookmarksLeft = 5790;
    s.bookmarksTop = 750;
    s.bookmarksWidth = 3150;
    s.bookmarksHeight = 2400;
    s.playTime = 12;
    s.pauseTime = 4;
    s.smartPlay = true;
    const QString path = folder.filePath(QStringLiteral("Files/Vocarta.ini"));
    QVERIFY(SettingsFile::write(path, s));

    const QByteArray bytes = folder.readBytes(QStringLiteral("Files/Vocarta.ini"));
    QCOMPARE(bytes.count("\r\n"), 23);
    QCOMPARE(bytes.count('\n'), 23);
    QVERIFY(bytes.endsWith("\r\n"));
    const QList<QByteArray> lines = bytes.split('\n');
    QCOMPARE(lines.at(2), QByteArray("721.5\r"));
    QCOMPARE(lines.at(7), QByteArray("1\r"));  // editor hidden
    QCOMPARE(lines.at(14), QByteArray("1\r")); // not on top
    QCOMPARE(lines.at(15), QByteArray("0\r")); // bookmarks shown

    const auto back = SettingsFile::read(path);
    QVERIFY(back);
    QCOMPARE(SettingsFile::lines(*back), SettingsFile::lines(s));
}

void TestSettingsFile::shippedFileIsWrittenBackByteForByte()
{
    QFile shipped(QStringLiteral(VOCARTA_SOURCE_DATA_DIR "/Files/Vocarta.ini"));
    QVERIFY(shipped.open(QIODevice::ReadOnly));
    const QByteArray bytes = shipped.readAll();
    TestFolder folder;
    folder.writeBytes(QStringLiteral("Files/Vocarta.ini"), bytes);
    const QString path = folder.filePath(QStringLiteral("Files/Vocarta.ini"));
    const auto read = SettingsFile::read(path);
    QVERIFY(read);
    QVERIFY(SettingsFile::write(path, *read));
    QCOMPARE(folder.readBytes(QStringLiteral("Files/Vocarta.ini")), bytes);
}

void TestSettingsFile::everyValueReadIsOneTheDialogKeeps_data()
{
    QTest::addColumn<int>("line");
    QTest::addColumn<ValueEntry::Mode>("mode");
    QTest::newRow("skip length") << 4 << ValueEntry::Mode::JumpSeconds;
    QTest::newRow("seconds back") << 5 << ValueEntry::Mode::SecondsBack;
    QTest::newRow("play time") << 21 << ValueEntry::Mode::PlayTime;
    QTest::newRow("pause time") << 22 << ValueEntry::Mode::PauseTime;
}

void TestSettingsFile::everyValueReadIsOneTheDialogKeeps()
{
    QFETCH(int, line);
    QFETCH(ValueEntry::Mode, mode);
    const QString field = QHash<int, QString>{
        {4, "jumpSeconds"},
        {5, "backSeconds"},
        {21, "playTime"},
        {22, "pauseTime"}}.value(line);
    for (int stored = -200; stored <= 200; ++stored) {
        QStringList lines = fullFile();
        lines[line - 1] = QString::number(stored);
        const int read = ::field(SettingsFile::parse(lines), field).toInt();
        // 0 is the skip length never set, which the player uses as the shortest.
        if (mode == ValueEntry::Mode::JumpSeconds && read == 0)
            continue;
        const auto check = ValueEntry::checkRange(mode, read);
        QVERIFY2(check.value == read && !check.message,
                 qPrintable(QStringLiteral("%1 read as %2").arg(stored).arg(read)));
        QCOMPARE(ValueEntry::openingValue(mode, read), read);
    }
}

void TestSettingsFile::unwritableFolderFailsWithoutCrash()
{
    TestFolder folder;
    // A plain file where the folder should be: nothing can be written below it.
    folder.writeBytes(QStringLiteral("Blocked"), "x");
    QVERIFY(!SettingsFile::write(folder.filePath(QStringLiteral("Blocked/Vocarta.ini")),
                                 StoredSettings{}));
}

QTEST_GUILESS_MAIN(TestSettingsFile)
#include "tst_settingsfile.moc"
