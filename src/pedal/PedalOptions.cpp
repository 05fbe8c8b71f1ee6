#include "pedal/PedalOptions.h"

#include "platform/TextFile.h"

#include <QFileInfo>

namespace {

struct ActionEntry {
    PedalAction action;
    const char* name;
    Text caption;
};

constexpr ActionEntry kActions[kPedalActionCount] = {
    {PedalAction::SkipBack, "skip-back", Text::PedalSkipBack},
    {PedalAction::HoldToPlay, "hold-to-play", Text::PedalHoldToPlay},
    {PedalAction::SkipForward, "skip-forward", Text::PedalSkipForward},
    {PedalAction::PlayPause, "play-pause", Text::PedalPlayPause},
    {PedalAction::Faster, "faster", Text::PedalFaster},
    {PedalAction::Slower, "slower", Text::PedalSlower},
    {PedalAction::NextBookmark, "next-bookmark", Text::PedalNextBookmark},
    {PedalAction::InsertTimestamp, "insert-timestamp", Text::InsertTimestamp},
    {PedalAction::Nothing, "nothing", Text::PedalNothing},
    {PedalAction::Loop, "loop", Text::LoopPlay},
};

constexpr const char* kPedalNames[kPedalCount] = {"Left", "Middle", "Right"};

} // namespace

QString pedalActionName(PedalAction action)
{
    return QLatin1String(kActions[size_t(action)].name);
}

std::optional<PedalAction> pedalActionOfName(QStringView name)
{
    for (const ActionEntry& entry : kActions) {
        if (name.trimmed().compare(QLatin1String(entry.name), Qt::CaseInsensitive) == 0)
            return entry.action;
    }
    return std::nullopt;
}

Text pedalActionCaption(PedalAction action)
{
    return kActions[size_t(action)].caption;
}

PedalOptions PedalOptions::parse(const QStringList& lines)
{
    PedalOptions options;
    for (const QString& line : lines) {
        const qsizetype equals = line.indexOf(QLatin1Char('='));
        if (equals < 0)
            continue;
        const QString name = line.left(equals).trimmed();
        const auto action = pedalActionOfName(QStringView(line).mid(equals + 1));
        for (int pedal = 0; pedal < kPedalCount; ++pedal) {
            if (action && name.compare(QLatin1String(kPedalNames[pedal]), Qt::CaseInsensitive) == 0)
                options.actions[size_t(pedal)] = *action;
        }
    }
    return options;
}

QStringList PedalOptions::lines() const
{
    QStringList lines;
    for (int pedal = 0; pedal < kPedalCount; ++pedal)
        lines << QLatin1String(kPedalNames[pedal]) + QLatin1Char('=') +
                     pedalActionName(actions[size_t(pedal)]);
    return lines;
}

PedalOptions PedalOptions::read(const QString& path, QString* error)
{
    if (!QFileInfo::exists(path))
        return {};
    const auto lines = readTextLines(path, error);
    return lines ? parse(*lines) : PedalOptions{};
}

bool PedalOptions::write(const QString& path, QString* error) const
{
    return writeTextLines(path, lines(), error);
}
