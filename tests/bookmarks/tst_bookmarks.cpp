#include "BookmarkWindowUser.h"
#include "FakeMediaPlayer.h"
#include "FakePlayer.h"
#include "RecordingDialogs.h"
#include "TestFolder.h"
#include "bookmarks/BookmarkController.h"
#include "bookmarks/BookmarkFile.h"
#include "bookmarks/BookmarkWindow.h"
#include "core/AppState.h"
#include "platform/QtTranslation.h"
#include "platform/Twips.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <memory>

using namespace BookmarkWindowUser;

namespace {

QString record(const QString& time, const QString& text)
{
    return time + "  " + text + QString(15, QLatin1Char(' ')) + time;
}

// A program folder with two recordings, the bookmarks controller and a player around it.
struct Fixture {
    TestFolder folder;
    AppState state;
    RecordingDialogs dialogs;
    FakeMediaPlayer media;
    FakePlayer player{&media};
    std::unique_ptr<BookmarkController> bookmarks;
    QString lecture;
    QString interview;

    Fixture()
    {
        state.programFolder = folder.path();
        state.languageFile = QStringLiteral("English.lng");
        folder.writeLanguage(state.languageFile, QStringLiteral("en"));
        state.texts.load(state.languagePath());
        media.loadedDuration = 7200;
        folder.writeBytes(QStringLiteral("media/lecture.mp3"), "x");
        folder.writeBytes(QStringLiteral("other/interview.wav"), "x");
        lecture = folder.filePath(QStringLiteral("media/lecture.mp3"));
        interview = folder.filePath(QStringLiteral("other/interview.wav"));
        restart();
    }

    // A new run of the program on the same folder.
    void restart()
    {
        bookmarks.reset();
        bookmarks = std::make_unique<BookmarkController>(state, Platform{&media, &dialogs, nullptr},
                                                         &player, &player.player);
    }

    // What opening a recording does around the bookmarks: save and forget those held, only
    // while there are any, then load the new recording's.
    void open(const QString& path)
    {
        if (bookmarks->hasBookmarks()) {
            bookmarks->saveBookmarks();
            bookmarks->clearBookmarks();
        }
        state.currentMediaPath = path;
        media.setUrl(path);
        bookmarks->loadBookmarks(path);
    }

    void writeBookmarks(const QString& mediaPath, const QStringList& lines)
    {
        const QString file = BookmarkFile::path(folder.path(), mediaPath);
        folder.write(file.mid(folder.path().size() + 1), lines);
    }

    bool add(double seconds, const QString& description)
    {
        media.setCurrentPosition(seconds);
        return bookmarks->createBookmark(description);
    }

    BookmarkWindow* window() const { return bookmarks->bookmarkWindow(); }

    QStringList lines() const { return BookmarkWindowUser::lines(window()); }
};

QStringList threeMarks()
{
    return {record("00:00:10", "one"), record("00:00:20", "two"), record("00:00:30", "three")};
}

// Frames are stored in twips but live in pixels: one pixel of rounding is allowed.
#define COMPARE_TWIPS(actual, expected)                                                            \
    QVERIFY2(qAbs((actual) - (expected)) <= Twips::fromPixels(1),                                  \
             qPrintable(QStringLiteral("%1 is not %2").arg(actual).arg(expected)))

// The user's box number `count` says, under the heading, the file's path and the reason.
void checkTold(const Fixture& f, const QString& file, Text heading, qsizetype count = 1)
{
    QCOMPARE(f.dialogs.messages.size(), count);
    const auto& box = f.dialogs.messages.last();
    QCOMPARE(box.title, f.state.texts.plain(Text::ProgramName));
    const QStringList lines = box.text.split(QLatin1Char('\n'));
    QCOMPARE(lines.size(), 3);
    QCOMPARE(lines[0], f.state.texts.plain(heading));
    QCOMPARE(lines[1], file);
    QVERIFY(!lines[2].isEmpty());
}

} // namespace

