#include "TestFolder.h"
#include "core/AppState.h"
#include "core/InterfaceTexts.h"
#include "platform/TextFile.h"

#include <QTest>

namespace {

} // namespace

class TestInterfaceTexts : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void labelsAreSkipped();
    void strictReadingFailsWhole_data();
    void strictReadingFailsWhole();
    void lenientReadingSkipsBadLines();
    void shorterFileOverLonger_data();
    void shorterFileOverLonger();
    void missingEntriesReadEnglish_data();
    void missingEntriesReadEnglish();
    void stripAmpersands_data();
    void stripAmpersands();
    void firstLanguageFromLocale_data();
    void firstLanguageFromLocale();
    void onlyPlainLanguageFileNames_data();
    void onlyPlainLanguageFileNames();
    void tableHoldsTheFileLastRead_data();
    void tableHoldsTheFileLastRead();
};

void TestInterfaceTexts::labelsAreSkipped()
{
    TestFolder folder;
    QStringList lines;
    for (int i = 0; i < 131; ++i)
        lines << QStringLiteral("%1%2%3text %4").arg(QChar('a' + i % 26), "#", " ").arg(i);
    lines[5] = QStringLiteral("L05");
    lines[6] = QStringLiteral("L0");
    lines[7] = QStringLiteral("L07  padded  ");
    lines[8] = QStringLiteral("L08&Play");
    folder.write(QStringLiteral("Files/Lang/Test.lng"), lines);

    InterfaceTexts texts;
    QCOMPARE(texts.loadStrict(folder.filePath(QStringLiteral("Files/Lang/Test.lng"))), QString());
    QCOMPARE(texts.entry(0), QStringLiteral("text 0"));
    QCOMPARE(texts.entry(130), QStringLiteral("text 130"));
    // A line without a text leaves no empty caption: it reads English.
    QCOMPARE(texts.entry(5), shippedEnglish(5));
    QCOMPARE(texts.entry(6), shippedEnglish(6));
    QCOMPARE(texts.entry(7), QStringLiteral("  padded  "));
    QCOMPARE(texts.entry(8), QStringLiteral("&Play"));
    QCOMPARE(StripAmpersands(texts.entry(8)), QStringLiteral("Play"));
    QCOMPARE(texts.entry(131), shippedEnglish(131));
    QCOMPARE(texts.entry(-1), QString());
    QCOMPARE(texts.entry(InterfaceTexts::kCount), QString());
}

void TestInterfaceTexts::strictReadingFailsWhole_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("exists");
    QTest::addColumn<QString>("fault");

    const QByteArray good = QByteArray("000new\r\n").repeated(10);
    QTest::newRow("line of one character") << good + "x\r\n" << true << "line 11 is too short";
    QTest::newRow("empty line") << good + "\r\n000new" << true << "line 11 is too short";
    QTest::newRow("more lines than entries")
        << QByteArray("000new\r\n").repeated(InterfaceTexts::kCount + 1) << true
        << QStringLiteral("more than %1 lines").arg(InterfaceTexts::kCount);
    QTest::newRow("missing file") << QByteArray() << false << QString();
    QTest::newRow("empty file") << QByteArray() << true << "the file holds no texts";
    QTest::newRow("Windows-1252 bytes") << QByteArray("000caf\xc3\xa9\r\n001Velocit\xe0\r\n")
                                        << true << "line 2 is not valid UTF-8";
    QTest::newRow("overlong entry")
        << good + "000" + QByteArray(4097, 'a') << true << "line 11 is longer than 4096 characters";
}

void TestInterfaceTexts::strictReadingFailsWhole()
{
    QFETCH(QByteArray, bytes);
    QFETCH(bool, exists);
    QFETCH(QString, fault);
    TestFolder folder;
    if (exists)
        folder.writeBytes(QStringLiteral("Files/Lang/Bad.lng"), bytes);
    const QString path = folder.filePath(QStringLiteral("Files/Lang/Bad.lng"));

    InterfaceTexts texts;
    texts.setEntry(0, QStringLiteral("old"));
    const QString error = texts.loadStrict(path);
    QVERIFY(!error.isEmpty());
    if (!fault.isEmpty())
        QCOMPARE(error, fault);
    QCOMPARE(InterfaceTexts::checkFile(path), error);
    QCOMPARE(texts.entry(0), QStringLiteral("old"));
}

