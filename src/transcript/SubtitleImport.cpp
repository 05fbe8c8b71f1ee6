#include "transcript/SubtitleImport.h"

#include "platform/TextFile.h"

#include <QFileInfo>
#include <QStringList>
#include <QTextDocument>
#include <algorithm>
#include <optional>

namespace SubtitleImport {

namespace {

const QLatin1String kArrow("-->");

bool isDigit(QChar c)
{
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

// [HH:]MM:SS followed by '.' or ',' and milliseconds, as both formats write it.
std::optional<qint64> parseTime(QStringView text)
{
    text = text.trimmed();
    const qsizetype fractionAt =
        std::max(text.lastIndexOf(QLatin1Char('.')), text.lastIndexOf(QLatin1Char(',')));
    if (fractionAt < 0)
        return std::nullopt;
    const QStringView fraction = text.sliced(fractionAt + 1);
    const QList<QStringView> groups = text.first(fractionAt).split(QLatin1Char(':'));
    if (fraction.isEmpty() || fraction.size() > 3 || groups.size() < 2 || groups.size() > 3)
        return std::nullopt;
    qint64 ms = 0;
    for (qsizetype i = 0; i < groups.size(); ++i) {
        const QStringView group = groups[i];
        if (group.isEmpty() || !std::all_of(group.begin(), group.end(), isDigit))
            return std::nullopt;
        const int value = group.toInt();
        if (i > 0 && (group.size() != 2 || value > 59))
            return std::nullopt;
        ms = ms * 60 + value;
    }
    if (!std::all_of(fraction.begin(), fraction.end(), isDigit))
        return std::nullopt;
    int milli = fraction.toInt();
    for (qsizetype digits = fraction.size(); digits < 3; ++digits)
        milli *= 10;
    return ms * 1000 + milli;
}

QString decodeEntities(QString text)
{
    text.replace(QLatin1String("&lt;"), QLatin1String("<"));
    text.replace(QLatin1String("&gt;"), QLatin1String(">"));
    text.replace(QLatin1String("&nbsp;"), QLatin1String(" "));
    text.replace(QLatin1String("&lrm;"), QString(QChar(0x200E)));
    text.replace(QLatin1String("&rlm;"), QString(QChar(0x200F)));
    text.replace(QLatin1String("&amp;"), QLatin1String("&"));
    return text;
}

// The cue's words without tags; a voice tag becomes its speaker's label. WebVTT escapes its
// markup characters; SRT writers may add SubStation override codes in braces.
QString payloadText(const QString& payload, bool webVtt)
{
    QString text;
    for (qsizetype at = 0; at < payload.size();) {
        const QChar c = payload[at];
        const QChar close =
            c == QLatin1Char('<') ? QLatin1Char('>')
            : !webVtt && c == QLatin1Char('{') && payload.mid(at + 1, 1) == QLatin1String("\\")
                ? QLatin1Char('}')
                : QChar();
        const qsizetype end = close.isNull() ? -1 : payload.indexOf(close, at + 1);
        if (end < 0) {
            text += c;
            ++at;
            continue;
        }
        const QStringView tag = QStringView(payload).sliced(at + 1, end - at - 1);
        // <v Name>, <v.class Name>
        if (close == QLatin1Char('>') && tag.startsWith(QLatin1Char('v')) &&
            (tag.size() == 1 || tag[1] == QLatin1Char('.') || tag[1].isSpace())) {
            const qsizetype blank = tag.indexOf(QLatin1Char(' '));
            const QString name = blank < 0 ? QString() : tag.sliced(blank + 1).trimmed().toString();
            if (!name.isEmpty())
                text += (webVtt ? decodeEntities(name) : name) + QLatin1String(": ");
        }
        at = end + 1;
    }
    return webVtt ? decodeEntities(text) : text;
}

struct CueTimes {
    qint64 start = 0;
    qint64 end = 0;
};

// "start --> end", and for WebVTT settings after the end.
std::optional<CueTimes> parseTimeLine(QStringView line)
{
    const qsizetype arrow = line.indexOf(kArrow);
    if (arrow < 0)
        return std::nullopt;
    QStringView after = line.sliced(arrow + kArrow.size()).trimmed();
    const qsizetype settings = after.indexOf(QLatin1Char(' '));
    if (settings >= 0)
        after = after.first(settings);
    const auto start = parseTime(line.first(arrow));
    const auto end = parseTime(after);
    if (!start || !end)
        return std::nullopt;
    return CueTimes{*start, *end};
}

} // namespace

bool isSubtitleFile(const QString& path)
{
    const QString suffix = QFileInfo(path).suffix();
    return suffix.compare(QLatin1String("srt"), Qt::CaseInsensitive) == 0 ||
           suffix.compare(QLatin1String("vtt"), Qt::CaseInsensitive) == 0;
}

bool isWebVtt(const QByteArray& data)
{
    const QByteArray start = data.startsWith("\xEF\xBB\xBF") ? data.mid(3, 7) : data.left(7);
    return start.startsWith("WEBVTT") && (start.size() == 6 || start[6] == ' ' ||
                                          start[6] == '\t' || start[6] == '\n' || start[6] == '\r');
}

ImportSummary read(const QByteArray& data, QTextDocument* document, Timestamp::Style style)
{
    const bool webVtt = isWebVtt(data);
    QString text = decodeText(data);
    if (text.startsWith(QChar(0xFEFF)))
        text.remove(0, 1);
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));

    // Cues are parted by blank lines.
    QList<QStringList> blocks(1);
    for (const QString& line : text.split(QLatin1Char('\n'))) {
        if (line.trimmed().isEmpty()) {
            if (!blocks.last().isEmpty())
                blocks.append(QStringList());
        } else {
            blocks.last() << line;
        }
    }

    ImportSummary summary;
    QStringList paragraphs;
    for (qsizetype b = 0; b < blocks.size(); ++b) {
        const QStringList& lines = blocks[b];
        if (lines.isEmpty())
            continue;
        if (webVtt) {
            const QString& first = lines.first();
            const auto opens = [&first](const char* word) {
                const QLatin1String w(word);
                return first.startsWith(w) &&
                       (first.size() == w.size() || first[w.size()].isSpace());
            };
            if ((b == 0 && opens("WEBVTT")) || opens("NOTE") || opens("STYLE") || opens("REGION"))
                continue;
        }
        // An identifier (SRT's number, WebVTT's optional name) may come before the times.
        qsizetype timeLine = lines.first().contains(kArrow) ? 0 : 1;
        const auto times = timeLine < lines.size() ? parseTimeLine(lines[timeLine]) : std::nullopt;
        if (!times) {
            ++summary.skipped;
            continue;
        }
        QStringList words;
        for (qsizetype i = timeLine + 1; i < lines.size(); ++i) {
            const QString line = payloadText(lines[i], webVtt).simplified();
            if (!line.isEmpty())
                words << line;
        }
        if (words.isEmpty())
            continue;
        ++summary.cues;
        paragraphs << Timestamp::format(times->start, style) + QLatin1Char(' ') +
                          words.join(QLatin1Char(' '));
    }
    document->setPlainText(paragraphs.join(QLatin1Char('\n')));
    return summary;
}

} // namespace SubtitleImport
