#include "Controls.h"
#include "PlayerFixture.h"
#include "core/SettingsFile.h"
#include "platform/Twips.h"
#include "player/PlayerWindow.h"

#include <QAction>
#include <QRegularExpression>
#include <QScreen>
#include <QSignalSpy>
#include <QTest>

namespace {

StoredSettings settings(bool onTop = true, bool editorVisible = true)
{
    StoredSettings s = PlayerFixture::defaultSettings();
    s.editorVisible = editorVisible;
    s.alwaysOnTop = onTop;
    s.smartPlay = true;
    return s;
}

using Fixture = PlayerFixture;

} // namespace

class TestPlayerLifecycle : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void everyWayOutRunsTheWholeClosingSequence_data();
    void everyWayOutRunsTheWholeClosingSequence();
    void storedSettingsAreApplied_data();
    void storedSettingsAreApplied();
    void zeroEditorSizeLeavesWindowsInPlace();
    void saveSettingsWritesTheLiveState();
    void unwritableFolderStillCloses();
    void companionsHiddenForTheWhileAreSavedAsShown_data();
    void companionsHiddenForTheWhileAreSavedAsShown();
    void anEditorStoredOffEveryScreenIsBroughtBack_data();
    void anEditorStoredOffEveryScreenIsBroughtBack();
    void aStartAndAnEndKeepTheSettingsFile_data();
    void aStartAndAnEndKeepTheSettingsFile();
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
    Fixture f(settings());
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

void TestPlayerLifecycle::storedSettingsAreApplied_data()
{
    QTest::addColumn<bool>("onTop");
    QTest::newRow("on top") << true;
    QTest::newRow("not on top") << false;
}

void TestPlayerLifecycle::storedSettingsAreApplied()
{
    QFETCH(bool, onTop);
    Fixture f(settings(onTop));

    QCOMPARE(action(f.player, "alwaysOnTopAction")->isChecked(), onTop);
    QCOMPARE(f.player->windowFlags().testFlag(Qt::WindowStaysOnTopHint), onTop);
    // Placed at 50, 50 whether or not it stays on top, even with a stored position.
    QCOMPARE(f.player->pos(), QPoint(50, 50));

    QCOMPARE(f.editor.widget.pos(), QPoint(Twips::toPixels(1200), Twips::toPixels(3000)));
    QCOMPARE(f.editor.widget.size(), QSize(Twips::toPixels(9000), Twips::toPixels(4500)));
    QVERIFY(f.editor.widget.isVisible());

    QCOMPARE(f.option(&TransportOptions::skipSeconds), 6);
    QCOMPARE(f.option(&TransportOptions::backSeconds), 3);
    QCOMPARE(f.option(&TransportOptions::playTime), 9);
    QCOMPARE(f.option(&TransportOptions::pauseTime), 4);
    QCOMPARE(f.state.editorFolder, QStringLiteral("/home/ada"));
    QVERIFY(!action(f.player, "fullPathAction")->isChecked());
    QVERIFY(action(f.player, "smartPlayAction")->isChecked());
}

void TestPlayerLifecycle::zeroEditorSizeLeavesWindowsInPlace()
{
    StoredSettings s = settings(true, false);
    s.editorWidth = 0;
    s.editorHeight = 0;
    Fixture f(s);

    QVERIFY(f.editor.widget.pos() != QPoint(Twips::toPixels(1200), Twips::toPixels(3000)));
    QVERIFY(f.editor.widget.size() != QSize(Twips::toPixels(9000), 0));
    QVERIFY(!f.editor.widget.isVisible());
}

