#pragma once

#include "core/PlayState.h"
#include "player/TransportOptions.h"

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>
#include <functional>
#include <optional>

class MediaPlayer;

// The transport behind the player window: play/pause with its step back, skips, stop, the watch
// for the end of the media and the smart-play cycle. It owns no widget; the window shows what
// it emits. The timer handlers are public so that a test can step them.
class PlaybackController : public QObject {
    Q_OBJECT
public:
    // `media` may be null (then every command does nothing).
    explicit PlaybackController(MediaPlayer* media, QObject* parent = nullptr);

    // Whether a file is loaded.
    bool hasMedia() const;
    PlayState state() const { return m_state; }
    // Where the sound stopped: after a pause, while the position is still where its step back
    // went, the position before the step; otherwise the current one. What the user heard last is
    // what a timestamp means.
    double stoppedPosition() const;
    bool isPlaying() const { return m_state == PlayState::Playing; }

    // Read when used: a change applies to the next skip, pause or cycle step.
    const TransportOptions& options() const { return m_options; }
    void setOptions(const TransportOptions& options) { m_options = options; }

    // Whether playing runs the smart-play cycle: play for the play time, pause for the pause
    // time, and so on.
    bool smartPlay() const { return m_smartPlay; }
    void setSmartPlay(bool on);

    // Makes the file the current media at its start, and plays it.
    void load(const QString& path);
    // Unloads the current media.
    void close();

    // Pauses with a step back while playing; otherwise plays.
    void togglePlayPause();
    // Halts at the start.
    void stop();
    void skipForward();
    void skipBack();
    // Moves to a position; while not playing it then pauses there as a pause does, stepping back.
    void goTo(double seconds);
    // Moves to a position within the recording; the play state stays as it is.
    void seekTo(double seconds);
    // Moves to a position and plays, or pauses there as goTo does when it was not playing.
    void playFrom(double seconds);
    // Changes the speed by one step (a tenth up or down, 0.1 to 4.9); returns the rate that
    // the engine took (1 without an engine), which rateChanged tells too.
    double stepRate(double step);
    // For those who moved the position themselves (a bookmark's jump): the display follows at
    // once and the move is announced.
    void refreshDisplay();

    // While a loop plays, a pause steps back no further than its start.
    void setLoopStart(std::optional<double> seconds) { m_loopStart = seconds; }
    // Milliseconds from any fixed point; tests give their own clock.
    void setClock(std::function<qint64()> now) { m_now = std::move(now); }

    // Timer handlers.
    void watchPlaybackState();
    void advanceSmartPlay();

Q_SIGNALS:
    // Emitted on every transition the toggle, the cycle or stop make, also to the same state.
    void stateChanged(PlayState state);
    // The position display is due: on each tick while a file is loaded, and after a seek.
    void displayDue();
    // The position was moved other than by playing on: a skip, a seek, a pause's step back, stop.
    void positionMoved();
    // The speed was stepped: the rate the engine took, not the one asked for.
    void rateChanged(double rate);
    // The engine is loading or changing state (or has finished doing so).
    void busyChanged(bool busy);
    // A command the user gave through the transport has run: the keyboard goes back to the
    // transcript.
    void commandDone();

private:
    void setState(PlayState state);
    void setBusy(bool busy);
    void pauseWithStepBack();
    // Before playing on from a pause: the further step back of a long pause, when wanted.
    void stepBackForPauseLength();
    void skip(int direction);

    struct Stop {
        double heardTo;
        double steppedTo;
        qint64 at;
    };
    // Whether the position is still where the last pause's step back left it.
    bool isAtStop() const;

    TransportOptions m_options;
    MediaPlayer* m_media;
    PlayState m_state = PlayState::Stopped;
    std::optional<Stop> m_stop;
    bool m_smartPlay = false;
    bool m_busy = false;
    std::optional<double> m_loopStart;
    QElapsedTimer m_clock;
    std::function<qint64()> m_now;
    QTimer m_refreshTimer{this};
    QTimer m_watchTimer{this};
    QTimer m_smartPlayTimer{this};
};
