#include "Controls.h"
#include "PlayerFixture.h"
#include "core/SettingsFile.h"
#include "platform/Twips.h"
#include "player/PlayerWindow.h"

#include <QAction>
#include <QSignalSpy>
#include <QTest>

namespace {

QStringList settingsLines(const QString& onTop = QStringLiteral("0"),
                          const QString& editorFlag = QStringLiteral("0"))
{
    QStringList lines = PlayerFixture::defaultSettings();
    lines[7] = editorFlag;
    lines[14] = onTop;
    lines[22] = QStringLiteral("1");
    return lines;
}

using Fixture = PlayerFixture;

} // namespace

class TestPlayerLifecycle : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void everyWayOutRunsTheWholeClosingSequence_data();
    void everyWayOutRunsTheWholeClosingSequence();
    void cancelInTheQuestionKeepsEverythingOpen();
    void failedSaveCancelsTheCloseButKeepsSettings();
    void storedSettingsAreApplied_data();
    void storedSettingsAreApplied();
    void zeroEditorSizeLeavesWindowsInPlace();
    void saveSettingsWritesTheLiveState();
    void unwritableFolderStillCloses();
    void minimiseHidesCompanionsRestoreShowsWhatMenusSay();
};

void TestPlayerLifecycle::everyWayOutRunsTheWholeClosingSequence_data()
{
    QTest::addColumn<QString>("way");
    QTest::newRow("closing the window") << "close";
    QTest::newRow("exit command") << "menu";
    QTest::newRow("Escape") << "escape";
    QTest::newRow("Ctrl+Q") << "ctrl-q";
}

void TestPlayerLifecycle::everyWayOutRunsTheWholeClosingSequence()
{
    QFETCH(QString, way);
    Fixture f(settingsLines());
    f.player->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(f.player.get()));
    f.journal.clear();

    if (way == "close")
        f.player->close();
    else if (way == "menu")
        action(f.player, "exitAction")->trigger();
    else if (way == "escape")
        QTest::keyClick(f.player.get(), Qt::Key_Escape);
    else
        QTest::keyClick(f.player.get(), Qt::Key_Q, Qt::ControlModifier);

    const QStringList expected = {"bookmarks saved",   "editor question", "settings saved",
                                  "bookmarks closing", "find hidden",     "media stop",
                                  "editor unloaded",   "program ended"};
    QCOMPARE(f.journal, expected);
    QVERIFY(!f.player->isVisible());
    QVERIFY(!f.player->acceptDrops());
}

void TestPlayerLifecycle::cancelInTheQuestionKeepsEverythingOpen()
{
    Fixture f(settingsLines());
    f.editor.widget.show();
    const QByteArray settingsBefore = f.folder.readBytes(QStringLiteral("Files/Vocarta.ini"));
    f.editor.answer = EditorCommands::ExitAnswer::Cancel;
    f.journal.clear();

    action(f.player, "exitAction")->trigger();

    QCOMPARE(f.journal, (QStringList{"bookmarks saved", "editor question"}));
    QVERIFY(f.player->isVisible());
    QVERIFY(f.editor.widget.isVisible());
    QVERIFY(f.player->acceptDrops());
    QCOMPARE(f.folder.readBytes(QStringLiteral("Files/Vocarta.ini")), settingsBefore);

    // The user can still leave afterwards.
    f.editor.answer = EditorCommands::ExitAnswer::Proceed;
    f.player->close();
    QCOMPARE(f.journal.last(), QStringLiteral("program ended"));
}

void TestPlayerLifecycle::failedSaveCancelsTheCloseButKeepsSettings()
{
    Fixture f(settingsLines());
    f.editor.answer = EditorCommands::ExitAnswer::SaveFailed;
    f.journal.clear();

    f.player->close();

    QCOMPARE(f.journal, (QStringList{"bookmarks saved", "editor question", "settings saved"}));
    QVERIFY(f.player->isVisible());
}

void TestPlayerLifecycle::storedSettingsAreApplied_data()
{
    QTest::addColumn<QString>("onTopLine");
    QTest::addColumn<bool>("onTop");
    QTest::newRow("line 15 is 0") << "0" << true;
    QTest::newRow("line 15 is empty") << "" << true;
    QTest::newRow("line 15 is 1") << "1" << false;
}

