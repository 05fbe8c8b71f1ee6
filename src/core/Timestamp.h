#pragma once

#include <QString>
#include <QStringView>
#include <optional>

class QTextDocument;

// Playback positions written into a transcript as plain text, and found there again: the four
// forms transcribers meet elsewhere. Each is written in whole units of its precision, cut rather
// than rounded, so that playing from a timestamp never starts after the words it marks.
namespace Timestamp {

enum class Style {
    HoursMinutesSeconds, // [01:02:03]
    Tenths,              // [01:02:03.4]
    MinutesSeconds,      // [62:03]
    HashHundredths,      // #01:02:03.45#
};
constexpr Style kDefaultStyle = Style::HoursMinutesSeconds;
constexpr int kStyleCount = 4;

// A negative position is written as 0; hours and minutes grow past two digits where needed.
QString format(qint64 milliseconds, Style style);
// The position of the media in seconds, as the engine gives it.
QString formatSeconds(double seconds, Style style);

// The style's pattern as a user reads it ("[HH:MM:SS]"), also its name in the options file.
QString pattern(Style style);
std::optional<Style> styleOfPattern(QStringView pattern);

struct Found {
    qsizetype start = 0;
    qsizetype length = 0;
    qint64 milliseconds = 0;
    bool operator==(const Found&) const = default;
};

// The timestamp that begins at `at`, in any of the four forms or as [H:MM:SS]; none when the
// characters there are no timestamp (such as [12:3], [99:99:99] or a bare 1:23).
std::optional<Found> parseAt(QStringView text, qsizetype at);

// The last timestamp that begins at or before `position`: the one the caret is in, or else the
// nearest one before it.
std::optional<Found> findAtOrBefore(QStringView text, qsizetype position);

// The same in a document, by document positions. It reads only the paragraphs from the caret's
// back to the one holding the timestamp.
std::optional<Found> findAtOrBefore(const QTextDocument& document, int position);

} // namespace Timestamp
