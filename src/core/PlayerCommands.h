#pragma once

class MediaPlayer;
class QWidget;

// What the other windows ask of the player window: its transport and display, and the player
// commands that the editor's keys run.
class PlayerCommands {
public:
    virtual ~PlayerCommands() = default;

    virtual QWidget* playerWindow() = 0;
    // The editor window, or nullptr while there is none.
    virtual QWidget* transcriptWindow() = 0;
    virtual MediaPlayer* media() = 0;

    // The play/pause toggle, with its step back on pause.
    virtual void togglePlayPause() = 0;
    virtual void skipForward() = 0;
    virtual void skipBack() = 0;
    virtual void stop() = 0;
    // Refreshes the position text, progress bar and title line at once.
    virtual void refreshDisplay() = 0;
    // The caption of the bookmark window's show/hide command: true when the window is shown.
    virtual void setBookmarkMenuShown(bool shown) = 0;
};
