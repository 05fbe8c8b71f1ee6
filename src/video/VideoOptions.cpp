#include "video/VideoOptions.h"

#include "core/OptionLines.h"
#include "platform/TextFile.h"

namespace {

const QString kShownName = QStringLiteral("Shown");
const QString kPlaceName = QStringLiteral("Place");

// Four whole numbers, the width and height above 0.
QRect placeFrom(const QString& value)
{
    const QStringList parts = value.split(QLatin1Char(','));
    if (parts.size() != 4)
        return {};
    int numbers[4];
    for (int i = 0; i < 4; ++i) {
        bool ok = false;
        numbers[i] = parts[i].trimmed().toInt(&ok);
        if (!ok)
            return {};
    }
    if (numbers[2] <= 0 || numbers[3] <= 0)
        return {};
    return QRect(numbers[0], numbers[1], numbers[2], numbers[3]);
}

} // namespace

VideoOptions VideoOptions::parse(const QStringList& lines)
{
    VideoOptions options;
    for (const QString& line : lines) {
        const auto split = OptionLines::split(line);
        if (!split)
            continue;
        const auto& [name, value] = *split;
        if (name.compare(kShownName, Qt::CaseInsensitive) == 0)
            options.shown = OptionLines::yesOrNo(value).value_or(options.shown);
        else if (name.compare(kPlaceName, Qt::CaseInsensitive) == 0)
            options.place = placeFrom(value);
    }
    return options;
}

QStringList VideoOptions::lines() const
{
    QStringList result{OptionLines::line(kShownName, OptionLines::yesOrNo(shown))};
    if (place.isValid())
        result << OptionLines::line(kPlaceName, QStringLiteral("%1,%2,%3,%4")
                                                    .arg(place.left())
                                                    .arg(place.top())
                                                    .arg(place.width())
                                                    .arg(place.height()));
    return result;
}

VideoOptions VideoOptions::read(const QString& path, QString* error)
{
    const auto lines = OptionLines::readFile(path, error);
    return lines ? parse(*lines) : VideoOptions{};
}

bool VideoOptions::write(const QString& path, QString* error) const
{
    return writeTextLines(path, lines(), error);
}
