#pragma once

#include "platform/MediaPlayer.h"

#include <functional>
#include <memory>
#include <vector>

// Stands in for a media engine that is still being loaded, so that the windows can be built and
// used before it is there. Until then commands are kept, and reads answer from what was asked:
// the URL given, Busy while a file waits for the engine, the position asked for. Once the engine
// is attached the kept commands run on it in their order and every call goes straight to it. If
// it never comes, a waiting file and every later one get mediaError.
class DeferredMediaPlayer : public MediaPlayer {
    Q_OBJECT
public:
    explicit DeferredMediaPlayer(QObject* parent = nullptr);
    ~DeferredMediaPlayer() override;

    // Takes the engine over and gives it the kept commands. Only the first engine or failure
    // counts; a later engine is deleted.
    void attach(std::unique_ptr<MediaPlayer> engine);
    // The engine will not come. State first, then mediaError for a waiting file, then
    // engineUnavailable, so that a handler of either sees the engine as missing.
    void fail(const QString& reason);

    // Neither attached nor failed yet.
    bool isWaiting() const { return !m_engine && !m_failed; }
    // The engine once attached, else null.
    MediaPlayer* engine() const { return m_engine.get(); }

    void setUrl(const QString& path) override;
    QString url() const override;
    void close() override;

    void play() override;
    void pause() override;
    void stop() override;

    double currentPosition() const override;
    void setCurrentPosition(double seconds) override;
    QString currentPositionString() const override;

    double duration() const override;
    QString durationString() const override;

    double rate() const override;
    void setRate(double rate) override;

    int volume() const override;
    void setVolume(int volume) override;

    State playState() const override;

    void setLoop(double from, double to) override;
    void setAudioFilters(const QString& chain) override;
    // No picture before the engine is there: it tells when a file with one has loaded.
    bool hasVideo() const override;
    std::unique_ptr<VideoRenderer> createVideoRenderer() override;

    bool isEngineAvailable() const override { return !m_failed; }
    QString engineUnavailableReason() const override { return m_failure; }

Q_SIGNALS:
    // The engine is attached and has been given the kept commands.
    void engineAttached();

private:
    using Command = std::function<void(MediaPlayer&)>;
    void keep(Command command);
    void refuse(const QString& path);

    std::unique_ptr<MediaPlayer> m_engine;
    std::vector<Command> m_kept;
    bool m_failed = false;
    QString m_failure;

    // What the reads answer before the engine is there.
    QString m_url;
    double m_position = 0;
    double m_rate = 1.0;
    int m_volume = 50;
};
