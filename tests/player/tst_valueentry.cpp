#include "Controls.h"
#include "PlayerFixture.h"
#include "core/SettingsFile.h"
#include "player/SkinButton.h"
#include "player/TransportOptions.h"
#include "player/ValueDialog.h"
#include "player/ValueEntry.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

using ValueEntry::Mode;
Q_DECLARE_METATYPE(ValueEntry::Mode)

namespace {

// Types into the modal dialog once it shows and presses OK or Cancel.
void answerModal(PlayerWindow* player, const QString& typed, bool ok = true)
{
    QTimer::singleShot(0, player, [player, typed, ok] {
        ValueDialog* dialog = player->valueCommands()->dialog();
        QVERIFY(dialog);
        named<QLineEdit>(dialog, "valueEdit")->setText(typed);
        if (ok)
            dialog->confirm();
        else
            dialog->cancel();
    });
}

int setting(const PlayerFixture& f, Mode mode)
{
    TransportOptions options = f.player->playback()->options();
    return *ValueEntry::optionOf(options, mode);
}

void setSetting(PlayerFixture& f, Mode mode, int value)
{
    TransportOptions options = f.player->playback()->options();
    *ValueEntry::optionOf(options, mode) = value;
    f.player->playback()->setOptions(options);
}

// The player's command that edits the mode's setting.
void edit(PlayerWindow& player, Mode mode)
{
    player.valueCommands()->open(mode);
}

} // namespace

class TestValueEntry : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void leadingNumber_data();
    void leadingNumber();
    void numericModes_data();
    void numericModes();
    void blankFieldStoresNothing();
    void openingShowsTheLowerBound();
    void promptsAndCaptions();
    void longPromptShowsWhole();
    void opensOverTheWindowInUse_data();
    void opensOverTheWindowInUse();
    void goToWhilePlayingAndPaused_data();
    void goToWhilePlayingAndPaused();
    void menuCommandsOpenTheDialog();
};

void TestValueEntry::leadingNumber_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("number");
    QTest::newRow("plain") << "12" << 12.0;
    QTest::newRow("unit after") << "12 s" << 12.0;
    QTest::newRow("blanks and sign") << "  -1" << -1.0;
    QTest::newRow("decimal") << "2.5" << 2.5;
    QTest::newRow("second point stops") << "1.2.3" << 1.2;
    QTest::newRow("comma stops") << "3,7" << 3.0;
    QTest::newRow("letters") << "abc" << 0.0;
    QTest::newRow("sign only") << "-" << 0.0;
    QTest::newRow("exponent not read") << "1e3" << 1.0;
}

void TestValueEntry::leadingNumber()
{
    QFETCH(QString, text);
    QFETCH(double, number);
    QCOMPARE(ValueEntry::leadingNumber(text), number);
}

void TestValueEntry::numericModes_data()
{
    QTest::addColumn<Mode>("mode");
    QTest::addColumn<int>("before");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("stored");
    QTest::addColumn<int>("messageEntry"); // 0: no message
    QTest::addColumn<QString>("bound");

    QTest::newRow("jump 1") << Mode::JumpSeconds << 5 << "1" << 2 << int(Text::LowestAllowed)
                            << " 2.";
    QTest::newRow("jump 61") << Mode::JumpSeconds << 5 << "61" << 60 << int(Text::HighestAllowed)
                             << " 60.";
    QTest::newRow("jump 60") << Mode::JumpSeconds << 5 << "60" << 60 << 0 << "";
    QTest::newRow("jump 2") << Mode::JumpSeconds << 5 << "2" << 2 << 0 << "";
    QTest::newRow("jump letters") << Mode::JumpSeconds << 5 << "abc" << 2
                                  << int(Text::LowestAllowed) << " 2.";
    QTest::newRow("jump 99999 keeps") << Mode::JumpSeconds << 5 << "99999" << 5 << 0 << "";
    QTest::newRow("jump 2.5 to even") << Mode::JumpSeconds << 5 << "2.5" << 2 << 0 << "";
    QTest::newRow("jump 3.5 to even") << Mode::JumpSeconds << 5 << "3.5" << 4 << 0 << "";
    QTest::newRow("back -1") << Mode::SecondsBack << 3 << "-1" << 0 << int(Text::LowestAllowed)
                             << " 0.";
    QTest::newRow("back 21") << Mode::SecondsBack << 3 << "21" << 20 << int(Text::HighestAllowed)
                             << " 20.";
    QTest::newRow("back 0") << Mode::SecondsBack << 3 << "0" << 0 << 0 << "";
    QTest::newRow("back letters") << Mode::SecondsBack << 3 << "x" << 0 << 0 << "";
    QTest::newRow("play 2") << Mode::PlayTime << 7 << "2" << 3 << 0 << "";
    QTest::newRow("play 1000") << Mode::PlayTime << 7 << "1000" << 1000 << 0 << "";
    QTest::newRow("pause letters") << Mode::PauseTime << 7 << "soon" << 3 << 0 << "";
    QTest::newRow("pause 12 s") << Mode::PauseTime << 7 << "12 s" << 12 << 0 << "";
}

