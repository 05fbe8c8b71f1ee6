#pragma once

#include "bookmarks/BookmarkTable.h"
#include "core/BookmarkCommands.h"
#include "core/Text.h"
#include "core/TimeMark.h"
#include "platform/Platform.h"

#include <QObject>
#include <QPointer>
#include <functional>

class BookmarkWindow;
class PlayerCommands;
class QWidget;
struct AppState;

// The bookmarks of the current recording: the table, its file and the bookmark window, created
// when first needed and deleted when it unloads. The player window reaches it through
// BookmarkCommands; it reaches the player through PlayerCommands, and hears the bookmark window
// through its signals.
class BookmarkController : public QObject, public BookmarkCommands {
    Q_OBJECT
public:
    // `player` may be null (then nothing is placed, moved or refreshed). `owner` is the window
    // that the bookmark window and the boxes belong to while none is shown (the player's).
    BookmarkController(AppState& state, const Platform& platform, PlayerCommands* player,
                       QWidget* owner, QObject* parent = nullptr);
    ~BookmarkController() override;

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

    // The OK steps of the description dialog for a new bookmark at `position`, a position text
    // of the player, and writes the file. False (after a warning box) when the same line exists
    // already: the dialog stays open.
    bool createBookmark(const QString& description, const QString& position);
    // The same at the player's position now.
    bool createBookmark(const QString& description);

    // Takes the description typed for a new bookmark; false keeps the dialog open.
    using BookmarkAcceptor = std::function<bool(const QString& description)>;
    // What opens the description dialog and returns when it has closed; its OK runs `add`.
    // Set by the wiring; until then "+" asks nothing.
    using DescriptionPrompt = std::function<void(const BookmarkAcceptor& add)>;
    void setDescriptionPrompt(DescriptionPrompt prompt) { m_askDescription = std::move(prompt); }

    // The loaded window, or nullptr.
    BookmarkWindow* bookmarkWindow() const;
    const BookmarkTable& table() const { return m_table; }
    // The bookmarks of the recording, each at its time with its line as the list shows it.
    TimeMarks marks() const;
    QString bookmarkFile(const QString& mediaPath) const;

private Q_SLOTS:
    // The window's "+", and the add command once the window is shown.
    void askForNewBookmark();
    void jumpTo(const QString& record);
    // The user changed the window's lines: the table and the file follow them, so that a crash
    // loses none.
    void takeWindowRecords();
    // The window asked to go (closed by its frame, or its delayed unload at exit).
    void unloadOnRequest();

private:
    // Loads the window hidden if it is not loaded yet.
    BookmarkWindow* loadWindow();
    void placeWindow(bool setHeight);
    void showPlacedWindow(bool setHeight);
    // Keeps the window's records, hides it and forgets it; the caller deletes it.
    BookmarkWindow* detachWindow();
    // Failures are logged, and told once per file and run.
    void saveTable(const QString& file);
    void loadTable(const QString& file);
    // A box, once per file and heading, naming the file and the reason.
    void tell(const QString& file, const QString& reason, Text heading);
    void setMenuShown(bool shown);

    AppState& m_state;
    Platform m_platform;
    PlayerCommands* m_player;
    QWidget* m_owner;
    BookmarkTable m_table;
    QPointer<BookmarkWindow> m_window;
    DescriptionPrompt m_askDescription;
};
