#include "Controls.h"
#include "PlayerFixture.h"
#include "player/CaptionLabel.h"
#include "player/PlaybackController.h"
#include "player/SkinButton.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QTest>

Q_DECLARE_METATYPE(Text)

namespace {

QString image(const SkinButton* button)
{
    return QFileInfo(button->imagePath()).fileName();
}

} // namespace

class TestTransport : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void busyPointerOnlyForLongWaits_data();
    void busyPointerOnlyForLongWaits();
    void openingStartsPlaybackFromZero();
    void pauseStepsBackAndResumeOnlyPlays();
    void resumeAtZeroPausesFirst();
    void skips_data();
    void skips();
    void stopShowsZeroAndTheLength();
    void endOfMediaIsNoticedByTheWatch();
    void displayTexts_data();
    void displayTexts();
    void unknownLengthLeavesTitleOpen();
    void focusGoesBackToTheEditor();
    void nothingLoadedIsHarmless();
    void goodFileAfterARefusedOneShowsItsTitle();
    void theTitleSaysWhyNothingPlays_data();
    void theTitleSaysWhyNothingPlays();
    void playButtonShowsTheRealState_data();
    void playButtonShowsTheRealState();
};

void TestTransport::openingStartsPlaybackFromZero()
{
    PlayerFixture f;
    f.media.calls.clear();
    const QString path = f.open(QStringLiteral("lecture.wav"));

    QCOMPARE(f.media.url(), path);
    QCOMPARE(f.media.playState(), MediaPlayer::State::Playing);
    QVERIFY(f.media.calls.contains(QStringLiteral("play")));
    QVERIFY(f.player->playback()->isPlaying());
    QCOMPARE(action(f.player, "playAction")->text(), f.state.texts.text(Text::Pause));
    QVERIFY(timer(f.player, "refreshTimer")->isActive());
    QCOMPARE(timer(f.player, "refreshTimer")->interval(), 100);
    QVERIFY(titleLabel(f.player)->isVisible());
    for (QAction* a :
         {action(f.player, "playAction"), action(f.player, "stopAction"),
          action(f.player, "goToAction"), action(f.player, "closeAction"),
          action(f.player, "addBookmarkAction"), action(f.player, "bookmarkWindowAction")})
        QVERIFY2(a->isEnabled(), qPrintable(a->text()));
    QCOMPARE(image(button(f.player, "playButton")), QStringLiteral("pause.jpg"));
}

void TestTransport::pauseStepsBackAndResumeOnlyPlays()
{
    PlayerFixture f;
    f.setOption(&TransportOptions::backSeconds, 5);
    f.open(QStringLiteral("talk.wav"));
    f.media.advance(3.0);
    f.media.calls.clear();

    f.player->control()->togglePlayPause();
    QCOMPARE(f.media.calls, (QStringList{"seek -2", "pause"}));
    QVERIFY(!f.player->playback()->isPlaying());
    QCOMPARE(action(f.player, "playAction")->text(), f.state.texts.text(Text::Play));
    QVERIFY(!timer(f.player, "smartPlayTimer")->isActive());

    f.media.setCurrentPosition(40);
    f.media.calls.clear();
    f.player->control()->togglePlayPause();
    QCOMPARE(f.media.calls, (QStringList{"play"}));
    QVERIFY(f.player->playback()->isPlaying());
    QVERIFY(timer(f.player, "watchTimer")->isActive());
}

void TestTransport::resumeAtZeroPausesFirst()
{
    PlayerFixture f;
    f.open(QStringLiteral("talk.wav"));
    f.player->control()->togglePlayPause(); // pause at 0, stepping back to 0
    f.media.calls.clear();

    f.player->control()->togglePlayPause();
    QCOMPARE(f.media.calls, (QStringList{"pause", "play"}));
}

