#include "TestFolder.h"
#include "core/ProgramFolder.h"

#include <QTest>

class TestProgramFolder : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void portableCopyUsesItsOwnFolder();
    void userFolderIsFilledWithoutOverwriting();
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

QTEST_GUILESS_MAIN(TestProgramFolder)
#include "tst_programfolder.moc"
