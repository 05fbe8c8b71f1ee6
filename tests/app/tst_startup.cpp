#include "Controls.h"
#include "FakeMediaPlayer.h"
#include "RecordingDesktop.h"
#include "RecordingDialogs.h"
#include "TestFolder.h"
#include "app/Startup.h"
#include "bookmarks/BookmarkController.h"
#include "core/AppState.h"
#include "platform/Platform.h"
#include "platform/TextFile.h"
#include "player/PlayerWindow.h"
#include "player/SkinButton.h"

#include <QLabel>
#include <QMenu>
#include <QRegularExpression>
#include <QTest>

namespace {

struct Fixture {
    TestFolder folder;
    AppState state;
    RecordingDialogs dialogs;
    RecordingDesktop desktop;
    FakeMediaPlayer media;
    Platform platform{&media, &dialogs, &desktop};

    Fixture() { state.programFolder = folder.path(); }

    // The player of a started run; the session keeps the rest of it.
    std::unique_ptr<PlayerWindow>& start(const QLocale& locale = QLocale(QLocale::English))
    {
        session = Startup::start(state, platform, QString(), locale);
        return session.player;
    }

    Startup::Session session;
};

} // namespace

class TestStartup : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void fatalStarts_data();
    void fatalStarts();
    void secondInstanceEndsWithItsMessage();
    void secondInstanceHandsItsFileOver_data();
    void secondInstanceHandsItsFileOver();
    void emptyLanguageLineFollowsLocale_data();
    void emptyLanguageLineFollowsLocale();
    void startShowsPlayerInLanguageOfSettings();
    void shortLanguageFileShowsEnglishForTheRest_data();
    void shortLanguageFileShowsEnglishForTheRest();
    void languageFileOutsideLangIsRefused_data();
    void languageFileOutsideLangIsRefused();
    void commandLinePath_data();
    void commandLinePath();
    void commandLineNameEndingInASpace();
};

void TestStartup::fatalStarts_data()
{
    QTest::addColumn<QByteArray>("settings"); // "-": no file
    QTest::addColumn<QByteArray>("language"); // "-": no file
    QTest::addColumn<QString>("file");        // the file the box names
    QTest::newRow("no settings file")
        << QByteArray("-") << QByteArray("000a\r\n") << "Files/Vocarta.ini";
    QTest::newRow("empty settings file")
        << QByteArray("") << QByteArray("000a\r\n") << "Files/Vocarta.ini";
    QTest::newRow("language file missing")
        << QByteArray("Missing.lng\r\n") << QByteArray("-") << "Files/Lang/Missing.lng";
    QTest::newRow("language line too short")
        << QByteArray("Test.lng\r\n") << QByteArray("000a\r\nx\r\n002b\r\n")
        << "Files/Lang/Test.lng";
    QTest::newRow("language file empty")
        << QByteArray("Test.lng\r\n") << QByteArray("") << "Files/Lang/Test.lng";
    QTest::newRow("language file too long")
        << QByteArray("Test.lng\r\n") << QByteArray("000a\r\n").repeated(InterfaceTexts::kCount + 1)
        << "Files/Lang/Test.lng";
}

void TestStartup::fatalStarts()
{
    QFETCH(QByteArray, settings);
    QFETCH(QByteArray, language);
    QFETCH(QString, file);
    Fixture f;
    if (settings != "-")
        f.folder.writeBytes(QStringLiteral("Files/Vocarta.ini"), settings);
    if (language != "-")
        f.folder.writeBytes(QStringLiteral("Files/Lang/Test.lng"), language);

    QVERIFY(!f.start());
    QCOMPARE(f.dialogs.messages.size(), 1);
    const auto& box = f.dialogs.messages.first();
    QCOMPARE(box.title, QStringLiteral("Reg Error"));
    QVERIFY2(box.text.startsWith(QStringLiteral("Lib OCX -> Reg ERROR!\n")), qPrintable(box.text));
    // The system's reason, then the file.
    const QStringList lines = box.text.split(QLatin1Char('\n'));
    QCOMPARE(lines.size(), 3);
    QVERIFY2(!lines[1].isEmpty(), "the box names the error");
    QCOMPARE(lines[2], f.folder.filePath(file));
    QCOMPARE(box.icon, QMessageBox::Warning);
}

