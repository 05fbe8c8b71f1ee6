#include "bookmarks/BookmarkController.h"

#include "bookmarks/BookmarkFile.h"
#include "bookmarks/BookmarkRecord.h"
#include "bookmarks/BookmarkWindow.h"
#include "core/AppState.h"
#include "core/Logging.h"
#include "core/PlayerCommands.h"
#include "platform/Dialogs.h"
#include "platform/MediaPlayer.h"

#include <QApplication>
#include <QFileInfo>
#include <algorithm>
#include <tuple>

namespace {

constexpr int kExitDelayMs = 50;

} // namespace

BookmarkController::BookmarkController(AppState& state, const Platform& platform,
                                       PlayerCommands* player, QWidget* owner, QObject* parent)
    : QObject(parent), m_state(state), m_platform(platform), m_player(player), m_owner(owner)
{
}

BookmarkController::~BookmarkController()
{
    delete m_window;
}

BookmarkWindow* BookmarkController::bookmarkWindow() const
{
    return m_window;
}

QWidget* BookmarkController::window()
{
    return m_window;
}

QString BookmarkController::bookmarkFile(const QString& mediaPath) const
{
    return BookmarkFile::path(m_state.programFolder, mediaPath);
}

void BookmarkController::setMenuShown(bool shown)
{
    if (m_player)
        m_player->setBookmarkMenuShown(shown);
}

void BookmarkController::saveBookmarks()
{
    // Bookmarks read from (or already written to) a file go back to that file even if the
    // current media path has moved on, so they never land on another recording's file.
    const QString file =
        m_table.file().isEmpty() ? bookmarkFile(m_state.currentMediaPath) : m_table.file();
    saveTable(file);
    // The window's lists are left as they are: a closing sequence that the user cancels after
    // this save must not find them emptied.
}

void BookmarkController::clearBookmarks()
{
    m_table.clear();
    if (m_window)
        m_window->clearLines();
}

void BookmarkController::loadBookmarks(const QString& mediaPath)
{
    // The previous recording's file is brought up to date first, also when the caller saved
    // only while bookmarks remained (a removal of them all is still owed to the file).
    if (!m_table.file().isEmpty())
        saveTable(m_table.file());
    clearBookmarks();

    const QString file = bookmarkFile(mediaPath);
    if (file.isEmpty() || !QFileInfo::exists(file)) {
        // No bookmarks yet: the table only learns where they will go.
        std::ignore = m_table.load(file);
        return;
    }
    unloadWindow();
    loadTable(file);
    toggleBookmarkWindow();
}

void BookmarkController::saveTable(const QString& file)
{
    QString error;
    BookmarkTable::SaveFailure failure = BookmarkTable::SaveFailure::None;
    if (m_table.save(file, &error, &failure)) {
        // A file that could not be read before may have been read now, its bookmarks joining
        // the window's. (The window keeps its own order, so only the number tells.)
        if (m_window && m_window->records().size() != m_table.size())
            m_window->showRecords(m_table.records());
        return;
    }
    qCWarning(lcBookmarks, "Could not save the bookmarks to \"%s\": %s", qUtf8Printable(file),
              qUtf8Printable(error));
    // The user is told why in words of their language; the log keeps the system's.
    const QString reason = failure == BookmarkTable::SaveFailure::FileNotReadWhole
                               ? m_state.texts.plain(Text::FileNotReadWhole)
                               : error;
    tell(file, reason, Text::SaveFailed);
}

void BookmarkController::loadTable(const QString& file)
{
    QString error;
    if (m_table.load(file, &error))
        return;
    qCWarning(lcBookmarks, "Could not read the bookmarks from \"%s\": %s", qUtf8Printable(file),
              qUtf8Printable(error));
    // Its bookmarks are missing from the window; the file stays as it is until it can be read.
    if (QFileInfo::exists(file))
        tell(file, error, Text::ReadFailed);
}

void BookmarkController::tell(const QString& file, const QString& reason, Text heading)
{
    if (!m_platform.dialogs)
        return;
    QWidget* owner = m_window ? static_cast<QWidget*>(m_window) : m_owner;
    m_state.saveFailures.tell(*m_platform.dialogs, owner, m_state.texts, file, reason, heading);
}

BookmarkWindow* BookmarkController::detachWindow()
{
    BookmarkWindow* window = m_window;
    if (!window)
        return nullptr;
    m_window = nullptr;
    // Whatever it still emits on its way out concerns no window of this controller.
    window->disconnect(this);
    m_table.setRecords(window->records());
    setMenuShown(false);
    window->hide();
    return window;
}

void BookmarkController::unloadWindow()
{
    delete detachWindow();
}

void BookmarkController::unloadOnRequest()
{
    // The request comes from the window's own event or timer handler: it cannot go at once.
    if (BookmarkWindow* window = detachWindow())
        window->deleteLater();
}