void TestInterfaceTexts::lenientReadingSkipsBadLines()
{
    TestFolder folder;
    QStringList lines(250, QStringLiteral("000new"));
    lines[3] = QStringLiteral("x");
    lines[4] = QStringLiteral("004");
    folder.write(QStringLiteral("Files/Lang/Long.lng"), lines);

    InterfaceTexts texts;
    texts.setEntry(3, QStringLiteral("kept"));
    texts.setEntry(4, QStringLiteral("old"));
    QVERIFY(texts.load(folder.filePath(QStringLiteral("Files/Lang/Long.lng"))));
    QCOMPARE(texts.entry(3), QStringLiteral("kept"));
    QCOMPARE(texts.entry(4), shippedEnglish(4));
    QCOMPARE(texts.entry(200), QStringLiteral("new"));

    QVERIFY(!texts.load(folder.filePath(QStringLiteral("Files/Lang/None.lng"))));
    QCOMPARE(texts.entry(200), QStringLiteral("new"));
}

void TestInterfaceTexts::shorterFileOverLonger_data()
{
    QTest::addColumn<bool>("strict");
    QTest::newRow("start-up reading") << true;
    QTest::newRow("later reading") << false;
}

void TestInterfaceTexts::shorterFileOverLonger()
{
    QFETCH(bool, strict);
    TestFolder folder;
    folder.writeLanguage(QStringLiteral("First.lng"), QStringLiteral("first"), 131);
    folder.writeLanguage(QStringLiteral("Second.lng"), QStringLiteral("second"), 120);

    InterfaceTexts texts;
    QCOMPARE(texts.loadStrict(folder.filePath(QStringLiteral("Files/Lang/First.lng"))), QString());
    const QString second = folder.filePath(QStringLiteral("Files/Lang/Second.lng"));
    QVERIFY(strict ? texts.loadStrict(second).isEmpty() : texts.load(second));
    QCOMPARE(texts.entry(0), QStringLiteral("second 0"));
    QCOMPARE(texts.entry(119), QStringLiteral("second 119"));
    if (strict) {
        // At start-up nothing came before: English.
        QCOMPARE(texts.entry(120), shippedEnglish(120));
        QCOMPARE(texts.entry(130), shippedEnglish(130));
    } else {
        // A language switch keeps the texts the shorter file does not have.
        QCOMPARE(texts.entry(120), QStringLiteral("first 120"));
        QCOMPARE(texts.entry(130), QStringLiteral("first 130"));
    }
    QCOMPARE(texts.entry(131), shippedEnglish(131));
}

void TestInterfaceTexts::missingEntriesReadEnglish_data()
{
    QTest::addColumn<int>("lines");
    QTest::addColumn<bool>("strict");
    for (const bool strict : {true, false}) {
        const char* how = strict ? "at start-up" : "later";
        // At start-up an empty file is refused.
        if (!strict)
            QTest::addRow("empty file, %s", how) << 0 << strict;
        QTest::addRow("ten lines, %s", how) << 10 << strict;
        QTest::addRow("old file without the newest entries, %s", how) << 132 << strict;
    }
}

void TestInterfaceTexts::missingEntriesReadEnglish()
{
    QFETCH(int, lines);
    QFETCH(bool, strict);
    TestFolder folder;
    folder.writeLanguage(QStringLiteral("Short.lng"), QStringLiteral("short"), lines);
    const QString path = folder.filePath(QStringLiteral("Files/Lang/Short.lng"));

    InterfaceTexts texts;
    QVERIFY(strict ? texts.loadStrict(path).isEmpty() : texts.load(path));
    for (int n = 0; n < InterfaceTexts::kCount; ++n) {
        const QString expected = n < lines ? QStringLiteral("short %1").arg(n) : shippedEnglish(n);
        QCOMPARE(texts.entry(n), expected);
        QCOMPARE(InterfaceTexts::builtInEntry(n), shippedEnglish(n));
    }
    QVERIFY(!texts.text(Text::LanguageFileRefused).isEmpty());
    QVERIFY(!texts.text(Text::FileMenu).isEmpty());
}

void TestInterfaceTexts::stripAmpersands_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected");
    QTest::newRow("empty") << ""
                           << "";
    QTest::newRow("accelerator") << "&Apri file..."
                                 << "Apri file...";
    QTest::newRow("inner") << "Sa&lva"
                           << "Salva";
    QTest::newRow("several") << "&&D&G&"
                             << "DG";
    QTest::newRow("none") << "Vocarta"
                          << "Vocarta";
}

void TestInterfaceTexts::stripAmpersands()
{
    QFETCH(QString, text);
    QFETCH(QString, expected);
    QCOMPARE(StripAmpersands(text), expected);
}

