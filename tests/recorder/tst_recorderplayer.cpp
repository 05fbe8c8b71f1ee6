// The recorder seen from the player: its command and button, the file being recorded kept out of
// the player, and a recording finished however the program is left.

#include "Controls.h"
#include "PlayerFixture.h"
#include "ToneCaptureDevice.h"
#include "WavFacts.h"
#include "recorder/Recorder.h"
#include "recorder/RecorderWindow.h"

#include <QMessageBox>
#include <QPointer>
#include <QTimer>
#include <QtTest>

namespace {

// A player with a real recorder on a tone device.
struct RecordingPlayer {
    PlayerFixture f;
    ToneCaptureDevice device;
    std::unique_ptr<Recorder> recorder;

    RecordingPlayer()
    {
        Platform platform{&f.media, &f.dialogs, &f.desktop};
        platform.capture = &device;
        recorder = std::make_unique<Recorder>(f.state, platform);
        f.player->setRecorder(recorder.get());
    }

    // Opens the recorder from the player's menu and starts recording to `path`.
    void record(const QString& path)
    {
        action(f.player, "recordAction")->trigger();
        QVERIFY(recorder->window());
        f.dialogs.chosenFiles << path;
        recorder->window()->pressStart();
        QTRY_COMPARE(recorder->window()->engine().state(), CaptureEngine::State::Recording);
    }
};

} // namespace

class TestRecorderPlayer : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void recordCommandOpensTheRecorder_data();
    void recordCommandOpensTheRecorder();
    void fileBeingRecordedIsNotOpened();
    void leavingTheProgramFinishesTheRecording_data();
    void leavingTheProgramFinishesTheRecording();
    void endingInsideARecorderMessage();
};

void TestRecorderPlayer::recordCommandOpensTheRecorder_data()
{
    QTest::addColumn<bool>("byButton");
    QTest::newRow("menu command") << false;
    QTest::newRow("record button") << true;
}

void TestRecorderPlayer::recordCommandOpensTheRecorder()
{
    QFETCH(bool, byButton);
    RecordingPlayer p;
    p.f.open(QStringLiteral("lecture.wav"));
    QVERIFY(p.f.player->playback()->isPlaying());
    SkinButton* record = button(p.f.player, "recordButton");
    pointerOver(record);
    QVERIFY(record->imagePath().endsWith(QStringLiteral("rec2.jpg")));

    if (byButton)
        Q_EMIT record->clicked();
    else
        action(p.f.player, "recordAction")->trigger();

    QVERIFY(!p.f.player->playback()->isPlaying());
    QCOMPARE(p.f.media.playState(), MediaPlayer::State::Stopped);
    QVERIFY(record->imagePath().endsWith(QStringLiteral("rec.jpg")));
    QVERIFY(p.recorder->window());
    QVERIFY(p.recorder->window()->isVisible());

    // A second command shows the same window.
    RecorderWindow* first = p.recorder->window();
    action(p.f.player, "recordAction")->trigger();
    QCOMPARE(p.recorder->window(), first);
}

void TestRecorderPlayer::fileBeingRecordedIsNotOpened()
{
    RecordingPlayer p;
    const QString earlier = p.f.open(QStringLiteral("earlier.wav"));
    const QString take = p.f.folder.filePath(QStringLiteral("media/take.wav"));
    p.record(take);
    p.device.captureBuffers(2);

    p.f.dialogs.chosenFiles << take;
    p.f.player->mediaSession()->open();
    p.f.player->control()->openMedia(p.f.folder.path() +
                                     QStringLiteral("/media/../media/take.wav"));
    QCOMPARE(p.f.media.url(), earlier);
    QCOMPARE(p.f.state.currentMediaPath, earlier);
    QVERIFY(p.f.dialogs.messages.isEmpty());

    // Once stopped, the take plays.
    p.recorder->window()->pressStop();
    p.f.player->control()->openMedia(take);
    QCOMPARE(p.f.media.url(), take);
}

void TestRecorderPlayer::leavingTheProgramFinishesTheRecording_data()
{
    QTest::addColumn<QString>("how");
    QTest::newRow("exit command") << "exit";
    QTest::newRow("Escape") << "escape";
    QTest::newRow("Ctrl+Q") << "ctrl+q";
    QTest::newRow("closing the player") << "close";
    QTest::newRow("end of the session") << "quiet";
}

void TestRecorderPlayer::leavingTheProgramFinishesTheRecording()
{
    QFETCH(QString, how);
    RecordingPlayer p;
    const QString take = p.f.folder.filePath(QStringLiteral("take.wav"));
    p.record(take);
    p.device.capture(3 * 8192 + 1236);

    p.f.player->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(p.f.player.get()));
    if (how == QLatin1String("exit"))
        action(p.f.player, "exitAction")->trigger();
    else if (how == QLatin1String("escape"))
        QTest::keyClick(p.f.player.get(), Qt::Key_Escape);
    else if (how == QLatin1String("ctrl+q"))
        QTest::keyClick(p.f.player.get(), Qt::Key_Q, Qt::ControlModifier);
    else if (how == QLatin1String("close"))
        p.f.player->close();
    else
        p.f.player->sessionKeeper()->endWithoutAsking();

    QVERIFY(p.f.journal.contains(QStringLiteral("program ended")));
    QVERIFY(!p.device.isOpen());
    const WavFacts wav = WavFacts::readFile(take);
    QCOMPARE(wav.dataSize, quint32(3 * 8192 + 1236));
    QCOMPARE(wav.sound.size(), 3 * 8192 + 1236);
    QVERIFY(p.recorder->window()->isHidden());
}

void TestRecorderPlayer::endingInsideARecorderMessage()
{
    RecordingPlayer p;
    const QString take = p.f.folder.filePath(QStringLiteral("take.wav"));
    p.record(take);
    p.device.capture(8192);
    QPointer<RecorderWindow> window = p.recorder->window();
    {
        QMessageBox box(QMessageBox::Warning, QStringLiteral("Vocarta"), QStringLiteral("?"),
                        QMessageBox::Ok, window);
        // The session ends while the box waits for an answer; the program's end closes it.
        QTimer::singleShot(0, p.f.player.get(),
                           [&p] { p.f.player->sessionKeeper()->endWithoutAsking(); });
        connect(p.f.player->sessionKeeper(), &SessionKeeper::programEnded, &box, &QDialog::reject,
                Qt::QueuedConnection);
        box.exec();
        QVERIFY(window);
        QVERIFY(window->isHidden());
    }
    QVERIFY(!p.device.isOpen());
    QCOMPARE(WavFacts::readFile(take).dataSize, quint32(8192));
    p.recorder.reset();
    QVERIFY(!window);
}

QTEST_MAIN(TestRecorderPlayer)
#include "tst_recorderplayer.moc"
