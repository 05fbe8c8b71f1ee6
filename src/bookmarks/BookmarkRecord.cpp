#include "bookmarks/BookmarkRecord.h"

#include <algorithm>
#include <utility>
#include <vector>

namespace BookmarkRecord {

namespace {

const QString kZeroTime = QStringLiteral("00:00:00");

// The number at the start of a field: blanks skipped, then digits; no digits read as 0.
int leadingNumber(QStringView field)
{
    // Far beyond any recording, small enough that hours * 3600 still fits an int.
    constexpr int kCap = 99999;
    qsizetype i = 0;
    while (i < field.size() && field[i] == QLatin1Char(' '))
        ++i;
    int value = 0;
    for (; i < field.size() && field[i].isDigit() && field[i].unicode() < 128; ++i)
        value = std::min(kCap, value * 10 + (field[i].unicode() - '0'));
    return value;
}

} // namespace

QString timeField(const QString& positionText)
{
    const qsizetype missing = kTimeFieldLength - positionText.size();
    return missing > 0 ? kZeroTime.left(missing) + positionText : positionText;
}

QString shownLine(const QString& positionText, const QString& description)
{
    return timeField(positionText) + QStringLiteral("  ") + description;
}

QString makeRecord(const QString& shownLine, const QString& timeField)
{
    return shownLine + QString(kTrailerSpaces, QLatin1Char(' ')) + timeField;
}

QString shownLineOf(const QString& record)
{
    // A well-formed record ends with 15 spaces and an eight-character field: cutting exactly
    // there keeps a description's own trailing spaces, so a reloaded line still matches the one
    // typed (the duplicate check compares exactly).
    const qsizetype trailer = kTrailerSpaces + kTimeFieldLength;
    if (record.size() >= trailer + kTimeFieldLength + 2 && !record.endsWith(QLatin1Char(' ')) &&
        QStringView(record).sliced(record.size() - trailer, kTrailerSpaces).trimmed().isEmpty())
        return record.left(record.size() - trailer);

    // Edited by hand or of the older form: a last word holding ":" after a run of spaces is taken
    // for the trailing field; anything else is shown whole.
    QString shown = record;
    const qsizetype lastSpace = record.lastIndexOf(QLatin1Char(' '));
    if (lastSpace > 0 && record[lastSpace - 1] == QLatin1Char(' ') &&
        QStringView(record).sliced(lastSpace + 1).contains(QLatin1Char(':')))
        shown = record.left(lastSpace);
    while (shown.endsWith(QLatin1Char(' ')))
        shown.chop(1);
    if (shown.isEmpty()) {
        shown = record;
        while (shown.endsWith(QLatin1Char(' ')))
            shown.chop(1);
    }
    return shown;
}

int jumpSeconds(const QString& record)
{
    QStringView field = QStringView(record).right(kTrailerSpaces).trimmed();
    // In a hand-edited record the last 15 characters may hold words before the time.
    if (const qsizetype space = field.lastIndexOf(QLatin1Char(' ')); space >= 0)
        field = field.sliced(space + 1);
    // Read from the right, so that the MM:SS trailer of the older form (kept as it was on disk)
    // is minutes and seconds, not hours and minutes.
    const QList<QStringView> parts = field.split(QLatin1Char(':'));
    int seconds = 0;
    int weight = 1;
    for (qsizetype i = parts.size() - 1, n = 0; i >= 0 && n < 3; --i, ++n) {
        seconds += leadingNumber(parts[i]) * weight;
        weight *= 60;
    }
    return seconds;
}

QString lengthenShortForm(const QString& line)
{
    if (line.size() >= 7 && line[5] == QLatin1Char(' ') && line[6] == QLatin1Char(' '))
        return QStringLiteral("00:") + line;
    return line;
}

bool lessThan(const QString& a, const QString& b)
{
    return QString::compare(a, b, Qt::CaseInsensitive) < 0;
}

void sortForList(const QStringList& records, QStringList* shownLines, QStringList* sortedRecords)
{
    std::vector<std::pair<QString, QString>> pairs;
    pairs.reserve(records.size());
    for (const QString& record : records)
        pairs.emplace_back(shownLineOf(record), record);
    std::stable_sort(pairs.begin(), pairs.end(),
                     [](const auto& a, const auto& b) { return lessThan(a.first, b.first); });
    shownLines->clear();
    sortedRecords->clear();
    shownLines->reserve(records.size());
    sortedRecords->reserve(records.size());
    for (auto& [shown, record] : pairs) {
        *shownLines << std::move(shown);
        *sortedRecords << std::move(record);
    }
}

} // namespace BookmarkRecord
