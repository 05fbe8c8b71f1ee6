#pragma once

#include "core/TimeMark.h"

#include <QObject>
#include <optional>

class MediaPlayer;
class PlaybackController;

// The player's loop: the last seconds heard, or the stretch between a start and an end mark (set
// by keys or by a selection in the waveform), played over and over by the engine, which seeks
// exactly at each turn. Leaving it plays on from its end; any other move out of it leaves it too.
class PlaybackLoop : public QObject {
    Q_OBJECT
public:
    // Neither is owned; `media` may be null.
    PlaybackLoop(MediaPlayer* media, PlaybackController* playback, QObject* parent = nullptr);

    // The stretch playing over and over; none while not looping.
    std::optional<TimeSpan> span() const { return m_span; }
    bool isLooping() const { return m_span.has_value(); }
    // The marks the next loop plays between, once both are set with the start first.
    std::optional<double> start() const { return m_start; }
    std::optional<double> end() const { return m_end; }

    // Leaves the loop, or starts one: between the marks when they make a stretch, else over the
    // last seconds heard.
    void toggle();
    // A mark at what was heard last (before a pause's step back); the start is taken as the end
    // when it lies after it, and the other way round.
    void markStart();
    void markEnd();
    // Both marks at once; an empty span clears them. A loop playing moves to the new stretch.
    void setMarks(const TimeSpan& span);
    // Another recording, or none: no loop and no marks.
    void clear();

Q_SIGNALS:
    // The loop started, ended or moved.
    void loopChanged();
    // A mark was set by its key, at these seconds.
    void startMarked(double seconds);
    void endMarked(double seconds);

private:
    void play(const TimeSpan& span);
    void leave(bool playOnFromEnd);
    // A move that lands outside the stretch ends the loop where it landed.
    void followMove();
    std::optional<TimeSpan> markedSpan() const;

    MediaPlayer* m_media;
    PlaybackController* m_playback;
    std::optional<TimeSpan> m_span;
    std::optional<double> m_start;
    std::optional<double> m_end;
};
