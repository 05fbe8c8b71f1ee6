#include "FakeMediaPlayer.h"

#include <QFileInfo>
#include <cmath>

void FakeMediaPlayer::note(const QString& call)
{
    calls << call;
    if (journal)
        *journal << QStringLiteral("media ") + call;
}

void FakeMediaPlayer::setUrl(const QString& path)
{
    note(QStringLiteral("url ") + path);
    m_position = 0;
    if (path.isEmpty() || !QFileInfo::exists(path)) {
        m_url.clear();
        m_state = State::Undefined;
        m_durationKnown = false;
        if (!path.isEmpty())
            Q_EMIT mediaError(QStringLiteral("cannot open ") + path);
        return;
    }
    m_url = path;
    m_durationKnown = durationKnownAtLoad;
    m_state = State::Playing;
}

void FakeMediaPlayer::close()
{
    note(QStringLiteral("close"));
    m_url.clear();
    m_state = State::Undefined;
    m_position = 0;
    m_durationKnown = false;
}

void FakeMediaPlayer::play()
{
    note(QStringLiteral("play"));
    if (m_url.isEmpty())
        return;
    if (m_state == State::Stopped && m_position >= loadedDuration)
        m_position = 0;
    m_state = State::Playing;
}

void FakeMediaPlayer::pause()
{
    note(QStringLiteral("pause"));
    if (!m_url.isEmpty())
        m_state = State::Paused;
}

void FakeMediaPlayer::stop()
{
    note(QStringLiteral("stop"));
    if (m_url.isEmpty())
        return;
    m_state = State::Stopped;
    m_position = 0;
}

void FakeMediaPlayer::setCurrentPosition(double seconds)
{
    note(QStringLiteral("seek %1").arg(seconds));
    if (m_url.isEmpty())
        return;
    m_position = std::clamp(seconds, 0.0, loadedDuration);
    // As the real engine keeps a file open at its end: moved there, it has ended.
    if (m_position >= loadedDuration)
        m_state = State::Stopped;
}

QString FakeMediaPlayer::currentPositionString() const
{
    return m_url.isEmpty() ? QString() : formatMediaTime(m_position);
}

double FakeMediaPlayer::duration() const
{
    return m_durationKnown ? loadedDuration : 0.0;
}

QString FakeMediaPlayer::durationString() const
{
    return m_durationKnown ? formatMediaTime(loadedDuration) : QString();
}

void FakeMediaPlayer::setRate(double rate)
{
    note(QStringLiteral("rate %1").arg(rate));
    if (rate > 0 && rate <= fastestRate + 1e-9)
        m_rate = rate;
}

void FakeMediaPlayer::setVolume(int volume)
{
    note(QStringLiteral("volume %1").arg(volume));
    m_volume = std::clamp(volume, 0, 100);
}

void FakeMediaPlayer::advance(double seconds)
{
    if (m_state != State::Playing)
        return;
    const double before = m_position;
    m_position += seconds * m_rate;
    if (loopTo > loopFrom && before <= loopTo && m_position > loopTo)
        m_position = loopFrom + std::fmod(m_position - loopTo, loopTo - loopFrom);
    if (m_position >= loadedDuration) {
        m_position = loadedDuration;
        m_state = State::Stopped;
    }
}

void FakeMediaPlayer::setLoop(double from, double to)
{
    note(QStringLiteral("loop %1 %2").arg(from).arg(to));
    loopFrom = to > from ? from : 0;
    loopTo = to > from ? to : 0;
}

void FakeMediaPlayer::setAudioFilters(const QString& chain)
{
    note(QStringLiteral("filters %1").arg(chain));
    if (!refusedFilter.isEmpty() && chain.contains(refusedFilter))
        Q_EMIT audioFiltersRefused(chain, QStringLiteral("filter not found"));
    else
        audioFilters = chain;
}
