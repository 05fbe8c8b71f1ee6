#include "player/PlaybackController.h"

#include "core/SettingLimits.h"
#include "platform/MediaPlayer.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr int kRefreshMs = 100;
constexpr int kWatchMs = 200;
constexpr double kSlowestRate = 0.1;
constexpr double kFastestRate = 4.9;

} // namespace

PlaybackController::PlaybackController(MediaPlayer* media, QObject* parent)
    : QObject(parent), m_media(media)
{
    m_refreshTimer.setObjectName(QStringLiteral("refreshTimer"));
    m_watchTimer.setObjectName(QStringLiteral("watchTimer"));
    m_smartPlayTimer.setObjectName(QStringLiteral("smartPlayTimer"));
    m_refreshTimer.setInterval(kRefreshMs);
    m_watchTimer.setInterval(kWatchMs);
    connect(&m_refreshTimer, &QTimer::timeout, this, &PlaybackController::displayDue);
    connect(&m_watchTimer, &QTimer::timeout, this, &PlaybackController::watchPlaybackState);
    connect(&m_smartPlayTimer, &QTimer::timeout, this, &PlaybackController::advanceSmartPlay);
    m_watchTimer.start();
    m_clock.start();
    m_now = [this] { return m_clock.elapsed(); };
}

bool PlaybackController::hasMedia() const
{
    return m_media && !m_media->url().isEmpty();
}

void PlaybackController::setState(PlayState state)
{
    m_state = state;
    Q_EMIT stateChanged(state);
}

void PlaybackController::setBusy(bool busy)
{
    if (busy == m_busy)
        return;
    m_busy = busy;
    Q_EMIT busyChanged(busy);
}

void PlaybackController::setSmartPlay(bool on)
{
    m_smartPlay = on;
    if (!on)
        m_smartPlayTimer.stop();
}

void PlaybackController::load(const QString& path)
{
    if (m_media) {
        m_media->setUrl(path);
        m_media->setCurrentPosition(0);
    }
    m_refreshTimer.start();
    // Whatever played before, the new file starts from "not playing".
    m_state = PlayState::Stopped;
    togglePlayPause();
    // Busy until the watch sees the engine settled.
    setBusy(true);
}

void PlaybackController::close()
{
    if (m_media) {
        m_media->setUrl(QString());
        m_media->close();
    }
    m_refreshTimer.stop();
    m_smartPlayTimer.stop();
    setBusy(false);
    setState(PlayState::Stopped);
}

void PlaybackController::pauseWithStepBack()
{
    const double heardTo = m_media->currentPosition();
    double steppedTo = heardTo - m_options.backSeconds;
    if (m_loopStart && heardTo >= *m_loopStart)
        steppedTo = std::max(steppedTo, *m_loopStart);
    m_media->setCurrentPosition(steppedTo);
    m_media->pause();
    m_stop = Stop{heardTo, m_media->currentPosition(), m_now()};
    Q_EMIT positionMoved();
}

bool PlaybackController::isAtStop() const
{
    // Anything that moved the position since, here or behind the transport's back, ends it.
    constexpr double kSamePlace = 0.001;
    return m_state == PlayState::Paused && m_stop && m_media &&
           std::abs(m_media->currentPosition() - m_stop->steppedTo) < kSamePlace;
}

double PlaybackController::stoppedPosition() const
{
    if (isAtStop())
        return m_stop->heardTo;
    return m_media ? m_media->currentPosition() : 0;
}

void PlaybackController::stepBackForPauseLength()
{
    constexpr qint64 kPauseMsPerSecond = 10000;
    constexpr int kFurthestSeconds = 10;
    if (!m_options.growingStepBack || !isAtStop())
        return;
    const qint64 seconds =
        std::min<qint64>((m_now() - m_stop->at) / kPauseMsPerSecond, kFurthestSeconds);
    if (seconds <= 0)
        return;
    double to = std::max(m_stop->steppedTo - double(seconds), 0.0);
    if (m_loopStart && m_stop->steppedTo >= *m_loopStart)
        to = std::max(to, *m_loopStart);
    m_media->setCurrentPosition(to);
    m_stop.reset();
    Q_EMIT positionMoved();
}

