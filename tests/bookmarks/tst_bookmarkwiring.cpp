#include "FakeMediaPlayer.h"
#include "RecordingDesktop.h"
#include "RecordingDialogs.h"
#include "TestFolder.h"
#include "app/AppState.h"
#include "app/ProgramFolder.h"
#include "bookmarks/Bookmarks.h"
#include "bookmarks/Form3.h"
#include "platform/Platform.h"
#include "player/Form1.h"
#include "player/Form4.h"

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
    std::unique_ptr<Bookmarks> bookmarks;
    std::unique_ptr<Form1> player;

    explicit Run(const TestFolder& folder)
    {
        state.programFolder = folder.path();
        state.languageFile = QStringLiteral("English.lng");
        state.texts.load(state.languagePath());
        const Platform platform{&media, &dialogs, &desktop};
        player = std::make_unique<Form1>(state, platform);
        bookmarks = std::make_unique<Bookmarks>(state, platform, player.get());
        bookmarks->askDescription = [this](Bookmarks& b) {
            player->askBookmarkDescription(
                [&b](const QString& text) { return b.addBookmark(text); });
        };
        player->setBookmarks(bookmarks.get());
        player->Form_Initialize();
        player->Form_Load(QString());
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
    run.player->OpenMedia(folder.filePath(QStringLiteral("media/lesson.wav")));
    run.media.advance(83);

    QString title;
    QString prompt;
    QTimer::singleShot(0, run.player.get(), [&] {
        Form4* dialog = run.player->valueDialog();
        QVERIFY(dialog);
        title = dialog->windowTitle();
        prompt = dialog->Label1->text();
        dialog->Text1->setText(QStringLiteral("intro"));
        dialog->Command1_Click();
    });
    run.player->mnuAddBM->trigger();

    QCOMPARE(title, run.state.texts.plain(93));
    QCOMPARE(prompt, run.state.texts.plain(88));
    QCOMPARE(run.lines(), QStringList{"00:01:23  intro"});
    QVERIFY(run.bookmarks->form()->isVisible());
    QCOMPARE(run.player->mnuBookMark->text(), run.state.texts.text(85));

    bool stayedOpen = false;
    QTimer::singleShot(0, run.player.get(), [&] {
        Form4* dialog = run.player->valueDialog();
        dialog->Text1->setText(QStringLiteral("intro"));
        dialog->Command1_Click();
        stayedOpen = dialog->isVisible();
        dialog->Command2_Click();
    });
    run.player->mnuAddBM->trigger();

    QVERIFY(stayedOpen);
    QCOMPARE(run.dialogs.messages.size(), 1);
    QCOMPARE(run.dialogs.messages.first().text, run.state.texts.plain(89));
    QCOMPARE(run.dialogs.messages.first().title, run.state.texts.plain(1));
    QCOMPARE(run.lines(), QStringList{"00:01:23  intro"});
}

void TestBookmarkWiring::bookmarksSurviveARestart()
{
    TestFolder folder;
    prepare(folder);
    const QString lesson = folder.filePath(QStringLiteral("media/lesson.wav"));
    {
        Run run(folder);
        run.player->OpenMedia(lesson);
        run.media.advance(125);
        QVERIFY(run.bookmarks->addBookmark(QStringLiteral("question")));
        run.player->mnuEsci->trigger();
    }
    QVERIFY(folder.readBytes(QStringLiteral("Bookmarks/lesson.wav.bm"))
                .startsWith("00:02:05  question"));

    Run again(folder);
    again.player->mnuRecent_Click(0);
    QCOMPARE(again.media.url(), lesson);
    QCOMPARE(again.lines(), QStringList{"00:02:05  question"});
    QVERIFY(again.bookmarks->form()->isVisible());
}

QTEST_MAIN(TestBookmarkWiring)
#include "tst_bookmarkwiring.moc"
