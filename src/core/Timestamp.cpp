#include "core/Timestamp.h"

#include <QTextBlock>
#include <QTextDocument>
#include <algorithm>
#include <array>
#include <cmath>
#include <limits>

namespace Timestamp {

namespace {

constexpr qint64 kSecond = 1000;
constexpr qint64 kMinute = 60 * kSecond;
constexpr qint64 kHour = 60 * kMinute;

// The longest runs of digits a timestamp has: hours of a [H:MM:SS] form, minutes of [MM:SS].
constexpr int kMostHourDigits = 3;
constexpr int kMostMinuteDigits = 4;
constexpr int kMostFractionDigits = 3;

QString twoDigits(qint64 value)
{
    return QStringLiteral("%1").arg(value, 2, 10, QLatin1Char('0'));
}

QString clock(qint64 ms)
{
    return twoDigits(ms / kHour) + QLatin1Char(':') + twoDigits(ms / kMinute % 60) +
           QLatin1Char(':') + twoDigits(ms / kSecond % 60);
}

bool isDigit(QChar c)
{
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

struct Digits {
    int value = 0;
    int count = 0;
};

// At most `most` digits from `at` on; a longer run gives none.
Digits readDigits(QStringView text, qsizetype& at, int most)
{
    Digits digits;
    while (at < text.size() && isDigit(text[at])) {
        if (digits.count == most)
            return {};
        digits.value = digits.value * 10 + text[at].digitValue();
        ++digits.count;
        ++at;
    }
    return digits;
}

} // namespace

QString format(qint64 milliseconds, Style style)
{
    const qint64 ms = std::max<qint64>(milliseconds, 0);
    switch (style) {
    case Style::HoursMinutesSeconds:
        return QLatin1Char('[') + clock(ms) + QLatin1Char(']');
    case Style::Tenths:
        return QLatin1Char('[') + clock(ms) + QLatin1Char('.') +
               QString::number(ms % kSecond / 100) + QLatin1Char(']');
    case Style::MinutesSeconds:
        return QLatin1Char('[') + twoDigits(ms / kMinute) + QLatin1Char(':') +
               twoDigits(ms / kSecond % 60) + QLatin1Char(']');
    case Style::HashHundredths:
        return QLatin1Char('#') + clock(ms) + QLatin1Char('.') + twoDigits(ms % kSecond / 10) +
               QLatin1Char('#');
    }
    return QString();
}

QString formatSeconds(double seconds, Style style)
{
    // The engine's doubles land a hair below whole milliseconds (59.95 as 59.94999...).
    const double ms = std::isfinite(seconds) ? std::round(seconds * 1000) : 0;
    return format(qint64(ms), style);
}

QString pattern(Style style)
{
    switch (style) {
    case Style::HoursMinutesSeconds:
        return QStringLiteral("[HH:MM:SS]");
    case Style::Tenths:
        return QStringLiteral("[HH:MM:SS.d]");
    case Style::MinutesSeconds:
        return QStringLiteral("[MM:SS]");
    case Style::HashHundredths:
        return QStringLiteral("#HH:MM:SS.dd#");
    }
    return QString();
}

std::optional<Style> styleOfPattern(QStringView text)
{
    for (int i = 0; i < kStyleCount; ++i) {
        const auto style = Style(i);
        if (text.trimmed().compare(pattern(style), Qt::CaseInsensitive) == 0)
            return style;
    }
    return std::nullopt;
}

std::optional<Found> parseAt(QStringView text, qsizetype at)
{
    if (at < 0 || at >= text.size())
        return std::nullopt;
    const QChar open = text[at];
    QChar close;
    if (open == QLatin1Char('['))
        close = QLatin1Char(']');
    else if (open == QLatin1Char('#'))
        close = QLatin1Char('#');
    else
        return std::nullopt;

    // Two or three groups of digits between colons.
    qsizetype i = at + 1;
    std::array<Digits, 3> groups;
    int count = 0;
    while (count < 3) {
        groups[count] = readDigits(text, i, kMostMinuteDigits);
        if (groups[count].count == 0)
            return std::nullopt;
        ++count;
        if (i < text.size() && text[i] == QLatin1Char(':') && count < 3)
            ++i;
        else
            break;
    }
    Digits fraction;
    if (i < text.size() && text[i] == QLatin1Char('.')) {
        ++i;
        fraction = readDigits(text, i, kMostFractionDigits);
        if (fraction.count == 0)
            return std::nullopt;
    }
    // A lone number in brackets ("[12]") is a reference, not a time.
    if (i >= text.size() || text[i] != close || count < 2)
        return std::nullopt;

    const Digits& seconds = groups[count - 1];
    const Digits& minutes = groups[count - 2];
    if (seconds.count != 2 || seconds.value > 59)
        return std::nullopt;
    qint64 ms = 0;
    if (count == 3) {
        const Digits& hours = groups[0];
        if (hours.count > kMostHourDigits || minutes.count != 2 || minutes.value > 59)
            return std::nullopt;
        ms = hours.value * kHour + minutes.value * kMinute;
    } else {
        // [MM:SS] only between brackets, with two minute digits at least.
        if (close != QLatin1Char(']') || minutes.count < 2)
            return std::nullopt;
        ms = minutes.value * kMinute;
    }
    ms += seconds.value * kSecond;
    if (fraction.count > 0)
        ms += fraction.value * (fraction.count == 1 ? 100 : fraction.count == 2 ? 10 : 1);
    return Found{at, i + 1 - at, ms};
}

std::optional<Found> findAtOrBefore(QStringView text, qsizetype position)
{
    for (qsizetype at = std::min(position, text.size() - 1); at >= 0; --at) {
        const QChar c = text[at];
        if (c != QLatin1Char('[') && c != QLatin1Char('#'))
            continue;
        if (const auto found = parseAt(text, at))
            return found;
    }
    return std::nullopt;
}

std::optional<Found> findAtOrBefore(const QTextDocument& document, int position)
{
    // Paragraph by paragraph near the caret, where a timestamp usually is; past that, the whole
    // text at once costs less than a string for every paragraph.
    constexpr int kParagraphsOneByOne = 64;
    QTextBlock block = document.findBlock(std::max(position, 0));
    qsizetype inBlock = std::max(position, 0) - block.position();
    for (int read = 0; block.isValid() && read < kParagraphsOneByOne;
         ++read, block = block.previous()) {
        const QString text = block.text();
        if (auto found = findAtOrBefore(text, std::min<qsizetype>(inBlock, text.size()))) {
            found->start += block.position();
            return found;
        }
        inBlock = std::numeric_limits<qsizetype>::max();
    }
    if (!block.isValid())
        return std::nullopt;
    // Document positions are indices into the raw text, paragraphs ended by U+2029.
    return findAtOrBefore(document.toRawText(), block.position() + block.length() - 1);
}

} // namespace Timestamp
