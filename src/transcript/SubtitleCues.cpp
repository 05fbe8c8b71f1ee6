#include "transcript/SubtitleCues.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace SubtitleCues {

namespace {

enum class Boundary { Word, Clause, Sentence };

bool endsSentence(QChar c)
{
    return c == QLatin1Char('.') || c == QLatin1Char('?') || c == QLatin1Char('!') ||
           c == QChar(0x2026);
}

bool endsClause(QChar c)
{
    return c == QLatin1Char(',') || c == QLatin1Char(';') || c == QLatin1Char(':') ||
           c == QChar(0x2013) || c == QChar(0x2014);
}

// What the blank at `at` parts: the character before it, past closing quotes and brackets.
Boundary boundaryAt(QStringView text, qsizetype at)
{
    qsizetype before = at - 1;
    while (before > 0 && (text[before] == QLatin1Char('"') || text[before] == QLatin1Char(')') ||
                          text[before] == QChar(0x201D) || text[before] == QChar(0x00BB)))
        --before;
    if (endsSentence(text[before]))
        return Boundary::Sentence;
    if (endsClause(text[before]))
        return Boundary::Clause;
    return Boundary::Word;
}

// The blank of the strongest kind nearest the middle, of `weakest` kind at least and past the
// first `keep` characters; -1 when the text has none.
qsizetype splitPoint(QStringView text, Boundary weakest, qsizetype keep)
{
    // Outwards from the middle, so that the first blank of each kind is the nearest, and the
    // first sentence's end ends the search.
    std::array<qsizetype, 3> nearest = {-1, -1, -1};
    const qsizetype first = std::max<qsizetype>(keep, 1);
    const qsizetype middle = text.size() / 2;
    for (qsizetype distance = 0; distance <= middle + 1; ++distance) {
        for (const qsizetype at : {middle - distance, middle + distance}) {
            if (at < first || at + 1 >= text.size() || text[at] != QLatin1Char(' '))
                continue;
            const Boundary kind = boundaryAt(text, at);
            if (kind < weakest || nearest[size_t(kind)] >= 0)
                continue;
            if (kind == Boundary::Sentence)
                return at;
            nearest[size_t(kind)] = at;
        }
    }
    return nearest[size_t(Boundary::Clause)] >= 0 ? nearest[size_t(Boundary::Clause)]
                                                  : nearest[size_t(Boundary::Word)];
}

// The text as lines no longer than the limit, broken between words where it can be; a word
// longer than a line is cut.
QStringList wrap(QStringView text)
{
    if (text.size() <= kMostLineCharacters)
        return {text.toString()};
    // Two lines of near equal length read best.
    qsizetype best = -1;
    for (qsizetype at = 0; at < text.size(); ++at) {
        if (text[at] == QLatin1Char(' ') && at <= kMostLineCharacters &&
            text.size() - at - 1 <= kMostLineCharacters &&
            (best < 0 || std::abs(at - text.size() / 2) < std::abs(best - text.size() / 2)))
            best = at;
    }
    if (best >= 0)
        return {text.first(best).toString(), text.sliced(best + 1).toString()};
    QStringList lines;
    while (!text.isEmpty()) {
        qsizetype cut = std::min<qsizetype>(text.size(), kMostLineCharacters);
        if (cut < text.size()) {
            const qsizetype blank = text.first(cut + 1).lastIndexOf(QLatin1Char(' '));
            if (blank > 0)
                cut = blank;
        }
        lines << text.first(cut).trimmed().toString();
        text = text.sliced(cut).trimmed();
    }
    return lines;
}

// Whether wrap() gives at most two lines, without making them.
bool fitsTwoLines(QStringView text)
{
    static_assert(kMostLines == 2);
    if (text.size() <= kMostLineCharacters)
        return true;
    if (text.size() > kMostLines * kMostLineCharacters)
        return false;
    // A blank that leaves no more than a line on either side.
    for (qsizetype at = text.size() - kMostLineCharacters - 1; at <= kMostLineCharacters; ++at) {
        if (text[at] == QLatin1Char(' '))
            return true;
    }
    // A text without blanks is cut into lines.
    return !text.contains(QLatin1Char(' '));
}

// Splits the text until every piece fits on the screen and, at its share of the duration, in
// the longest time a cue shows. Only a sentence or a clause is parted for time: a few words
// alone on the screen read worse than a cue that leaves before its segment ends. The first
// `keep` characters (a speaker's label) stay with the words after them.
void splitInto(QStringView text, double millisecondsPerCharacter, QList<QStringView>& pieces,
               qsizetype keep = 0)
{
    const bool fitsLines = fitsTwoLines(text);
    const bool fitsTime = text.size() * millisecondsPerCharacter <= kLongestCue;
    const qsizetype at = !fitsLines  ? splitPoint(text, Boundary::Word, keep)
                         : !fitsTime ? splitPoint(text, Boundary::Clause, keep)
                                     : -1;
    if (at < 0) {
        if (fitsLines) {
            pieces << text;
            return;
        }
        // A word longer than the screen holds, or than the line beside a label: cut it.
        const qsizetype cut = text.size() > kMostLines * kMostLineCharacters
                                  ? kMostLines * kMostLineCharacters
                                  : kMostLineCharacters;
        pieces << text.first(cut);
        splitInto(text.sliced(cut), millisecondsPerCharacter, pieces);
        return;
    }
    splitInto(text.first(at), millisecondsPerCharacter, pieces, keep);
    splitInto(text.sliced(at + 1), millisecondsPerCharacter, pieces);
}

QString vttEscaped(const QString& text)
{
    if (!text.contains(QLatin1Char('&')) && !text.contains(QLatin1Char('<')) &&
        !text.contains(QLatin1Char('>')))
        return text;
    QString escaped = text;
    escaped.replace(QLatin1Char('&'), QLatin1String("&amp;"));
    escaped.replace(QLatin1Char('<'), QLatin1String("&lt;"));
    escaped.replace(QLatin1Char('>'), QLatin1String("&gt;"));
    return escaped;
}

} // namespace

