// The help and donation menus: the About window in place of the other windows, and the pages
// handed to the desktop.

#include "Controls.h"
#include "PlayerFixture.h"
#include "ui/AboutDialog.h"
#include "ui/CreditsScroll.h"
#include "ui/HelpController.h"
#include "ui/HelpFiles.h"
#include "ui/HelpWindow.h"
#include "ui/WebSite.h"

#include <QSignalSpy>
#include <QTest>

namespace {

// A player with its help wired as start-up wires it.
struct HelpFixture : PlayerFixture {
    HelpController help{state, Platform{&media, &dialogs, &desktop}, *player->control(),
                        player.get()};

    explicit HelpFixture(const StoredSettings& settings = defaultSettings())
        : PlayerFixture(settings)
    {
        player->setHelp(&help);
    }

    AboutDialog* openAbout()
    {
        action(player, "aboutAction")->trigger();
        return help.aboutDialog();
    }
};

} // namespace

class TestHelp : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void aboutCaption_data();
    void aboutCaption();
    void aboutShowsNameVersionAndTexts();
    void scrollRestsOnceAtTheEnd();
    void windowsHiddenAndRestored_data();
    void windowsHiddenAndRestored();
    void endingProgramClosesTheAboutWindowForGood();
    void whatClosesTheAboutWindow_data();
    void whatClosesTheAboutWindow();
    void helpPageOfTheLanguage_data();
    void helpPageOfTheLanguage();
    void pagesOpenAndThePlayerMinimises_data();
    void pagesOpenAndThePlayerMinimises();
    void pageNotShownIsToldAndWindowsStay_data();
    void pageNotShownIsToldAndWindowsStay();
    void soundSettings();
};

void TestHelp::aboutCaption_data()
{
    QTest::addColumn<QString>("entry");
    QTest::addColumn<QString>("caption");
    QTest::newRow("Italian") << "&Informazioni sul programma..."
                             << "Informazioni sul programma";
    QTest::newRow("no dots") << "&Info"
                             << "Info";
    QTest::newRow("dots inside") << "A... b"
                                 << "A... b";
    QTest::newRow("only dots") << "..."
                               << "";
}

void TestHelp::aboutCaption()
{
    QFETCH(QString, entry);
    QFETCH(QString, caption);
    QCOMPARE(AboutDialog::caption(entry), caption);
}

void TestHelp::aboutShowsNameVersionAndTexts()
{
    HelpFixture f;
    f.state.texts.setText(Text::About, QStringLiteral("&Informazioni sul programma..."));
    AboutDialog* about = f.openAbout();
    QVERIFY(about && about->isVisible());
    QCOMPARE(about->windowTitle(), QStringLiteral("Informazioni sul programma"));
    QCOMPARE(label(about, "titleLabel")->text(), QStringLiteral("Vocarta Free"));
    QCOMPARE(label(about, "versionLabel")->text(), QStringLiteral("en 117 1.11.0.0"));
    QCOMPARE(label(about, "descriptionLabel")->text(), QStringLiteral("en 22"));
    QCOMPARE(label(about, "homePageCaption")->text(), QStringLiteral("en 118:"));
    QVERIFY(label(about, "copyrightLabel")->text().endsWith(QStringLiteral(" - en 23")));
    QCOMPARE(label(about, "homePageLink")->text(), QString::fromLatin1(WebSite::kAddress));
    // The version follows the title on its line.
    QVERIFY(label(about, "versionLabel")->x() > label(about, "titleLabel")->geometry().right());
    QCOMPARE(about->panelTop(), CreditsScroll::kStartTop);
}

void TestHelp::scrollRestsOnceAtTheEnd()
{
    constexpr int kViewport = 2200;
    constexpr int kPanel = 3000;
    CreditsScroll scroll(kViewport, kPanel);
    const int end = kViewport - kPanel;
    int ticks = 0;
    while (scroll.top() > end) {
        scroll.step();
        ++ticks;
    }
    QCOMPARE(scroll.top(), end);
    QCOMPARE(ticks, (CreditsScroll::kStartTop - end) / CreditsScroll::kStep);
    for (int i = 0; i < CreditsScroll::kPauseTicks; ++i) {
        scroll.step();
        QCOMPARE(scroll.top(), end);
    }
    scroll.step();
    QCOMPARE(scroll.top(), end - CreditsScroll::kStep);
    // Up and out at the top, then in again from below.
    while (scroll.top() < kViewport)
        scroll.step();
    QCOMPARE(scroll.top(), CreditsScroll::kStartTop);
    // The second time past the end it does not rest.
    while (scroll.top() > end)
        scroll.step();
    scroll.step();
    QCOMPARE(scroll.top(), end - CreditsScroll::kStep);
}

