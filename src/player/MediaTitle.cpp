#include "player/MediaTitle.h"

#include <QDir>

namespace MediaTitle {

QString fileName(const QString& path)
{
    const qsizetype slash = path.lastIndexOf(QDir::separator());
    return slash < 0 ? path : path.mid(slash + 1);
}

QString caption(const QString& path, bool fullPath, const QString& durationText,
                const QString& mark)
{
    QString shown = fullPath ? path : fileName(path);
    shown.replace(QLatin1Char('&'), QStringLiteral("&&"));
    QString text = shown + QStringLiteral(" - ") + colons(durationText);
    if (!mark.isEmpty())
        text += QStringLiteral(" [") + mark + QLatin1Char(']');
    return text;
}

int fontPoints(qsizetype captionLength)
{
    if (captionLength < 21)
        return 14;
    if (captionLength < 45)
        return 11;
    return 9;
}

QString colons(const QString& timeText)
{
    QString text = timeText;
    text.replace(QLatin1Char('.'), QLatin1Char(':'));
    return text;
}

} // namespace MediaTitle
