#pragma once

class QWidget;

// What the player window asks of the bookmarks of the current recording.
class BookmarkCommands {
public:
    virtual ~BookmarkCommands() = default;

    // The bookmark window, or nullptr while it is not loaded.
    virtual QWidget* window() = 0;
    virtual bool hasBookmarks() const = 0;
    // Writes the bookmark file of the current recording.
    virtual void saveBookmarks() = 0;
    // Hides the window and lets it unload itself shortly after, as the program ends.
    virtual void closeAtExit() = 0;
};