void TestValueEntry::numericModes()
{
    QFETCH(Mode, mode);
    QFETCH(int, before);
    QFETCH(QString, typed);
    QFETCH(int, stored);
    QFETCH(int, messageEntry);
    QFETCH(QString, bound);
    PlayerFixture f;
    setSetting(f, mode, before);
    f.journal.clear();

    int result = -1;
    QTimer::singleShot(0, f.player.get(), [&f, &result] {
        ValueDialog* dialog = f.player->valueCommands()->dialog();
        QObject::connect(dialog, &QDialog::finished, [&result](int code) { result = code; });
    });
    answerModal(f.player.get(), typed);
    edit(*f.player, mode);

    QCOMPARE(setting(f, mode), stored);
    QCOMPARE(result, int(QDialog::Accepted));
    QCOMPARE(f.journal, QStringList{"settings saved"});
    if (messageEntry == 0) {
        QVERIFY(f.dialogs.messages.isEmpty());
    } else {
        QCOMPARE(f.dialogs.messages.size(), 1);
        QCOMPARE(f.dialogs.messages.first().text, f.state.texts.plain(Text(messageEntry)) + bound);
        QCOMPARE(f.dialogs.messages.first().title, f.state.texts.plain(Text::ProgramName));
        QCOMPARE(f.dialogs.messages.first().icon, QMessageBox::Warning);
    }
    const auto file = SettingsFile::read(f.state.settingsPath());
    QVERIFY(file);
    QCOMPARE(setting(f, mode), mode == Mode::JumpSeconds   ? file->jumpSeconds
                               : mode == Mode::SecondsBack ? file->backSeconds
                               : mode == Mode::PlayTime    ? file->playTime
                                                           : file->pauseTime);
}

void TestValueEntry::blankFieldStoresNothing()
{
    PlayerFixture f;
    f.setOption(&TransportOptions::skipSeconds, 9);
    const QByteArray before = f.folder.readBytes(QStringLiteral("Files/Vocarta.ini"));
    answerModal(f.player.get(), QStringLiteral("    "));
    f.player->valueCommands()->open(Mode::JumpSeconds);
    QCOMPARE(f.option(&TransportOptions::skipSeconds), 9);
    QCOMPARE(f.folder.readBytes(QStringLiteral("Files/Vocarta.ini")), before);
    QVERIFY(f.dialogs.messages.isEmpty());
}

void TestValueEntry::openingShowsTheLowerBound()
{
    PlayerFixture f;
    f.setOption(&TransportOptions::playTime, 2);
    QString shown;
    QTimer::singleShot(0, f.player.get(), [&f, &shown] {
        shown = named<QLineEdit>(f.player->valueCommands()->dialog(), "valueEdit")->text();
        QCOMPARE(named<QLineEdit>(f.player->valueCommands()->dialog(), "valueEdit")->selectedText(),
                 shown);
        f.player->valueCommands()->dialog()->cancel();
    });
    f.player->valueCommands()->open(Mode::PlayTime);
    QCOMPARE(shown, QStringLiteral("7"));
    QCOMPARE(f.option(&TransportOptions::playTime), 7);
}

void TestValueEntry::promptsAndCaptions()
{
    PlayerFixture f;
    f.state.texts.setText(Text::PlayTime, QStringLiteral("Play &time"));
    f.state.texts.setText(Text::SuggestedSeconds, QStringLiteral("(suggested: nnn s)"));
    ValueDialog dialog(f.state.texts, f.dialogs, QPixmap());
    dialog.setAttribute(Qt::WA_DeleteOnClose, false);

    dialog.setMode(Mode::PlayTime);
    QCOMPARE(named<QLabel>(dialog, "promptLabel")->text(),
             QStringLiteral("Play time (suggested: 7 s)"));
    QCOMPARE(dialog.windowTitle(), f.state.texts.plain(Text::SmartPlay));
    dialog.setMode(Mode::JumpSeconds);
    QCOMPARE(dialog.windowTitle(), f.state.texts.plain(Text::SkipLengthTitle));
    QCOMPARE(named<QLabel>(dialog, "promptLabel")->text(),
             f.state.texts.plain(Text::SkipLengthPrompt));
    dialog.setMode(Mode::GoTo);
    QCOMPARE(named<QLineEdit>(dialog, "valueEdit")->text(), QString());
    QCOMPARE(named<QPushButton>(dialog, "okButton")->text(), f.state.texts.text(Text::Ok));
    QCOMPARE(named<QPushButton>(dialog, "cancelButton")->text(), f.state.texts.text(Text::Cancel));
}

