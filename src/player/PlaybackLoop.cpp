#include "player/PlaybackLoop.h"

#include "platform/MediaPlayer.h"
#include "player/PlaybackController.h"

#include <algorithm>
#include <utility>

namespace {

// How far outside the stretch a position may be and still count as in it: the engine's turn
// lands on a frame, not on the exact time.
constexpr double kMargin = 0.25;

} // namespace

PlaybackLoop::PlaybackLoop(MediaPlayer* media, PlaybackController* playback, QObject* parent)
    : QObject(parent), m_media(media), m_playback(playback)
{
    connect(m_playback, &PlaybackController::positionMoved, this, &PlaybackLoop::followMove);
}

std::optional<TimeSpan> PlaybackLoop::markedSpan() const
{
    if (!m_start || !m_end || *m_end <= *m_start)
        return std::nullopt;
    return TimeSpan{*m_start, *m_end};
}

void PlaybackLoop::toggle()
{
    if (m_span) {
        leave(true);
        return;
    }
    if (!m_playback->hasMedia())
        return;
    if (const auto marked = markedSpan()) {
        play(*marked);
        return;
    }
    const double length = m_media ? m_media->duration() : 0;
    const double seconds = m_playback->options().loopSeconds;
    // At the very start there is nothing behind to go back to: the first seconds then.
    double to = std::max(m_playback->stoppedPosition(), seconds);
    if (length > 0)
        to = std::min(to, length);
    play({std::max(to - seconds, 0.0), to});
}

void PlaybackLoop::play(const TimeSpan& span)
{
    m_span = span;
    m_playback->setLoopStart(span.from);
    if (m_media)
        m_media->setLoop(span.from, span.to);
    m_playback->seekTo(span.from);
    if (!m_playback->isPlaying())
        m_playback->togglePlayPause();
    Q_EMIT loopChanged();
}

void PlaybackLoop::leave(bool playOnFromEnd)
{
    const TimeSpan left = *std::exchange(m_span, std::nullopt);
    m_playback->setLoopStart(std::nullopt);
    if (m_media)
        m_media->setLoop(0, 0);
    if (playOnFromEnd)
        m_playback->seekTo(left.to);
    Q_EMIT loopChanged();
}

void PlaybackLoop::followMove()
{
    if (m_span && m_media && !m_span->contains(m_media->currentPosition(), kMargin))
        leave(false);
}

void PlaybackLoop::markStart()
{
    if (!m_playback->hasMedia())
        return;
    const double seconds = m_playback->stoppedPosition();
    m_start = seconds;
    if (m_end && *m_end < seconds)
        std::swap(*m_start, *m_end);
    Q_EMIT startMarked(seconds);
}

void PlaybackLoop::markEnd()
{
    if (!m_playback->hasMedia())
        return;
    const double seconds = m_playback->stoppedPosition();
    m_end = seconds;
    if (m_start && *m_start > seconds)
        std::swap(*m_start, *m_end);
    Q_EMIT endMarked(seconds);
}

void PlaybackLoop::setMarks(const TimeSpan& span)
{
    if (span.isEmpty()) {
        m_start.reset();
        m_end.reset();
        return;
    }
    m_start = span.from;
    m_end = span.to;
    if (m_span && *m_span != span) {
        m_span.reset();
        play(span);
    }
}

void PlaybackLoop::clear()
{
    m_start.reset();
    m_end.reset();
    if (m_span)
        leave(false);
}