void TestStartup::secondInstanceEndsWithItsMessage()
{
    Fixture f;
    f.folder.write(QStringLiteral("Files/Vocarta.ini"), {QStringLiteral("Test.lng"), "50"});
    f.folder.write(QStringLiteral("Files/Lang/Test.lng"),
                   {QStringLiteral("000Vocarta is &already running."), "001&Vocarta"});
    const QByteArray before = f.folder.readBytes(QStringLiteral("Files/Vocarta.ini"));
    f.desktop.anotherInstanceRuns = true;

    QVERIFY(!f.start());
    QCOMPARE(f.dialogs.messages.size(), 1);
    QCOMPARE(f.dialogs.messages.first().text, QStringLiteral("Vocarta is already running."));
    QCOMPARE(f.dialogs.messages.first().title, QStringLiteral("Vocarta"));
    QCOMPARE(f.dialogs.messages.first().icon, QMessageBox::Warning);
    QCOMPARE(f.folder.readBytes(QStringLiteral("Files/Vocarta.ini")), before);
}

void TestStartup::secondInstanceHandsItsFileOver_data()
{
    QTest::addColumn<QString>("commandLine");
    QTest::addColumn<bool>("taken"); // by the running instance
    QTest::addColumn<QStringList>("handedOver");
    QTest::addColumn<int>("boxes");
    QTest::newRow("file taken") << "/tmp/a.wav" << true << QStringList{"/tmp/a.wav"} << 0;
    QTest::newRow("file not taken") << "/tmp/a.wav" << false << QStringList{"/tmp/a.wav"} << 1;
    QTest::newRow("no file") << "" << true << QStringList() << 1;
}

void TestStartup::secondInstanceHandsItsFileOver()
{
    QFETCH(QString, commandLine);
    QFETCH(bool, taken);
    QFETCH(QStringList, handedOver);
    QFETCH(int, boxes);
    Fixture f;
    f.folder.write(QStringLiteral("Files/Vocarta.ini"), {QStringLiteral("Test.lng"), "50"});
    f.folder.write(QStringLiteral("Files/Lang/Test.lng"),
                   {QStringLiteral("000Vocarta is &already running."), "001&Vocarta"});
    f.desktop.anotherInstanceRuns = true;
    QStringList given;
    const auto session = Startup::start(f.state, f.platform, commandLine, QLocale(QLocale::English),
                                        [&](const QString& path) {
                                            given << path;
                                            return taken;
                                        });
    QVERIFY(!session.player);
    QCOMPARE(given, handedOver);
    QCOMPARE(f.dialogs.messages.size(), boxes);
}

void TestStartup::emptyLanguageLineFollowsLocale_data()
{
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<QString>("languageFile");
    QTest::addColumn<QString>("menuFile");
    QTest::newRow("Italian user") << QLocale(QLocale::Italian, QLocale::Italy) << "Italiano.lng"
                                  << "it 2";
    QTest::newRow("English user") << QLocale(QLocale::English, QLocale::UnitedKingdom)
                                  << "English.lng"
                                  << "en 2";
    QTest::newRow("language without a file falls back to English")
        << QLocale(QLocale::French, QLocale::France) << "English.lng"
        << "en 2";
}

