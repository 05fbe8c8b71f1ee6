#include "Controls.h"
#include "PlayerFixture.h"
#include "platform/Twips.h"
#include "player/MediaTitle.h"
#include "player/VolumeSlider.h"

#include <QAction>
#include <QMenuBar>
#include <QMimeData>
#include <QTest>

namespace {

// Drags the data onto the window and drops it, as a file manager does.
void dragAndDrop(QWidget* window, QMimeData* data)
{
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(window, &enter);
    QDropEvent drop(QPointF(10, 10), Qt::CopyAction, data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(window, &drop);
}

QString image(const SkinButton* button)
{
    return QFileInfo(button->imagePath()).fileName();
}

} // namespace

class TestPlayerView : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void speedStepsStopAtTheirLimits_data();
    void speedStepsStopAtTheirLimits();
    void speedLabelShowsWhatTheEngineTook();
    void titleFontFollowsItsLength_data();
    void titleFontFollowsItsLength();
    void fullPathToggle();
    void theTitleLineTellsTheLoop();
    void alwaysOnTopMovesToTheCorner();
    void editorShowHide();
    void knobValues_data();
    void knobValues();
    void storedVolumesAreBounded_data();
    void storedVolumesAreBounded();
    void storedKnobStaysOnItsTrack();
    void trackClicksNearTheEnds_data();
    void trackClicksNearTheEnds();
    void dragFollowsTheLeftButtonOnly();
    void positionClick_data();
    void positionClick();
    void dropOpensOnlyTheFirstLocalFile();
    void skinButtonsShowTheirPictures();
    void longMenuTitlesWidenThePlayer();
};

void TestPlayerView::speedStepsStopAtTheirLimits_data()
{
    QTest::addColumn<bool>("up");
    QTest::addColumn<int>("presses");
    QTest::addColumn<double>("rate");
    QTest::newRow("39 up") << true << 39 << 4.9;
    QTest::newRow("40 up") << true << 40 << 4.9;
    QTest::newRow("9 down") << false << 9 << 0.1;
    QTest::newRow("10 down") << false << 10 << 0.1;
}

void TestPlayerView::speedStepsStopAtTheirLimits()
{
    QFETCH(bool, up);
    QFETCH(int, presses);
    QFETCH(double, rate);
    PlayerFixture f;
    f.media.fastestRate = 10;
    f.open(QStringLiteral("talk.wav"));
    for (int i = 0; i < presses; ++i)
        up ? f.player->control()->runCommand(PlayerCommand::SpeedUp)
           : f.player->control()->runCommand(PlayerCommand::SlowDown);
    QCOMPARE(f.media.rate(), rate);
    QVERIFY(label(f.player, "speedLabel")->isVisible());
    QVERIFY(timer(f.player, "labelFadeTimer")->isActive());
}

void TestPlayerView::speedLabelShowsWhatTheEngineTook()
{
    PlayerFixture f;
    f.media.fastestRate = 1.0;
    f.open(QStringLiteral("talk.wav"));
    f.player->control()->runCommand(PlayerCommand::SpeedUp);
    QCOMPARE(label(f.player, "speedLabel")->text(), QStringLiteral("1 x"));
}

void TestPlayerView::titleFontFollowsItsLength_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("length");
    QTest::addColumn<int>("points");
    // The caption is the name, " - " and a five-character length.
    QTest::newRow("45 characters") << QString(37, 'x') << 45 << 9;
    QTest::newRow("ampersand counts twice") << "D&G.mp3" << 16 << 14;
}

void TestPlayerView::titleFontFollowsItsLength()
{
    QFETCH(QString, name);
    QFETCH(int, length);
    QFETCH(int, points);
    PlayerFixture f;
    f.media.loadedDuration = 180;
    f.open(name);
    QCOMPARE(titleLabel(f.player)->caption().size(), length);
    QCOMPARE(titleLabel(f.player)->font().pointSize(), points);
}

