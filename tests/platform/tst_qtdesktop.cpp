#include "platform/QtDesktop.h"

#include <QSet>
#include <QTest>

class TestQtDesktop : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void soundSettingsCommand_data();
    void soundSettingsCommand();
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

QTEST_GUILESS_MAIN(TestQtDesktop)
#include "tst_qtdesktop.moc"