void TestHelp::windowsHiddenAndRestored_data()
{
    QTest::addColumn<bool>("editorShown");
    QTest::addColumn<bool>("bookmarksShown");
    QTest::newRow("editor shown") << true << false;
    QTest::newRow("editor hidden") << false << false;
    QTest::newRow("both shown") << true << true;
    QTest::newRow("bookmarks shown") << false << true;
}

void TestHelp::windowsHiddenAndRestored()
{
    QFETCH(bool, editorShown);
    QFETCH(bool, bookmarksShown);
    StoredSettings settings = PlayerFixture::defaultSettings();
    settings.editorVisible = editorShown;
    HelpFixture f(settings);
    if (bookmarksShown) {
        f.player->control()->setBookmarkMenuShown(true);
        f.bookmarks.widget.show();
    }
    QCOMPARE(f.editor.widget.isVisible(), editorShown);

    AboutDialog* about = f.openAbout();
    QVERIFY(about->isVisible());
    QVERIFY(!f.player->isVisible());
    QVERIFY(!f.editor.widget.isVisible());
    QVERIFY(!f.bookmarks.widget.isVisible());

    about->close();
    QVERIFY(f.player->isVisible());
    QCOMPARE(f.editor.widget.isVisible(), editorShown);
    QCOMPARE(f.bookmarks.widget.isVisible(), bookmarksShown);
    QTRY_VERIFY(!f.help.aboutDialog());
}

void TestHelp::endingProgramClosesTheAboutWindowForGood()
{
    HelpFixture f;
    AboutDialog* about = f.openAbout();
    f.player->sessionKeeper()->endWithoutAsking();
    about->close();
    QVERIFY(!f.player->isVisible());
    QVERIFY(!f.editor.widget.isVisible());
}

void TestHelp::whatClosesTheAboutWindow_data()
{
    QTest::addColumn<QString>("what");
    QTest::addColumn<bool>("closes");
    QTest::newRow("Escape in the scrolling frame") << "escape" << true;
    QTest::newRow("click on the title") << "titleLabel" << true;
    QTest::newRow("click on the copyright") << "copyrightLabel" << true;
    QTest::newRow("click on the window") << "window" << true;
    QTest::newRow("click on the home page") << "homePageLink" << false;
}

void TestHelp::whatClosesTheAboutWindow()
{
    QFETCH(QString, what);
    QFETCH(bool, closes);
    HelpFixture f;
    AboutDialog* about = f.openAbout();
    QVERIFY(timer(about, "scrollTimer")->isActive());
    QSignalSpy finished(about, &QDialog::finished);

    if (what == QLatin1String("escape"))
        QTest::keyClick(named<QWidget>(about, "creditsFrame"), Qt::Key_Escape);
    else if (what == QLatin1String("window"))
        QTest::mouseClick(about, Qt::LeftButton, {}, QPoint(5, 5));
    else
        QTest::mouseClick(label(about, qPrintable(what)), Qt::LeftButton);

    QCOMPARE(finished.size(), closes ? 1 : 0);
    QCOMPARE(about->isVisible(), !closes);
    QCOMPARE(f.player->isVisible(), closes);
    const QList<QUrl> homePage = {WebSite::page()};
    QCOMPARE(f.desktop.openedUrls, closes ? QList<QUrl>() : homePage);
    if (closes)
        QVERIFY(!timer(about, "scrollTimer")->isActive());
}

void TestHelp::helpPageOfTheLanguage_data()
{
    QTest::addColumn<QString>("languageFile");
    QTest::addColumn<QString>("code");
    QTest::newRow("Spanish") << "Spanish.lng"
                             << "en";
    QTest::newRow("English") << "English.lng"
                             << "en";
    QTest::newRow("Italian") << "Italiano.lng"
                             << "it";
    QTest::newRow("Italian in capitals") << "ITALIANO.LNG"
                                         << "it";
    QTest::newRow("Russian") << "Russian.lng"
                             << "ru";
    QTest::newRow("Brazilian") << "Brazilian.lng"
                               << "en";
}