void TestPlayerLifecycle::saveSettingsWritesTheLiveState()
{
    Fixture f(settings());
    f.setOption(&TransportOptions::skipSeconds, 11);
    f.state.languageFile = QStringLiteral("Italiano.lng");
    action(f.player, "alwaysOnTopAction")->setChecked(false);
    action(f.player, "smartPlayAction")->setChecked(false);
    f.editor.widget.hide();

    f.player->sessionKeeper()->save();

    const auto written = SettingsFile::read(f.state.settingsPath());
    QVERIFY(written);
    QCOMPARE(written->languageFile, QStringLiteral("Italiano.lng"));
    QCOMPARE(written->volume, 50);     // the volume as read
    QCOMPARE(written->knobTop, 795.0); // the knob as read
    QCOMPARE(written->jumpSeconds, 11);
    QVERIFY(!written->editorVisible);
    QCOMPARE(written->playerLeft, Twips::fromPixels(f.player->pos().x()));
    QCOMPARE(written->editorWidth, Twips::fromPixels(f.editor.widget.width()));
    QVERIFY(!written->alwaysOnTop);
    QVERIFY(!written->smartPlay);
    QVERIFY(f.folder.readBytes(QStringLiteral("Files/Vocarta.ini")).endsWith("\r\n"));
}

void TestPlayerLifecycle::unwritableFolderStillCloses()
{
    Fixture f(settings());
    // The settings file's place is taken by a folder: it cannot be replaced.
    QFile::remove(f.state.settingsPath());
    QDir().mkpath(f.state.settingsPath() + QStringLiteral("/blocked"));
    f.journal.clear();

    // The failure is not lost: the log names it every time, the user is told once.
    for (int i = 0; i < 2; ++i)
        QTest::ignoreMessage(QtWarningMsg,
                             QRegularExpression(QStringLiteral("^Settings not saved: .+")));
    f.player->sessionKeeper()->save();
    f.player->close();

    QVERIFY(f.journal.contains(QStringLiteral("settings failed")));
    QCOMPARE(f.dialogs.messages.size(), 1);
    const QStringList told = f.dialogs.messages.first().text.split(QLatin1Char('\n'));
    QCOMPARE(told.size(), 3);
    QCOMPARE(told[0], f.state.texts.plain(Text::SaveFailed));
    QCOMPARE(told[1], f.state.settingsPath());
    QVERIFY(!told[2].isEmpty());
    QCOMPARE(f.journal.last(), QStringLiteral("program ended"));
}

void TestPlayerLifecycle::companionsHiddenForTheWhileAreSavedAsShown_data()
{
    QTest::addColumn<bool>("minimised"); // else hidden behind the About window
    QTest::addColumn<bool>("editorShown");
    QTest::addColumn<bool>("bookmarksShown");
    QTest::newRow("minimised, both shown") << true << true << true;
    QTest::newRow("minimised, editor hidden") << true << false << true;
    QTest::newRow("About, both shown") << false << true << true;
    QTest::newRow("About, bookmarks hidden") << false << true << false;
}

void TestPlayerLifecycle::companionsHiddenForTheWhileAreSavedAsShown()
{
    QFETCH(bool, minimised);
    QFETCH(bool, editorShown);
    QFETCH(bool, bookmarksShown);
    Fixture f(settings(true, editorShown));
    QCOMPARE(f.editor.widget.isVisible(), editorShown);
    f.player->control()->setBookmarkMenuShown(bookmarksShown);
    f.bookmarks.widget.setVisible(bookmarksShown);

    if (minimised)
        f.player->setWindowState(Qt::WindowMinimized);
    else
        f.player->control()->hideWindows();
    QVERIFY(!f.editor.widget.isVisible());
    QVERIFY(!f.bookmarks.widget.isVisible());
    // The program ends now, by a signal or the end of the desktop session.
    QVERIFY(f.player->sessionKeeper()->save());

    const auto written = SettingsFile::read(f.state.settingsPath());
    QVERIFY(written);
    QCOMPARE(written->editorVisible, editorShown);
    QCOMPARE(written->bookmarksVisible, bookmarksShown);
}