class TestBookmarks : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void addingAtEightyThreeSecondsAndTheDuplicateWarning();
    void linesAreSortedByTime();
    void jumpMovesOnlyBeyondOneSecond_data();
    void jumpMovesOnlyBeyondOneSecond();
    void nextAndPrevious_data();
    void nextAndPrevious();
    void stepsWorkWhileTheWindowIsNotLoaded();
    void removingTheSecondOfThree();
    void roundTripAcrossRecordingsAndARestart();
    void removingEveryBookmarkRemovesTheFile_data();
    void removingEveryBookmarkRemovesTheFile();
    void aCancelledExitKeepsTheLists();
    void savedUnderTheRecordingTheyBelongTo();
    void placement();
    void showHideAndUnload();
    void anUnloadedWindowNoLongerReachesTheBookmarks();
    void delayedCloseAtExit();
    void addCommandAndPlusAtTheEnd();
    void resizeRules();
    void badFileShownAsFarAsPossible();
    void aFailedSaveIsLoggedAndNothingElseBreaks_data();
    void aFailedSaveIsLoggedAndNothingElseBreaks();
    void anUnreadableFileIsToldAndNeverReplaced();
    void hundredThousandBookmarks();
};

void TestBookmarks::addingAtEightyThreeSecondsAndTheDuplicateWarning()
{
    Fixture f;
    f.state.texts.setText(Text::ProgramName, QStringLiteral("&Vocarta"));
    f.state.texts.setText(Text::BookmarkExists, QStringLiteral("Already &there"));
    f.open(f.lecture);

    QVERIFY(f.add(83, QStringLiteral("intro")));
    QCOMPARE(f.lines(), QStringList{"00:01:23  intro"});
    QCOMPARE(f.bookmarks->table().records(), QStringList{record("00:01:23", "intro")});

    QVERIFY(!f.add(83.4, QStringLiteral("intro")));
    QCOMPARE(f.dialogs.messages.size(), 1);
    QCOMPARE(f.dialogs.messages[0].icon, QMessageBox::Warning);
    QCOMPARE(f.dialogs.messages[0].title, QStringLiteral("Vocarta"));
    QCOMPARE(f.dialogs.messages[0].text, QStringLiteral("Already there"));
    QCOMPARE(f.lines().size(), 1);

    // Only an exact repeat is refused.
    QVERIFY(f.add(83, QStringLiteral("Intro")));
    QVERIFY(f.add(83, QStringLiteral("intro ")));
    QCOMPARE(f.lines().size(), 3);
    QCOMPARE(f.dialogs.messages.size(), 1);
}

void TestBookmarks::linesAreSortedByTime()
{
    Fixture f;
    f.open(f.lecture);
    QVERIFY(f.add(120, QStringLiteral("b")));
    QVERIFY(f.add(30, QStringLiteral("a")));
    QVERIFY(f.add(60, QStringLiteral("c")));
    QCOMPARE(f.lines(), (QStringList{"00:00:30  a", "00:01:00  c", "00:02:00  b"}));
    QCOMPARE(
        f.bookmarks->table().records(),
        (QStringList{record("00:00:30", "a"), record("00:01:00", "c"), record("00:02:00", "b")}));
}

void TestBookmarks::jumpMovesOnlyBeyondOneSecond_data()
{
    QTest::addColumn<QString>("time");
    QTest::addColumn<bool>("playing");
    QTest::addColumn<double>("position");
    QTest::newRow("1:02:03 paused") << "01:02:03" << false << 3723.0;
    QTest::newRow("1:02:03 playing") << "01:02:03" << true << 3723.0;
    QTest::newRow("2 s") << "00:00:02" << false << 2.0;
    QTest::newRow("1 s stays") << "00:00:01" << false << 50.0;
    QTest::newRow("0 s stays") << "00:00:00" << true << 50.0;
}

