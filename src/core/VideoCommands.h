#pragma once

class QWidget;

// What the player window asks of the video window: it follows the player like the other
// companion windows, and remembers whether the user wants it shown. It exists only once a file
// with a picture has been opened.
class VideoCommands {
public:
    virtual ~VideoCommands() = default;
    // nullptr while no file with a picture has been opened.
    virtual QWidget* window() = 0;
    // The current media has a picture to show.
    virtual bool hasVideo() const = 0;
    // Whether the user wants it shown for media with a picture; kept for the next run. Setting it
    // shows or hides the window at once.
    virtual bool isWanted() const = 0;
    virtual void setWanted(bool wanted) = 0;
};
