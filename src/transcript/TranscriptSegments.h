#pragma once

#include <QList>
#include <QString>
#include <QStringView>
#include <optional>

class QTextDocument;

// A timed transcript read as a list of segments. The text between two timestamps belongs to the
// first; a segment ends where the next timestamp stands, and a timestamp with nothing after it
// (before the next one or the end) only ends the segment before it. The last segment ends at the
// media's end when that is known and later, otherwise after the time its text takes to read.
// A speaker label ("NAME:") at the start of a segment is its speaker.
struct Segment {
    qint64 start = 0; // milliseconds
    qint64 end = 0;
    QString speaker;
    QString text; // without its timestamp and label; paragraphs joined by '\n'

    bool operator==(const Segment&) const = default;
};

struct SegmentList {
    QString preamble; // the text before the first timestamp, trimmed
    QList<Segment> segments;
};

namespace TranscriptSegments {

// Characters a viewer reads per second, for segments whose end nothing marks.
constexpr int kReadingCharactersPerSecond = 15;
constexpr qint64 kShortestReading = 1000;

SegmentList split(QStringView plainText, std::optional<qint64> mediaDuration = std::nullopt);
SegmentList split(const QTextDocument& document,
                  std::optional<qint64> mediaDuration = std::nullopt);

// The document's text as a plain text file holds it: paragraphs and line breaks as '\n', no
// object marks (images).
QString plainText(const QTextDocument& document);

// The text without its timestamps; lines that held nothing else disappear.
QString withoutTimestamps(QStringView plainText);

// How long reading the text takes, at the least kShortestReading.
qint64 readingTime(QStringView text);

struct SpeakerLabel {
    QString name;
    qsizetype length = 0; // from the text's start through the blanks after the colon
};
// The label that opens the text: a name of a few words starting with a letter, then ':' and a
// blank or the end ("ANSWER: ", "Dr. Rossi: ", "INTERVIEWEUR : "), after any leading blanks.
std::optional<SpeakerLabel> speakerLabelAt(QStringView text);

} // namespace TranscriptSegments
