#include "editor/RecoveryRecord.h"

#include "editor/EditorDocument.h"

#include <cmath>

namespace {

const QString kDocument = QStringLiteral("Document");
const QString kUntitled = QStringLiteral("Untitled");
const QString kMedia = QStringLiteral("Media");
const QString kPosition = QStringLiteral("Position");
const QString kWritten = QStringLiteral("Written");

QString line(const QString& name, const QString& value)
{
    return name + QLatin1Char('=') + value;
}

} // namespace

RecoveryRecord RecoveryRecord::parse(const QStringList& lines)
{
    RecoveryRecord record;
    for (const QString& text : lines) {
        const qsizetype equals = text.indexOf(QLatin1Char('='));
        if (equals < 0)
            continue;
        const QString name = text.left(equals).trimmed();
        // Paths are taken as written: a name may begin or end with a space.
        const QString value = text.mid(equals + 1);
        bool ok = false;
        if (name == kDocument) {
            record.documentPath = value;
        } else if (name == kUntitled) {
            const int number = value.trimmed().toInt(&ok);
            if (ok && number >= 1 && number <= EditorDocument::kLastUntitledNumber)
                record.untitledNumber = number;
        } else if (name == kMedia) {
            record.mediaPath = value;
        } else if (name == kPosition) {
            const double seconds = value.trimmed().toDouble(&ok);
            if (ok && std::isfinite(seconds) && seconds >= 0)
                record.position = seconds;
        } else if (name == kWritten) {
            record.written = QDateTime::fromString(value.trimmed(), Qt::ISODate);
        }
    }
    return record;
}

QStringList RecoveryRecord::lines() const
{
    return {line(kDocument, documentPath), line(kUntitled, QString::number(untitledNumber)),
            line(kMedia, mediaPath), line(kPosition, QString::number(position, 'f', 3)),
            line(kWritten, written.toString(Qt::ISODate))};
}
