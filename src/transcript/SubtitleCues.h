#pragma once

#include "transcript/TranscriptSegments.h"

#include <QByteArray>
#include <QList>
#include <QStringList>

// Subtitle cues made from segments, as a viewer can read them: no cue shows longer than
// kLongestCue nor more than kMostLines lines of kMostLineCharacters. A segment too long for the
// screen is split at the end of a sentence, else of a clause, else between words, as near its
// middle as can be; one too long in time only at sentences and clauses, else its cue leaves
// early. Its time is shared out by the length of the pieces. Cues never overlap and never run
// backwards.
struct Cue {
    qint64 start = 0; // milliseconds
    qint64 end = 0;
    QString speaker;
    QStringList lines;

    bool operator==(const Cue&) const = default;
};

namespace SubtitleCues {

constexpr qint64 kLongestCue = 7000;
constexpr int kMostLines = 2;
constexpr int kMostLineCharacters = 42;

enum class SpeakerPlace {
    InText,  // "NAME: " opens the cue's first line (SRT has no voices)
    AsVoice, // kept apart, for a voice tag
};

QList<Cue> fromSegments(const QList<Segment>& segments, SpeakerPlace speakerPlace);

// The files, UTF-8 with CR LF line ends.
QByteArray srt(const QList<Cue>& cues);
QByteArray webVtt(const QList<Cue>& cues);

// 01:02:03,456 for SRT (separator ','), 01:02:03.456 for WebVTT.
QString clockTime(qint64 milliseconds, QChar separator);

} // namespace SubtitleCues
