#include "transcript/SubtitleCues.h"

#include <algorithm>
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
    qsizetype best = -1;
    Boundary bestKind = Boundary::Word;
    const qsizetype middle = text.size() / 2;
    for (qsizetype at = std::max<qsizetype>(keep, 1); at + 1 < text.size(); ++at) {
        if (text[at] != QLatin1Char(' '))
            continue;
        const Boundary kind = boundaryAt(text, at);
        if (kind < weakest)
            continue;
        if (best < 0 || kind > bestKind ||
            (kind == bestKind && std::abs(at - middle) < std::abs(best - middle))) {
            best = at;
            bestKind = kind;
        }
    }
    return best;
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

// Splits the text until every piece fits on the screen and, at its share of the duration, in
// the longest time a cue shows. Only a sentence or a clause is parted for time: a few words
// alone on the screen read worse than a cue that leaves before its segment ends. The first
// `keep` characters (a speaker's label) stay with the words after them.
void splitInto(QStringView text, double millisecondsPerCharacter, QList<QStringView>& pieces,
               qsizetype keep = 0)
{
    const bool fitsLines =
        text.size() <= kMostLines * kMostLineCharacters && wrap(text).size() <= kMostLines;
    const bool fitsTime = text.size() * millisecondsPerCharacter <= kLongestCue;
    const qsizetype at = !fitsLines  ? splitPoint(text, Boundary::Word, keep)
                         : !fitsTime ? splitPoint(text, Boundary::Clause, keep)
                                     : -1;
    if (at < 0) {
        if (fitsLines) {
            pieces << text;
            return;
        }
        // One word longer than the screen holds: cut it.
        const qsizetype cut = kMostLines * kMostLineCharacters;
        pieces << text.first(cut);
        splitInto(text.sliced(cut), millisecondsPerCharacter, pieces);
        return;
    }
    splitInto(text.first(at), millisecondsPerCharacter, pieces, keep);
    splitInto(text.sliced(at + 1), millisecondsPerCharacter, pieces);
}

QString vttEscaped(const QString& text)
{
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
        QList<QStringView> pieces;
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

QString clockTime(qint64 ms, QChar separator)
{
    ms = std::max<qint64>(ms, 0);
    return QStringLiteral("%1:%2:%3%4%5")
        .arg(ms / 3600000, 2, 10, QLatin1Char('0'))
        .arg(ms / 60000 % 60, 2, 10, QLatin1Char('0'))
        .arg(ms / 1000 % 60, 2, 10, QLatin1Char('0'))
        .arg(separator)
        .arg(ms % 1000, 3, 10, QLatin1Char('0'));
}

QByteArray srt(const QList<Cue>& cues)
{
    QString out;
    int number = 0;
    for (const Cue& cue : cues) {
        out += QString::number(++number) + QLatin1String("\r\n") +
               clockTime(cue.start, QLatin1Char(',')) + QLatin1String(" --> ") +
               clockTime(cue.end, QLatin1Char(',')) + QLatin1String("\r\n") +
               cue.lines.join(QLatin1String("\r\n")) + QLatin1String("\r\n\r\n");
    }
    return out.toUtf8();
}

QByteArray webVtt(const QList<Cue>& cues)
{
    QString out = QStringLiteral("WEBVTT\r\n\r\n");
    for (const Cue& cue : cues) {
        out += clockTime(cue.start, QLatin1Char('.')) + QLatin1String(" --> ") +
               clockTime(cue.end, QLatin1Char('.')) + QLatin1String("\r\n");
        if (!cue.speaker.isEmpty())
            out += QLatin1String("<v ") + vttEscaped(cue.speaker) + QLatin1Char('>');
        out += vttEscaped(cue.lines.join(QLatin1String("\r\n"))) + QLatin1String("\r\n\r\n");
    }
    return out.toUtf8();
}

} // namespace SubtitleCues
