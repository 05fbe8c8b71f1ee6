#pragma once

#include "bookmarks/BookmarkTable.h"
#include "core/BookmarkCommands.h"
#include "platform/Platform.h"

#include <QPointer>
#include <functional>

class BookmarkWindow;
class MediaPlayer;
class PlayerCommands;
struct AppState;

// The bookmarks of the current recording: the table, its file and the bookmark window, created
// when first needed and deleted when it unloads. The player window reaches it through
// BookmarkCommands; it reaches the player through PlayerCommands.
class BookmarkController : public BookmarkCommands {
public:
    // `player` may be null (then nothing is placed, moved or refreshed).
    BookmarkController(AppState& state, const Platform& platform, PlayerCommands* player);
    ~BookmarkController() override;
    BookmarkController(const BookmarkController&) = delete;
    BookmarkController& operator=(const BookmarkController&) = delete;

    QWidget* window() override;
    bool hasBookmarks() const override { return !m_table.isEmpty(); }
    void saveBookmarks() override;
    void clearBookmarks() override;
    void loadBookmarks(const QString& mediaPath) override;
    void unloadWindow() override;
    void closeAtExit() override;

    void addBookmark() override;
    void nextBookmark() override;
    void previousBookmark() override;
    void toggleBookmarkWindow() override;

    // The OK steps of the description dialog for a new bookmark, at the player's position now.
    // False (after a warning box) when the same line exists already: the dialog stays open.
    bool createBookmark(const QString& description);

    // Opens the description dialog and returns when it has closed; its OK runs addBookmark.
    // Set by the wiring; until then "+" asks nothing.
    std::function<void(BookmarkController&)> askDescription;

    // The loaded window, or nullptr.
    BookmarkWindow* form() const;
    const BookmarkTable& table() const { return m_table; }
    QString bookmarkFile(const QString& mediaPath) const;

private:
    friend class BookmarkWindow;

    // The "+" of the window.
    void runAddCommand();
    void jumpTo(const QString& record);
    // The window's lists changed: the table follows them.
    void listsChanged();
    // The window asks to go (closed by its frame, or its exit timer).
    void unloadFromWindow();

    // Loads the window hidden if it is not loaded yet.
    BookmarkWindow* loadWindow();
    void placeWindow(bool setHeight);
    void unload(bool fromWindow);
    MediaPlayer* media() const;
    void setMenuShown(bool shown);

    AppState& m_state;
    Platform m_platform;
    PlayerCommands* m_player;
    BookmarkTable m_table;
    QPointer<BookmarkWindow> m_window;
};
