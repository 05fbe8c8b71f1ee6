#pragma once

#include "platform/MediaPlayer.h"

#include <QStringList>
#include <QVariant>
#include <atomic>
#include <cstdint>
#include <optional>

struct mpv_handle;
struct mpv_event;
class MpvVideoRenderer;

// The media engine on libmpv. Commands go to mpv asynchronously and its events are taken on the
// GUI thread, so no call waits for the engine; reads return the values mpv last reported.
// A position write while stopped or at the end leaves the media paused at the new position.
class MpvMediaPlayer : public MediaPlayer {
    Q_OBJECT
public:
    struct Options {
        // No sound device (tests, benchmarks); the program itself uses the default output.
        bool nullOutput = false;
        // The only sound outputs to try, in mpv's names ("" for mpv's own list).
        QByteArray audioOutputs;
        // Seconds of sound the silent output holds ahead of what it "plays" ("" for mpv's 0.2):
        // the position mpv tells lags by that much behind the sound decoded.
        QByteArray nullOutputBuffer;
        // The sound is written to this WAV file instead of being played (tests of what is heard).
        QString soundFile;

        static Options silent()
        {
            Options options;
            options.nullOutput = true;
            return options;
        }
    };

    explicit MpvMediaPlayer(QObject* parent = nullptr);
    explicit MpvMediaPlayer(const Options& options, QObject* parent = nullptr);
    ~MpvMediaPlayer() override;

    void setUrl(const QString& path) override;
    QString url() const override { return m_url; }
    void close() override;

    void play() override;
    void pause() override;
    void stop() override;

    double currentPosition() const override;
    void setCurrentPosition(double seconds) override;
    QString currentPositionString() const override;

    double duration() const override;
    QString durationString() const override;

    double rate() const override { return m_rate; }
    void setRate(double rate) override;

    int volume() const override { return m_volume; }
    void setVolume(int volume) override;

    State playState() const override;

    void setLoop(double from, double to) override;
    void setAudioFilters(const QString& chain) override;

    bool hasVideo() const override { return m_hasVideo; }
    std::unique_ptr<VideoRenderer> createVideoRenderer() override;

    // False when libmpv could not be started; startError() says why. Every file then gets
    // mediaError.
    bool isStarted() const { return m_mpv != nullptr; }
    QString startError() const { return m_startError; }

    // True from a position write until mpv has finished the seek and confirmed where it stands.
    bool isSeeking() const { return m_seekPending; }
    // Reads a property straight from mpv, waiting for it: for diagnostics and tests only.
    QVariant engineProperty(const char* name) const;

private:
    friend class MpvVideoRenderer;
    // The picture is decoded only while a renderer draws it.
    void setVideoOutput(bool on);
    void forgetRenderer(MpvVideoRenderer* renderer);
    void setHasVideo(bool hasVideo);
    // Whether the loaded file has a picture that is not album art.
    bool readHasVideo() const;

    void drainEvents();
    void handleEvent(const mpv_event& event);
    void handleReply(const mpv_event& event);
    void handlePropertyChange(const mpv_event& event);
    void handleFileLoaded();
    void handleEndFile(const mpv_event& event);
    void handlePlaybackRestart();

    void seekTo(double seconds);
    void sendSeek(double seconds);
    void setEnginePause(bool paused);
    void requestProperty(const char* name, int format, std::uint64_t userdata);
    void setPositionValue(double seconds);
    void setDurationValue(double seconds);
    // `error` is mpv's code, when there is one.
    void failLoad(const QString& reason, int error = 0);
    // A file that fails to load while filters are set loads once more without them: a chain that
    // cannot be built for its sound fails the whole file in mpv.
    bool retryWithoutFilters();
    void sendFilters(const QString& chain, std::uint64_t userdata);
    // What the engine said went wrong since the last filter command or file load.
    QString engineErrorOr(int error) const;
    void unload();
    void resetMediaState();
    bool atEnd() const;
    bool isLoaded() const { return !m_url.isEmpty() && !m_loading; }

    mpv_handle* m_mpv = nullptr;
    QString m_startError;
    std::atomic_bool m_drainQueued = false;

    QString m_url;
    std::uint64_t m_loadGeneration = 0;
    std::int64_t m_entryId = -1; // mpv's playlist entry of the current media, once it tells us
    std::int64_t m_startedEntryId = -1;
    bool m_loading = false;

    bool m_paused = false;  // as this player last asked mpv
    bool m_stopped = false; // stop() was the last command: paused at 0, reported as Stopped
    bool m_enginePaused = false;
    bool m_engineEof = false;

    double m_position = 0;
    double m_duration = 0;
    double m_startTarget = 0; // a seek asked for while loading, sent once the file is open
    bool m_seekPending = false;
    bool m_holdPosition = false; // paused after a seek: report the target, not mpv's time
    int m_seekRepliesOutstanding = 0;
    std::uint64_t m_seekGeneration = 0;

    double m_rate = 1.0;
    int m_volume = 50;
    // The stretch mpv loops over; none while to is not after from.
    double m_loopFrom = 0;
    double m_loopTo = 0;
    // The filter chains sent and not answered yet, in their order.
    QStringList m_filterChains;
    // The chain mpv took last; a file loading is built with it.
    QString m_engineFilters;
    // The chain a file could not be loaded with, while the file loads again without it.
    std::optional<QString> m_filtersFailedLoad;
    QStringList m_engineErrors;

    bool m_hasVideo = false;
    MpvVideoRenderer* m_renderer = nullptr;
};
