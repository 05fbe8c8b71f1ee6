// Following along: the part of the transcript being heard is highlighted while playing, stops
// following at the user's scroll or caret move, and follows again on request.

#include "EditorFixture.h"
#include "editor/FollowAlong.h"
#include "editor/TimestampCommands.h"

#include <QScrollBar>
#include <QTest>
#include <QWheelEvent>

class TestFollowAlong : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void theHeardPartIsHighlighted_data();
    void theHeardPartIsHighlighted();
    void followingStopsAndResumes_data();
    void followingStopsAndResumes();
};

namespace {

struct Follow : EditorParts {
    RichTextBox box;
    TimestampCommands stamps{state, dialogs, &player, &box};
    std::unique_ptr<FollowAlong> follow;

    Follow(const QString& text, double position)
    {
        box.setPlainText(text);
        box.resize(300, 200);
        box.show();
        openMedia(position);
        follow = std::make_unique<FollowAlong>(state, dialogs, &player, &box, stamps);
    }

    QString highlighted() const
    {
        const auto stretch = follow->highlighted();
        return stretch ? box.plainText(stretch->start, stretch->end - stretch->start).trimmed()
                       : QString();
    }
};

} // namespace

void TestFollowAlong::theHeardPartIsHighlighted_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("position");
    QTest::addColumn<QString>("highlighted");
    const QString two = QStringLiteral("words [00:05] a [00:10] b");
    QTest::newRow("before the first") << two << 4.9 << "";
    QTest::newRow("at a timestamp") << two << 5.0 << "[00:05] a";
    QTest::newRow("between two") << two << 9.9 << "[00:05] a";
    QTest::newRow("after the last") << two << 60.0 << "[00:10] b";
    QTest::newRow("out of order") << "[00:10] b [00:05] a [00:20] c" << 7.0 << "[00:05] a";
    QTest::newRow("equal times") << "[00:05] a [00:05] b" << 6.0 << "[00:05] a";
    QTest::newRow("paragraphs") << "[00:00] one\ntwo\n[00:04] three" << 2.0 << "[00:00] one\ntwo";
    QTest::newRow("hundredths") << "#00:00:05.50# a #00:00:06.00# b" << 5.6 << "#00:00:05.50# a";
    QTest::newRow("no timestamps") << "just words" << 3.0 << "";
}

void TestFollowAlong::theHeardPartIsHighlighted()
{
    QFETCH(QString, text);
    QFETCH(double, position);
    QFETCH(QString, highlighted);
    Follow f(text, position);
    QCOMPARE(f.highlighted(), highlighted);
}

void TestFollowAlong::followingStopsAndResumes_data()
{
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<QStringList>("shown"); // after each step: the highlight's first line, polling
    QTest::newRow("playing") << QStringList{"play", "at 25", "pause", "seek 3"}
                             << QStringList{"[00:10] two+", "[00:20] three+", "[00:20] three",
                                            "[00:00] one"};
    QTest::newRow("the caret stops it")
        << QStringList{"play", "caret", "at 25", "resume"}
        << QStringList{"[00:10] two+", "[00:10] two", "[00:10] two", "[00:20] three+"};
    QTest::newRow("the wheel stops it")
        << QStringList{"play", "wheel", "at 25", "resume"}
        << QStringList{"[00:10] two+", "[00:10] two", "[00:10] two", "[00:20] three+"};
    QTest::newRow("a timestamp typed")
        << QStringList{"play", "type", "at 16", "resume"}
        << QStringList{"[00:10] two+", "[00:10] two", "[00:10] two", "[00:15] new+"};
    QTest::newRow("the option") << QStringList{"play", "off", "at 25", "on"}
                                << QStringList{"[00:10] two+", "", "", "[00:20] three+"};
    QTest::newRow("closed") << QStringList{"play", "close"} << QStringList{"[00:10] two+", ""};
}

void TestFollowAlong::followingStopsAndResumes()
{
    QFETCH(QStringList, steps);
    QFETCH(QStringList, shown);
    QString text;
    for (const char* stamp : {"[00:00] one", "[00:10] two", "[00:20] three"})
        text += QLatin1String(stamp) + QStringLiteral("\nwords").repeated(40) + u'\n';
    Follow f(text, 12);
    QStringList seen;
    for (const QString& step : steps) {
        const double seconds = step.section(u' ', 1).toDouble();
        if (step == u"play" || step == u"pause") {
            step == u"play" ? f.media.play() : f.media.pause();
            Q_EMIT f.player.playerEvents.playStateChanged();
        } else if (step.startsWith(u"at ")) {
            f.media.setCurrentPosition(seconds);
            f.follow->tick();
        } else if (step.startsWith(u"seek ")) {
            f.player.seekTo(seconds);
        } else if (step == u"caret") {
            QTest::keyClick(&f.box, Qt::Key_Down);
        } else if (step == u"wheel") {
            QWheelEvent wheel({10, 10}, f.box.mapToGlobal(QPointF(10, 10)), {}, {0, -120},
                              Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
            QApplication::sendEvent(f.box.viewport(), &wheel);
        } else if (step == u"type") {
            f.box.setSelectionStart(int(text.indexOf(QLatin1String("[00:20]"))));
            f.box.insertPlainText(QStringLiteral("[00:15] new\n"));
        } else if (step == u"resume") {
            f.follow->resume();
        } else if (step == u"off" || step == u"on") {
            f.follow->setEnabled(step == u"on");
        } else if (step == u"close") {
            f.media.close();
            Q_EMIT f.player.playerEvents.mediaChanged();
        }
        const QString first = f.highlighted().section(u'\n', 0, 0);
        seen << first + (f.follow->isPolling() ? QStringLiteral("+") : QString());
        // While following, the highlight is in view.
        if (const auto stretch = f.follow->highlighted(); stretch && f.follow->isFollowing()) {
            QTextCursor start(f.box.document());
            start.setPosition(stretch->start);
            QVERIFY2(f.box.viewport()->rect().contains(f.box.cursorRect(start)), qPrintable(step));
        }
    }
    QCOMPARE(seen, shown);
    // Only the typing changed the document.
    QCOMPARE(f.box.document()->isUndoAvailable(), steps.contains(u"type"));
    QCOMPARE(ListeningOptions::read(f.state.filesPath(QLatin1String(ListeningOptions::kFileName)))
                 .followAlong,
             f.state.listening.followAlong);
}

QTEST_MAIN(TestFollowAlong)
#include "tst_followalong.moc"
