// The recorder window as a user drives it: the file it offers and asks for, its buttons through
// a recording, its meters and counters, and what it says when recording fails.

#include "Controls.h"
#include "RecorderRig.h"
#include "WavFacts.h"
#include "platform/Twips.h"
#include "recorder/LevelBar.h"
#include "recorder/RecordedTime.h"
#include "recorder/RecorderWindow.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

namespace {

QPushButton* pushButton(const RecorderWindow& w, const char* name)
{
    return named<QPushButton>(&w, name);
}

QString stateText(const RecorderWindow& w)
{
    return label(&w, "stateLabel")->text();
}

QColor stateColour(const RecorderWindow& w)
{
    return label(&w, "stateLabel")->palette().color(QPalette::WindowText);
}

} // namespace

class TestRecorderWindow : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void defaultFileName_data();
    void defaultFileName();
    void formatTime_data();
    void formatTime();
    void startAsksForTheFile();
    void backingOutLeavesItIdle_data();
    void backingOutLeavesItIdle();
    void pauseResumeAndStopFromPause();
    void stateBlinksOnlyWhileCapturing();
    void metersShowThePeaks_data();
    void metersShowThePeaks();
    void failuresAreShown_data();
    void failuresAreShown();
    void closingFinishesTheFile();
    void serverGoneSaysWhereTheTakeIs();
};

void TestRecorderWindow::defaultFileName_data()
{
    QTest::addColumn<QStringList>("present");
    QTest::addColumn<QString>("expected");
    QTest::newRow("none") << QStringList() << "Rec 01.wav";
    QTest::newRow("01 and 02") << QStringList{"Rec 01.wav", "Rec 02.wav"} << "Rec 03.wav";
    QStringList nine;
    for (int n = 1; n <= 9; ++n)
        nine << QStringLiteral("Rec 0%1.wav").arg(n);
    QTest::newRow("01 to 09") << nine << "Rec 10.wav";
    QTest::newRow("a gap at 02") << QStringList{"Rec 01.wav", "Rec 03.wav"} << "Rec 02.wav";
}

void TestRecorderWindow::defaultFileName()
{
    QFETCH(QStringList, present);
    QFETCH(QString, expected);
    RecorderRig rig;
    for (const QString& name : present)
        rig.folder.writeBytes(name, "RIFF");
    RecorderWindow w(rig.state, rig.platform);
    QCOMPARE(w.fileName(), rig.folder.filePath(expected));
}

void TestRecorderWindow::formatTime_data()
{
    QTest::addColumn<qint64>("value");
    QTest::addColumn<bool>("milliseconds");
    QTest::addColumn<QString>("expected");
    QTest::newRow("zero") << qint64(0) << false << "00:00:00";
    QTest::newRow("3725 s") << qint64(3725) << false << "01:02:05";
    QTest::newRow("3725000 ms") << qint64(3725000) << true << "01:02:05";
    QTest::newRow("999 ms") << qint64(999) << true << "00:00:00";
    QTest::newRow("59 min 59 s") << qint64(3599) << false << "00:59:59";
    QTest::newRow("100 hours") << qint64(360000) << false << "100:00:00";
}

void TestRecorderWindow::formatTime()
{
    QFETCH(qint64, value);
    QFETCH(bool, milliseconds);
    QFETCH(QString, expected);
    QCOMPARE(RecordedTime::format(value, milliseconds), expected);
}

