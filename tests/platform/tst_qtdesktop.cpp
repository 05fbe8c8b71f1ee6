#include "platform/QtDesktop.h"

#include <QSet>
#include <QTest>

class TestQtDesktop : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void soundSettingsCommand_data();
    void soundSettingsCommand();
    void wouldShow_data();
    void wouldShow();
};

void TestQtDesktop::soundSettingsCommand_data()
{
    QTest::addColumn<QString>("configured");
    QTest::addColumn<QStringList>("installed");
    QTest::addColumn<QStringList>("command");

    QTest::newRow("configured, with its arguments")
        << "my-mixer --tab \"output devices\"" << QStringList{"my-mixer", "pavucontrol"}
        << QStringList{"/usr/bin/my-mixer", "--tab", "output devices"};
    QTest::newRow("configured but not installed")
        << "my-mixer" << QStringList{"pavucontrol"} << QStringList{"/usr/bin/pavucontrol"};
    QTest::newRow("first known one") << "" << QStringList{"xfce4-mixer", "gnome-control-center"}
                                     << QStringList{"/usr/bin/gnome-control-center", "sound"};
    QTest::newRow("none") << "" << QStringList{"vlc"} << QStringList();
}

void TestQtDesktop::soundSettingsCommand()
{
    QFETCH(QString, configured);
    QFETCH(QStringList, installed);
    QFETCH(QStringList, command);
    const QSet<QString> there(installed.begin(), installed.end());
    const auto find = [&there](const QString& program) {
        return there.contains(program) ? QStringLiteral("/usr/bin/") + program : QString();
    };
    QCOMPARE(QtDesktop::soundSettingsCommand(configured, find), command);
}

void TestQtDesktop::wouldShow_data()
{
    QTest::addColumn<QString>("page");
    QTest::addColumn<bool>("inBrowser");
    QTest::addColumn<QStringList>("defaults"); // "type=program"; "?" when the desktop cannot tell
    QTest::addColumn<bool>("shown");
    const QString web = QStringLiteral("https://example.org/page.html");
    const QString help = QStringLiteral("/opt/vocarta/Files/Help-en.html");
    const QString text = QStringLiteral("/opt/vocarta/Versioni.txt");
    const QString browser = QStringLiteral("x-scheme-handler/https=firefox.desktop");
    QTest::newRow("web page") << web << true << QStringList{browser} << true;
    QTest::newRow("web page, no browser") << web << true << QStringList() << false;
    QTest::newRow("help, HTML in the browser")
        << help << true << QStringList{browser, "text/html=firefox.desktop"} << true;
    QTest::newRow("help, HTML in another browser")
        << help << true << QStringList{browser, "text/html=chromium.desktop"} << true;
    QTest::newRow("help, HTML in a text editor")
        << help << true << QStringList{browser, "text/html=vim.desktop"} << false;
    QTest::newRow("help, nothing for HTML") << help << true << QStringList{browser} << false;
    QTest::newRow("text file in an editor")
        << text << false << QStringList{"text/plain=vim.desktop"} << true;
    QTest::newRow("text file, no program") << text << false << QStringList{browser} << false;
    QTest::newRow("desktop cannot tell") << help << true << QStringList{"?"} << true;
}

void TestQtDesktop::wouldShow()
{
    QFETCH(QString, page);
    QFETCH(bool, inBrowser);
    QFETCH(QStringList, defaults);
    QFETCH(bool, shown);
    const auto defaultProgram = [&defaults](const QString& type) -> std::optional<QString> {
        if (defaults.contains(QStringLiteral("?")))
            return std::nullopt;
        for (const QString& entry : defaults) {
            if (entry.section(u'=', 0, 0) == type)
                return entry.section(u'=', 1);
        }
        return QString();
    };
    const auto isWebBrowser = [](const QString& entry) {
        return entry == QLatin1String("chromium.desktop");
    };
    const QUrl url = page.startsWith(u'/') ? QUrl::fromLocalFile(page) : QUrl(page);
    QCOMPARE(QtDesktop::wouldShow(url, inBrowser, defaultProgram, isWebBrowser), shown);
}

QTEST_GUILESS_MAIN(TestQtDesktop)
#include "tst_qtdesktop.moc"