void TestPlayerView::fullPathToggle()
{
    PlayerFixture f;
    const QString path = f.open(QStringLiteral("talk.wav"));
    QVERIFY(!action(f.player, "fullPathAction")->isChecked());
    f.journal.clear();

    action(f.player, "fullPathAction")->trigger();
    QVERIFY(action(f.player, "fullPathAction")->isChecked());
    QCOMPARE(titleLabel(f.player)->caption(), path + QStringLiteral(" - 03:20"));
    // Too long for the label: shortened in the middle, the length still shown, whole on hover.
    QVERIFY(titleLabel(f.player)->text().endsWith(QStringLiteral("talk.wav - 03:20")));
    QVERIFY(titleLabel(f.player)->text().contains(QChar(0x2026)));
    QCOMPARE(titleLabel(f.player)->toolTip(), path + QStringLiteral(" - 03:20"));
    QCOMPARE(f.journal.count(QStringLiteral("settings saved")), 1);

    QCOMPARE(MediaTitle::caption(QStringLiteral("noseparator.wav"), true, "01:00"),
             QStringLiteral("noseparator.wav - 01:00"));
    QCOMPARE(MediaTitle::caption(QStringLiteral("noseparator.wav"), false, "01:00"),
             QStringLiteral("noseparator.wav - 01:00"));
}

void TestPlayerView::theTitleLineTellsTheLoop()
{
    PlayerFixture f;
    f.open(QStringLiteral("talk.wav"));
    f.media.advance(30);
    action(f.player, "loopStartAction")->trigger();
    QCOMPARE(titleLabel(f.player)->caption(), QStringLiteral("Loop starts at 00:30"));
    f.media.advance(4);
    action(f.player, "loopEndAction")->trigger();
    action(f.player, "loopAction")->trigger();
    QVERIFY(action(f.player, "loopAction")->isChecked());
    QCOMPARE(titleLabel(f.player)->caption(),
             QStringLiteral("talk.wav - 03:20  ·  Loop 00:30 – 00:34"));
    // Too narrow for it all: the name gives way, the loop is read whole.
    titleLabel(f.player)->setFixedWidth(titleLabel(f.player)->fontMetrics().horizontalAdvance(
        QStringLiteral("talk…20  ·  Loop 00:30 – 00:34")));
    QCOMPARE(titleLabel(f.player)->text().right(20),
             QStringLiteral("  ·  Loop 00:30 – 00:34").right(20));
    QVERIFY(titleLabel(f.player)->text().contains(QChar(0x2026)));
    action(f.player, "loopAction")->trigger();
    QVERIFY(!action(f.player, "loopAction")->isChecked());
    QCOMPARE(titleLabel(f.player)->caption(), QStringLiteral("talk.wav - 03:20"));
}

void TestPlayerView::alwaysOnTopMovesToTheCorner()
{
    PlayerFixture f;
    for (bool expected : {false, true}) {
        f.player->move(300, 200);
        action(f.player, "alwaysOnTopAction")->trigger();
        QCOMPARE(action(f.player, "alwaysOnTopAction")->isChecked(), expected);
        QCOMPARE(f.player->windowFlags().testFlag(Qt::WindowStaysOnTopHint), expected);
        QCOMPARE(f.player->pos(), QPoint(50, 50));
        QVERIFY(f.player->isVisible());
    }
}

void TestPlayerView::editorShowHide()
{
    PlayerFixture f;
    f.editor.widget.show();
    action(f.player, "editorAction")->trigger();
    QVERIFY(!f.editor.widget.isVisible());
    QCOMPARE(action(f.player, "editorAction")->text(), f.state.texts.text(Text::ShowEditor));
    action(f.player, "editorAction")->trigger();
    QVERIFY(f.editor.widget.isVisible());
    QCOMPARE(action(f.player, "editorAction")->text(), f.state.texts.text(Text::HideEditor));
    QCOMPARE(f.journal.count(QStringLiteral("settings saved")), 2);
}