void TestPlayerLifecycle::storedSettingsAreApplied()
{
    QFETCH(QString, onTopLine);
    QFETCH(bool, onTop);
    Fixture f(settingsLines(onTopLine));

    QCOMPARE(action(f.player, "alwaysOnTopAction")->isChecked(), onTop);
    QCOMPARE(f.player->windowFlags().testFlag(Qt::WindowStaysOnTopHint), onTop);
    // Placed at 50, 50 whether or not it stays on top, even with a stored position.
    QCOMPARE(f.player->pos(), QPoint(50, 50));

    QCOMPARE(f.editor.widget.pos(), QPoint(Twips::toPixels(1200), Twips::toPixels(3000)));
    QCOMPARE(f.editor.widget.size(), QSize(Twips::toPixels(9000), Twips::toPixels(4500)));
    QVERIFY(f.editor.widget.isVisible());

    QCOMPARE(f.state.jumpSeconds, 6);
    QCOMPARE(f.state.backSeconds, 3);
    QCOMPARE(f.state.playTime, 9);
    QCOMPARE(f.state.pauseTime, 4);
    QCOMPARE(f.state.editorFolder, QStringLiteral("/home/ada"));
    QVERIFY(!action(f.player, "fullPathAction")->isChecked());
    QVERIFY(action(f.player, "smartPlayAction")->isChecked());
}

void TestPlayerLifecycle::zeroEditorSizeLeavesWindowsInPlace()
{
    QStringList lines = settingsLines(QStringLiteral("0"), QStringLiteral("1"));
    lines[12] = QStringLiteral("0");
    lines[13] = QStringLiteral("0");
    Fixture f(lines);

    QVERIFY(f.editor.widget.pos() != QPoint(Twips::toPixels(1200), Twips::toPixels(3000)));
    QVERIFY(f.editor.widget.size() != QSize(Twips::toPixels(9000), 0));
    QVERIFY(!f.editor.widget.isVisible());
}

void TestPlayerLifecycle::saveSettingsWritesTheLiveState()
{
    Fixture f(settingsLines());
    f.state.jumpSeconds = 11;
    f.state.languageFile = QStringLiteral("Italiano.lng");
    action(f.player, "alwaysOnTopAction")->setChecked(false);
    action(f.player, "smartPlayAction")->setChecked(false);
    f.editor.widget.hide();

    f.player->saveSettings();

    const auto lines = SettingsFile::read(f.state.settingsPath());
    QVERIFY(lines);
    const QStringList written = SettingsFile::lines(*lines);
    QCOMPARE(written.size(), 23);
    QCOMPARE(written[0], QStringLiteral("Italiano.lng"));
    QCOMPARE(written[1], QStringLiteral("50"));  // the volume as read
    QCOMPARE(written[2], QStringLiteral("795")); // the knob as read
    QCOMPARE(written[3], QStringLiteral("11"));
    QCOMPARE(written[7], QStringLiteral("1")); // editor hidden
    QCOMPARE(written[8], QString::number(Twips::fromPixels(f.player->pos().x())));
    QCOMPARE(written[12],
             QString::number(Twips::fromPixels(f.editor.widget.frameGeometry().width())));
    QCOMPARE(written[14], QStringLiteral("1")); // not on top
    QCOMPARE(written[22], QStringLiteral("0"));
    QVERIFY(f.folder.readBytes(QStringLiteral("Files/Vocarta.ini")).endsWith("\r\n"));
}

void TestPlayerLifecycle::unwritableFolderStillCloses()
{
    Fixture f(settingsLines());
    // The settings file's place is taken by a folder: it cannot be replaced.
    QFile::remove(f.state.settingsPath());
    QDir().mkpath(f.state.settingsPath() + QStringLiteral("/blocked"));
    f.journal.clear();

    f.player->close();

    QVERIFY(f.journal.contains(QStringLiteral("settings failed")));
    QCOMPARE(f.journal.last(), QStringLiteral("program ended"));
}

void TestPlayerLifecycle::minimiseHidesCompanionsRestoreShowsWhatMenusSay()
{
    Fixture f(settingsLines());
    f.editor.widget.show();
    f.bookmarks.widget.show();
    action(f.player, "editorAction")->setText(f.state.texts.text(Text::HideEditor));
    action(f.player, "bookmarkWindowAction")->setText(f.state.texts.text(Text::ShowBookmarks));

    f.player->setWindowState(Qt::WindowMinimized);
    QVERIFY(!f.editor.widget.isVisible());
    QVERIFY(!f.bookmarks.widget.isVisible());

    f.player->setWindowState(Qt::WindowNoState);
    QVERIFY(f.editor.widget.isVisible());
    QVERIFY(!f.bookmarks.widget.isVisible());
}

QTEST_MAIN(TestPlayerLifecycle)
#include "tst_playerlifecycle.moc"