void TestHelp::helpPageOfTheLanguage()
{
    QFETCH(QString, languageFile);
    QFETCH(QString, code);
    QCOMPARE(HelpFiles::languageCode(languageFile), code);

    HelpFixture f;
    f.state.languageFile = languageFile;
    action(f.player, "helpAction")->trigger();
    const QString page = f.folder.filePath(QStringLiteral("Files/Help-%1.html").arg(code));
    QCOMPARE(f.desktop.openedUrls, QList<QUrl>{QUrl::fromLocalFile(page)});
    QVERIFY(f.player->isMinimized());
}

void TestHelp::pagesOpenAndThePlayerMinimises_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<QUrl>("page");
    QTest::newRow("version history") << "versionsAction" << QUrl();
    QTest::newRow("updates") << "updatesAction" << WebSite::page(WebSite::kUpdatesPage);
    QTest::newRow("donation") << "donateAction" << WebSite::page(WebSite::kDonationPage);
    QTest::newRow("languages") << "addLanguageAction" << WebSite::page(WebSite::kLanguagesPage);
}

void TestHelp::pagesOpenAndThePlayerMinimises()
{
    QFETCH(QString, command);
    QFETCH(QUrl, page);
    HelpFixture f;
    if (page.isEmpty())
        page = QUrl::fromLocalFile(f.folder.filePath(QStringLiteral("Versioni.txt")));
    f.editor.widget.show();

    action(f.player, qPrintable(command))->trigger();

    QCOMPARE(f.desktop.openedUrls, QList<QUrl>{page});
    QVERIFY(f.player->isMinimized());
    QVERIFY(!f.editor.widget.isVisible());
}

void TestHelp::pageNotShownIsToldAndWindowsStay_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("lacking");
    QTest::addColumn<QString>("told"); // the message, or the help window's title
    const QString noBrowser = QStringLiteral("No web browser was found to show this page:\n");
    QTest::newRow("updates") << "updatesAction"
                             << "browser"
                             << noBrowser + WebSite::page(WebSite::kUpdatesPage).toString();
    QTest::newRow("languages") << "addLanguageAction"
                               << "programs"
                               << noBrowser + WebSite::page(WebSite::kLanguagesPage).toString();
    QTest::newRow("help, no browser") << "helpAction"
                                      << "browser"
                                      << "window en 16";
    QTest::newRow("history, no program") << "versionsAction"
                                         << "programs"
                                         << "window en 102";
    QTest::newRow("history missing") << "versionsAction"
                                     << "file"
                                     << "en 37\n";
}

void TestHelp::pageNotShownIsToldAndWindowsStay()
{
    QFETCH(QString, command);
    QFETCH(QString, lacking);
    QFETCH(QString, told);
    HelpFixture f;
    f.desktop.browser = lacking != QLatin1String("browser");
    f.desktop.programs = lacking != QLatin1String("programs");
    if (lacking == QLatin1String("file")) {
        told += f.folder.filePath(QStringLiteral("Versioni.txt"));
        QVERIFY(QFile::remove(told.section(u'\n', 1)));
    }
    f.editor.widget.show();

    action(f.player, qPrintable(command))->trigger();

    const HelpWindow* window = f.help.helpWindow();
    QCOMPARE(window ? QStringLiteral("window ") + window->windowTitle()
                    : f.dialogs.messages.value(0).text,
             told);
    QVERIFY(f.desktop.openedUrls.isEmpty() && f.dialogs.messages.size() == (window ? 0 : 1));
    QVERIFY(!f.player->isMinimized() && f.editor.widget.isVisible());
    // Shown as a page, not as its source.
    QVERIFY(!window || !window->toPlainText().contains(QLatin1String("<p>")));
}

void TestHelp::soundSettings()
{
    HelpFixture f;
    action(f.player, "audioSettingsAction")->trigger();
    QCOMPARE(f.desktop.soundSettingsOpened, 1);
    QVERIFY(!f.player->isMinimized());
}

QTEST_MAIN(TestHelp)
#include "tst_help.moc"
