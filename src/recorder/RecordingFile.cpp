#include "recorder/RecordingFile.h"

#include <QDir>
#include <QFileInfo>

namespace RecordingFile {

QString defaultPath(const QString& folder)
{
    for (int n = 1;; ++n) {
        const QString candidate =
            QDir(folder).filePath(QStringLiteral("Rec %1.wav").arg(n, 2, 10, QLatin1Char('0')));
        if (!QFileInfo::exists(candidate))
            return candidate;
    }
}

bool sameFile(const QString& a, const QString& b)
{
    if (a.isEmpty() || b.isEmpty())
        return false;
    if (a == b)
        return true;
    const QFileInfo first(a);
    const QFileInfo second(b);
    const QString firstCanonical = first.canonicalFilePath();
    if (!firstCanonical.isEmpty())
        return firstCanonical == second.canonicalFilePath();
    return QDir::cleanPath(first.absoluteFilePath()) == QDir::cleanPath(second.absoluteFilePath());
}

} // namespace RecordingFile
