#include "FakeMediaPlayer.h"
#include "RealWait.h"
#include "RecordingDesktop.h"
#include "RecordingDialogs.h"
#include "StartedRun.h"
#include "TestFolder.h"
#include "app/Startup.h"
#include "core/AppState.h"
#include "core/ProgramFolder.h"
#include "editor/EditorWindow.h"
#include "editor/RichTextBox.h"
#include "platform/Platform.h"
#include "player/PlayerWindow.h"

#include <QAction>
#include <QSignalSpy>
#include <QTest>

namespace {

// One run of the program with its editor, started as the program starts.
struct Run : StartedRun {
    explicit Run(bool editorShown)
    {
        folder.writeLanguage(QStringLiteral("English.lng"), QStringLiteral("en"));
        QStringList settings(23, QStringLiteral("0"));
        settings[0] = QStringLiteral("English.lng");
        settings[7] = editorShown ? QStringLiteral("0") : QStringLiteral("1");
        start(settings);
        if (!session.editor)
            qFatal("the program did not start");
    }

    RichTextBox* text() const
    {
        return session.editor->findChild<RichTextBox*>(QStringLiteral("textBox"));
    }
};

} // namespace

class TestEditorWiring : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void editorComesAfterThePlayerAsTheSettingsSay_data();
    void editorComesAfterThePlayerAsTheSettingsSay();
    void everyWayOutAsksAboutTheTranscript_data();
    void everyWayOutAsksAboutTheTranscript();
    void editorKeysRunThePlayersCommands();
};

void TestEditorWiring::editorComesAfterThePlayerAsTheSettingsSay_data()
{
    QTest::addColumn<bool>("shown");
    QTest::newRow("shown") << true;
    QTest::newRow("hidden") << false;
}

void TestEditorWiring::editorComesAfterThePlayerAsTheSettingsSay()
{
    QFETCH(bool, shown);
    Run run(shown);
    QTRY_VERIFY_WITH_TIMEOUT(run.text(), kRealWaitMs);
    QCOMPARE(run.session.editor->isVisible(), shown);
    const QRect player = run.session.player->frameGeometry();
    if (shown)
        QVERIFY(run.session.editor->y() >= player.bottom());
    auto* toggle = run.session.player->findChild<QAction*>(QStringLiteral("editorAction"));
    QCOMPARE(toggle->text(), run.state.texts.text(shown ? Text::HideEditor : Text::ShowEditor));
}

void TestEditorWiring::everyWayOutAsksAboutTheTranscript_data()
{
    QTest::addColumn<QString>("way");
    QTest::addColumn<bool>("editorShown");
    QTest::newRow("player closed") << QStringLiteral("close") << true;
    QTest::newRow("exit command") << QStringLiteral("exit") << true;
    QTest::newRow("Escape in the editor") << QStringLiteral("escape") << true;
    QTest::newRow("Ctrl+Q in the editor") << QStringLiteral("ctrl+q") << true;
    QTest::newRow("editor hidden") << QStringLiteral("close") << false;
}

void TestEditorWiring::everyWayOutAsksAboutTheTranscript()
{
    QFETCH(QString, way);
    QFETCH(bool, editorShown);
    Run run(editorShown);
    QTRY_VERIFY_WITH_TIMEOUT(run.text(), kRealWaitMs);
    PlayerWindow* player = run.session.player.get();
    QSignalSpy ended(player->sessionKeeper(), &SessionKeeper::programEnded);
    run.text()->insertPlainText(QStringLiteral("an hour of typing"));

    const auto leave = [&] {
        if (way == QLatin1String("close"))
            player->close();
        else if (way == QLatin1String("exit"))
            player->findChild<QAction*>(QStringLiteral("exitAction"))->trigger();
        else if (way == QLatin1String("escape"))
            QTest::keyClick(run.session.editor.get(), Qt::Key_Escape);
        else
            QTest::keyClick(run.text(), Qt::Key_Q, Qt::ControlModifier);
    };
    if (way == QLatin1String("escape") || way == QLatin1String("ctrl+q")) {
        run.session.editor->activateWindow();
        run.text()->setFocus();
        QVERIFY(QTest::qWaitForWindowActive(run.session.editor.get()));
    }

    run.dialogs.answers << QMessageBox::Cancel;
    leave();
    QCOMPARE(run.dialogs.messages.size(), 1);
    QCOMPARE(run.dialogs.messages.first().text,
             run.state.texts.plain(Text::SaveChangesTo) + QStringLiteral(" en 97 1?"));
    QCOMPARE(ended.size(), 0);
    QVERIFY(player->isVisible());
    QCOMPARE(run.text()->toPlainText(), QStringLiteral("an hour of typing"));

    run.dialogs.answers << QMessageBox::No;
    leave();
    QCOMPARE(run.dialogs.messages.size(), 2);
    QCOMPARE(ended.size(), 1);
}

void TestEditorWiring::editorKeysRunThePlayersCommands()
{
    Run run(true);
    QTRY_VERIFY_WITH_TIMEOUT(run.text(), kRealWaitMs);
    run.folder.writeBytes(QStringLiteral("media/talk.wav"), "RIFF");
    run.session.player->control()->openMedia(run.folder.filePath(QStringLiteral("media/talk.wav")));
    RichTextBox* box = run.text();
    box->setFocus();

    // An opened recording plays at once; F5 pauses it and plays it again.
    QCOMPARE(run.media.playState(), MediaPlayer::State::Playing);
    QTest::keyClick(box, Qt::Key_F5);
    QCOMPARE(run.media.playState(), MediaPlayer::State::Paused);
    QTest::keyClick(box, Qt::Key_F5);
    QCOMPARE(run.media.playState(), MediaPlayer::State::Playing);
    // F11 reaches the player's full path option and nothing else.
    auto* fullPath = run.session.player->findChild<QAction*>(QStringLiteral("fullPathAction"));
    const bool before = fullPath->isChecked();
    QTest::keyClick(box, Qt::Key_F11);
    QCOMPARE(fullPath->isChecked(), !before);
    QVERIFY(box->toPlainText().isEmpty());
}

QTEST_MAIN(TestEditorWiring)
#include "tst_editorwiring.moc"
