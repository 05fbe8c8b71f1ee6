#pragma once

#include "core/PlayState.h"
#include "core/TimeMark.h"

#include <QString>
#include <optional>

class PlayerEvents;
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
    WaveformWindow,
    FullPath,
    ShowHideEditor,
    ChooseLanguage,
    AudioSettings,
    Help,
    About,
    Exit,
    Loop,
    LoopStart,
    LoopEnd,
    // The sound clean-up: on or off as a whole, and each of its filters.
    CleanUp,
    BothChannels,
    LeftChannel,
    RightChannel,
    MonoMix,
    BoostUp,
    BoostDown,
    SpeechNormaliser,
    NoiseReduction,
    HighPass,
};

// What the other windows ask of the player window: its transport and display, and the player
// commands that the editor's keys run.
class PlayerCommands {
public:
    virtual ~PlayerCommands() = default;

    // ---- The loaded recording, read only. ----
    virtual bool hasMedia() const = 0;
    virtual QString mediaPath() const = 0;
    // Seconds from the start; 0 while nothing is loaded or the length is not known yet.
    virtual double position() const = 0;
    virtual double duration() const = 0;
    // As the player shows them ("01:02:03"); the length empty while not known.
    virtual QString positionText() const = 0;
    virtual QString durationText() const = 0;
    // Where the sound stopped: after a pause, until the position moves again, the position
    // before the pause's step back; otherwise the current position.
    virtual double stoppedPosition() const = 0;
    virtual double rate() const = 0;
    // 0 to 100.
    virtual int volume() const = 0;

    // Moves to the position, kept within the recording, without changing the play state; the
    // display follows and events() announces the move. Nothing without media.
    virtual void seekTo(double seconds) = 0;

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
    // Hides the player and its companion windows, for a window shown in their place; then shows
    // the player again with the companions the user has shown.
    virtual void hideWindows() = 0;
    virtual void showWindows() = 0;
    // Puts the bookmark window beside the player, reaching to the editor's right edge, as tall as
    // the player when `fullHeight` (else as tall as it is); the editor goes below it.
    virtual void placeBookmarkWindow(QWidget* window, bool fullHeight) = 0;

    // ---- Control from outside the program: the desktop's media keys and panel, and the
    // commands and files handed to the running program. ----

    // Shows the player at the front, restored if it was minimised, as far as the desktop lets a
    // program that the user is not using do so.
    virtual void bringToFront() = 0;
    // What the play button shows.
    virtual PlayState playState() const = 0;
    // Signals when a value shown outside the program may have changed.
    virtual PlayerEvents* events() = 0;
    // The open command for this file: the bookmarks of the one left are written and the recent
    // list is updated.
    virtual void openMedia(const QString& path) = 0;
    // Moves the volume slider to `percent` (0 to 100) and applies it.
    virtual void setVolumeLevel(int percent) = 0;

    // ---- The loop. ----

    // The stretch playing over and over; none while not looping.
    virtual std::optional<TimeSpan> loopSpan() const = 0;
    // The start and end the loop command plays between (a selection in the waveform); an empty
    // span clears them.
    virtual void setLoopMarks(const TimeSpan& span) = 0;
};