void TestRecorderWindow::startAsksForTheFile()
{
    RecorderRig rig;
    RecorderWindow w(rig.state, rig.platform);
    QCOMPARE(w.windowTitle(), rig.entry(Text::Record));
    QCOMPARE(pushButton(w, "startButton")->text(), "&" + rig.entry(Text::StartRecording));
    QVERIFY(!pushButton(w, "stopButton")->isEnabled());
    named<QComboBox>(&w, "channelsBox")->setCurrentIndex(1);
    named<QComboBox>(&w, "frequencyBox")->setCurrentText(QStringLiteral("22050"));
    named<QComboBox>(&w, "bitsBox")->setCurrentText(QStringLiteral("8"));

    const QString offered = w.fileName();
    const QString chosen = rig.folder.filePath(QStringLiteral("lecture.wav"));
    rig.dialogs.chosenFiles << chosen;
    w.pressStart();

    QCOMPARE(rig.dialogs.fileDialogs.size(), 1);
    const FileDialogRequest& request = rig.dialogs.fileDialogs[0];
    QVERIFY(!request.open);
    QCOMPARE(request.owner, &w);
    QCOMPARE(request.title, rig.entry(Text::SaveRecordingTitle));
    QCOMPARE(request.filters.size(), 1);
    QCOMPARE(request.filters[0].first, rig.entry(Text::WavFiles));
    QCOMPARE(request.filters[0].second, QStringLiteral("*.wav"));
    QCOMPARE(request.defaultExtension, QStringLiteral("wav"));
    QCOMPARE(request.fileName, offered);

    // Until the sound input answers, the window says it is starting.
    QCOMPARE(stateText(w), rig.entry(Text::RecordingStarting));
    QVERIFY(!pushButton(w, "startButton")->isEnabled());
    QTRY_VERIFY(pushButton(w, "startButton")->isEnabled());
    QVERIFY(w.isRecording());
    QCOMPARE(rig.device.format, (PcmFormat{1, 8, 22050}));
    QCOMPARE(w.fileName(), chosen);
    QCOMPARE(pushButton(w, "startButton")->text(), rig.entry(Text::Pause));
    QVERIFY(pushButton(w, "stopButton")->isEnabled());
    QVERIFY(!named<QLineEdit>(&w, "fileBox")->isEnabled());
    QVERIFY(!named<QComboBox>(&w, "bitsBox")->isEnabled());
    QCOMPARE(stateText(w), rig.entry(Text::RecordingMark));
    QCOMPARE(stateColour(w), QColor(Qt::red));
    QVERIFY(label(&w, "stateLabel")->font().bold());
    QVERIFY(!named<QWidget>(&w, "meterPanel")->isHidden());
    QCOMPARE(label(&w, "bytesLabel")->text(), "45 " + rig.entry(Text::Bytes));
    QCOMPARE(label(&w, "timeLabel")->text(), QStringLiteral("00:00:00"));

    // The meters and the blink run on timers far coarser than a millisecond.
    QCOMPARE(timer(&w, "levelTimer")->interval(), 50);
    QCOMPARE(timer(&w, "blinkTimer")->interval(), 500);
    QVERIFY(timer(&w, "levelTimer")->isActive());
    for (const QTimer* t : w.findChildren<QTimer*>())
        QVERIFY2(t->interval() >= 50, qPrintable(t->objectName()));

    // Only whole buffers reach the counters while recording: 8 of them, 2.97 s.
    rig.device.capture(3 * 22050);
    w.refreshLevels();
    QCOMPARE(label(&w, "timeLabel")->text(), QStringLiteral("00:00:02"));
    QCOMPARE(label(&w, "bytesLabel")->text(),
             QString::number(45 + 8 * 8192) + " " + rig.entry(Text::Bytes));
}

void TestRecorderWindow::backingOutLeavesItIdle_data()
{
    QTest::addColumn<bool>("chooseExisting");
    QTest::newRow("dialog cancelled") << false;
    QTest::newRow("No to replacing a file") << true;
}

void TestRecorderWindow::backingOutLeavesItIdle()
{
    QFETCH(bool, chooseExisting);
    RecorderRig rig;
    RecorderWindow w(rig.state, rig.platform);
    const QString offered = w.fileName();
    const QString existing = rig.folder.filePath(QStringLiteral("keep.wav"));
    rig.folder.writeBytes(QStringLiteral("keep.wav"), "an earlier take");
    if (chooseExisting) {
        rig.dialogs.chosenFiles << existing;
        rig.dialogs.answers << QMessageBox::No;
    }
    w.pressStart();
    if (chooseExisting) {
        QCOMPARE(rig.dialogs.messages.size(), 1);
        const auto& question = rig.dialogs.messages[0];
        QCOMPARE(question.icon, QMessageBox::Warning);
        QCOMPARE(question.title, rig.entry(Text::ProgramName));
        QCOMPARE(question.text,
                 rig.entry(Text::FileExists) + "\n\n" + rig.entry(Text::ReplaceFile));
        QCOMPARE(question.buttons, QMessageBox::Yes | QMessageBox::No);
    }
    QVERIFY(!w.isRecording());
    QCOMPARE(rig.device.opens, 0);
    QCOMPARE(rig.folder.readBytes(QStringLiteral("keep.wav")), QByteArray("an earlier take"));
    QCOMPARE(pushButton(w, "startButton")->text(), "&" + rig.entry(Text::StartRecording));
    QCOMPARE(w.fileName(), offered);

    // The next press starts a recording, Yes replacing the file.
    rig.dialogs.chosenFiles << existing;
    rig.dialogs.answers << QMessageBox::Yes;
    w.pressStart();
    QVERIFY(w.isRecording());
    QTRY_COMPARE(rig.folder.readBytes(QStringLiteral("keep.wav")).size(), 44);
}