void TestBookmarks::jumpMovesOnlyBeyondOneSecond()
{
    QFETCH(QString, time);
    QFETCH(bool, playing);
    QFETCH(double, position);
    Fixture f;
    f.writeBookmarks(f.lecture, {record(time, "mark")});
    f.open(f.lecture);
    f.media.setCurrentPosition(50);
    if (!playing)
        f.media.pause();
    const MediaPlayer::State state = f.media.playState();
    f.player.calls.clear();
    f.media.calls.clear();

    doubleClickLine(f.window(), 0);

    QCOMPARE(f.media.currentPosition(), position);
    QCOMPARE(f.media.playState(), state);
    QCOMPARE(f.player.calls,
             QStringList{position == 50.0 ? QStringLiteral("refresh")
                                          : QStringLiteral("seek %1").arg(position)});
    if (position == 50.0)
        QVERIFY(f.media.calls.isEmpty());
}

void TestBookmarks::nextAndPrevious_data()
{
    QTest::addColumn<int>("selected");
    QTest::addColumn<bool>("next");
    QTest::addColumn<int>("expectedSelection");
    QTest::addColumn<double>("position");
    QTest::newRow("next, no selection") << -1 << true << 0 << 10.0;
    QTest::newRow("previous, no selection") << -1 << false << -1 << 100.0;
    QTest::newRow("next from the first") << 0 << true << 1 << 20.0;
    QTest::newRow("previous on the first") << 0 << false << 0 << 100.0;
    QTest::newRow("next on the last") << 2 << true << 2 << 100.0;
    QTest::newRow("previous from the last") << 2 << false << 1 << 20.0;
}

void TestBookmarks::nextAndPrevious()
{
    QFETCH(int, selected);
    QFETCH(bool, next);
    QFETCH(int, expectedSelection);
    QFETCH(double, position);
    Fixture f;
    f.writeBookmarks(f.lecture, threeMarks());
    f.open(f.lecture);
    BookmarkWindow* window = f.window();
    if (selected >= 0)
        window->selectLine(selected);
    f.media.setCurrentPosition(100);
    f.player.calls.clear();

    if (next)
        f.bookmarks->nextBookmark();
    else
        f.bookmarks->previousBookmark();

    QCOMPARE(window->selectedIndex(), expectedSelection);
    QCOMPARE(f.media.currentPosition(), position);
    QCOMPARE(f.player.calls.join(' ').contains("seek"), position != 100.0);
}

void TestBookmarks::stepsWorkWhileTheWindowIsNotLoaded()
{
    Fixture f;
    f.writeBookmarks(f.interview, threeMarks());
    f.open(f.interview);
    f.bookmarks->unloadWindow();
    QVERIFY(!f.window());

    f.bookmarks->nextBookmark();
    QVERIFY(f.window());
    QVERIFY(!f.window()->isVisible());
    QCOMPARE(f.window()->selectedIndex(), 0);
    QCOMPARE(f.media.currentPosition(), 10.0);
    f.bookmarks->nextBookmark();
    QCOMPARE(f.media.currentPosition(), 20.0);
}

void TestBookmarks::removingTheSecondOfThree()
{
    Fixture f;
    f.writeBookmarks(f.lecture, threeMarks());
    f.open(f.lecture);
    BookmarkWindow* window = f.window();

    removeButton(window)->click(); // nothing selected: nothing removed
    QCOMPARE(f.lines().size(), 3);
    QCOMPARE(f.bookmarks->table().size(), 3);

    window->selectLine(1);
    removeButton(window)->click();
    QCOMPARE(f.lines(), (QStringList{"00:00:10  one", "00:00:30  three"}));
    QCOMPARE(f.bookmarks->table().records(),
             (QStringList{record("00:00:10", "one"), record("00:00:30", "three")}));

    doubleClickLine(window, 1);
    QCOMPARE(window->selectedIndex(), 1);
    QCOMPARE(f.media.currentPosition(), 30.0);
}

