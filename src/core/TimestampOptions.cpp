#include "core/TimestampOptions.h"

#include "core/OptionLines.h"
#include "core/PlayerCommands.h"
#include "platform/TextFile.h"

namespace {

const QString kFormatName = QStringLiteral("Format");
const QString kNewParagraphName = QStringLiteral("NewParagraph");
const QString kAfterStepBackName = QStringLiteral("AfterStepBack");

} // namespace

TimestampOptions TimestampOptions::parse(const QStringList& lines)
{
    TimestampOptions options;
    for (const QString& line : lines) {
        const auto split = OptionLines::split(line);
        if (!split)
            continue;
        const auto& [name, value] = *split;
        if (name.compare(kFormatName, Qt::CaseInsensitive) == 0) {
            if (const auto style = Timestamp::styleOfPattern(value))
                options.style = *style;
        } else if (name.compare(kNewParagraphName, Qt::CaseInsensitive) == 0) {
            if (const auto on = OptionLines::yesOrNo(value))
                options.stampNewParagraphs = *on;
        } else if (name.compare(kAfterStepBackName, Qt::CaseInsensitive) == 0) {
            if (const auto on = OptionLines::yesOrNo(value))
                options.afterStepBack = *on;
        }
    }
    return options;
}

QStringList TimestampOptions::lines() const
{
    return {OptionLines::line(kFormatName, Timestamp::pattern(style)),
            OptionLines::line(kNewParagraphName, OptionLines::yesOrNo(stampNewParagraphs)),
            OptionLines::line(kAfterStepBackName, OptionLines::yesOrNo(afterStepBack))};
}

double TimestampOptions::positionOf(const PlayerCommands& player) const
{
    return afterStepBack ? player.position() : player.stoppedPosition();
}

TimestampOptions TimestampOptions::read(const QString& path, QString* error)
{
    const auto lines = OptionLines::readFile(path, error);
    return lines ? parse(*lines) : TimestampOptions{};
}

bool TimestampOptions::write(const QString& path, QString* error) const
{
    return writeTextLines(path, lines(), error);
}