void TestInterfaceTexts::firstLanguageFromLocale_data()
{
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<QString>("file");
    QTest::newRow("Italy") << QLocale(QLocale::Italian, QLocale::Italy) << "Italiano.lng";
    QTest::newRow("Italian in Switzerland")
        << QLocale(QLocale::Italian, QLocale::Switzerland) << "Italiano.lng";
    QTest::newRow("Brazil") << QLocale(QLocale::Portuguese, QLocale::Brazil) << "Brazilian.lng";
    QTest::newRow("Portugal") << QLocale(QLocale::Portuguese, QLocale::Portugal) << "Brazilian.lng";
    QTest::newRow("Spain") << QLocale(QLocale::Spanish, QLocale::Spain) << "Spanish.lng";
    QTest::newRow("Mexico") << QLocale(QLocale::Spanish, QLocale::Mexico) << "Spanish.lng";
    QTest::newRow("Sweden") << QLocale(QLocale::Swedish, QLocale::Sweden) << "Svenska.lng";
    QTest::newRow("France") << QLocale(QLocale::French, QLocale::France) << "Français.lng";
    QTest::newRow("Hungary") << QLocale(QLocale::Hungarian, QLocale::Hungary) << "Hungarian.lng";
    QTest::newRow("Russia") << QLocale(QLocale::Russian, QLocale::Russia) << "Russian.lng";
    QTest::newRow("United States")
        << QLocale(QLocale::English, QLocale::UnitedStates) << "English.lng";
    QTest::newRow("Germany") << QLocale(QLocale::German, QLocale::Germany) << "English.lng";
    QTest::newRow("C") << QLocale::c() << "English.lng";
}

void TestInterfaceTexts::firstLanguageFromLocale()
{
    QFETCH(QLocale, locale);
    QFETCH(QString, file);
    QCOMPARE(defaultLanguageFile(locale), file);
}

void TestInterfaceTexts::onlyPlainLanguageFileNames_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("plain");
    QTest::newRow("bundled") << "English.lng" << true;
    QTest::newRow("letters beyond ASCII") << "Français.lng" << true;
    QTest::newRow("blanks") << "My language.lng" << true;
    QTest::newRow("starting with two dots") << "..lng" << true;
    QTest::newRow("empty") << "" << false;
    QTest::newRow("this folder") << "." << false;
    QTest::newRow("the folder above") << ".." << false;
    QTest::newRow("up and out") << "../../etc/passwd" << false;
    QTest::newRow("absolute") << "/etc/passwd" << false;
    QTest::newRow("a subfolder") << "Old/English.lng" << false;
    QTest::newRow("Windows separators") << "..\\..\\Vocarta.ini" << false;
    QTest::newRow("NUL inside") << QString::fromLatin1("a\0/../b", 8) << false;
}

void TestInterfaceTexts::onlyPlainLanguageFileNames()
{
    QFETCH(QString, name);
    QFETCH(bool, plain);
    QCOMPARE(isPlainLanguageFileName(name), plain);

    AppState state;
    state.programFolder = QStringLiteral("/opt/vocarta");
    state.languageFile = name;
    QCOMPARE(state.languagePath(),
             plain ? QStringLiteral("/opt/vocarta/Files/Lang/") + name : QString());
}

void TestInterfaceTexts::tableHoldsTheFileLastRead_data()
{
    QTest::addColumn<QString>("then");
    QTest::addColumn<bool>("holdsFirst");
    QTest::addColumn<bool>("holdsSecond");
    QTest::newRow("read once") << "" << true << false;
    QTest::newRow("an entry changed") << "set" << false << false;
    QTest::newRow("another file read") << "second" << false << true;
    QTest::newRow("another file refused") << "broken" << true << false;
    QTest::newRow("a missing file") << "missing" << true << false;
}

void TestInterfaceTexts::tableHoldsTheFileLastRead()
{
    QFETCH(QString, then);
    QFETCH(bool, holdsFirst);
    QFETCH(bool, holdsSecond);
    TestFolder folder;
    folder.write(QStringLiteral("first.lng"), {QStringLiteral("L0One")});
    folder.write(QStringLiteral("second.lng"), {QStringLiteral("L0Two")});
    folder.write(QStringLiteral("broken.lng"), {QStringLiteral("L0Three"), QStringLiteral("x")});
    const QString first = folder.filePath(QStringLiteral("first.lng"));
    const QString second = folder.filePath(QStringLiteral("second.lng"));

    InterfaceTexts texts;
    QVERIFY(!texts.holdsFile(first));
    QCOMPARE(texts.loadStrict(first), QString());
    if (then == QLatin1String("set"))
        texts.setEntry(0, QStringLiteral("Changed"));
    else if (then == QLatin1String("second"))
        QVERIFY(texts.load(second));
    else if (then == QLatin1String("broken"))
        QVERIFY(!texts.loadStrict(folder.filePath(QStringLiteral("broken.lng"))).isEmpty());
    else if (then == QLatin1String("missing"))
        QVERIFY(!texts.load(folder.filePath(QStringLiteral("missing.lng"))));

    QCOMPARE(texts.holdsFile(first), holdsFirst);
    QCOMPARE(texts.holdsFile(second), holdsSecond);
    QVERIFY(!texts.holdsFile(QString()));
}

QTEST_GUILESS_MAIN(TestInterfaceTexts)
#include "tst_interfacetexts.moc"
