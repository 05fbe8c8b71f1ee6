#include "core/TimestampOptions.h"

#include "core/PlayerCommands.h"
#include "platform/TextFile.h"

#include <QFileInfo>

namespace {

const QString kFormatName = QStringLiteral("Format");
const QString kNewParagraphName = QStringLiteral("NewParagraph");
const QString kAfterStepBackName = QStringLiteral("AfterStepBack");

QString yesOrNoText(bool on)
{
    return on ? QStringLiteral("yes") : QStringLiteral("no");
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

} // namespace

TimestampOptions TimestampOptions::parse(const QStringList& lines)
{
    TimestampOptions options;
    for (const QString& line : lines) {
        const qsizetype equals = line.indexOf(QLatin1Char('='));
        if (equals < 0)
            continue;
        const QString name = line.left(equals).trimmed();
        const QString value = line.mid(equals + 1);
        if (name.compare(kFormatName, Qt::CaseInsensitive) == 0) {
            if (const auto style = Timestamp::styleOfPattern(value))
                options.style = *style;
        } else if (name.compare(kNewParagraphName, Qt::CaseInsensitive) == 0) {
            if (const auto on = yesOrNo(value))
                options.stampNewParagraphs = *on;
        } else if (name.compare(kAfterStepBackName, Qt::CaseInsensitive) == 0) {
            if (const auto on = yesOrNo(value))
                options.afterStepBack = *on;
        }
    }
    return options;
}

QStringList TimestampOptions::lines() const
{
    return {kFormatName + QLatin1Char('=') + Timestamp::pattern(style),
            kNewParagraphName + QLatin1Char('=') + yesOrNoText(stampNewParagraphs),
            kAfterStepBackName + QLatin1Char('=') + yesOrNoText(afterStepBack)};
}

double TimestampOptions::positionOf(const PlayerCommands& player) const
{
    return afterStepBack ? player.position() : player.stoppedPosition();
}

TimestampOptions TimestampOptions::read(const QString& path, QString* error)
{
    if (!QFileInfo::exists(path))
        return {};
    const auto lines = readTextLines(path, error);
    return lines ? parse(*lines) : TimestampOptions{};
}

bool TimestampOptions::write(const QString& path, QString* error) const
{
    return writeTextLines(path, lines(), error);
}
