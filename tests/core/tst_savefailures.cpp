#include "RecordingDialogs.h"
#include "core/InterfaceTexts.h"
#include "core/SaveFailures.h"

#include <QTest>

class TestSaveFailures : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void eachFileIsToldOnce_data();
    void eachFileIsToldOnce();
};

void TestSaveFailures::eachFileIsToldOnce_data()
{
    QTest::addColumn<QStringList>("failed");
    QTest::addColumn<bool>("quiet");
    QTest::addColumn<QStringList>("told");
    QTest::newRow("one file twice")
        << QStringList{"/a.ini", "/a.ini"} << false << QStringList{"/a.ini"};
    QTest::newRow("two files") << QStringList{"/a.ini", "/b.bm", "/a.ini"} << false
                               << QStringList{"/a.ini", "/b.bm"};
    QTest::newRow("quiet tells nothing") << QStringList{"/a.ini", "/b.bm"} << true << QStringList{};
}

void TestSaveFailures::eachFileIsToldOnce()
{
    QFETCH(QStringList, failed);
    QFETCH(bool, quiet);
    QFETCH(QStringList, told);
    InterfaceTexts texts;
    texts.setText(Text::ProgramName, QStringLiteral("&Vocarta"));
    texts.setText(Text::SaveFailed, QStringLiteral("Not &saved"));
    RecordingDialogs dialogs;
    SaveFailures failures;
    failures.setQuiet(quiet);

    for (const QString& path : failed)
        failures.tell(dialogs, nullptr, texts, path, QStringLiteral("Disk full"));

    QCOMPARE(dialogs.messages.size(), told.size());
    for (int i = 0; i < told.size(); ++i) {
        QCOMPARE(dialogs.messages[i].title, QStringLiteral("Vocarta"));
        QCOMPARE(dialogs.messages[i].text,
                 QStringLiteral("Not saved\n") + told[i] + QStringLiteral("\nDisk full"));
        QCOMPARE(dialogs.messages[i].icon, QMessageBox::Warning);
    }
}

QTEST_MAIN(TestSaveFailures)
#include "tst_savefailures.moc"
