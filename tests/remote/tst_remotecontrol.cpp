#include "PlayerFixture.h"
#include "RealWait.h"
#include "core/Timestamp.h"
#include "remote/RemoteControl.h"

#include <QClipboard>
#include <QDialog>
#include <QGuiApplication>
#include <QTest>

using RemoteMessage::Request;
using Kind = RemoteMessage::Request::Kind;
Q_DECLARE_METATYPE(Timestamp::Style)

namespace {

// A player window on the fake engine, reached as the socket reaches it.
struct Fixture {
    PlayerFixture f;
    RemoteControl remote{{{f.player->control(), &f.bookmarks, &f.editor}, &f.state.timestamps}};

    // What the engine and the bookmarks were asked since `from`, focus returns left out.
    QStringList asked(qsizetype from) const
    {
        QStringList calls = f.journal.mid(from);
        calls.removeAll(QStringLiteral("editor focus"));
        return calls;
    }
};

} // namespace

class TestRemoteControl : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void commandsRunFromTheEventLoopInOrderOnce();
    void commands_data();
    void commands();
    void unknownCommandIsRefused();
    void copyTimestamp_data();
    void copyTimestamp();
    void handedFileOpensAsTheOpenCommand();
    void requestsWaitForAnOpenDialog_data();
    void requestsWaitForAnOpenDialog();
};

void TestRemoteControl::commandsRunFromTheEventLoopInOrderOnce()
{
    Fixture x;
    x.f.open(QStringLiteral("a.wav"));
    x.f.media.advance(20);
    const qsizetype from = x.f.journal.size();
    for (const char* name : {"play-pause", "skip-forward", "next-bookmark", "faster"})
        QVERIFY(x.remote.take({Kind::Command, QLatin1String(name)}));
    // Taken, not yet run: the socket's answer never waits for a command.
    QVERIFY(x.asked(from).isEmpty());
    QTRY_COMPARE_WITH_TIMEOUT(x.asked(from),
                              (QStringList{"media seek 17", "media pause", "media seek 23",
                                           "next bookmark", "media rate 1.1"}),
                              kRealWaitMs);
    QTest::qWait(20);
    QCOMPARE(x.asked(from).size(), 5);
}

void TestRemoteControl::commands_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("withMedia");
    QTest::addColumn<QStringList>("asked");
    QTest::newRow("play-pause") << "play-pause" << true
                                << QStringList{"media seek 17", "media pause"};
    QTest::newRow("stop") << "stop" << true << QStringList{"media stop"};
    QTest::newRow("skip-back") << "skip-back" << true << QStringList{"media seek 14"};
    QTest::newRow("skip-forward") << "skip-forward" << true << QStringList{"media seek 26"};
    QTest::newRow("slower") << "slower" << true << QStringList{"media rate 0.9"};
    QTest::newRow("faster") << "faster" << true << QStringList{"media rate 1.1"};
    QTest::newRow("next-bookmark") << "next-bookmark" << true << QStringList{"next bookmark"};
    QTest::newRow("previous-bookmark")
        << "previous-bookmark" << true << QStringList{"previous bookmark"};
    QTest::newRow("add-bookmark") << "add-bookmark" << true << QStringList{"add bookmark"};
    QTest::newRow("insert-timestamp")
        << "insert-timestamp" << true << QStringList{"timestamp inserted"};
    QTest::newRow("follow") << "follow" << true << QStringList{"following"};
    // As the player's menu entries, disabled while nothing is open.
    QTest::newRow("play-pause, nothing open") << "play-pause" << false << QStringList();
    QTest::newRow("faster, nothing open") << "faster" << false << QStringList();
    QTest::newRow("next-bookmark, nothing open") << "next-bookmark" << false << QStringList();
    QTest::newRow("add-bookmark, nothing open") << "add-bookmark" << false << QStringList();
}

void TestRemoteControl::commands()
{
    QFETCH(QString, name);
    QFETCH(bool, withMedia);
    QFETCH(QStringList, asked);
    Fixture x;
    if (withMedia) {
        x.f.open(QStringLiteral("a.wav"));
        x.f.media.advance(20);
    }
    const qsizetype from = x.f.journal.size();
    QVERIFY(x.remote.take({Kind::Command, name}));
    QTest::qWait(20);
    QCOMPARE(x.asked(from), asked);
}

