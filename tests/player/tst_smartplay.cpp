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
    f.state.playTime = 7;
    f.state.pauseTime = 5;
    f.state.backSeconds = 2;
    f.player->m_smartPlayAction->setChecked(true);
    f.open(QStringLiteral("lecture.wav"));
    QVERIFY(f.player->Timer5.isActive());
    QCOMPARE(f.player->Timer5.interval(), 7000);

    f.media.advance(7);
    f.player->advanceSmartPlay();
    QCOMPARE(f.media.playState(), int(MediaPlayer::Paused));
    QCOMPARE(f.media.currentPosition(), 5.0);
    QCOMPARE(f.player->m_playButton->tag(), f.state.texts.text(Text::Play));
    QVERIFY(f.player->Timer5.isActive());
    QCOMPARE(f.player->Timer5.interval(), 5000);

    f.player->advanceSmartPlay();
    QCOMPARE(f.media.playState(), int(MediaPlayer::Playing));
    QCOMPARE(f.player->Timer5.interval(), 7000);
    f.media.advance(7);
    f.player->advanceSmartPlay();
    QCOMPARE(f.media.currentPosition(), 10.0);
    QCOMPARE(f.media.playState(), int(MediaPlayer::Paused));
}

void TestSmartPlay::manualPauseStopsTheCycle()
{
    PlayerFixture f;
    f.player->m_smartPlayAction->setChecked(true);
    f.open(QStringLiteral("lecture.wav"));
    f.media.advance(3);

    f.player->togglePlayPause();
    QVERIFY(!f.player->Timer5.isActive());

    f.player->togglePlayPause();
    QVERIFY(f.player->Timer5.isActive());
    QCOMPARE(f.player->Timer5.interval(), f.state.playTime * 1000);
}

void TestSmartPlay::uncheckingDuringThePausePhase()
{
    PlayerFixture f;
    f.player->m_smartPlayAction->setChecked(true);
    f.open(QStringLiteral("lecture.wav"));
    f.media.advance(9);
    f.player->advanceSmartPlay();
    f.journal.clear();

    f.player->m_smartPlayAction->trigger();

    QVERIFY(!f.player->m_smartPlayAction->isChecked());
    QVERIFY(!f.player->Timer5.isActive());
    QCOMPARE(f.media.playState(), int(MediaPlayer::Paused));
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
    QVERIFY(f.player->m_smartPlayAction->isChecked());
    QVERIFY(!f.player->Timer5.isActive());
    QCOMPARE(f.journal.count(QStringLiteral("settings saved")), 5);
}

void TestSmartPlay::longTimesWorkAsTyped()
{
    PlayerFixture f;
    f.state.playTime = 40;
    f.state.pauseTime = 90;
    f.player->m_smartPlayAction->setChecked(true);
    f.open(QStringLiteral("lecture.wav"));
    QCOMPARE(f.player->Timer5.interval(), 40000);
    f.media.advance(40);
    f.player->advanceSmartPlay();
    QCOMPARE(f.player->Timer5.interval(), 90000);
}

void TestSmartPlay::afterCloseTheCycleStops()
{
    PlayerFixture f;
    f.player->m_smartPlayAction->setChecked(true);
    f.open(QStringLiteral("lecture.wav"));
    f.player->closeMedia();
    QVERIFY(f.player->Timer5.isActive());

    f.player->advanceSmartPlay();

    QVERIFY(!f.player->Timer5.isActive());
    QVERIFY(f.media.url().isEmpty());
    QVERIFY(f.dialogs.messages.isEmpty());
}

QTEST_MAIN(TestSmartPlay)
#include "tst_smartplay.moc"
