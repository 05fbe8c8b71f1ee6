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
    QTest::addColumn<QUrl>("page");
    QTest::addColumn<bool>("inBrowser");
    QTest::addColumn<QString>("defaults"); // "type=program ..."; "?" when the desktop cannot tell
    QTest::addColumn<bool>("shown");
    const QUrl web(QStringLiteral("https://example.org/page.html"));
    const QUrl help = QUrl::fromLocalFile(QStringLiteral("/opt/vocarta/Files/Help-en.html"));
    const QUrl text = QUrl::fromLocalFile(QStringLiteral("/opt/vocarta/Versioni.txt"));
    const QString browser = QStringLiteral("x-scheme-handler/https=firefox.desktop ");
    QTest::newRow("web page") << web << true << browser << true;
    QTest::newRow("web page, no browser") << web << true << "" << false;
    QTest::newRow("help in the browser")
        << help << true << browser + "text/html=firefox.desktop" << true;
    QTest::newRow("help in another browser")
        << help << true << browser + "text/html=chromium.desktop" << true;
    QTest::newRow("help in a text editor")
        << help << true << browser + "text/html=vim.desktop" << false;
    QTest::newRow("text in an editor") << text << false << "text/plain=vim.desktop" << true;
    QTest::newRow("text, no program") << text << false << browser << false;
    QTest::newRow("desktop cannot tell") << help << true << "?" << true;
}

void TestQtDesktop::wouldShow()
{
    QFETCH(QUrl, page);
    QFETCH(bool, inBrowser);
    QFETCH(QString, defaults);
    QFETCH(bool, shown);
    const auto defaultProgram = [&defaults](const QString& type) -> std::optional<QString> {
        if (defaults == QLatin1String("?"))
            return std::nullopt;
        return defaults.section(type + u'=', 1).section(u' ', 0, 0);
    };
    const auto isWebBrowser = [](const QString& entry) { return entry == "chromium.desktop"; };
    QCOMPARE(QtDesktop::wouldShow(page, inBrowser, defaultProgram, isWebBrowser), shown);
}

QTEST_GUILESS_MAIN(TestQtDesktop)
#include "tst_qtdesktop.moc"
