#include "PlayerFixture.h"
#include "player/CaptionLabel.h"
#include "player/SkinButton.h"

#include <QAction>
#include <QLabel>
#include <QTest>

namespace {

QString image(const SkinButton* button)
{
    return QFileInfo(button->imagePath()).fileName();
}

} // namespace

class TestTransport : public QObject {
    Q_OBJECT
private Q_SLOTS:
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
    void undecodableFileSaysSoInTheTitle();
};

void TestTransport::openingStartsPlaybackFromZero()
{
    PlayerFixture f;
    f.media.calls.clear();
    const QString path = f.open(QStringLiteral("lecture.wav"));

    QCOMPARE(f.media.url(), path);
    QCOMPARE(f.media.playState(), int(MediaPlayer::Playing));
    QVERIFY(f.media.calls.contains(QStringLiteral("play")));
    QCOMPARE(f.player->m_playButton->tag(), f.state.texts.text(Text::Pause));
    QCOMPARE(f.player->m_playAction->text(), f.state.texts.text(Text::Pause));
    QVERIFY(f.player->Timer1.isActive());
    QCOMPARE(f.player->Timer1.interval(), 100);
    QVERIFY(f.player->m_titleLabel->isVisible());
    for (QAction* a :
         {f.player->m_playAction, f.player->m_stopAction, f.player->m_goToAction,
          f.player->m_closeAction, f.player->m_addBookmarkAction, f.player->m_bookmarkWindowAction})
        QVERIFY2(a->isEnabled(), qPrintable(a->text()));
    QVERIFY(f.player->justOpened());
    QCOMPARE(image(f.player->m_playButton), QStringLiteral("pause.jpg"));
}

void TestTransport::pauseStepsBackAndResumeOnlyPlays()
{
    PlayerFixture f;
    f.state.backSeconds = 5;
    f.open(QStringLiteral("talk.wav"));
    f.media.advance(3.0);
    f.media.calls.clear();

    f.player->togglePlayPause();
    QCOMPARE(f.media.calls, (QStringList{"seek -2", "pause"}));
    QCOMPARE(f.player->m_playButton->tag(), f.state.texts.text(Text::Play));
    QCOMPARE(f.player->m_playAction->text(), f.state.texts.text(Text::Play));
    QVERIFY(!f.player->Timer5.isActive());

    f.media.setCurrentPosition(40);
    f.media.calls.clear();
    f.player->togglePlayPause();
    QCOMPARE(f.media.calls, (QStringList{"play"}));
    QCOMPARE(f.player->m_playButton->tag(), f.state.texts.text(Text::Pause));
    QVERIFY(f.player->Timer4.isActive());
}

void TestTransport::resumeAtZeroPausesFirst()
{
    PlayerFixture f;
    f.open(QStringLiteral("talk.wav"));
    f.player->togglePlayPause(); // pause at 0, stepping back to 0
    f.media.calls.clear();

    f.player->togglePlayPause();
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
    f.player->togglePlayPause(); // paused at 17
    f.media.setCurrentPosition(20);
    f.state.jumpSeconds = jump;

    if (forward)
        f.player->skipForward();
    else
        f.player->skipBack();

    QCOMPARE(f.media.currentPosition(), expected);
    QCOMPARE(f.media.playState(), int(MediaPlayer::Paused));
    QCOMPARE(f.player->m_playButton->tag(), f.state.texts.text(Text::Play));
    if (jump == 0)
        QCOMPARE(f.state.jumpSeconds, 2);
    if (expected > 0)
        QCOMPARE(f.player->m_positionLabel->text(),
                 formatMediaTime(expected) + QStringLiteral(" / 03:20"));
}

void TestTransport::stopShowsZeroAndTheLength()
{
    PlayerFixture f;
    f.open(QStringLiteral("talk.wav"));
    f.media.advance(42);

    f.player->stop();

    QCOMPARE(f.player->m_positionLabel->text(), QStringLiteral("0:00 / 03:20"));
    QCOMPARE(f.player->m_playButton->tag(), f.state.texts.text(Text::Play));
    QCOMPARE(f.player->m_playAction->text(), f.state.texts.text(Text::Play));
    QCOMPARE(image(f.player->m_playButton), QStringLiteral("play.jpg"));
    QVERIFY(!f.player->Timer1.isActive());
    QCOMPARE(f.media.currentPosition(), 0.0);
}

