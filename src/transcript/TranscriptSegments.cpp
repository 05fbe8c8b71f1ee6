#include "transcript/TranscriptSegments.h"

#include "core/Timestamp.h"

#include <QTextDocument>
#include <algorithm>

namespace TranscriptSegments {

namespace {

constexpr qsizetype kLongestSpeakerName = 40;
constexpr int kMostSpeakerWords = 3;

bool isBlank(QStringView text)
{
    return std::all_of(text.begin(), text.end(), [](QChar c) { return c.isSpace(); });
}

// Every timestamp in the text, in order.
QList<Timestamp::Found> timestampsIn(QStringView text)
{
    QList<Timestamp::Found> found;
    for (qsizetype at = 0; at < text.size(); ++at) {
        const QChar c = text[at];
        if (c != QLatin1Char('[') && c != QLatin1Char('#'))
            continue;
        if (const auto stamp = Timestamp::parseAt(text, at)) {
            found.append(*stamp);
            at += stamp->length - 1;
        }
    }
    return found;
}

// Blanks around each paragraph go; empty paragraphs inside the text too.
QString tidyParagraphs(QStringView text)
{
    QString tidy;
    for (QStringView line : text.split(QLatin1Char('\n'))) {
        line = line.trimmed();
        if (line.isEmpty())
            continue;
        if (!tidy.isEmpty())
            tidy += QLatin1Char('\n');
        tidy += line;
    }
    return tidy;
}

} // namespace

std::optional<SpeakerLabel> speakerLabelAt(QStringView text)
{
    qsizetype at = 0;
    while (at < text.size() && text[at].isSpace())
        ++at;
    if (at == text.size() || !text[at].isLetter())
        return std::nullopt;
    const qsizetype nameStart = at;
    int words = 1;
    for (; at < text.size() && text[at] != QLatin1Char(':'); ++at) {
        const QChar c = text[at];
        if (at - nameStart >= kLongestSpeakerName || c == QLatin1Char('\n') ||
            c == QLatin1Char('?') || c == QLatin1Char('!') || c == QLatin1Char(',') ||
            c == QLatin1Char(';') || c == QLatin1Char('[') || c == QLatin1Char('#'))
            return std::nullopt;
        if (c.isSpace() && !text[at - 1].isSpace() && ++words > kMostSpeakerWords)
            return std::nullopt;
    }
    // A colon followed by anything but a blank is a clock or an address, not a label.
    if (at == text.size() || (at + 1 < text.size() && !text[at + 1].isSpace()))
        return std::nullopt;
    SpeakerLabel label{text.sliced(nameStart, at - nameStart).trimmed().toString(), at + 1};
    while (label.length < text.size() && text[label.length].isSpace())
        ++label.length;
    return label;
}

qint64 readingTime(QStringView text)
{
    return std::max(kShortestReading, text.size() * 1000 / kReadingCharactersPerSecond);
}

SegmentList split(QStringView text, std::optional<qint64> mediaDuration)
{
    SegmentList list;
    const QList<Timestamp::Found> stamps = timestampsIn(text);
    list.preamble = tidyParagraphs(text.first(stamps.isEmpty() ? text.size() : stamps[0].start));
    for (qsizetype i = 0; i < stamps.size(); ++i) {
        const qsizetype from = stamps[i].start + stamps[i].length;
        const qsizetype to = i + 1 < stamps.size() ? stamps[i + 1].start : text.size();
        QStringView body = text.sliced(from, to - from);
        if (isBlank(body))
            continue; // an explicit end: the segment before stops here
        Segment segment;
        segment.start = stamps[i].milliseconds;
        if (const auto label = speakerLabelAt(body)) {
            segment.speaker = label->name;
            body = body.sliced(label->length);
        }
        segment.text = tidyParagraphs(body);
        if (i + 1 < stamps.size() && stamps[i + 1].milliseconds > segment.start)
            segment.end = stamps[i + 1].milliseconds;
        else if (i + 1 == stamps.size() && mediaDuration && *mediaDuration > segment.start)
            segment.end = *mediaDuration;
        else
            segment.end = segment.start + readingTime(segment.text);
        list.segments.append(std::move(segment));
    }
    return list;
}

QString plainText(const QTextDocument& document)
{
    QString text = document.toPlainText();
    text.remove(QChar::ObjectReplacementCharacter);
    return text;
}

SegmentList split(const QTextDocument& document, std::optional<qint64> mediaDuration)
{
    return split(plainText(document), mediaDuration);
}

QString withoutTimestamps(QStringView text)
{
    QString result;
    result.reserve(text.size());
    qsizetype copied = 0;
    for (const Timestamp::Found& stamp : timestampsIn(text)) {
        result += text.sliced(copied, stamp.start - copied);
        copied = stamp.start + stamp.length;
        // The blank that parted the timestamp from the words goes with it.
        if (copied < text.size() && text[copied] == QLatin1Char(' '))
            ++copied;
    }
    result += text.sliced(copied);

    QString kept;
    kept.reserve(result.size());
    bool first = true;
    const QList<QStringView> lines = QStringView(result).split(QLatin1Char('\n'));
    const QList<QStringView> original = text.split(QLatin1Char('\n'));
    for (qsizetype i = 0; i < lines.size(); ++i) {
        // A line emptied by the removal goes; one that was empty before stays.
        if (isBlank(lines[i]) && !isBlank(original[i]))
            continue;
        if (!first)
            kept += QLatin1Char('\n');
        kept += lines[i];
        first = false;
    }
    return kept;
}

} // namespace TranscriptSegments