void TestRecorderWindow::pauseResumeAndStopFromPause()
{
    RecorderRig rig;
    RecorderWindow w(rig.state, rig.platform);
    const QString path = rig.startTake(w);
    rig.device.capture(10000);

    w.pressStart();
    QVERIFY(w.isRecording());
    QVERIFY(rig.device.paused);
    QCOMPARE(pushButton(w, "startButton")->text(), "&" + rig.entry(Text::ResumeRecording));
    QCOMPARE(stateText(w), rig.entry(Text::RecordingPaused));
    QCOMPARE(stateColour(w), QColor(0, 128, 0));
    QVERIFY(named<QWidget>(&w, "recordingIndicator")->isHidden());

    w.pressStart();
    QVERIFY(!rig.device.paused);
    QCOMPARE(pushButton(w, "startButton")->text(), rig.entry(Text::Pause));
    QVERIFY(!named<QWidget>(&w, "recordingIndicator")->isHidden());
    rig.device.capture(9000);
    w.pressStart();
    w.pressStop();

    QVERIFY(!w.isRecording());
    QVERIFY(!rig.device.isOpen());
    QCOMPARE(pushButton(w, "startButton")->text(), "&" + rig.entry(Text::StartRecording));
    QVERIFY(!pushButton(w, "stopButton")->isEnabled());
    QVERIFY(named<QLineEdit>(&w, "fileBox")->isEnabled());
    QCOMPARE(stateText(w), QString());
    QCOMPARE(stateColour(w), QColor(Qt::blue));
    const WavFacts wav = WavFacts::readFile(path);
    QCOMPARE(wav.sound.size(), 19000);
    QCOMPARE(wav.dataSize, 19000u);
    QCOMPARE(label(&w, "bytesLabel")->text(), "19045 " + rig.entry(Text::Bytes));
    rig.folder.writeLanguage(QStringLiteral("Other.lng"), QStringLiteral("xx"));
    QVERIFY(rig.state.texts.load(rig.folder.filePath(QStringLiteral("Files/Lang/Other.lng"))));
    w.retranslate();
    QCOMPARE(label(&w, "bytesLabel")->text(), QStringLiteral("19045 xx 110"));
}

void TestRecorderWindow::stateBlinksOnlyWhileCapturing()
{
    RecorderRig rig;
    RecorderWindow w(rig.state, rig.platform);
    rig.startTake(w);
    const QString mark = rig.entry(Text::RecordingMark);
    QCOMPARE(stateText(w), mark);
    w.blink();
    QCOMPARE(stateText(w), QString());
    w.blink();
    QCOMPARE(stateText(w), mark);
    w.pressStart();
    QVERIFY(!timer(&w, "blinkTimer")->isActive());
    w.blink();
    QCOMPARE(stateText(w), rig.entry(Text::RecordingPaused));
}

void TestRecorderWindow::metersShowThePeaks_data()
{
    QTest::addColumn<int>("left");
    QTest::addColumn<int>("right");
    QTest::newRow("full scale left, silent right") << 32767 << 0;
    QTest::newRow("-32768 right, half left") << 16384 << -32768;
}

void TestRecorderWindow::metersShowThePeaks()
{
    QFETCH(int, left);
    QFETCH(int, right);
    RecorderRig rig;
    RecorderWindow w(rig.state, rig.platform);
    rig.startTake(w);
    w.show();
    QByteArray buffer;
    for (int frame = 0; frame < 2048; ++frame)
        for (int sample : {left, right})
            buffer.append(char(sample & 0xFF)).append(char((sample >> 8) & 0xFF));
    rig.device.captureBytes(buffer);
    w.refreshLevels();

    const int inner = Twips::fromPixels(named<QWidget>(&w, "meterFrame")->width());
    const auto expected = [inner](int sample) {
        const int twips = inner * std::abs(sample) / 32767 - 110;
        return twips > 0 ? Twips::toPixels(twips) : 0;
    };
    QCOMPARE(named<LevelBar>(&w, "leftMeter")->width(), expected(left));
    QCOMPARE(named<LevelBar>(&w, "rightMeter")->width(), expected(right));
    if (left == 32767)
        QCOMPARE(named<LevelBar>(&w, "leftMeter")->width(), Twips::toPixels(inner - 110));
}

