#include "TestFolder.h"
#include "core/ProgramFolder.h"

#include <QRegularExpression>
#include <QTest>

class TestProgramFolder : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void portableCopyUsesItsOwnFolder();
    void userFolderIsFilledWithoutOverwriting();
    void copiesThatFailAreLogged();
};

void TestProgramFolder::portableCopyUsesItsOwnFolder()
{
    TestFolder exe;
    TestFolder user;
    exe.write(QStringLiteral("Files/Vocarta.ini"), {QStringLiteral("English.lng")});
    QCOMPARE(ProgramFolder::locate(exe.path(), user.filePath(QStringLiteral("data")), QString()),
             exe.path());
    QVERIFY(!QFileInfo::exists(user.filePath(QStringLiteral("data"))));
}

void TestProgramFolder::userFolderIsFilledWithoutOverwriting()
{
    TestFolder exe;
    TestFolder installed;
    TestFolder user;
    installed.write(QStringLiteral("Files/Vocarta.ini"), {QStringLiteral("default")});
    installed.write(QStringLiteral("Files/Lang/English.lng"), {QStringLiteral("000a")});
    installed.write(QStringLiteral("Files/Lang/Italiano.lng"), {QStringLiteral("000b")});
    const QString data = user.filePath(QStringLiteral("share/vocarta"));
    user.write(QStringLiteral("share/vocarta/Files/Vocarta.ini"), {QStringLiteral("mine")});
    user.write(QStringLiteral("share/vocarta/Files/Lang/English.lng"), {QStringLiteral("000own")});

    QCOMPARE(ProgramFolder::locate(exe.path(), data, installed.path()), data);

    QCOMPARE(user.readBytes(QStringLiteral("share/vocarta/Files/Vocarta.ini")),
             QByteArray("mine\r\n"));
    QCOMPARE(user.readBytes(QStringLiteral("share/vocarta/Files/Lang/English.lng")),
             QByteArray("000own\r\n"));
    QCOMPARE(user.readBytes(QStringLiteral("share/vocarta/Files/Lang/Italiano.lng")),
             QByteArray("000b\r\n"));
}

void TestProgramFolder::copiesThatFailAreLogged()
{
    TestFolder exe;
    TestFolder installed;
    TestFolder user;
    installed.write(QStringLiteral("Files/Vocarta.ini"), {QStringLiteral("default")});
    installed.write(QStringLiteral("Help.html"), {QStringLiteral("<p>help</p>")});
    // A file where the settings folder should be: nothing can be copied below it.
    user.writeBytes(QStringLiteral("data/Files"), "in the way");
    const QString data = user.filePath(QStringLiteral("data"));

    QTest::ignoreMessage(QtWarningMsg,
                         QRegularExpression(QStringLiteral("^Default files not copied: .*"
                                                           "Files/Vocarta.ini: .+")));
    QCOMPARE(ProgramFolder::locate(exe.path(), data, installed.path()), data);
    // What could be copied was.
    QCOMPARE(user.readBytes(QStringLiteral("data/Help.html")), QByteArray("<p>help</p>\r\n"));

    QString error;
    QVERIFY(!ProgramFolder::fillMissing(installed.path(), data, &error));
    QVERIFY2(error.contains(QStringLiteral("Vocarta.ini")), qPrintable(error));
    QVERIFY(ProgramFolder::fillMissing(installed.path(), exe.path(), &error));
    QVERIFY(error.isEmpty());
}

QTEST_GUILESS_MAIN(TestProgramFolder)
#include "tst_programfolder.moc"