void TestBookmarks::roundTripAcrossRecordingsAndARestart()
{
    Fixture f;
    f.open(f.lecture);
    QVERIFY(f.add(83, QStringLiteral("intro")));
    QVERIFY(f.add(3723, QStringLiteral("the hour")));
    QVERIFY(f.add(5, QStringLiteral("")));
    const QStringList lectureLines = f.lines();
    const QStringList lectureRecords = f.bookmarks->table().records();

    f.open(f.interview);
    QVERIFY(f.lines().isEmpty());
    QVERIFY(!f.bookmarks->hasBookmarks());
    QByteArray expected;
    for (const QString& r : lectureRecords)
        expected += r.toUtf8() + "\r\n";
    QCOMPARE(f.folder.readBytes(QStringLiteral("Bookmarks/lecture.mp3.bm")), expected);
    QVERIFY(f.add(7, QStringLiteral("hello")));

    f.open(f.lecture);
    QCOMPARE(f.lines(), lectureLines);
    QVERIFY(f.window()->isVisible());
    QVERIFY(f.player.menuShown);

    // The program is killed, saving nothing, and starts again.
    QVERIFY(f.add(9, QStringLiteral("late")));
    f.bookmarks->closeAtExit();
    f.restart();
    f.open(f.lecture);
    QCOMPARE(f.lines(), (QStringList{"00:00:05  ", "00:00:09  late", "00:01:23  intro",
                                     "01:02:03  the hour"}));
    f.open(f.interview);
    QCOMPARE(f.lines(), QStringList{"00:00:07  hello"});
}

void TestBookmarks::removingEveryBookmarkRemovesTheFile_data()
{
    QTest::addColumn<bool>("atExit");
    QTest::newRow("killed at exit, saving nothing") << true;
    QTest::newRow("another recording opened") << false;
}

void TestBookmarks::removingEveryBookmarkRemovesTheFile()
{
    QFETCH(bool, atExit);
    Fixture f;
    f.writeBookmarks(f.lecture, threeMarks());
    f.open(f.lecture);
    for (int i = 0; i < 3; ++i) {
        f.window()->selectLine(0);
        removeButton(f.window())->click();
    }
    QVERIFY(!f.bookmarks->hasBookmarks());

    if (atExit) {
        f.restart();
    } else {
        f.open(f.interview);
    }
    QVERIFY(!QFileInfo::exists(f.bookmarks->bookmarkFile(f.lecture)));
    f.open(f.lecture);
    QVERIFY(f.lines().isEmpty());
    QVERIFY(!f.bookmarks->hasBookmarks());
}

void TestBookmarks::aCancelledExitKeepsTheLists()
{
    Fixture f;
    f.open(f.lecture);
    QVERIFY(f.add(10, QStringLiteral("a")));
    QVERIFY(f.add(20, QStringLiteral("b")));
    f.bookmarks->saveBookmarks(); // the closing sequence starts, then the user cancels it
    QCOMPARE(f.lines().size(), 2);
    f.bookmarks->unloadWindow();
    QCOMPARE(f.bookmarks->table().size(), 2);
    QVERIFY(f.add(30, QStringLiteral("c")));
    f.bookmarks->saveBookmarks();
    const auto saved = BookmarkFile::read(f.bookmarks->bookmarkFile(f.lecture));
    QVERIFY(saved);
    QCOMPARE(saved->size(), 3);
}

void TestBookmarks::savedUnderTheRecordingTheyBelongTo()
{
    Fixture f;
    f.writeBookmarks(f.interview, {record("00:00:01", "theirs")});
    const QByteArray theirs = f.folder.readBytes(QStringLiteral("Bookmarks/interview.wav.bm"));
    f.open(f.lecture);
    QVERIFY(f.add(10, QStringLiteral("mine")));
    f.state.currentMediaPath = f.interview; // the path moved on before the save
    f.bookmarks->saveBookmarks();
    QCOMPARE(f.folder.readBytes(QStringLiteral("Bookmarks/interview.wav.bm")), theirs);
    const auto mine = BookmarkFile::read(f.bookmarks->bookmarkFile(f.lecture));
    QVERIFY(mine);
    QCOMPARE(*mine, QStringList{record("00:00:10", "mine")});
}

