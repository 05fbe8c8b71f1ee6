// Type to pause: typing pauses the playing recording and it plays on once the typing rests;
// moving the caret, commands and a pause of the user's own are left alone.

#include "FakeMediaPlayer.h"
#include "FakePlayer.h"
#include "core/ListeningOptions.h"
#include "editor/RichTextBox.h"
#include "editor/TypingPause.h"

#include <QTest>

class TestTypingPause : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void typingPausesAndRestPlaysOn_data();
    void typingPausesAndRestPlaysOn();
};

void TestTypingPause::typingPausesAndRestPlaysOn_data()
{
    QTest::addColumn<bool>("on");
    QTest::addColumn<QString>("keys"); // letters typed; "<" the Left arrow; "^" Ctrl+A
    QTest::addColumn<bool>("userPause");
    QTest::addColumn<QString>("calls"); // the player's, while typing | after the rest
    QTest::newRow("typing") << true << "ab c" << false << "play toggle|play toggle";
    QTest::newRow("moving the caret") << true << "<<" << false << "|";
    QTest::newRow("a command") << true << "^" << false << "|";
    QTest::newRow("option off") << false << "ab" << false << "|";
    QTest::newRow("the user played on meanwhile") << true << "a" << true << "play toggle|";
}

void TestTypingPause::typingPausesAndRestPlaysOn()
{
    QFETCH(bool, on);
    QFETCH(QString, keys);
    QFETCH(bool, userPause);
    QFETCH(QString, calls);
    FakeMediaPlayer engine;
    // Any file that exists loads.
    engine.setUrl(QCoreApplication::applicationFilePath());
    engine.play();
    FakePlayer player(&engine);
    RichTextBox text;
    ListeningOptions options{.typeToPause = on, .typingRestMs = 200};
    new TypingPause(options, &player, &text);
    text.show();
    for (const QChar key : keys) {
        if (key == u'<')
            QTest::keyClick(&text, Qt::Key_Left);
        else if (key == u'^')
            QTest::keyClick(&text, Qt::Key_A, Qt::ControlModifier);
        else
            QTest::keyClick(&text, key.toLatin1());
    }
    QStringList shown{player.calls.join(u' ')};
    if (userPause)
        engine.play();
    player.calls.clear();
    QTest::qWait(400);
    shown << player.calls.join(u' ');
    QCOMPARE(shown.join(u'|'), calls);
    QCOMPARE(engine.playState(), MediaPlayer::State::Playing);
}

QTEST_MAIN(TestTypingPause)
#include "tst_typingpause.moc"