void TestStartup::emptyLanguageLineFollowsLocale()
{
    QFETCH(QLocale, locale);
    QFETCH(QString, languageFile);
    QFETCH(QString, menuFile);
    Fixture f;
    f.folder.write(QStringLiteral("Files/Vocarta.ini"), {QStringLiteral("   "), "50"});
    f.folder.writeLanguage(QStringLiteral("Italiano.lng"), QStringLiteral("it"));
    f.folder.writeLanguage(QStringLiteral("English.lng"), QStringLiteral("en"));

    const auto& player = f.start(locale);
    QVERIFY(player);
    QCOMPARE(f.state.languageFile, languageFile);
    QCOMPARE(named<QMenu>(player, "fileMenu")->title(), menuFile);
    QVERIFY(f.dialogs.messages.isEmpty());
}

void TestStartup::startShowsPlayerInLanguageOfSettings()
{
    Fixture f;
    f.folder.write(QStringLiteral("Files/Vocarta.ini"), {QStringLiteral("English.lng"), "50"});
    f.folder.writeLanguage(QStringLiteral("Italiano.lng"), QStringLiteral("it"));
    f.folder.writeLanguage(QStringLiteral("English.lng"), QStringLiteral("en"));

    const auto& player = f.start(QLocale(QLocale::Italian));
    QVERIFY(player);
    QVERIFY(player->isVisible());
    QCOMPARE(player->windowTitle(), QStringLiteral("Vocarta"));
    QCOMPARE(action(player, "openAction")->text(), QStringLiteral("en 3"));
    QCOMPARE(action(player, "languageAction")->text(), QStringLiteral("&en 15"));
    QCOMPARE(action(player, "recordAction")->text(), QStringLiteral("en 104..."));
    QCOMPARE(button(player, "playButton")->toolTip(), QStringLiteral(" en 78 "));
    QCOMPARE(named<QLabel>(volumeKnob(player), "knobHandle")->toolTip(), QStringLiteral(" en 27 "));
    QCOMPARE(action(player, "bookmarkWindowAction")->text(), QStringLiteral("en 84"));
    QCOMPARE(label(player, "positionLabel")->text(), QStringLiteral("0:00 / 0:00"));
    for (QAction* closedOnly :
         {action(player, "playAction"), action(player, "stopAction"), action(player, "goToAction"),
          action(player, "closeAction"), action(player, "addBookmarkAction"),
          action(player, "speedUpAction")})
        QVERIFY2(!closedOnly->isEnabled(), qPrintable(closedOnly->text()));
    QVERIFY(action(player, "openAction")->isEnabled());
    QVERIFY(!recentAction(player, 0)->isVisible());
}

void TestStartup::shortLanguageFileShowsEnglishForTheRest_data()
{
    QTest::addColumn<int>("lines");
    QTest::newRow("three lines") << 3;
    QTest::newRow("without the newest entries") << 132;
}

void TestStartup::shortLanguageFileShowsEnglishForTheRest()
{
    QFETCH(int, lines);
    Fixture f;
    f.folder.write(QStringLiteral("Files/Vocarta.ini"), {QStringLiteral("Short.lng"), "50"});
    f.folder.writeLanguage(QStringLiteral("Short.lng"), QStringLiteral("short"), lines);

    const auto& player = f.start();
    QVERIFY(player);
    QCOMPARE(named<QMenu>(player, "fileMenu")->title(),
             lines > 2 ? QStringLiteral("short 2") : shippedEnglish(2));
    QCOMPARE(action(player, "bookmarkWindowAction")->text(),
             lines > 84 ? QStringLiteral("short 84") : shippedEnglish(84));
    QCOMPARE(f.state.texts.text(Text::EngineNotLoaded), shippedEnglish(136));
}

