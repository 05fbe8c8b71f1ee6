#include "Controls.h"
#include "PlayerFixture.h"
#include "player/SkinButton.h"

#include <QAction>
#include <QTest>

class TestSmartPlay : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void aCycleOfPlayAndPause();
    void manualPauseStopsTheCycle();
    void uncheckingDuringThePausePhase();
    void switchingOnExplainsItselfEveryTime();
    void longTimesWorkAsTyped();
    void afterCloseTheCycleStops();
};

void TestSmartPlay::aCycleOfPlayAndPause()
{
    PlayerFixture f;
    f.setOption(&TransportOptions::playTime, 7);
    f.setOption(&TransportOptions::pauseTime, 5);
    f.setOption(&TransportOptions::backSeconds, 2);
    action(f.player, "smartPlayAction")->setChecked(true);
    f.open(QStringLiteral("lecture.wav"));
    QVERIFY(timer(f.player, "smartPlayTimer")->isActive());
    QCOMPARE(timer(f.player, "smartPlayTimer")->interval(), 7000);

    f.media.advance(7);
    f.player->playback()->advanceSmartPlay();
    QCOMPARE(f.media.playState(), MediaPlayer::State::Paused);
    QCOMPARE(f.media.currentPosition(), 5.0);
    QVERIFY(!f.player->playback()->isPlaying());
    QVERIFY(timer(f.player, "smartPlayTimer")->isActive());
    QCOMPARE(timer(f.player, "smartPlayTimer")->interval(), 5000);

    f.player->playback()->advanceSmartPlay();
    QCOMPARE(f.media.playState(), MediaPlayer::State::Playing);
    QCOMPARE(timer(f.player, "smartPlayTimer")->interval(), 7000);
    f.media.advance(7);
    f.player->playback()->advanceSmartPlay();
    QCOMPARE(f.media.currentPosition(), 10.0);
    QCOMPARE(f.media.playState(), MediaPlayer::State::Paused);
}

void TestSmartPlay::manualPauseStopsTheCycle()
{
    PlayerFixture f;
    action(f.player, "smartPlayAction")->setChecked(true);
    f.open(QStringLiteral("lecture.wav"));
    f.media.advance(3);

    f.player->control()->togglePlayPause();
    QVERIFY(!timer(f.player, "smartPlayTimer")->isActive());

    f.player->control()->togglePlayPause();
    QVERIFY(timer(f.player, "smartPlayTimer")->isActive());
    QCOMPARE(timer(f.player, "smartPlayTimer")->interval(),
             f.option(&TransportOptions::playTime) * 1000);
}

void TestSmartPlay::uncheckingDuringThePausePhase()
{
    PlayerFixture f;
    action(f.player, "smartPlayAction")->setChecked(true);
    f.open(QStringLiteral("lecture.wav"));
    f.media.advance(9);
    f.player->playback()->advanceSmartPlay();
    f.journal.clear();

    action(f.player, "smartPlayAction")->trigger();

    QVERIFY(!action(f.player, "smartPlayAction")->isChecked());
    QVERIFY(!timer(f.player, "smartPlayTimer")->isActive());
    QCOMPARE(f.media.playState(), MediaPlayer::State::Paused);
    QVERIFY(f.dialogs.messages.isEmpty());
    QVERIFY(f.journal.contains(QStringLiteral("settings saved")));
}

void TestSmartPlay::switchingOnExplainsItselfEveryTime()
{
    PlayerFixture f;
    f.open(QStringLiteral("lecture.wav"));
    for (int i = 0; i < 4; ++i)
        f.player->toggleSmartPlay();

    QCOMPARE(f.dialogs.messages.size(), 2);
    for (const auto& box : f.dialogs.messages) {
        QCOMPARE(box.text, f.state.texts.plain(Text::SmartPlayExplained));
        QCOMPARE(box.title, f.state.texts.plain(Text::SmartPlay));
        QCOMPARE(box.icon, QMessageBox::Information);
    }
    // Switching on while playing waits for the next resume.
    f.player->toggleSmartPlay();
    QVERIFY(action(f.player, "smartPlayAction")->isChecked());
    QVERIFY(!timer(f.player, "smartPlayTimer")->isActive());
    QCOMPARE(f.journal.count(QStringLiteral("settings saved")), 5);
}

void TestSmartPlay::longTimesWorkAsTyped()
{
    PlayerFixture f;
    f.setOption(&TransportOptions::playTime, 40);
    f.setOption(&TransportOptions::pauseTime, 90);
    action(f.player, "smartPlayAction")->setChecked(true);
    f.open(QStringLiteral("lecture.wav"));
    QCOMPARE(timer(f.player, "smartPlayTimer")->interval(), 40000);
    f.media.advance(40);
    f.player->playback()->advanceSmartPlay();
    QCOMPARE(timer(f.player, "smartPlayTimer")->interval(), 90000);
}

void TestSmartPlay::afterCloseTheCycleStops()
{
    PlayerFixture f;
    action(f.player, "smartPlayAction")->setChecked(true);
    f.open(QStringLiteral("lecture.wav"));
    f.player->mediaSession()->close();
    QVERIFY(!timer(f.player, "smartPlayTimer")->isActive());

    // A tick already on its way plays nothing.
    f.media.calls.clear();
    f.player->playback()->advanceSmartPlay();

    QVERIFY(!timer(f.player, "smartPlayTimer")->isActive());
    QVERIFY(f.media.calls.isEmpty());
    QVERIFY(f.media.url().isEmpty());
    QVERIFY(f.dialogs.messages.isEmpty());
}

QTEST_MAIN(TestSmartPlay)
#include "tst_smartplay.moc"