QList<Cue> fromSegments(const QList<Segment>& segments, SpeakerPlace speakerPlace)
{
    QList<Cue> cues;
    cues.reserve(segments.size());
    QList<QStringView> pieces;
    qint64 lastEnd = 0;
    for (const Segment& segment : segments) {
        QString text = segment.text.simplified();
        qsizetype label = 0;
        if (speakerPlace == SpeakerPlace::InText && !segment.speaker.isEmpty()) {
            text = segment.speaker + QLatin1String(": ") + text;
            label = segment.speaker.size() + 2;
        }
        if (text.isEmpty())
            continue;
        const qint64 start = std::max(segment.start, lastEnd);
        // A segment whose time the one before took (timestamps out of order) gets its reading
        // time after it.
        const qint64 duration =
            segment.end > start ? segment.end - start : TranscriptSegments::readingTime(text);
        pieces.clear();
        splitInto(text, double(duration) / double(text.size()), pieces, label);
        qsizetype total = 0;
        for (QStringView piece : pieces)
            total += piece.size();

        qsizetype before = 0;
        for (QStringView piece : pieces) {
            Cue cue;
            cue.start = std::max(start + duration * before / total, lastEnd);
            before += piece.size();
            cue.end = std::min(start + duration * before / total, cue.start + kLongestCue);
            if (cue.end <= cue.start)
                cue.end = cue.start + 1;
            if (speakerPlace == SpeakerPlace::AsVoice)
                cue.speaker = segment.speaker;
            cue.lines = wrap(piece);
            lastEnd = cue.end;
            cues.append(std::move(cue));
        }
    }
    return cues;
}

namespace {

// Written by hand: the subtitle files hold two for every cue, and arg() is slow at that rate.
void appendClock(QByteArray& out, qint64 ms, char separator)
{
    ms = std::max<qint64>(ms, 0);
    const qint64 hours = ms / 3600000;
    if (hours >= 100)
        out += QByteArray::number(hours / 100);
    const auto digits = [&out](qint64 value, int count) {
        for (qint64 unit = count == 3 ? 100 : 10; unit > 0; unit /= 10)
            out += char('0' + value / unit % 10);
    };
    digits(hours % 100, 2);
    out += ':';
    digits(ms / 60000 % 60, 2);
    out += ':';
    digits(ms / 1000 % 60, 2);
    out += separator;
    digits(ms % 1000, 3);
}

} // namespace

QString clockTime(qint64 ms, QChar separator)
{
    QByteArray text;
    appendClock(text, ms, char(separator.unicode()));
    return QString::fromLatin1(text);
}

// Room for the whole file at once: growing a string of megabytes copies it again and again.
qsizetype sizeOf(const QList<Cue>& cues)
{
    constexpr qsizetype kCueFrame = 64; // number, times, voice, line ends
    qsizetype size = 0;
    for (const Cue& cue : cues) {
        size += kCueFrame + cue.speaker.size();
        for (const QString& line : cue.lines)
            size += line.size() + 2;
    }
    return size;
}

QByteArray srt(const QList<Cue>& cues)
{
    QByteArray out;
    out.reserve(sizeOf(cues));
    int number = 0;
    for (const Cue& cue : cues) {
        out += QByteArray::number(++number);
        out += "\r\n";
        appendClock(out, cue.start, ',');
        out += " --> ";
        appendClock(out, cue.end, ',');
        for (const QString& line : cue.lines) {
            out += "\r\n";
            out += line.toUtf8();
        }
        out += "\r\n\r\n";
    }
    return out;
}

QByteArray webVtt(const QList<Cue>& cues)
{
    QByteArray out = "WEBVTT\r\n";
    out.reserve(sizeOf(cues));
    for (const Cue& cue : cues) {
        out += "\r\n";
        appendClock(out, cue.start, '.');
        out += " --> ";
        appendClock(out, cue.end, '.');
        out += "\r\n";
        if (!cue.speaker.isEmpty()) {
            out += "<v ";
            out += vttEscaped(cue.speaker).toUtf8();
            out += '>';
        }
        for (qsizetype i = 0; i < cue.lines.size(); ++i) {
            if (i > 0)
                out += "\r\n";
            out += vttEscaped(cue.lines[i]).toUtf8();
        }
        out += "\r\n";
    }
    return out;
}

} // namespace SubtitleCues