void TestPlayerLifecycle::anEditorStoredOffEveryScreenIsBroughtBack_data()
{
    // Stored twips; the test screen is at least 800 x 600 pixels, 15 twips each.
    QTest::addColumn<QRect>("stored");
    QTest::addColumn<bool>("stays");
    QTest::newRow("on screen") << QRect(1200, 3000, 9000, 4500) << true;
    QTest::newRow("reaching past the right edge") << QRect(10000, 3000, 9000, 4500) << false;
    QTest::newRow("larger than the screen, as at twice the scale")
        << QRect(0, 0, 24900, 14850) << false;
    QTest::newRow("beyond the right and the bottom") << QRect(30000, 30000, 9000, 4500) << false;
    QTest::newRow("beyond the left and the top") << QRect(-30000, -30000, 9000, 4500) << false;
    QTest::newRow("above the top, title bar hidden") << QRect(1200, -2000, 9000, 4500) << false;
    QTest::newRow("off screen and larger than it") << QRect(-32000, 0, 32000, 32000) << false;
}

void TestPlayerLifecycle::anEditorStoredOffEveryScreenIsBroughtBack()
{
    QFETCH(QRect, stored);
    QFETCH(bool, stays);
    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    QVERIFY2(area.width() >= 800 && area.height() >= 600, "the rows assume an 800 x 600 screen");
    StoredSettings s = settings();
    s.editorLeft = stored.left();
    s.editorTop = stored.top();
    s.editorWidth = stored.width();
    s.editorHeight = stored.height();
    Fixture f(s);

    const QWidget& editor = f.editor.widget;
    if (stays) {
        QCOMPARE(editor.pos(),
                 QPoint(Twips::toPixels(stored.left()), Twips::toPixels(stored.top())));
        QCOMPARE(editor.size(),
                 QSize(Twips::toPixels(stored.width()), Twips::toPixels(stored.height())));
    } else {
        // The frame's decorations are not known before the first window is shown.
        QVERIFY2(area.contains(QRect(editor.pos(), editor.size())),
                 qPrintable(QStringLiteral("%1,%2 %3x%4")
                                .arg(editor.x())
                                .arg(editor.y())
                                .arg(editor.width())
                                .arg(editor.height())));
        // Kept as large as it was where the screen has room for it.
        const QSize storedSize(Twips::toPixels(stored.width()), Twips::toPixels(stored.height()));
        QCOMPARE(editor.size(), storedSize.boundedTo(area.size()));
    }
}

void TestPlayerLifecycle::aStartAndAnEndKeepTheSettingsFile_data()
{
    // A user's file as the program writes it today: Italian editor folder, skip 6, step back 3,
    // smart play 12/4 and on, the player where every start puts it (50, 50), not on top, the
    // bookmark window hidden at its last place.
    const QByteArray user = "English.lng\r\n50\r\n795\r\n6\r\n3\r\n0\r\n/home/ada/Trascrizioni\r\n"
                            "%1\r\n750\r\n750\r\n1200\r\n3000\r\n9000\r\n4500\r\n1\r\n1\r\n"
                            "5790\r\n750\r\n3150\r\n2400\r\n12\r\n4\r\n1\r\n";
    QTest::addColumn<bool>("editorShown");
    QTest::addColumn<QByteArray>("stored");
    QTest::newRow("editor framed on screen") << true << QByteArray(user).replace("%1", "0");
    QTest::newRow("editor never shown") << false << QByteArray(user).replace("%1", "1");
}

void TestPlayerLifecycle::aStartAndAnEndKeepTheSettingsFile()
{
    QFETCH(bool, editorShown);
    QFETCH(QByteArray, stored);
    Fixture f(settings(), QString(), [&stored](Fixture& f) {
        f.folder.writeBytes(QStringLiteral("Files/Vocarta.ini"), stored);
        f.bookmarks.windowMade = false;
    });
    // The window manager's frame, known only once shown, is left out of what is kept.
    QVERIFY(f.editor.widget.frameGeometry().size() != f.editor.widget.size() || !editorShown);

    QVERIFY(f.player->sessionKeeper()->save());
    QCOMPARE(f.folder.readBytes(QStringLiteral("Files/Vocarta.ini")), stored);
}

QTEST_MAIN(TestPlayerLifecycle)
#include "tst_playerlifecycle.moc"
