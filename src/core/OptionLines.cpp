#include "core/OptionLines.h"

#include "platform/TextFile.h"

#include <QFileInfo>

namespace OptionLines {

std::optional<std::pair<QString, QString>> split(const QString& line)
{
    const qsizetype equals = line.indexOf(QLatin1Char('='));
    if (equals < 0)
        return std::nullopt;
    QString name = line.left(equals).trimmed();
    if (name.isEmpty())
        return std::nullopt;
    return std::pair(std::move(name), line.mid(equals + 1));
}

QString line(const QString& name, const QString& value)
{
    return name + QLatin1Char('=') + value;
}

std::optional<bool> yesOrNo(const QString& value)
{
    const QString word = value.trimmed().toLower();
    if (word == QLatin1String("yes") || word == QLatin1String("1") || word == QLatin1String("true"))
        return true;
    if (word == QLatin1String("no") || word == QLatin1String("0") || word == QLatin1String("false"))
        return false;
    return std::nullopt;
}

QString yesOrNo(bool on)
{
    return on ? QStringLiteral("yes") : QStringLiteral("no");
}

std::optional<QStringList> readFile(const QString& path, QString* error)
{
    if (!QFileInfo::exists(path))
        return std::nullopt;
    return readTextLines(path, error);
}

} // namespace OptionLines