// Some languages' prompts take two or three lines; none of them is cut.
void TestValueEntry::longPromptShowsWhole()
{
    PlayerFixture f;
    f.state.texts.setText(Text::SkipLengthPrompt, QStringLiteral("seconds ").repeated(30));
    ValueDialog dialog(f.state.texts, f.dialogs, QPixmap());
    dialog.setAttribute(Qt::WA_DeleteOnClose, false);
    dialog.setMode(Mode::JumpSeconds);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));

    const QLabel* prompt = named<QLabel>(dialog, "promptLabel");
    QVERIFY(prompt->heightForWidth(prompt->width()) > 2 * prompt->fontMetrics().height());
    QVERIFY2(prompt->height() >= prompt->heightForWidth(prompt->width()),
             qPrintable(QStringLiteral("%1 < %2")
                            .arg(prompt->height())
                            .arg(prompt->heightForWidth(prompt->width()))));
    QVERIFY(prompt->geometry().bottom() < named<QLineEdit>(dialog, "valueEdit")->geometry().top());
}

void TestValueEntry::opensOverTheWindowInUse_data()
{
    QTest::addColumn<bool>("inEditor");
    QTest::newRow("player") << false;
    QTest::newRow("editor, as for Ctrl+M there") << true;
}

void TestValueEntry::opensOverTheWindowInUse()
{
    QFETCH(bool, inEditor);
    PlayerFixture f;
    f.editor.widget.setGeometry(380, 300, 400, 260);
    f.editor.widget.show();
    QWidget* inUse = inEditor ? &f.editor.widget : static_cast<QWidget*>(f.player.get());
    inUse->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(inUse));
    ValueDialog dialog(f.state.texts, f.dialogs, QPixmap(), f.player.get());
    dialog.setAttribute(Qt::WA_DeleteOnClose, false);
    dialog.setMode(Mode::NewBookmark);
    dialog.show();

    const QPoint offCentre = dialog.frameGeometry().center() - inUse->frameGeometry().center();
    QVERIFY2(offCentre.manhattanLength() <= 2,
             qPrintable(QStringLiteral("%1,%2").arg(offCentre.x()).arg(offCentre.y())));
}

void TestValueEntry::goToWhilePlayingAndPaused_data()
{
    QTest::addColumn<bool>("playing");
    QTest::addColumn<double>("position");
    QTest::addColumn<MediaPlayer::State>("state");
    QTest::newRow("playing plays on") << true << 90.0 << MediaPlayer::State::Playing;
    QTest::newRow("paused ends paused, stepped back")
        << false << 87.0 << MediaPlayer::State::Paused;
}

void TestValueEntry::goToWhilePlayingAndPaused()
{
    QFETCH(bool, playing);
    QFETCH(double, position);
    QFETCH(MediaPlayer::State, state);
    PlayerFixture f;
    f.setOption(&TransportOptions::backSeconds, 3);
    f.open(QStringLiteral("talk.wav"));
    if (!playing)
        f.player->control()->togglePlayPause();

    f.player->valueCommands()->open(Mode::GoTo);
    ValueDialog* dialog = f.player->valueCommands()->dialog();
    QVERIFY(dialog);
    QVERIFY(!dialog->isModal());
    named<QLineEdit>(dialog, "valueEdit")->setText(QStringLiteral("90"));
    dialog->confirm();

    QCOMPARE(f.media.currentPosition(), position);
    QCOMPARE(f.media.playState(), state);
    QCOMPARE(f.player->playback()->isPlaying(), playing);
    QVERIFY(label(f.player, "positionLabel")->text().startsWith(formatMediaTime(position)));
}

void TestValueEntry::menuCommandsOpenTheDialog()
{
    PlayerFixture f;
    answerModal(f.player.get(), QStringLiteral("15"));
    action(f.player, "backSecondsAction")->trigger();
    QCOMPARE(f.option(&TransportOptions::backSeconds), 15);
    answerModal(f.player.get(), QStringLiteral("40"));
    action(f.player, "pauseTimeAction")->trigger();
    QCOMPARE(f.option(&TransportOptions::pauseTime), 40);
    answerModal(f.player.get(), QStringLiteral("8"), false);
    action(f.player, "skipSecondsAction")->trigger();
    QCOMPARE(f.option(&TransportOptions::skipSeconds), 6);
}

QTEST_MAIN(TestValueEntry)
#include "tst_valueentry.moc"
