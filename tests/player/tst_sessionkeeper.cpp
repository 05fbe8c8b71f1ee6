#include "FakeMediaPlayer.h"
#include "JournalCompanions.h"
#include "RecordingDialogs.h"
#include "TestFolder.h"
#include "core/AppState.h"
#include "player/PlayerPeers.h"
#include "player/SessionKeeper.h"

#include <QTest>

namespace {

// A keeper with stand-ins for the windows it closes, writing every step and signal to `journal`.
struct Keeper {
    TestFolder folder;
    AppState state;
    RecordingDialogs dialogs;
    FakeMediaPlayer media;
    QStringList journal;
    JournalEditor editor{journal};
    JournalBookmarks bookmarks{journal};
    PlayerPeers peers{.editor = &editor, .bookmarks = &bookmarks};
    SessionKeeper keeper{state, Platform{&media, &dialogs}, peers, nullptr};

    Keeper()
    {
        folder.fillWithBundledData();
        state.programFolder = folder.path();
        media.journal = &journal;
        QObject::connect(&keeper, &SessionKeeper::settingsSaved, [this](bool ok) {
            journal << (ok ? "settings saved" : "settings failed");
        });
        QObject::connect(&keeper, &SessionKeeper::closingStarted,
                         [this] { journal << "closing started"; });
        QObject::connect(&keeper, &SessionKeeper::closingRefused,
                         [this] { journal << "closing refused"; });
        QObject::connect(&keeper, &SessionKeeper::programEnded,
                         [this] { journal << "program ended"; });
    }
};

const QString kSteps = "closing started, settings saved, bookmarks closing, find hidden, media "
                       "stop, editor unloaded, program ended";

} // namespace

class TestSessionKeeper : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void closingFollowsTheTranscriptsAnswer_data();
    void closingFollowsTheTranscriptsAnswer();
    void anEndNobodyCanAnswerAsksNothingAndHappensOnce();
};

void TestSessionKeeper::closingFollowsTheTranscriptsAnswer_data()
{
    using Answer = EditorCommands::ExitAnswer;
    QTest::addColumn<Answer>("answer");
    QTest::addColumn<QString>("shown");
    QTest::newRow("proceed") << Answer::Proceed
                             << "true: bookmarks saved, editor question, " + kSteps;
    QTest::newRow("cancel") << Answer::Cancel << "false: bookmarks saved, editor question";
    QTest::newRow("transcript not saved")
        << Answer::SaveFailed
        << "false: bookmarks saved, editor question, settings saved, closing refused";
}

void TestSessionKeeper::closingFollowsTheTranscriptsAnswer()
{
    QFETCH(EditorCommands::ExitAnswer, answer);
    QFETCH(QString, shown);
    Keeper k;
    k.editor.answer = answer;

    const bool closed = k.keeper.runClosingSequence();
    QCOMPARE((closed ? "true: " : "false: ") + k.journal.join(", "), shown);
    QCOMPARE(k.keeper.hasEnded(), closed);

    // Whatever was answered, the user can leave afterwards, and the program ends once.
    k.editor.answer = EditorCommands::ExitAnswer::Proceed;
    QVERIFY(k.keeper.runClosingSequence());
    QVERIFY(k.keeper.runClosingSequence());
    QCOMPARE(k.journal.count("program ended"), 1);
}

void TestSessionKeeper::anEndNobodyCanAnswerAsksNothingAndHappensOnce()
{
    Keeper k;
    k.keeper.endWithoutAsking();
    k.keeper.endWithoutAsking();
    QVERIFY(k.keeper.runClosingSequence());

    QCOMPARE(k.journal.join(", "), "bookmarks saved, " + kSteps);
    QVERIFY(k.state.saveFailures.isQuiet());
}

QTEST_MAIN(TestSessionKeeper)
#include "tst_sessionkeeper.moc"