void BookmarkController::closeAtExit()
{
    if (!m_window)
        return;
    m_window->hide();
    m_window->unloadSoon(kExitDelayMs);
}

BookmarkWindow* BookmarkController::loadWindow()
{
    if (!m_window) {
        m_window = new BookmarkWindow(m_state.texts, m_owner);
        connect(m_window, &BookmarkWindow::addRequested, this,
                &BookmarkController::askForNewBookmark);
        connect(m_window, &BookmarkWindow::linesChanged, this,
                &BookmarkController::takeWindowRecords);
        connect(m_window, &BookmarkWindow::jumpRequested, this, &BookmarkController::jumpTo);
        connect(m_window, &BookmarkWindow::unloadRequested, this,
                &BookmarkController::unloadOnRequest);
        // The player's menus may have made it wider or narrower: once every window has taken
        // the new language, this one goes back beside it.
        connect(
            m_window, &BookmarkWindow::retranslated, this,
            [this] {
                if (m_window && m_window->isVisible())
                    placeWindow(false);
            },
            Qt::QueuedConnection);
        m_window->showRecords(m_table.records());
    }
    return m_window;
}

void BookmarkController::placeWindow(bool setHeight)
{
    if (m_player && m_window)
        m_player->placeBookmarkWindow(m_window, setHeight);
}

void BookmarkController::showPlacedWindow(bool setHeight)
{
    // Placed before it is shown: a window moved while the window manager frames it may land
    // off by its title bar.
    placeWindow(setHeight);
    m_window->show();
}

void BookmarkController::toggleBookmarkWindow()
{
    if (m_window && m_window->isVisible()) {
        setMenuShown(false);
        m_window->hide();
        return;
    }
    setMenuShown(true);
    loadWindow();
    showPlacedWindow(true);
}

void BookmarkController::addBookmark()
{
    setMenuShown(true);
    loadWindow();
    showPlacedWindow(false);
    askForNewBookmark();
    QApplication::beep();
}

void BookmarkController::askForNewBookmark()
{
    if (m_player) {
        // Played to the end: the bookmark goes at the start, and playback starts again.
        const QString duration = m_player->durationText();
        if (!duration.isEmpty() && m_player->positionText() == duration) {
            m_player->seekTo(0);
            m_player->togglePlayPause();
        }
    }
    // The bookmark marks the moment of the command: playback may run on while the user types.
    const QString position = m_player ? m_player->positionText() : QString();
    if (m_askDescription)
        m_askDescription([this, position](const QString& description) {
            return createBookmark(description, position);
        });
}

bool BookmarkController::createBookmark(const QString& description)
{
    return createBookmark(description, m_player ? m_player->positionText() : QString());
}

bool BookmarkController::createBookmark(const QString& description, const QString& position)
{
    // A line break would split the record into two lines of the file.
    QString text = description;
    text.replace(QLatin1Char('\r'), QLatin1Char(' ')).replace(QLatin1Char('\n'), QLatin1Char(' '));

    BookmarkWindow* window = loadWindow();
    const QString time = BookmarkRecord::timeField(position);
    const QString shown = BookmarkRecord::shownLine(position, text);
    if (!window->insertLine(shown, BookmarkRecord::makeRecord(shown, time))) {
        if (m_platform.dialogs)
            m_platform.dialogs->warning(window, m_state.texts.plain(Text::ProgramName),
                                        m_state.texts.plain(Text::BookmarkExists));
        return false;
    }
    takeWindowRecords();
    return true;
}

void BookmarkController::takeWindowRecords()
{
    if (!m_window)
        return;
    m_table.setRecords(m_window->records());
    saveBookmarks();
}

void BookmarkController::jumpTo(const QString& record)
{
    const int seconds = BookmarkRecord::jumpSeconds(record);
    // 0 and 1 s leave the player where it is; the play state never changes.
    // A bookmark beyond the end (the file was replaced by a shorter one) goes to the end.
    if (seconds > 1 && m_player)
        m_player->seekTo(seconds);
    else if (m_player)
        m_player->refreshDisplay();
}

void BookmarkController::nextBookmark()
{
    BookmarkWindow* window = loadWindow();
    const int next = window->selectedIndex() + 1;
    if (window->lineCount() == 0 || next > window->lineCount() - 1)
        return;
    window->selectLine(next);
    jumpTo(window->selectedRecord());
}

void BookmarkController::previousBookmark()
{
    BookmarkWindow* window = loadWindow();
    const int previous = window->selectedIndex() - 1;
    if (window->lineCount() == 0 || previous < 0)
        return;
    window->selectLine(previous);
    jumpTo(window->selectedRecord());
}

TimeMarks BookmarkController::marks() const
{
    TimeMarks marks;
    for (const QString& record : m_table.records())
        marks.append(
            {double(BookmarkRecord::jumpSeconds(record)), BookmarkRecord::shownLineOf(record)});
    return marks;
}