void TestTransport::skips_data()
{
    QTest::addColumn<int>("jump");
    QTest::addColumn<bool>("forward");
    QTest::addColumn<double>("expected");
    QTest::newRow("forward 6") << 6 << true << 26.0;
    QTest::newRow("back 6") << 6 << false << 14.0;
    QTest::newRow("unset jump moves 2") << 0 << true << 22.0;
    QTest::newRow("back past the start") << 30 << false << 0.0;
}

void TestTransport::skips()
{
    QFETCH(int, jump);
    QFETCH(bool, forward);
    QFETCH(double, expected);
    PlayerFixture f;
    f.open(QStringLiteral("talk.wav"));
    f.media.advance(20);
    f.player->control()->togglePlayPause(); // paused at 17
    f.media.setCurrentPosition(20);
    f.setOption(&TransportOptions::skipSeconds, jump);

    if (forward)
        f.player->control()->skipForward();
    else
        f.player->control()->skipBack();

    QCOMPARE(f.media.currentPosition(), expected);
    QCOMPARE(f.media.playState(), MediaPlayer::State::Paused);
    QVERIFY(!f.player->playback()->isPlaying());
    if (jump == 0)
        QCOMPARE(f.option(&TransportOptions::skipSeconds), 2);
    if (expected > 0)
        QCOMPARE(label(f.player, "positionLabel")->text(),
                 formatMediaTime(expected) + QStringLiteral(" / 03:20"));
}

void TestTransport::stopShowsZeroAndTheLength()
{
    PlayerFixture f;
    f.open(QStringLiteral("talk.wav"));
    f.media.advance(42);

    f.player->control()->stop();

    QCOMPARE(label(f.player, "positionLabel")->text(), QStringLiteral("0:00 / 03:20"));
    QVERIFY(!f.player->playback()->isPlaying());
    QCOMPARE(action(f.player, "playAction")->text(), f.state.texts.text(Text::Play));
    QCOMPARE(image(button(f.player, "playButton")), QStringLiteral("play.jpg"));
    QVERIFY(!timer(f.player, "refreshTimer")->isActive());
    QCOMPARE(f.media.currentPosition(), 0.0);
}

void TestTransport::endOfMediaIsNoticedByTheWatch()
{
    PlayerFixture f;
    f.media.loadedDuration = 30;
    f.open(QStringLiteral("short.wav"));
    f.media.advance(31);

    f.player->playback()->watchPlaybackState();

    QVERIFY(!timer(f.player, "watchTimer")->isActive());
    QCOMPARE(label(f.player, "positionLabel")->text(), QStringLiteral("0:00 / 00:30"));
    QCOMPARE(image(button(f.player, "playButton")), QStringLiteral("play.jpg"));
    f.media.calls.clear();
    f.player->control()->togglePlayPause();
    QCOMPARE(f.media.calls, (QStringList{"pause", "play"}));
    QCOMPARE(f.media.currentPosition(), 0.0);
    QCOMPARE(f.media.playState(), MediaPlayer::State::Playing);
}

void TestTransport::displayTexts_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<bool>("fullPath");
    QTest::addColumn<double>("duration");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("shown");
    QTest::newRow("name") << "talk.wav" << false << 200.0 << "talk.wav - 03:20"
                          << "talk.wav - 03:20";
    QTest::newRow("ampersand") << "D&G.mp3" << false << 180.0 << "D&&G.mp3 - 03:00"
                               << "D&G.mp3 - 03:00";
    QTest::newRow("over an hour") << "day.mp3" << false << 3723.0 << "day.mp3 - 01:02:03"
                                  << "day.mp3 - 01:02:03";
}