void TestBookmarks::placement()
{
    Fixture f;
    // Shown beside the player as tall as it; hidden, nothing is placed.
    f.bookmarks->toggleBookmarkWindow();
    f.bookmarks->toggleBookmarkWindow();
    QtTranslation::announceLanguageChange();
    QCoreApplication::processEvents();
    // The add command places it again but keeps the height the user gave it, and so does another
    // language, which may widen the player's menus.
    f.media.setCurrentPosition(5);
    f.bookmarks->addBookmark();
    QtTranslation::announceLanguageChange();
    QCoreApplication::processEvents();
    QCOMPARE(f.player.calls, (QStringList{"menu shown", "placed full height", "menu hidden",
                                          "menu shown", "placed", "placed"}));
    QVERIFY(f.window()->isVisible());
    QCOMPARE(f.window()->parentWidget(), &f.player.player);
}

void TestBookmarks::showHideAndUnload()
{
    Fixture f;
    f.writeBookmarks(f.lecture, threeMarks());
    f.state.currentMediaPath = f.lecture;
    f.bookmarks->loadBookmarks(f.lecture); // opens the window
    QVERIFY(f.window()->isVisible());
    QCOMPARE(f.bookmarks->window(), f.window());
    QCOMPARE(f.player.calls, (QStringList{"menu shown", "placed full height"}));
    QCOMPARE(f.window()->windowTitle(), QStringLiteral("en 120"));
    QCOMPARE(addButton(f.window())->text(), QStringLiteral("+"));
    QCOMPARE(addButton(f.window())->toolTip(), QStringLiteral(" en 93 "));
    QCOMPARE(removeButton(f.window())->text(), QStringLiteral("-"));
    QCOMPARE(removeButton(f.window())->toolTip(), QStringLiteral(" en 100 "));

    f.bookmarks->toggleBookmarkWindow();
    QVERIFY(f.window());
    QVERIFY(!f.window()->isVisible());
    QVERIFY(!f.player.menuShown);
    QCOMPARE(f.lines().size(), 3);

    f.bookmarks->toggleBookmarkWindow();
    QVERIFY(f.window()->isVisible());
    QVERIFY(f.player.menuShown);

    // Closed by its frame: it unloads, and its bookmarks stay in the table.
    QPointer<BookmarkWindow> window = f.window();
    window->selectLine(0);
    removeButton(window)->click();
    window->close();
    QVERIFY(!f.window());
    QVERIFY(!f.bookmarks->window());
    QVERIFY(!f.player.menuShown);
    QCOMPARE(f.bookmarks->table().size(), 2);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(window.isNull());

    f.bookmarks->toggleBookmarkWindow();
    QCOMPARE(f.lines(), (QStringList{"00:00:20  two", "00:00:30  three"}));
}

void TestBookmarks::anUnloadedWindowNoLongerReachesTheBookmarks()
{
    Fixture f;
    f.writeBookmarks(f.lecture, threeMarks());
    f.open(f.lecture);
    int asked = 0;
    f.bookmarks->setDescriptionPrompt([&asked](const auto&) { ++asked; });
    QPointer<BookmarkWindow> old = f.window();
    old->close();
    f.bookmarks->toggleBookmarkWindow();
    BookmarkWindow* current = f.window();
    QVERIFY(current);
    QVERIFY(current != old);
    // Its deletion is still pending: what it says now must not touch the new one.
    QVERIFY(old);
    f.media.setCurrentPosition(50);
    f.player.calls.clear();
    addButton(old)->click();
    old->selectLine(0);
    removeButton(old)->click();
    QCOMPARE(old->lineCount(), 2);
    Q_EMIT old->jumpRequested(record("00:00:20", "two"));
    Q_EMIT old->unloadRequested();

    QCOMPARE(f.window(), current);
    QVERIFY(current->isVisible());
    QVERIFY(f.player.menuShown);
    QCOMPARE(asked, 0);
    QCOMPARE(f.bookmarks->table().size(), 3);
    QCOMPARE(f.media.currentPosition(), 50.0);
    QVERIFY(f.player.calls.isEmpty());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(old.isNull());
}

