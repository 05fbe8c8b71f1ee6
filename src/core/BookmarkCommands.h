#pragma once

#include <QString>

class QWidget;

// What the player window asks of the bookmarks of the current recording.
class BookmarkCommands {
public:
    virtual ~BookmarkCommands() = default;

    // The bookmark window, or nullptr while it is not loaded.
    virtual QWidget* window() = 0;
    virtual bool hasBookmarks() const = 0;
    // Writes the bookmark file of the current recording (the program's current media path).
    virtual void saveBookmarks() = 0;
    // Forgets every bookmark held (after they were saved, before another recording opens).
    virtual void clearBookmarks() = 0;
    // Reads the bookmark file of the recording at mediaPath, if it has one, and shows the window.
    virtual void loadBookmarks(const QString& mediaPath) = 0;
    // Unloads the window, keeping its bookmarks (the recording was closed).
    virtual void unloadWindow() = 0;
    // Hides the window and lets it unload itself shortly after, as the program ends.
    virtual void closeAtExit() = 0;

    // The player's bookmark menu commands.
    virtual void addBookmark() = 0;
    virtual void nextBookmark() = 0;
    virtual void previousBookmark() = 0;
    virtual void toggleBookmarkWindow() = 0;
};
