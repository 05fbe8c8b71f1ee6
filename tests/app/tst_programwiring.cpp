#include "Controls.h"
#include "FakeMediaPlayer.h"
#include "RecordingDesktop.h"
#include "RecordingDialogs.h"
#include "TestFolder.h"
#include "app/Startup.h"
#include "bookmarks/BookmarkController.h"
#include "bookmarks/BookmarkWindow.h"
#include "bookmarks/BookmarkWindowUser.h"
#include "core/AppState.h"
#include "core/ProgramFolder.h"
#include "platform/Platform.h"
#include "platform/Twips.h"
#include "player/PlayerWindow.h"
#include "player/ValueDialog.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

namespace {

// One run of the program on a program folder, started and wired as the program starts.
struct Run {
    AppState state;
    RecordingDialogs dialogs;
    RecordingDesktop desktop;
    FakeMediaPlayer media;
    Startup::Session session;
    PlayerWindow* player = nullptr;
    BookmarkController* bookmarks = nullptr;

    explicit Run(const TestFolder& folder)
    {
        state.programFolder = folder.path();
        session = Startup::start(state, Platform{&media, &dialogs, &desktop}, QString());
        if (!session.player || !session.bookmarks)
            qFatal("the program did not start");
        player = session.player.get();
        bookmarks = session.bookmarks.get();
    }

    QStringList lines() const { return BookmarkWindowUser::lines(bookmarks->bookmarkWindow()); }

    // The player's menu command that shows `text`, as the user finds it.
    QAction* command(Text text) const
    {
        QAction* found = nullptr;
        const QString shown = state.texts.text(text);
        for (QAction* action : player->findChildren<QAction*>()) {
            if (action->text() == shown) {
                if (found)
                    qFatal("two menu commands read %s", qPrintable(shown));
                found = action;
            }
        }
        return found;
    }
};

// The open description dialog, driven as the user does: type, then OK or Cancel.
struct DescriptionDialog {
    QDialog* dialog;

    QLineEdit* field() const { return dialog->findChild<QLineEdit*>(); }
    QStringList labels() const
    {
        QStringList texts;
        for (const QLabel* label : dialog->findChildren<QLabel*>())
            texts << label->text();
        return texts;
    }
    QPushButton* button(bool isDefault) const
    {
        for (QPushButton* button : dialog->findChildren<QPushButton*>()) {
            if (button->isDefault() == isDefault)
                return button;
        }
        return nullptr;
    }
    void ok() const { button(true)->click(); }
    void cancel() const { button(false)->click(); }
};

void prepare(TestFolder& folder)
{
    folder.fillWithBundledData();
    folder.writeLanguage(QStringLiteral("English.lng"), QStringLiteral("en"));
    folder.write(QStringLiteral("Files/Vocarta.ini"), {QStringLiteral("English.lng")});
    folder.writeBytes(QStringLiteral("media/lesson.wav"), "RIFF");
}

} // namespace

class TestProgramWiring : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void addCommandAsksForTheDescription();
    void bookmarksSurviveARestart();
    void bookmarkBeyondTheEndGoesToTheEnd();
};

void TestProgramWiring::addCommandAsksForTheDescription()
{
    TestFolder folder;
    prepare(folder);
    Run run(folder);
    run.player->control()->openMedia(folder.filePath(QStringLiteral("media/lesson.wav")));
    run.media.advance(83);

    QAction* add = run.command(Text::AddBookmark);
    QVERIFY(add);
    QVERIFY(run.command(Text::ShowBookmarks));
    QVERIFY(!run.command(Text::HideBookmarks));

    QString title;
    QStringList labels;
    QTimer::singleShot(0, run.player, [&] {
        const DescriptionDialog dialog{run.player->valueCommands()->dialog()};
        QVERIFY(dialog.dialog);
        title = dialog.dialog->windowTitle();
        labels = dialog.labels();
        dialog.field()->setText(QStringLiteral("intro"));
        dialog.ok();
    });
    add->trigger();

    QCOMPARE(title, run.state.texts.plain(Text::AddBookmark));
    QVERIFY2(labels.contains(run.state.texts.plain(Text::BookmarkPrompt)),
             qPrintable(labels.join(QLatin1Char('|'))));
    QCOMPARE(run.lines(), QStringList{"00:01:23  intro"});
    QVERIFY(run.bookmarks->bookmarkWindow()->isVisible());
    // The show/hide command now offers to hide the window.
    QVERIFY(run.command(Text::HideBookmarks));
    QVERIFY(!run.command(Text::ShowBookmarks));

    bool stayedOpen = false;
    QTimer::singleShot(0, run.player, [&] {
        const DescriptionDialog dialog{run.player->valueCommands()->dialog()};
        QVERIFY(dialog.dialog);
        dialog.field()->setText(QStringLiteral("intro"));
        // Played on while typed, the bookmark still falls on the command's moment: a repeat.
        run.media.advance(8);
        dialog.ok();
        stayedOpen = dialog.dialog->isVisible();
        dialog.cancel();
    });
    add->trigger();

    QVERIFY(stayedOpen);
    QCOMPARE(run.dialogs.messages.size(), 1);
    QCOMPARE(run.dialogs.messages.first().text, run.state.texts.plain(Text::BookmarkExists));
    QCOMPARE(run.dialogs.messages.first().title, run.state.texts.plain(Text::ProgramName));
    QCOMPARE(run.lines(), QStringList{"00:01:23  intro"});
}

void TestProgramWiring::bookmarksSurviveARestart()
{
    TestFolder folder;
    prepare(folder);
    const QString lesson = folder.filePath(QStringLiteral("media/lesson.wav"));
    {
        Run run(folder);
        run.player->control()->openMedia(lesson);
        run.media.advance(125);
        QVERIFY(run.bookmarks->createBookmark(QStringLiteral("question")));
        QAction* exit = run.command(Text::Exit);
        QVERIFY(exit);
        exit->trigger();
    }
    QVERIFY(folder.readBytes(QStringLiteral("Bookmarks/lesson.wav.bm"))
                .startsWith("00:02:05  question"));

    Run again(folder);
    recentAction(again.player, 0)->trigger();
    QCOMPARE(again.media.url(), lesson);
    QCOMPARE(again.lines(), QStringList{"00:02:05  question"});
    QVERIFY(again.bookmarks->bookmarkWindow()->isVisible());
}

void TestProgramWiring::bookmarkBeyondTheEndGoesToTheEnd()
{
    TestFolder folder;
    prepare(folder);
    // Made on a longer recording of the same name.
    folder.write(QStringLiteral("Bookmarks/lesson.wav.bm"),
                 {QStringLiteral("00:15:00  late") + QString(15, QLatin1Char(' ')) +
                  QStringLiteral("00:15:00")});
    Run run(folder);
    run.player->control()->openMedia(folder.filePath(QStringLiteral("media/lesson.wav")));
    run.player->control()->togglePlayPause();

    run.bookmarks->nextBookmark();
    run.player->playback()->watchPlaybackState();

    QVERIFY(!run.media.calls.contains(QStringLiteral("seek 900")));
    QCOMPARE(run.media.currentPosition(), run.media.loadedDuration);
    QCOMPARE(label(run.player, "positionLabel")->text(), QStringLiteral("03:20 / 03:20"));
    QCOMPARE(label(run.player, "progressBar")->width(), Twips::toPixels(4260));
    QCOMPARE(run.player->playback()->state(), PlayState::Paused);
}

QTEST_MAIN(TestProgramWiring)
#include "tst_programwiring.moc"