void TestRecorderWindow::failuresAreShown_data()
{
    QTest::addColumn<bool>("deviceFails");
    QTest::addColumn<CaptureDevice::Failure>("failure");
    QTest::newRow("no sound server") << true << CaptureDevice::Failure::Broken;
    QTest::newRow("sound server stalled") << true << CaptureDevice::Failure::Stalled;
    QTest::newRow("disk full") << false << CaptureDevice::Failure::Broken;
}

void TestRecorderWindow::failuresAreShown()
{
    QFETCH(bool, deviceFails);
    QFETCH(CaptureDevice::Failure, failure);
    RecorderRig rig;
    RecorderWindow w(rig.state, rig.platform);
    if (deviceFails) {
        rig.device.openError = QStringLiteral(" Connection refused ");
        rig.device.openFailure = failure;
        rig.dialogs.chosenFiles << w.fileName();
    } else {
        if (!QFileInfo(QStringLiteral("/dev/full")).isWritable())
            QSKIP("/dev/full is not there to fill");
        rig.dialogs.chosenFiles << QStringLiteral("/dev/full");
        rig.dialogs.answers << QMessageBox::Yes; // it exists
    }
    const QString path = rig.dialogs.chosenFiles.head();
    w.pressStart();
    QTRY_VERIFY(w.engine().state() != CaptureEngine::State::Starting);
    for (int i = 0; i < 100 && w.isRecording(); ++i)
        rig.device.captureBuffers(1);

    QVERIFY(!w.isRecording());
    QCOMPARE(pushButton(w, "startButton")->text(), "&" + rig.entry(Text::StartRecording));
    const RecordingDialogs::Message shown = rig.dialogs.messages.last();
    if (failure == CaptureDevice::Failure::Stalled) {
        QCOMPARE(shown.text, rig.entry(Text::SoundServerNotAnswering));
        QVERIFY(!QFileInfo::exists(path));
    } else if (deviceFails) {
        // The server's own words, as a plain box.
        QCOMPARE(shown.icon, QMessageBox::NoIcon);
        QCOMPARE(shown.text, QStringLiteral("Connection refused"));
        QCOMPARE(shown.buttons, QMessageBox::Ok);
        QVERIFY(!QFileInfo::exists(path));
    } else {
        QCOMPARE(shown.icon, QMessageBox::Warning);
        QVERIFY2(shown.text.startsWith(rig.entry(Text::SaveFailed) + "\n/dev/full\n"),
                 qPrintable(shown.text));
    }
}

void TestRecorderWindow::serverGoneSaysWhereTheTakeIs()
{
    RecorderRig rig;
    RecorderWindow w(rig.state, rig.platform);
    const QString path = rig.startTake(w);
    rig.device.capture(10000);
    rig.device.breakOff(QStringLiteral(" Connection terminated "));

    QVERIFY(!w.isRecording());
    QCOMPARE(rig.dialogs.messages.last().text,
             rig.entry(Text::RecordingBrokeOff) + "\n" + path + "\n\nConnection terminated");
    QCOMPARE(WavFacts::readFile(path).dataSize, 10000u);
}

void TestRecorderWindow::closingFinishesTheFile()
{
    RecorderRig rig;
    auto* w = new RecorderWindow(rig.state, rig.platform);
    w->setAttribute(Qt::WA_DeleteOnClose);
    const QString path = rig.startTake(*w);
    w->show();
    rig.device.capture(8192 * 2 + 4000);
    QVERIFY(w->close());
    QVERIFY(!rig.device.isOpen());
    const WavFacts wav = WavFacts::readFile(path);
    QCOMPARE(wav.dataSize, quint32(8192 * 2 + 4000));
    QCOMPARE(wav.sound.size(), 8192 * 2 + 4000);
}

QTEST_MAIN(TestRecorderWindow)
#include "tst_recorderwindow.moc"