void PlaybackController::togglePlayPause()
{
    if (!hasMedia())
        return;
    if (isPlaying()) {
        m_smartPlayTimer.stop();
        pauseWithStepBack();
        setState(PlayState::Paused);
    } else {
        stepBackForPauseLength();
        // At the very start the engine is told to pause first, so that play always resumes.
        if (m_media->currentPosition() == 0)
            m_media->pause();
        m_media->play();
        m_refreshTimer.start();
        m_watchTimer.start();
        if (m_smartPlay)
            m_smartPlayTimer.start(m_options.playTime * 1000);
        else
            m_smartPlayTimer.stop();
        setState(PlayState::Playing);
    }
    Q_EMIT commandDone();
}

void PlaybackController::stop()
{
    m_stop.reset();
    Q_EMIT displayDue();
    m_refreshTimer.stop();
    if (m_media)
        m_media->stop();
    setState(PlayState::Stopped);
    Q_EMIT positionMoved();
}

void PlaybackController::skip(int direction)
{
    m_stop.reset();
    if (m_options.skipSeconds == 0)
        m_options.skipSeconds = SettingLimits::kShortestSkip;
    if (hasMedia())
        m_media->setCurrentPosition(m_media->currentPosition() + direction * m_options.skipSeconds);
    Q_EMIT positionMoved();
    Q_EMIT displayDue();
    Q_EMIT commandDone();
}

void PlaybackController::skipForward()
{
    skip(+1);
}

void PlaybackController::skipBack()
{
    skip(-1);
}

void PlaybackController::goTo(double seconds)
{
    if (m_media)
        m_media->setCurrentPosition(seconds);
    Q_EMIT positionMoved();
    if (hasMedia() && !isPlaying()) {
        // Paused as from playing: the typed position is stepped back from, as every pause does.
        m_state = PlayState::Playing;
        togglePlayPause();
    }
    Q_EMIT displayDue();
}

void PlaybackController::seekTo(double seconds)
{
    if (!hasMedia() || !std::isfinite(seconds))
        return;
    const double length = m_media->duration();
    m_media->setCurrentPosition(length > 0 ? std::clamp(seconds, 0.0, length)
                                           : std::max(seconds, 0.0));
    Q_EMIT positionMoved();
    Q_EMIT displayDue();
}

void PlaybackController::playFrom(double seconds)
{
    if (!hasMedia())
        return;
    m_media->setCurrentPosition(seconds);
    m_media->play();
    Q_EMIT positionMoved();
    if (!isPlaying()) {
        m_state = PlayState::Playing;
        togglePlayPause();
    }
    Q_EMIT displayDue();
}

double PlaybackController::stepRate(double step)
{
    double taken = 1.0;
    if (m_media) {
        const double rate = m_media->rate();
        // Whole tenths, so that the reachable rates are exactly 0.1 .. 4.9.
        const double next = std::round((rate + step) * 10) / 10;
        if ((step < 0 && rate > kSlowestRate + 1e-9) || (step > 0 && rate < kFastestRate - 1e-9))
            m_media->setRate(next);
        taken = m_media->rate();
    }
    Q_EMIT rateChanged(taken);
    return taken;
}

void PlaybackController::refreshDisplay()
{
    Q_EMIT displayDue();
    Q_EMIT positionMoved();
}

void PlaybackController::watchPlaybackState()
{
    const auto engineState = m_media ? m_media->playState() : MediaPlayer::State::Undefined;
    setBusy(engineState == MediaPlayer::State::Busy);
    if (engineState == MediaPlayer::State::Stopped) {
        // Played to the end: back to the start. Moved to the end while paused, it stays there.
        if (isPlaying())
            stop();
        m_watchTimer.stop();
    }
}

void PlaybackController::advanceSmartPlay()
{
    // After the recording was closed the cycle has nothing to play.
    if (!hasMedia()) {
        m_smartPlayTimer.stop();
        return;
    }
    if (!isPlaying()) {
        // The cycle's own pauses are no pause of the user's: no further step back.
        m_stop.reset();
        togglePlayPause();
        return;
    }
    pauseWithStepBack();
    m_smartPlayTimer.start(m_options.pauseTime * 1000);
    setState(PlayState::Paused);
    Q_EMIT commandDone();
}