void TestRemoteControl::unknownCommandIsRefused()
{
    Fixture x;
    x.f.open(QStringLiteral("a.wav"));
    const qsizetype from = x.f.journal.size();
    QVERIFY(!x.remote.take({Kind::Command, QStringLiteral("rewind")}));
    QTest::qWait(20);
    QVERIFY(x.asked(from).isEmpty());
}

void TestRemoteControl::copyTimestamp_data()
{
    QTest::addColumn<bool>("withMedia");
    QTest::addColumn<Timestamp::Style>("style");
    QTest::addColumn<QString>("copied");
    QTest::newRow("hours") << true << Timestamp::Style::HoursMinutesSeconds << "[00:01:20]";
    QTest::newRow("tenths") << true << Timestamp::Style::Tenths << "[00:01:20.5]";
    QTest::newRow("minutes") << true << Timestamp::Style::MinutesSeconds << "[01:20]";
    QTest::newRow("hashes") << true << Timestamp::Style::HashHundredths << "#00:01:20.50#";
    // What the clipboard held stays.
    QTest::newRow("nothing open") << false << Timestamp::Style::HoursMinutesSeconds << "before";
}

void TestRemoteControl::copyTimestamp()
{
    QFETCH(bool, withMedia);
    QFETCH(Timestamp::Style, style);
    QFETCH(QString, copied);
    Fixture x;
    if (withMedia) {
        x.f.open(QStringLiteral("a.wav"));
        x.f.media.advance(80.5);
    }
    x.f.state.timestamps.style = style;
    QGuiApplication::clipboard()->setText(QStringLiteral("before"));
    QVERIFY(x.remote.take({Kind::Command, QStringLiteral("copy-timestamp")}));
    QTest::qWait(20);
    QCOMPARE(QGuiApplication::clipboard()->text(), copied);
}

void TestRemoteControl::handedFileOpensAsTheOpenCommand()
{
    Fixture x;
    const QString a = x.f.open(QStringLiteral("a.wav"));
    x.f.bookmarks.bookmarks = true;
    x.f.player->showMinimized();
    const QString b = x.f.mediaFile(QStringLiteral("b.wav"));
    QVERIFY(x.remote.take({Kind::Open, b}));
    QTRY_COMPARE_WITH_TIMEOUT(x.f.media.url(), b, kRealWaitMs);
    QVERIFY(x.f.journal.contains(QStringLiteral("bookmarks saved")));
    QVERIFY(x.f.journal.contains(QStringLiteral("bookmarks loaded for ") + b));
    QCOMPARE(x.f.player->mediaSession()->recent().caption(0), b);
    QCOMPARE(x.f.player->mediaSession()->recent().caption(1), a);
    // Brought to the front.
    QVERIFY(!x.f.player->isMinimized());
}

void TestRemoteControl::requestsWaitForAnOpenDialog_data()
{
    QTest::addColumn<bool>("ownBox"); // each missing file's box takes the next request while open
    QTest::newRow("boxes of the requests themselves") << true;
    QTest::newRow("a dialog of the user's") << false;
}

void TestRemoteControl::requestsWaitForAnOpenDialog()
{
    QFETCH(bool, ownBox);
    Fixture x;
    const Request missing{Kind::Open, x.f.folder.filePath(QStringLiteral("missing.wav"))};
    int open = 0, deepest = 0, refused = 0;
    x.f.dialogs.whileShown = [&] {
        deepest = std::max(deepest, ++open);
        if (x.f.dialogs.messages.size() < 4)
            x.remote.take(missing);
        QTest::qWait(50);
        --open;
    };
    QDialog dialog(x.f.player.get());
    if (!ownBox)
        dialog.open();
    x.remote.take(missing);
    for (int i = 0; i < RemoteControl::kMaxWaitingRequests; ++i)
        refused += !x.remote.take({Kind::Command, QStringLiteral("stop")});
    QTest::qWait(300);
    const auto shown = x.f.dialogs.messages.size();
    dialog.close();
    QTRY_COMPARE_WITH_TIMEOUT(x.f.dialogs.messages.size(), 4, kRealWaitMs);
    QCOMPARE(QStringLiteral("refused %1, deepest %2, shown before the dialog closed %3")
                 .arg(refused)
                 .arg(deepest)
                 .arg(shown),
             QStringLiteral("refused 1, deepest 1, shown before the dialog closed %1")
                 .arg(ownBox ? 4 : 0));
}

QTEST_MAIN(TestRemoteControl)
#include "tst_remotecontrol.moc"