void TestBookmarks::delayedCloseAtExit()
{
    Fixture f;
    f.bookmarks->closeAtExit(); // no window: nothing to do
    f.open(f.lecture);
    QVERIFY(f.add(10, QStringLiteral("a")));
    f.bookmarks->toggleBookmarkWindow();
    QPointer<BookmarkWindow> window = f.window();
    QSignalSpy unloadRequests(window.data(), &BookmarkWindow::unloadRequested);

    f.bookmarks->closeAtExit();
    QVERIFY(!window->isVisible());
    const QTimer* delay = window->findChild<QTimer*>(QStringLiteral("unloadTimer"));
    QVERIFY(delay);
    QVERIFY(delay->isActive());
    QCOMPARE(delay->interval(), 50);
    QCOMPARE(f.window(), window.data());
    QVERIFY(unloadRequests.isEmpty());

    // Left to the event loop, the delay runs out once.
    QTRY_VERIFY(!f.window());
    QCOMPARE(unloadRequests.size(), 1);
    QVERIFY(!f.player.menuShown);
    QCOMPARE(f.bookmarks->table().records(), QStringList{record("00:00:10", "a")});
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(window.isNull());
}

void TestBookmarks::addCommandAndPlusAtTheEnd()
{
    Fixture f;
    f.open(f.lecture);
    f.bookmarks->addBookmark(); // no dialog wired yet: shown, nothing added
    QVERIFY(f.window()->isVisible());
    QVERIFY(f.lines().isEmpty());
    f.bookmarks->toggleBookmarkWindow();

    QStringList asked;
    f.bookmarks->setDescriptionPrompt([&](const BookmarkController::BookmarkAcceptor& add) {
        asked << f.media.currentPositionString();
        QVERIFY(f.window()->isVisible());
        add(QStringLiteral("start"));
    });
    f.media.setCurrentPosition(100);
    f.bookmarks->addBookmark();
    QVERIFY(f.player.menuShown);
    QVERIFY(!f.player.calls.contains("play toggle"));
    QCOMPARE(f.media.currentPosition(), 100.0);

    f.media.advance(8000); // played to the end
    QCOMPARE(f.media.playState(), MediaPlayer::State::Stopped);
    addButton(f.window())->click();
    QCOMPARE(f.media.currentPosition(), 0.0);
    QVERIFY(f.player.calls.contains("play toggle"));
    QCOMPARE(f.media.playState(), MediaPlayer::State::Playing);
    QCOMPARE(asked, (QStringList{"01:40", "00:00"}));
    QCOMPARE(f.lines(), (QStringList{"00:00:00  start", "00:01:40  start"}));
}

void TestBookmarks::resizeRules()
{
    Fixture f;
    f.bookmarks->toggleBookmarkWindow();
    BookmarkWindow* window = f.window();
    const QListWidget* list = lineList(window);
    const auto* add = addButton(window);
    const auto* remove = removeButton(window);
    for (int width : {6000, 3000}) {
        window->resize(Twips::toPixels(width), Twips::toPixels(3000));
        const int w = Twips::fromPixels(window->width());
        COMPARE_TWIPS(Twips::fromPixels(list->width()), w - 140);
        const int addLeft = w - Twips::fromPixels(add->width()) - 160;
        COMPARE_TWIPS(Twips::fromPixels(add->x()), addLeft);
        COMPARE_TWIPS(Twips::fromPixels(remove->x()),
                      addLeft - Twips::fromPixels(remove->width()) - 60);
        QCOMPARE(add->y(), remove->y());
        QVERIFY(list->geometry().bottom() < window->height());
    }
}

