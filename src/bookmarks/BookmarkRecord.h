#pragma once

#include <QString>
#include <QStringList>

// The bookmark record and the order of the bookmark lists, without any window.
//
// A shown line is the time field HH:MM:SS, two spaces and the description; a record is the shown
// line, 15 spaces and the time field again. The leading field orders and shows a bookmark, the
// trailing one is read for the jump.
namespace BookmarkRecord {

constexpr int kTimeFieldLength = 8;
constexpr int kTrailerSpaces = 15;

// The player's position text ("MM:SS" or "HH:MM:SS") padded from the front with "00:00:00".
QString timeField(const QString& positionText);
QString shownLine(const QString& positionText, const QString& description);
// The record of a shown line, with the time field of the same position text.
QString makeRecord(const QString& shownLine, const QString& timeField);

// The line the list shows for a record; records that were edited by hand into another shape
// are shown as much as they allow.
QString shownLineOf(const QString& record);
// The jump target in seconds, read from the record's trailing time field.
int jumpSeconds(const QString& record);

// Files of older versions started a record with a five-character MM:SS field.
QString lengthenShortForm(const QString& line);

// The lists' order: case-insensitive; lines equal that way keep their order of arrival.
bool lessThan(const QString& a, const QString& b);
// The records in list order, and their shown lines in the same order.
void sortForList(const QStringList& records, QStringList* shownLines, QStringList* sortedRecords);

} // namespace BookmarkRecord