void TestTransport::endOfMediaIsNoticedByTheWatch()
{
    PlayerFixture f;
    f.media.loadedDuration = 30;
    f.open(QStringLiteral("short.wav"));
    f.media.advance(31);

    f.player->watchPlaybackState();

    QVERIFY(!f.player->Timer4.isActive());
    QCOMPARE(f.player->m_positionLabel->text(), QStringLiteral("0:00 / 00:30"));
    QCOMPARE(image(f.player->m_playButton), QStringLiteral("play.jpg"));
    f.media.calls.clear();
    f.player->togglePlayPause();
    QCOMPARE(f.media.calls, (QStringList{"pause", "play"}));
    QCOMPARE(f.media.currentPosition(), 0.0);
    QCOMPARE(f.media.playState(), int(MediaPlayer::Playing));
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
    f.player->m_fullPathAction->setChecked(fullPath);
    f.open(file);
    f.media.advance(duration / 4);

    f.player->refreshDisplay();

    QCOMPARE(f.player->m_titleLabel->caption(), caption);
    QCOMPARE(f.player->m_titleLabel->text(), shown);
    QCOMPARE(f.player->m_positionLabel->text(),
             formatMediaTime(duration / 4) + QStringLiteral(" / ") + formatMediaTime(duration));
    QCOMPARE(f.player->m_progressBar->width(), f.player->m_positionLabel->width() / 4);
}

void TestTransport::unknownLengthLeavesTitleOpen()
{
    PlayerFixture f;
    f.media.durationKnownAtLoad = false;
    f.open(QStringLiteral("stream.mp3"));
    f.player->refreshDisplay();
    QCOMPARE(f.player->m_titleLabel->caption(), QStringLiteral("stream.mp3 - "));
    QCOMPARE(f.player->m_positionLabel->text(), QStringLiteral("0:00 / "));

    f.media.revealDuration();
    f.player->refreshDisplay();
    QCOMPARE(f.player->m_titleLabel->caption(), QStringLiteral("stream.mp3 - 03:20"));
}

void TestTransport::focusGoesBackToTheEditor()
{
    PlayerFixture f;
    f.open(QStringLiteral("talk.wav"));
    f.editor.widget.show();
    f.journal.clear();
    f.player->togglePlayPause();
    f.player->skipForward();
    f.player->skipBack();
    QCOMPARE(f.journal.count(QStringLiteral("editor focus")), 3);

    f.editor.widget.hide();
    f.journal.clear();
    f.player->togglePlayPause();
    QVERIFY(!f.journal.contains(QStringLiteral("editor focus")));
}

void TestTransport::nothingLoadedIsHarmless()
{
    PlayerFixture f;
    f.player->m_smartPlayAction->setChecked(true);
    const QString tag = f.player->m_playButton->tag();
    f.player->togglePlayPause();
    f.player->skipForward();
    f.player->skipBack();
    f.player->stop();
    f.player->refreshDisplay();
    f.player->watchPlaybackState();
    f.player->advanceSmartPlay();
    f.player->closeMedia();
    QCOMPARE(f.player->m_playButton->tag(), tag);
    QVERIFY(f.dialogs.messages.isEmpty());
    QVERIFY(!f.player->Timer5.isActive());
    QCOMPARE(f.player->m_positionLabel->text(), QStringLiteral("0:00 / 0:00"));
}

void TestTransport::undecodableFileSaysSoInTheTitle()
{
    PlayerFixture f;
    const QString path = f.mediaFile(QStringLiteral("broken.mp3"));
    Q_EMIT f.media.mediaError(QStringLiteral("unrecognized file format"));

    QVERIFY(f.player->m_titleLabel->isVisible());
    QVERIFY(f.player->m_titleLabel->text().endsWith(f.state.texts.text(Text::CannotPlay)));
    QVERIFY(!f.player->m_playAction->isEnabled());
    f.player->refreshDisplay();
    QVERIFY(f.player->m_titleLabel->text().endsWith(f.state.texts.text(Text::CannotPlay)));

    f.open(QStringLiteral("good.wav"));
    f.player->refreshDisplay();
    QCOMPARE(f.player->m_titleLabel->text(), QStringLiteral("good.wav - 03:20"));
    Q_UNUSED(path);
}

QTEST_MAIN(TestTransport)
#include "tst_transport.moc"