void TestBookmarks::badFileShownAsFarAsPossible()
{
    Fixture f;
    const QByteArray bytes = "abc\r\n\r\nxx:yy:zz  what               ab:cd:ef\r\n"
                             "00:00:07  caf\xe9" +
                             QByteArray(15, ' ') +
                             "00:00:07\r\n"
                             "00:00:09  " +
                             QByteArray(100000, 'w') + QByteArray(15, ' ') +
                             "00:00:09\r\n01:23  old" + QByteArray(15, ' ') + "01:23\r\n";
    f.folder.writeBytes(QStringLiteral("Bookmarks/lecture.mp3.bm"), bytes);
    f.open(f.lecture);
    const QStringList expected = {"00:00:07  caf\u00e9", "00:00:09  " + QString(100000, 'w'),
                                  "00:01:23  old", "abc", "xx:yy:zz  what"};
    QCOMPARE(f.lines(), expected);

    // Times that read as 0 leave the player where it was.
    const QList<double> targets = {7, 9, 83, 50, 50};
    BookmarkWindow* window = f.window();
    QCOMPARE(window->lineCount(), int(targets.size()));
    for (int i = 0; i < window->lineCount(); ++i) {
        f.media.setCurrentPosition(50);
        doubleClickLine(window, i);
        QCOMPARE(f.media.currentPosition(), targets[i]);
    }
    // Looked at but not changed: the file stays as it was on disk.
    f.bookmarks->saveBookmarks();
    QCOMPARE(f.folder.readBytes(QStringLiteral("Bookmarks/lecture.mp3.bm")), bytes);
}

void TestBookmarks::aFailedSaveIsLoggedAndNothingElseBreaks_data()
{
    QTest::addColumn<bool>("folderIsAFile");
    QTest::addColumn<bool>("nextRecording");
    QTest::newRow("save, a file in the folder's place") << true << false;
    QTest::newRow("save, a folder in the file's place") << false << false;
    QTest::newRow("next recording loaded, a folder in the file's place") << false << true;
}

void TestBookmarks::aFailedSaveIsLoggedAndNothingElseBreaks()
{
    QFETCH(bool, folderIsAFile);
    QFETCH(bool, nextRecording);
    Fixture f;
    f.writeBookmarks(f.interview, {record("00:00:07", "hello")});
    f.open(f.lecture);
    QVERIFY(f.add(20, QStringLiteral("b")));
    QVERIFY(f.add(10, QStringLiteral("a")));
    const QStringList lines = f.lines();
    const QStringList records = f.bookmarks->table().records();
    const QString file = f.bookmarks->bookmarkFile(f.lecture);
    const QString obstacle = folderIsAFile ? f.folder.filePath(QStringLiteral("Bookmarks")) : file;
    if (folderIsAFile) {
        QVERIFY(QDir(obstacle).removeRecursively());
        f.folder.writeBytes(QStringLiteral("Bookmarks"), "in the way");
    } else {
        QFile::remove(obstacle);
        QVERIFY(QDir().mkpath(obstacle + QStringLiteral("/inside")));
    }

    QTest::ignoreMessage(QtWarningMsg,
                         QRegularExpression(QStringLiteral("^Could not save the bookmarks to \"") +
                                            QRegularExpression::escape(file) +
                                            QStringLiteral("\": \\S")));
    if (nextRecording) {
        f.state.currentMediaPath = f.interview;
        f.bookmarks->loadBookmarks(f.interview);
        QCOMPARE(f.lines(), QStringList{"00:00:07  hello"});
        QVERIFY(f.window()->isVisible());
        QVERIFY(f.add(30, QStringLiteral("more")));
        f.bookmarks->saveBookmarks();
        QCOMPARE(*BookmarkFile::read(f.bookmarks->bookmarkFile(f.interview)),
                 (QStringList{record("00:00:07", "hello"), record("00:00:30", "more")}));
        checkTold(f, file, Text::SaveFailed);
        return;
    }
    f.bookmarks->saveBookmarks();
    checkTold(f, file, Text::SaveFailed);
    // Told once: a second failing save of the same file only logs.
    QTest::ignoreMessage(QtWarningMsg,
                         QRegularExpression(QStringLiteral("^Could not save the bookmarks to")));
    f.bookmarks->saveBookmarks();
    QCOMPARE(f.dialogs.messages.size(), 1);
    QCOMPARE(f.lines(), lines);
    QCOMPARE(f.bookmarks->table().records(), records);
    QVERIFY(f.bookmarks->hasBookmarks());

    // Once the way is clear, the next save writes them.
    QVERIFY(folderIsAFile ? QFile::remove(obstacle) : QDir(obstacle).removeRecursively());
    f.bookmarks->saveBookmarks();
    const auto saved = BookmarkFile::read(file);
    QVERIFY(saved);
    QCOMPARE(*saved, records);
}

