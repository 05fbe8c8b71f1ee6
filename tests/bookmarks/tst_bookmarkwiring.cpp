#include "Controls.h"
#include "FakeMediaPlayer.h"
#include "RecordingDesktop.h"
#include "RecordingDialogs.h"
#include "TestFolder.h"
#include "bookmarks/BookmarkController.h"
#include "bookmarks/BookmarkWindow.h"
#include "core/AppState.h"
#include "core/ProgramFolder.h"
#include "platform/Platform.h"
#include "player/PlayerWindow.h"
#include "player/ValueDialog.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QTest>
#include <QTimer>

namespace {

// One run of the program on a program folder: the player and the bookmarks wired as at start.
struct Run {
    AppState state;
    RecordingDialogs dialogs;
    RecordingDesktop desktop;
    FakeMediaPlayer media;
    std::unique_ptr<BookmarkController> bookmarks;
    std::unique_ptr<PlayerWindow> player;

    explicit Run(const TestFolder& folder)
    {
        state.programFolder = folder.path();
        state.languageFile = QStringLiteral("English.lng");
        state.texts.load(state.languagePath());
        const Platform platform{&media, &dialogs, &desktop};
        player = std::make_unique<PlayerWindow>(state, platform);
        bookmarks = std::make_unique<BookmarkController>(state, platform, player.get());
        bookmarks->askDescription = [this](BookmarkController& b) {
            player->askBookmarkDescription(
                [&b](const QString& text) { return b.createBookmark(text); });
        };
        player->setBookmarks(bookmarks.get());
        player->placeEditor();
        player->restoreSession(QString());
        player->show();
    }

    QStringList lines() const
    {
        QStringList shown;
        if (bookmarks->form()) {
            for (int i = 0; i < bookmarks->form()->List1->count(); ++i)
                shown << bookmarks->form()->List1->item(i)->text();
        }
        return shown;
    }
};

void prepare(TestFolder& folder)
{
    ProgramFolder::fillMissing(QStringLiteral(VOCARTA_SOURCE_DATA_DIR), folder.path());
    folder.writeLanguage(QStringLiteral("English.lng"), QStringLiteral("en"));
    folder.write(QStringLiteral("Files/Vocarta.ini"), {QStringLiteral("English.lng")});
    folder.writeBytes(QStringLiteral("media/lesson.wav"), "RIFF");
}

} // namespace

class TestBookmarkWiring : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void addCommandAsksForTheDescription();
    void bookmarksSurviveARestart();
};

void TestBookmarkWiring::addCommandAsksForTheDescription()
{
    TestFolder folder;
    prepare(folder);
    Run run(folder);
    run.player->openMedia(folder.filePath(QStringLiteral("media/lesson.wav")));
    run.media.advance(83);

    QString title;
    QString prompt;
    QTimer::singleShot(0, run.player.get(), [&] {
        ValueDialog* dialog = run.player->valueDialog();
        QVERIFY(dialog);
        title = dialog->windowTitle();
        prompt = named<QLabel>(dialog, "promptLabel")->text();
        named<QLineEdit>(dialog, "valueEdit")->setText(QStringLiteral("intro"));
        dialog->confirm();
    });
    action(run.player, "addBookmarkAction")->trigger();

    QCOMPARE(title, run.state.texts.plain(Text::AddBookmark));
    QCOMPARE(prompt, run.state.texts.plain(Text::BookmarkPrompt));
    QCOMPARE(run.lines(), QStringList{"00:01:23  intro"});
    QVERIFY(run.bookmarks->form()->isVisible());
    QCOMPARE(action(run.player, "bookmarkWindowAction")->text(),
             run.state.texts.text(Text::HideBookmarks));

    bool stayedOpen = false;
    QTimer::singleShot(0, run.player.get(), [&] {
        ValueDialog* dialog = run.player->valueDialog();
        named<QLineEdit>(dialog, "valueEdit")->setText(QStringLiteral("intro"));
        dialog->confirm();
        stayedOpen = dialog->isVisible();
        dialog->cancel();
    });
    action(run.player, "addBookmarkAction")->trigger();

    QVERIFY(stayedOpen);
    QCOMPARE(run.dialogs.messages.size(), 1);
    QCOMPARE(run.dialogs.messages.first().text, run.state.texts.plain(Text::BookmarkExists));
    QCOMPARE(run.dialogs.messages.first().title, run.state.texts.plain(Text::ProgramName));
    QCOMPARE(run.lines(), QStringList{"00:01:23  intro"});
}

void TestBookmarkWiring::bookmarksSurviveARestart()
{
    TestFolder folder;
    prepare(folder);
    const QString lesson = folder.filePath(QStringLiteral("media/lesson.wav"));
    {
        Run run(folder);
        run.player->openMedia(lesson);
        run.media.advance(125);
        QVERIFY(run.bookmarks->createBookmark(QStringLiteral("question")));
        action(run.player, "exitAction")->trigger();
    }
    QVERIFY(folder.readBytes(QStringLiteral("Bookmarks/lesson.wav.bm"))
                .startsWith("00:02:05  question"));

    Run again(folder);
    again.player->openRecentMedia(0);
    QCOMPARE(again.media.url(), lesson);
    QCOMPARE(again.lines(), QStringList{"00:02:05  question"});
    QVERIFY(again.bookmarks->form()->isVisible());
}

QTEST_MAIN(TestBookmarkWiring)
#include "tst_bookmarkwiring.moc"