void TestTransport::displayTexts()
{
    QFETCH(QString, file);
    QFETCH(bool, fullPath);
    QFETCH(double, duration);
    QFETCH(QString, caption);
    QFETCH(QString, shown);
    PlayerFixture f;
    f.media.loadedDuration = duration;
    action(f.player, "fullPathAction")->setChecked(fullPath);
    f.open(file);
    f.media.advance(duration / 4);

    f.player->control()->refreshDisplay();

    QCOMPARE(titleLabel(f.player)->caption(), caption);
    QCOMPARE(titleLabel(f.player)->text(), shown);
    QCOMPARE(label(f.player, "positionLabel")->text(),
             formatMediaTime(duration / 4) + QStringLiteral(" / ") + formatMediaTime(duration));
    QCOMPARE(label(f.player, "progressBar")->width(),
             label(f.player, "positionLabel")->width() / 4);
}

void TestTransport::unknownLengthLeavesTitleOpen()
{
    PlayerFixture f;
    f.media.durationKnownAtLoad = false;
    f.open(QStringLiteral("stream.mp3"));
    f.player->control()->refreshDisplay();
    QCOMPARE(titleLabel(f.player)->caption(), QStringLiteral("stream.mp3 - "));
    QCOMPARE(label(f.player, "positionLabel")->text(), QStringLiteral("0:00 / "));

    f.media.revealDuration();
    f.player->control()->refreshDisplay();
    QCOMPARE(titleLabel(f.player)->caption(), QStringLiteral("stream.mp3 - 03:20"));
}

void TestTransport::focusGoesBackToTheEditor()
{
    PlayerFixture f;
    f.open(QStringLiteral("talk.wav"));
    f.editor.widget.show();
    f.journal.clear();
    f.player->control()->togglePlayPause();
    f.player->control()->skipForward();
    f.player->control()->skipBack();
    QCOMPARE(f.journal.count(QStringLiteral("editor focus")), 3);

    f.editor.widget.hide();
    f.journal.clear();
    f.player->control()->togglePlayPause();
    QVERIFY(!f.journal.contains(QStringLiteral("editor focus")));
}

void TestTransport::nothingLoadedIsHarmless()
{
    PlayerFixture f;
    action(f.player, "smartPlayAction")->setChecked(true);
    const PlayState before = f.player->playback()->state();
    f.player->control()->togglePlayPause();
    f.player->control()->skipForward();
    f.player->control()->skipBack();
    f.player->control()->stop();
    f.player->control()->refreshDisplay();
    f.player->playback()->watchPlaybackState();
    f.player->playback()->advanceSmartPlay();
    f.player->mediaSession()->close();
    QCOMPARE(f.player->playback()->state(), before);
    QVERIFY(f.dialogs.messages.isEmpty());
    QVERIFY(!timer(f.player, "smartPlayTimer")->isActive());
    QCOMPARE(label(f.player, "positionLabel")->text(), QStringLiteral("0:00 / 0:00"));
}

void TestTransport::goodFileAfterARefusedOneShowsItsTitle()
{
    PlayerFixture f;
    f.open(QStringLiteral("broken.mp3"));
    Q_EMIT f.media.mediaError(QStringLiteral("unrecognized file format"));
    QVERIFY(!action(f.player, "playAction")->isEnabled());

    f.open(QStringLiteral("good.wav"));
    f.player->control()->refreshDisplay();
    QCOMPARE(titleLabel(f.player)->text(), QStringLiteral("good.wav - 03:20"));
}

void TestTransport::theTitleSaysWhyNothingPlays_data()
{
    QTest::addColumn<QString>("failure");
    QTest::addColumn<int>("boxes");
    QTest::newRow("engine lost while a file waited") << "engine" << 1;
    QTest::newRow("engine lost before the window") << "engine first" << 0;
}

