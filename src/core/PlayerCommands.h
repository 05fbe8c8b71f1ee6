#pragma once

class MediaPlayer;
class QString;
class QWidget;

// The player's menu commands that the editor's keys run, each as if chosen in the player window.
enum class PlayerCommand {
    PlayPause,
    SkipBack,
    SkipForward,
    SlowDown,
    SpeedUp,
    OpenMedia,
    CloseMedia,
    AddBookmark,
    BookmarkWindow,
    FullPath,
    ShowHideEditor,
    ChooseLanguage,
    AudioSettings,
    Help,
    About,
    Exit,
};

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
    // Moves to the position and plays from there, the keyboard back in the transcript; nothing
    // without media.
    virtual void playFrom(double seconds) = 0;
    // Opens the recording as the open command does and waits there, paused at the position.
    virtual void openMediaAt(const QString& path, double seconds) = 0;
    // Refreshes the position text, progress bar and title line at once.
    virtual void refreshDisplay() = 0;
    // Runs the command of the player's menu, as a click on it would (nothing while it is
    // disabled).
    virtual void runCommand(PlayerCommand command) = 0;
    // The caption of the bookmark window's show/hide command: true when the window is shown.
    virtual void setBookmarkMenuShown(bool shown) = 0;
};
