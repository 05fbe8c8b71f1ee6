#include "RecordingDialogs.h"
#include "TestFolder.h"
#include "core/AppState.h"
#include "core/RecentFilesMenu.h"
#include "platform/TextFile.h"

#include <QDir>
#include <QMenu>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTest>

class TestRecentFilesMenu : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void listFollowsTheFilesOpened_data();
    void listFollowsTheFilesOpened();
};

void TestRecentFilesMenu::listFollowsTheFilesOpened_data()
{
    QTest::addColumn<bool>("deferred");
    QTest::addColumn<QString>("onDisk");
    QTest::addColumn<QString>("steps");
    QTest::addColumn<QString>("shown");
    // onDisk: the list file's lines ("-" none, "/" a folder in its place). Steps: l loads, r
    // remembers, u remembers until refused, k keeps, b takes back, s saves if due, e runs the
    // event loop, c chooses an entry. Shown: the menu (| a separator), the file, the chosen path
    // and the boxes shown.
    const QString placeholders = QStringLiteral("mnuRecent1,mnuRecent2,mnuRecent3");
    QTest::newRow("first") << false << "-"
                           << "r:A"
                           << "A | / A," + placeholders + " /  / 0";
    QTest::newRow("read, free places hidden") << false << "A,,B&C,mnuRecent4"
                                              << "l c:3"
                                              << "A B&&C | / A,,B&C,mnuRecent4 / B&C / 0";
    QTest::newRow("placeholders only") << false << "mnuRecent1"
                                       << "l"
                                       << "| / mnuRecent1 /  / 0";
    QTest::newRow("moves up, letter case differs") << false << "A,B,C,D"
                                                   << "l r:C r:E r:D r:c"
                                                   << "c D E C | / c,D,E,C /  / 0";
    QTest::newRow("a line break is not listed") << false << "-"
                                                << "r:A r:x\ny"
                                                << "A | / A," + placeholders + " /  / 0";
    QTest::newRow("deferred") << true << "-"
                              << "r:A"
                              << "| A / - /  / 0";
    QTest::newRow("deferred, event loop") << true << "-"
                                          << "r:A e"
                                          << "| A / A," + placeholders + " /  / 0";
    QTest::newRow("deferred, due at the end") << true << "-"
                                              << "r:A s"
                                              << "| A / A," + placeholders + " /  / 0";
    QTest::newRow("refused, put back") << true << "A"
                                       << "l u:B b e"
                                       << "| A / A,mnuRecent2,mnuRecent3,mnuRecent4 /  / 0";
    QTest::newRow("refused, put back to none") << true << "-"
                                               << "u:B b e"
                                               << " / " + placeholders + ",mnuRecent4 /  / 0";
    QTest::newRow("kept") << true << "A"
                          << "l u:B k b e"
                          << "| B A / B,A,mnuRecent2,mnuRecent3 /  / 0";
    QTest::newRow("unsavable, told once") << false << "/"
                                          << "r:A r:B"
                                          << "B A | / - /  / 1";
}

void TestRecentFilesMenu::listFollowsTheFilesOpened()
{
    QFETCH(bool, deferred);
    QFETCH(QString, onDisk);
    QFETCH(QString, steps);
    QFETCH(QString, shown);
    TestFolder folder;
    AppState state;
    state.programFolder = folder.path();
    const QString file = state.filesPath(QStringLiteral("LastFiles.ini"));
    if (onDisk == QLatin1String("/"))
        QVERIFY(QDir().mkpath(file + QStringLiteral("/in the way")));
    else if (onDisk != QLatin1String("-"))
        folder.write(QStringLiteral("Files/LastFiles.ini"), onDisk.split(u','));
    RecordingDialogs dialogs;
    QWidget window;
    QMenu menu(&window);
    using M = RecentFilesMenu;
    M recent(state, &dialogs, QStringLiteral("LastFiles.ini"),
             deferred ? M::Saving::FromEventLoop : M::Saving::AtOnce, &window);
    // The player's separator comes before the entries, the editor's after them.
    recent.addEntries(&menu, deferred ? M::SeparatorPlace::Before : M::SeparatorPlace::After);
    QSignalSpy chosen(&recent, &M::chosen);

    for (const QString& step : steps.split(u' ')) {
        const QString path = step.mid(2);
        switch (step.at(0).toLatin1()) {
        case 'l':
            recent.load();
            break;
        case 'r':
            if (onDisk == QLatin1String("/"))
                QTest::ignoreMessage(QtWarningMsg, QRegularExpression("^Recent files not saved: "));
            recent.remember(path);
            break;
        case 'u':
            recent.rememberUntilRefused(path);
            break;
        case 'k':
            recent.keepChanges();
            break;
        case 'b':
            recent.takeBack();
            break;
        case 's':
            recent.saveIfDue();
            break;
        case 'e':
            QCoreApplication::processEvents();
            break;
        case 'c':
            menu.findChild<QAction*>("recentAction" + path)->trigger();
            break;
        }
    }

    QStringList seen;
    for (const QAction* entry : menu.actions()) {
        if (entry->isVisible())
            seen << (entry->isSeparator() ? QStringLiteral("|") : entry->text());
    }
    const auto lines = readTextLines(file);
    seen = QStringList{seen.join(u' '), lines ? lines->join(u',') : QStringLiteral("-"),
                       chosen.isEmpty() ? QString() : chosen.first().first().toString(),
                       QString::number(dialogs.messages.size())};
    QCOMPARE(seen.join(QStringLiteral(" / ")), shown);
}

QTEST_MAIN(TestRecentFilesMenu)
#include "tst_recentfilesmenu.moc"