void TestPlayerView::knobValues_data()
{
    QTest::addColumn<double>("knobTop");
    QTest::addColumn<int>("value");
    QTest::newRow("top") << 360.0 << 100;
    QTest::newRow("bottom") << 1365.0 << 0;
    QTest::newRow("1230 twips") << 1230.0 << 14;
    QTest::newRow("middle") << 862.5 << 50;
}

void TestPlayerView::knobValues()
{
    QFETCH(double, knobTop);
    QFETCH(int, value);
    QCOMPARE(VolumeSlider::value(knobTop, 360, 1200, 195), value);
}

void TestPlayerView::storedVolumesAreBounded_data()
{
    QTest::addColumn<int>("stored");
    QTest::addColumn<int>("volume");
    QTest::newRow("150") << 150 << 100;
    QTest::newRow("-5") << -5 << 0;
    QTest::newRow("64") << 64 << 64;
    QTest::newRow("0") << 0 << 0;
}

void TestPlayerView::storedVolumesAreBounded()
{
    QFETCH(int, stored);
    QFETCH(int, volume);
    StoredSettings settings = PlayerFixture::defaultSettings();
    settings.volume = stored;
    PlayerFixture f(settings);
    QCOMPARE(f.media.volume(), volume);
    QCOMPARE(label(f.player, "volumeLabel")->text(), QString::number(volume) + QStringLiteral("%"));
}

void TestPlayerView::storedKnobStaysOnItsTrack()
{
    StoredSettings settings = PlayerFixture::defaultSettings();
    settings.knobTop = 1e12;
    PlayerFixture below(settings);
    QCOMPARE(volumeKnob(below.player)->knobTop(), 1365.0);
    settings.knobTop = -400;
    PlayerFixture above(settings);
    QCOMPARE(volumeKnob(above.player)->knobTop(), 360.0);
}

void TestPlayerView::trackClicksNearTheEnds_data()
{
    QTest::addColumn<double>("y");
    QTest::addColumn<int>("volume");
    QTest::newRow("near the top") << 90.0 << 100;
    QTest::newRow("near the bottom") << 1110.0 << 0;
    QTest::newRow("middle") << 600.0 << 50;
}

void TestPlayerView::trackClicksNearTheEnds()
{
    QFETCH(double, y);
    QFETCH(int, volume);
    PlayerFixture f;
    volumeKnob(f.player)->releaseTrack(Qt::LeftButton, y);
    QCOMPARE(QString::number(volumeKnob(f.player)->value()), QString::number(volume));
    QCOMPARE(f.media.volume(), volume);
    QCOMPARE(label(f.player, "volumeLabel")->text(), QString::number(volume) + QStringLiteral("%"));
}

void TestPlayerView::dragFollowsTheLeftButtonOnly()
{
    PlayerFixture f;
    volumeKnob(f.player)->centre();
    const double start = volumeKnob(f.player)->knobTop();

    volumeKnob(f.player)->pressKnob(Qt::RightButton);
    volumeKnob(f.player)->dragKnob(Qt::RightButton, -300);
    volumeKnob(f.player)->followKnobDrag();
    QCOMPARE(volumeKnob(f.player)->knobTop(), start);
    volumeKnob(f.player)->releaseKnob(Qt::RightButton);

    volumeKnob(f.player)->pressKnob(Qt::LeftButton);
    QVERIFY(timer(f.player, "knobDragTimer")->isActive());
    // The pointer at 500 twips from the window's top: the knob's middle follows it.
    volumeKnob(f.player)->dragKnob(Qt::LeftButton, 500 - start);
    volumeKnob(f.player)->followKnobDrag();
    QCOMPARE(volumeKnob(f.player)->knobTop(), 413.0);
    volumeKnob(f.player)->releaseKnob(Qt::LeftButton);
    QVERIFY(!timer(f.player, "knobDragTimer")->isActive());
    QCOMPARE(QString::number(volumeKnob(f.player)->value()),
             QString::number(VolumeSlider::value(413, 360, 1200, 195)));
    QCOMPARE(label(f.player, "volumeLabel")->text(),
             QString::number(volumeKnob(f.player)->value()) + QStringLiteral("%"));
}