void TestStartup::languageFileOutsideLangIsRefused_data()
{
    QTest::addColumn<QString>("name"); // "<folder>" stands for the program folder
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<QString>("languageFile");
    QTest::addColumn<QString>("prefix");
    const QLocale english(QLocale::English, QLocale::UnitedKingdom);
    QTest::newRow("up and out") << "../../Secret.txt" << english << "English.lng"
                                << "en";
    QTest::newRow("absolute") << "<folder>/Secret.txt" << english << "English.lng"
                              << "en";
    QTest::newRow("a subfolder of Lang") << "Sub/Test.lng" << english << "English.lng"
                                         << "en";
    QTest::newRow("the folder above") << ".." << english << "English.lng"
                                      << "en";
    QTest::newRow("Lang itself") << "." << english << "English.lng"
                                 << "en";
    QTest::newRow("Windows separators") << "..\\..\\Secret.txt" << english << "English.lng"
                                        << "en";
    QTest::newRow("Italian user gets Italian")
        << "../../Secret.txt" << QLocale(QLocale::Italian, QLocale::Italy) << "Italiano.lng"
        << "it";
    QTest::newRow("language without a file gets English")
        << "../../Secret.txt" << QLocale(QLocale::French, QLocale::France) << "English.lng"
        << "en";
}

void TestStartup::languageFileOutsideLangIsRefused()
{
    QFETCH(QString, name);
    QFETCH(QLocale, locale);
    QFETCH(QString, languageFile);
    QFETCH(QString, prefix);
    Fixture f;
    name.replace(QStringLiteral("<folder>"), f.folder.path());
    f.folder.write(QStringLiteral("Files/Vocarta.ini"), {name, "50"});
    // Files a refused name could reach; each would load as a language of its own.
    f.folder.writeLanguage(QStringLiteral("../../Secret.txt"), QStringLiteral("secret"));
    f.folder.writeLanguage(QStringLiteral("Sub/Test.lng"), QStringLiteral("sub"));
    f.folder.writeLanguage(QStringLiteral("Italiano.lng"), QStringLiteral("it"));
    f.folder.writeLanguage(QStringLiteral("English.lng"), QStringLiteral("en"));

    QTest::ignoreMessage(QtWarningMsg,
                         QRegularExpression(QStringLiteral("^Language file name refused.*") +
                                            QRegularExpression::escape(name)));
    const auto& player = f.start(locale);
    QVERIFY(player);
    QCOMPARE(f.state.languageFile, languageFile);
    QCOMPARE(named<QMenu>(player, "fileMenu")->title(), prefix + " 2");
    QCOMPARE(f.dialogs.messages.size(), 1);
    const auto& box = f.dialogs.messages.first();
    QCOMPARE(box.title, prefix + " 1");
    QCOMPARE(box.text, prefix + " 134\n" + name);
    QCOMPARE(box.icon, QMessageBox::Warning);
}

void TestStartup::commandLinePath_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("path");
    QTest::newRow("none") << QStringList{"vocarta"} << "";
    QTest::newRow("one") << QStringList{"vocarta", "/tmp/a.wav"} << "/tmp/a.wav";
    QTest::newRow("split by blanks")
        << QStringList{"vocarta", "/tmp/my", "talk.mp3"} << "/tmp/my talk.mp3";
    QTest::newRow("trimmed") << QStringList{"vocarta", "  /tmp/b.wav "} << "/tmp/b.wav";
}

void TestStartup::commandLinePath()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, path);
    QCOMPARE(Startup::commandLinePath(arguments), path);
}

void TestStartup::commandLineNameEndingInASpace()
{
    TestFolder folder;
    folder.writeBytes(QStringLiteral("talk.wav "), "RIFF");
    const QString spaced = folder.filePath(QStringLiteral("talk.wav "));
    QCOMPARE(Startup::commandLinePath({QStringLiteral("vocarta"), spaced}), spaced);
    // A name that does not exist with its blanks is taken without them.
    const QString other = folder.filePath(QStringLiteral("other.wav"));
    QCOMPARE(Startup::commandLinePath({QStringLiteral("vocarta"), other + QStringLiteral("  ")}),
             other);
}

QTEST_MAIN(TestStartup)
#include "tst_startup.moc"