void TestTransport::theTitleSaysWhyNothingPlays()
{
    QFETCH(QString, failure);
    QFETCH(int, boxes);
    const QString reason = QStringLiteral("libmpv.so.2: cannot open");
    PlayerFixture f(PlayerFixture::defaultSettings(), QString(), [&](PlayerFixture& g) {
        if (failure == QLatin1String("engine first"))
            g.media.engineReason = reason;
    });
    if (failure == QLatin1String("engine")) {
        f.open(QStringLiteral("talk.wav"));
        f.media.engineReason = reason;
        // The waiting file is given up first, then the engine.
        Q_EMIT f.media.mediaError(QStringLiteral("Cannot play talk.wav: ") + reason);
        Q_EMIT f.media.engineUnavailable(reason);
    }

    QVERIFY(titleLabel(f.player)->isVisible());
    QCOMPARE(titleLabel(f.player)->caption(), f.state.texts.text(Text::EngineNotLoaded));
    QCOMPARE(titleLabel(f.player)->toolTip(), reason);
    QVERIFY(!action(f.player, "playAction")->isEnabled());
    QCOMPARE(f.dialogs.messages.size(), boxes);
}

void TestTransport::playButtonShowsTheRealState_data()
{
    QTest::addColumn<QString>("how");
    QTest::addColumn<bool>("pointerOnButton");
    QTest::addColumn<QString>("paused");
    QTest::addColumn<QString>("playing");
    QTest::newRow("keys") << "keys" << false << "play.jpg"
                          << "pause.jpg";
    QTest::newRow("keys, pointer resting on the button") << "keys" << true << "play2.jpg"
                                                         << "pause2.jpg";
    QTest::newRow("smart play") << "cycle" << false << "play.jpg"
                                << "pause.jpg";
    QTest::newRow("recent file") << "recent" << false << "play.jpg"
                                 << "pause.jpg";
}

void TestTransport::playButtonShowsTheRealState()
{
    QFETCH(QString, how);
    QFETCH(bool, pointerOnButton);
    QFETCH(QString, paused);
    QFETCH(QString, playing);
    PlayerFixture f;
    if (how == QLatin1String("cycle"))
        action(f.player, "smartPlayAction")->setChecked(true);
    const QString path = f.open(QStringLiteral("talk.wav"));
    if (how == QLatin1String("recent")) {
        f.open(QStringLiteral("other.wav"));
        recentAction(f.player, 1)->trigger();
        QCOMPARE(f.media.url(), path);
    }
    if (pointerOnButton)
        pointerOver(button(f.player, "playButton"));
    QCOMPARE(image(button(f.player, "playButton")), playing);

    f.media.advance(9);
    if (how == QLatin1String("cycle"))
        f.player->playback()->advanceSmartPlay();
    else
        f.player->control()->togglePlayPause();
    // The display refreshes on its own meanwhile; it must not bring the pause picture back.
    f.player->control()->refreshDisplay();
    QCOMPARE(image(button(f.player, "playButton")), paused);

    if (how == QLatin1String("cycle"))
        f.player->playback()->advanceSmartPlay();
    else
        f.player->control()->togglePlayPause();
    QCOMPARE(image(button(f.player, "playButton")), playing);
}

void TestTransport::busyPointerOnlyForLongWaits_data()
{
    QTest::addColumn<int>("busyMs");
    QTest::addColumn<bool>("shown");
    QTest::newRow("a quick load") << BusyPointer::kDelayMs / 3 << false;
    QTest::newRow("a long wait") << BusyPointer::kDelayMs * 2 << true;
}

void TestTransport::busyPointerOnlyForLongWaits()
{
    QFETCH(int, busyMs);
    QFETCH(bool, shown);
    PlayerFixture f;
    PlaybackController* playback = f.player->playback();

    Q_EMIT playback->busyChanged(true);
    QVERIFY(!QApplication::overrideCursor());
    QTest::qWait(busyMs);
    QCOMPARE(QApplication::overrideCursor() != nullptr, shown);
    if (shown)
        QCOMPARE(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
    Q_EMIT playback->busyChanged(false);
    QVERIFY(!QApplication::overrideCursor());
    // Nothing shows later either.
    QTest::qWait(BusyPointer::kDelayMs + 50);
    QVERIFY(!QApplication::overrideCursor());
}

QTEST_MAIN(TestTransport)
#include "tst_transport.moc"
