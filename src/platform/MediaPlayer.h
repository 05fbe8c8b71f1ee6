#pragma once

#include "platform/VideoRenderer.h"

#include <QObject>
#include <QString>
#include <memory>

// The media engine as the player windows use it. Every call is safe without media loaded:
// reads then give 0 or "", commands do nothing.
class MediaPlayer : public QObject {
    Q_OBJECT
public:
    // What the engine is doing.
    enum class State {
        Undefined = 0,
        Stopped = 1, // also after the media has ended
        Paused = 2,
        Playing = 3,
        Busy = 9, // loading or changing state
    };
    Q_ENUM(State)

    using QObject::QObject;
    ~MediaPlayer() override = default;

    // A path makes that file the current media (playback starts on its own); "" unloads it.
    virtual void setUrl(const QString& path) = 0;
    virtual QString url() const = 0;
    virtual void close() = 0;

    virtual void play() = 0;
    virtual void pause() = 0;
    // Halts playback and keeps the media loaded at position 0.
    virtual void stop() = 0;

    // Seconds. Writing seeks exactly, also while paused.
    virtual double currentPosition() const = 0;
    virtual void setCurrentPosition(double seconds) = 0;
    // "MM:SS" below one hour, "HH:MM:SS" from one hour on.
    virtual QString currentPositionString() const = 0;

    // 0 and "" while the length is not known yet.
    virtual double duration() const = 0;
    virtual QString durationString() const = 0;

    // 1.0 is normal speed; the pitch of the voice is kept.
    virtual double rate() const = 0;
    virtual void setRate(double rate) = 0;

    // 0 to 100.
    virtual int volume() const = 0;
    virtual void setVolume(int volume) = 0;

    virtual State playState() const = 0;

    // Plays the stretch from `from` to `to` seconds over and over, the engine seeking exactly at
    // each turn; `to` not after `from` ends the loop. Kept when another file opens.
    virtual void setLoop(double from, double to) = 0;
    // The sound goes through this chain of filters (FFmpeg's filter graph syntax, "" for none).
    // A chain the engine refuses is reported by audioFiltersRefused: refused while a file plays,
    // the previous one stays; refused by a file opening (it could not be built for its sound),
    // the file opens with none.
    virtual void setAudioFilters(const QString& chain) = 0;

    // Whether the current media has a picture (album art does not count); known once it has
    // loaded, announced by videoChanged.
    virtual bool hasVideo() const { return false; }
    // What draws that picture; null without one, or while another renderer lives.
    virtual std::unique_ptr<VideoRenderer> createVideoRenderer() { return nullptr; }

    // False once the engine is known to be missing. An engine still being loaded counts as
    // available: the commands given meanwhile wait for it.
    virtual bool isEngineAvailable() const { return true; }
    // Why the engine is missing; "" while it is available.
    virtual QString engineUnavailableReason() const { return QString(); }

Q_SIGNALS:
    // The current media could not be opened or decoded; the text says why, in the engine's words.
    void mediaError(const QString& message);
    // Like mediaError, when the file is fine but no sound output could be opened (no sound
    // server, no device): the user can do something about that one.
    void soundOutputMissing(const QString& message);
    // The engine could not be loaded, so nothing will play in this run; sent once. The reason is
    // the system's, for a tooltip or the log.
    void engineUnavailable(const QString& reason);
    // The engine did not take this filter chain; the reason in its words.
    void audioFiltersRefused(const QString& chain, const QString& reason);
    // hasVideo() may have changed: a file loaded or was closed.
    void videoChanged();
};

// Position texts as the windows show them.
QString formatMediaTime(double seconds);