void TestPlayerView::positionClick_data()
{
    QTest::addColumn<bool>("playing");
    QTest::addColumn<double>("position");
    QTest::newRow("while playing") << true << 50.0;
    QTest::newRow("while paused") << false << 47.0;
}

void TestPlayerView::positionClick()
{
    QFETCH(bool, playing);
    QFETCH(double, position);
    PlayerFixture f;
    f.setOption(&TransportOptions::backSeconds, 3);
    f.open(QStringLiteral("talk.wav"));
    if (!playing)
        f.player->control()->togglePlayPause();

    f.player->seekToClick(4260.0 / 4);

    QCOMPARE(f.media.currentPosition(), position);
    QCOMPARE(f.media.playState(),
             playing ? MediaPlayer::State::Playing : MediaPlayer::State::Paused);

    f.player->mediaSession()->close();
    f.media.calls.clear();
    f.player->seekToClick(100);
    QVERIFY(f.media.calls.isEmpty());
}

void TestPlayerView::dropOpensOnlyTheFirstLocalFile()
{
    PlayerFixture f;
    const QString first = f.mediaFile(QStringLiteral("prima lezione ü.wav"));
    const QString second = f.mediaFile(QStringLiteral("second.wav"));
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(first), QUrl::fromLocalFile(second),
                  QUrl::fromLocalFile(f.mediaFile(QStringLiteral("third.wav")))});
    dragAndDrop(f.player.get(), &data);
    QCOMPARE(f.media.url(), first);
    QCOMPARE(f.player->mediaSession()->recent().caption(0), first);

    QMimeData web;
    web.setUrls({QUrl(QStringLiteral("https://example.org/talk.mp3"))});
    dragAndDrop(f.player.get(), &web);
    QCOMPARE(f.media.url(), first);
    QVERIFY(f.dialogs.messages.isEmpty());
}

void TestPlayerView::skinButtonsShowTheirPictures()
{
    PlayerFixture f;
    f.open(QStringLiteral("talk.wav"));
    f.player->control()->togglePlayPause();
    QStringList seen;
    for (const char* name : {"openButton", "backButton", "playButton", "stopButton",
                             "forwardButton", "recordButton"}) {
        SkinButton* b = button(f.player, name);
        const QPoint home = b->pos();
        const QString normal = image(b);
        pointerOver(b);
        seen << normal + ' ' + image(b) + ' ' + QString::number((b->pos() - home).x()) + ',' +
                    QString::number((b->pos() - home).y());
    }
    const QString shift = QString::number(Twips::toPixels(20));
    QCOMPARE(seen.join(u'|'), "Apri.bmp Apri2.bmp " + shift + ',' + shift +
                                  "|bac.jpg bac2.jpg 0,0|play.jpg play2.jpg 0,0|stop.jpg stop2.jpg "
                                  "0,0|for.jpg for2.jpg 0,0|rec.jpg rec2.jpg 0,0");
}

void TestPlayerView::longMenuTitlesWidenThePlayer()
{
    PlayerFixture f;
    const int faceWidth = f.player->width();
    for (const auto& row : PlayerWindow::commandTable()) {
        if (row.kind == CommandRow<PlayerWindow>::Kind::Menu && !row.fixedCaption)
            f.state.texts.setText(
                row.caption, QStringLiteral("&Menu with a long title %1").arg(int(row.caption)));
    }
    f.player->retranslate();
    QVERIFY(f.player->width() > faceWidth);
    QVERIFY(f.player->width() >= f.player->menuBar()->sizeHint().width());
}

QTEST_MAIN(TestPlayerView)
#include "tst_playerview.moc"
