#pragma once

#include "platform/MediaPlayer.h"

#include <QStringList>

// A media engine whose clock the test moves. Any existing path loads as a medium of
// `loadedDuration` seconds; every call is written to `calls`.
class FakeMediaPlayer : public MediaPlayer {
    Q_OBJECT
public:
    using MediaPlayer::MediaPlayer;

    void setUrl(const QString& path) override;
    QString url() const override { return m_url; }
    void close() override;
    void play() override;
    void pause() override;
    void stop() override;
    double currentPosition() const override { return m_position; }
    void setCurrentPosition(double seconds) override;
    QString currentPositionString() const override;
    double duration() const override;
    QString durationString() const override;
    double rate() const override { return m_rate; }
    void setRate(double rate) override;
    int volume() const override { return m_volume; }
    void setVolume(int volume) override;
    State playState() const override { return m_state; }
    void setLoop(double from, double to) override;
    void setAudioFilters(const QString& chain) override;
    bool isEngineAvailable() const override { return engineReason.isEmpty(); }
    QString engineUnavailableReason() const override { return engineReason; }

    // Moves the clock: a playing medium advances, turning back to the loop's start at its end,
    // and ends (state Stopped) at its duration.
    void advance(double seconds);
    // Makes the length known, as an engine does shortly after loading.
    void revealDuration() { m_durationKnown = true; }

    // Set: the engine could not be loaded, for this reason.
    QString engineReason;
    double loadedDuration = 200.0;
    bool durationKnownAtLoad = true;
    double fastestRate = 4.9; // rates beyond are refused, as an engine may do
    // Filter chains containing this text are refused, as an engine refuses a filter it lacks.
    QString refusedFilter;
    QString audioFilters;
    double loopFrom = 0;
    double loopTo = 0;
    QStringList calls;
    // When set, every call is also written here as "media <call>".
    QStringList* journal = nullptr;

private:
    void note(const QString& call);
    QString m_url;
    double m_position = 0;
    double m_rate = 1.0;
    int m_volume = 50;
    State m_state = State::Undefined;
    bool m_durationKnown = false;
};
