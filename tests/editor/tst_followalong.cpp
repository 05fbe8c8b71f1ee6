// Following along: the part of the transcript being heard is highlighted while playing, stops
// following at the user's scroll or caret move, and follows again on request.

#include "EditorFixture.h"
#include "editor/FollowAlong.h"

#include <QTest>
#include <QWheelEvent>

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
        media.pause();
        follow = std::make_unique<FollowAlong>(state, dialogs, &player, &box, stamps);
    }

    // The highlight's first line; "+" while polling, "!" when followed out of view.
    QString shown() const
    {
        const auto stretch = follow->highlighted();
        QTextCursor start(box.document());
        start.setPosition(stretch ? stretch->start : 0);
        const bool hidden =
            follow->isFollowing() && !box.viewport()->rect().contains(box.cursorRect(start));
        const QString part =
            stretch ? box.plainText(stretch->start, stretch->end - stretch->start) : QString();
        return part.section(u'\n', 0, 0) + (follow->isPolling() ? "+" : "") +
               (stretch && hidden ? "!" : "");
    }
    void run(const QString& step, double seconds)
    {
        if (step == u"play" || step == u"pause") {
            step == u"play" ? media.play() : media.pause();
            Q_EMIT player.playerEvents.playStateChanged();
        } else if (step == u"at") {
            media.setCurrentPosition(seconds);
            follow->tick();
        } else if (step == u"seek") {
            player.seekTo(seconds);
        } else if (step == u"caret") {
            QTest::keyClick(&box, Qt::Key_Down);
        } else if (step == u"wheel") {
            QWheelEvent wheel({10, 10}, box.mapToGlobal(QPointF(10, 10)), {}, {0, -120},
                              Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
            QApplication::sendEvent(box.viewport(), &wheel);
        } else if (step == u"type") {
            box.setSelectionStart(int(box.toPlainText().indexOf(QLatin1String("[00:20]"))));
            box.insertPlainText(QStringLiteral("[00:15] n\n"));
        } else if (step == u"media") {
            Q_EMIT player.playerEvents.mediaChanged();
        } else if (step == u"load") {
            box.setContents(box.toPlainText().toUtf8());
        } else if (step == u"resume") {
            follow->resume();
        } else if (step == u"off" || step == u"on") {
            follow->setEnabled(step == u"on");
        }
    }
};

} // namespace

class TestFollowAlong : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void theHeardPartIsHighlighted_data()
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
    }
    void theHeardPartIsHighlighted()
    {
        QFETCH(QString, text);
        QFETCH(double, position);
        Follow f(text, position);
        QTEST(f.shown(), "highlighted");
    }

    void followingStopsAndResumes_data()
    {
        QTest::addColumn<QString>("steps"); // each with its seconds
        QTest::addColumn<QString>("shown"); // after each step
        QTest::newRow("playing, the option")
            << "play,at 25,pause,seek 3,off,on"
            << "[00:10] b+|[00:20] c+|[00:20] c|[00:00] a||[00:00] a";
        QTest::newRow("the caret and the wheel stop it, another transcript or recording")
            << "play,caret,at 25,resume,wheel,at 5,load,caret,media"
            << "[00:10] b+|[00:10] b|[00:10] b|[00:20] c+|[00:20] c|[00:20] c|"
               "[00:00] a+|[00:00] a|[00:00] a+";
        QTest::newRow("typing") << "play,type,at 16,resume"
                                << "[00:10] b+|[00:10] b|[00:10] b|[00:15] n+";
    }
    void followingStopsAndResumes()
    {
        QFETCH(QString, steps);
        QString text;
        for (const char* stamp : {"[00:00] a", "[00:10] b", "[00:20] c"})
            text += QLatin1String(stamp) + QStringLiteral("\nwords").repeated(40) + u'\n';
        Follow f(text, 12);
        QStringList seen;
        for (const QString& step : steps.split(u',')) {
            f.run(step.section(u' ', 0, 0), step.section(u' ', 1).toDouble());
            seen << f.shown();
        }
        QTEST(seen.join(u'|'), "shown");
        // Only the typing changed the document; the option is in its file.
        QCOMPARE(f.box.document()->isUndoAvailable(), steps.contains(u"type"));
        const QString options = f.state.filesPath(QLatin1String(ListeningOptions::kFileName));
        QCOMPARE(ListeningOptions::read(options).followAlong, f.state.listening.followAlong);
    }
};

QTEST_MAIN(TestFollowAlong)
#include "tst_followalong.moc"