void TestBookmarks::anUnreadableFileIsToldAndNeverReplaced()
{
    Fixture f;
    const QString file = f.bookmarks->bookmarkFile(f.lecture);
    QVERIFY(QDir().mkpath(file));
    QTest::ignoreMessage(
        QtWarningMsg,
        QRegularExpression(QStringLiteral("^Could not read the bookmarks from \"") +
                           QRegularExpression::escape(file) + QStringLiteral("\": \\S")));
    f.open(f.lecture);
    QVERIFY(f.window()->isVisible());
    QVERIFY(f.lines().isEmpty());
    QVERIFY(!f.bookmarks->hasBookmarks());
    checkTold(f, file, Text::ReadFailed);

    // What the file holds is unknown, so it is not replaced while it cannot be read.
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("^Could not save")));
    QVERIFY(f.add(10, QStringLiteral("a")));
    QCOMPARE(f.lines(), QStringList{"00:00:10  a"});
    QVERIFY(QFileInfo(file).isDir());
    checkTold(f, file, Text::SaveFailed, 2);

    // Readable again: its bookmarks and the new one are kept together, in the window too.
    QVERIFY(QDir(file).removeRecursively());
    f.folder.write(QStringLiteral("Bookmarks/") + QFileInfo(file).fileName(),
                   {record("00:00:20", "b")});
    f.bookmarks->saveBookmarks();
    QCOMPARE(BookmarkFile::read(file),
             (QStringList{record("00:00:20", "b"), record("00:00:10", "a")}));
    QCOMPARE(f.lines(), (QStringList{"00:00:10  a", "00:00:20  b"}));
    QCOMPARE(f.dialogs.messages.size(), 2);
}

void TestBookmarks::hundredThousandBookmarks()
{
    Fixture f;
    QByteArray bytes;
    for (int i = 99999; i >= 0; --i)
        bytes += QStringLiteral("%1:%2:%3  mark %4")
                     .arg(i / 3600, 2, 10, QLatin1Char('0'))
                     .arg(i / 60 % 60, 2, 10, QLatin1Char('0'))
                     .arg(i % 60, 2, 10, QLatin1Char('0'))
                     .arg(i)
                     .toUtf8() +
                 ((i % 2) ? " \xe9" : "") + "\r\n";
    f.folder.writeBytes(QStringLiteral("Bookmarks/lecture.mp3.bm"), bytes);

    QElapsedTimer clock;
    clock.start();
    f.open(f.lecture);
    QVERIFY(f.add(7, QStringLiteral("typed")));
    f.bookmarks->nextBookmark();
    f.bookmarks->saveBookmarks();
    QVERIFY2(clock.elapsed() < 10000, qPrintable(QString::number(clock.elapsed())));

    QCOMPARE(f.window()->lineCount(), 100001);
    QCOMPARE(lineList(f.window())->item(0)->text(), QStringLiteral("00:00:00  mark 0"));
    QCOMPARE(lineList(f.window())->item(8)->text(), QStringLiteral("00:00:07  typed"));
    const auto saved = BookmarkFile::read(f.bookmarks->bookmarkFile(f.lecture));
    QVERIFY(saved);
    QCOMPARE(saved->size(), 100001);
}

QTEST_MAIN(TestBookmarks)
#include "tst_bookmarks.moc"
