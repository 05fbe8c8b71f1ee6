#include "startup/DeferredMediaPlayer.h"

#include <QFileInfo>
#include <algorithm>
#include <cmath>
#include <utility>

DeferredMediaPlayer::DeferredMediaPlayer(QObject* parent) : MediaPlayer(parent) {}

DeferredMediaPlayer::~DeferredMediaPlayer() = default;

void DeferredMediaPlayer::attach(std::unique_ptr<MediaPlayer> engine)
{
    if (!engine || !isWaiting())
        return;
    m_engine = std::move(engine);
    connect(m_engine.get(), &MediaPlayer::mediaError, this, &MediaPlayer::mediaError);
    connect(m_engine.get(), &MediaPlayer::soundOutputMissing, this,
            &MediaPlayer::soundOutputMissing);
    connect(m_engine.get(), &MediaPlayer::audioFiltersRefused, this,
            &MediaPlayer::audioFiltersRefused);
    connect(m_engine.get(), &MediaPlayer::videoChanged, this, &MediaPlayer::videoChanged);
    // Taken out first: a command replayed here may make a handler call this player, and such a
    // call goes straight to the engine, after the commands that came before it.
    const std::vector<Command> kept = std::exchange(m_kept, {});
    for (const Command& command : kept)
        command(*m_engine);
    Q_EMIT engineAttached();
}

void DeferredMediaPlayer::fail(const QString& reason)
{
    if (!isWaiting())
        return;
    m_failed = true;
    m_failure = reason;
    m_kept.clear();
    const QString waiting = std::exchange(m_url, QString());
    m_position = 0;
    if (!waiting.isEmpty())
        refuse(waiting);
    Q_EMIT engineUnavailable(reason);
}

void DeferredMediaPlayer::keep(Command command)
{
    m_kept.push_back(std::move(command));
}

void DeferredMediaPlayer::refuse(const QString& path)
{
    Q_EMIT mediaError(
        QStringLiteral("Cannot play %1: %2").arg(QFileInfo(path).fileName(), m_failure));
}

void DeferredMediaPlayer::setUrl(const QString& path)
{
    if (m_engine) {
        m_engine->setUrl(path);
        return;
    }
    if (m_failed) {
        if (!path.isEmpty())
            refuse(path);
        return;
    }
    m_url = path;
    m_position = 0;
    keep([path](MediaPlayer& engine) { engine.setUrl(path); });
}

QString DeferredMediaPlayer::url() const
{
    return m_engine ? m_engine->url() : m_url;
}

void DeferredMediaPlayer::close()
{
    if (m_engine) {
        m_engine->close();
        return;
    }
    if (m_failed)
        return;
    m_url.clear();
    m_position = 0;
    keep([](MediaPlayer& engine) { engine.close(); });
}

void DeferredMediaPlayer::play()
{
    if (m_engine)
        m_engine->play();
    else if (!m_failed)
        keep([](MediaPlayer& engine) { engine.play(); });
}

void DeferredMediaPlayer::pause()
{
    if (m_engine)
        m_engine->pause();
    else if (!m_failed)
        keep([](MediaPlayer& engine) { engine.pause(); });
}

void DeferredMediaPlayer::stop()
{
    if (m_engine) {
        m_engine->stop();
        return;
    }
    if (m_failed)
        return;
    m_position = 0;
    keep([](MediaPlayer& engine) { engine.stop(); });
}

double DeferredMediaPlayer::currentPosition() const
{
    if (m_engine)
        return m_engine->currentPosition();
    return m_url.isEmpty() ? 0 : m_position;
}

void DeferredMediaPlayer::setCurrentPosition(double seconds)
{
    if (m_engine) {
        m_engine->setCurrentPosition(seconds);
        return;
    }
    if (m_failed)
        return;
    if (std::isfinite(seconds))
        m_position = std::max(0.0, seconds);
    keep([seconds](MediaPlayer& engine) { engine.setCurrentPosition(seconds); });
}

QString DeferredMediaPlayer::currentPositionString() const
{
    if (m_engine)
        return m_engine->currentPositionString();
    return m_url.isEmpty() ? QString() : formatMediaTime(m_position);
}

double DeferredMediaPlayer::duration() const
{
    return m_engine ? m_engine->duration() : 0;
}

QString DeferredMediaPlayer::durationString() const
{
    return m_engine ? m_engine->durationString() : QString();
}

double DeferredMediaPlayer::rate() const
{
    return m_engine ? m_engine->rate() : m_rate;
}

void DeferredMediaPlayer::setRate(double rate)
{
    if (m_engine) {
        m_engine->setRate(rate);
        return;
    }
    if (std::isfinite(rate) && rate > 0)
        m_rate = rate;
    if (!m_failed)
        keep([rate](MediaPlayer& engine) { engine.setRate(rate); });
}

int DeferredMediaPlayer::volume() const
{
    return m_engine ? m_engine->volume() : m_volume;
}

void DeferredMediaPlayer::setVolume(int volume)
{
    if (m_engine) {
        m_engine->setVolume(volume);
        return;
    }
    m_volume = std::clamp(volume, 0, 100);
    if (!m_failed)
        keep([volume](MediaPlayer& engine) { engine.setVolume(volume); });
}

void DeferredMediaPlayer::setLoop(double from, double to)
{
    if (m_engine)
        m_engine->setLoop(from, to);
    else if (!m_failed)
        keep([from, to](MediaPlayer& engine) { engine.setLoop(from, to); });
}

void DeferredMediaPlayer::setAudioFilters(const QString& chain)
{
    if (m_engine)
        m_engine->setAudioFilters(chain);
    else if (!m_failed)
        keep([chain](MediaPlayer& engine) { engine.setAudioFilters(chain); });
}

MediaPlayer::State DeferredMediaPlayer::playState() const
{
    if (m_engine)
        return m_engine->playState();
    return m_url.isEmpty() ? State::Undefined : State::Busy;
}

bool DeferredMediaPlayer::hasVideo() const
{
    return m_engine && m_engine->hasVideo();
}

std::unique_ptr<VideoRenderer> DeferredMediaPlayer::createVideoRenderer()
{
    return m_engine ? m_engine->createVideoRenderer() : nullptr;
}
