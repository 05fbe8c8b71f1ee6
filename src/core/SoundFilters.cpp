#include "core/SoundFilters.h"

#include "core/OptionLines.h"
#include "platform/TextFile.h"

#include <algorithm>
#include <variant>

namespace {

struct ChannelsName {
    SoundChannels channels;
    const char* name;
    // The graph that routes the wanted channels to both ears. The output stays stereo, so the
    // sound output is not opened anew (a gap) when the choice changes; a mono recording is made
    // stereo first, so that each choice works on it too.
    const char* graph;
};

const ChannelsName kChannels[] = {
    {SoundChannels::Both, "both", ""},
    {SoundChannels::LeftOnly, "left", "aformat=channel_layouts=stereo,pan=stereo|c0=c0|c1=c0"},
    {SoundChannels::RightOnly, "right", "aformat=channel_layouts=stereo,pan=stereo|c0=c1|c1=c1"},
    {SoundChannels::MonoMix, "mono",
     "aformat=channel_layouts=stereo,pan=stereo|c0=0.5*c0+0.5*c1|c1=0.5*c0+0.5*c1"},
};

// Speech sits above 100 Hz; rumble, handling noise and hum below.
constexpr char kHighPass[] = "highpass=f=100";
// Follows the noise as it changes over the recording.
constexpr char kNoiseReduction[] = "afftdn=nr=12:nf=-40:tn=1";
// Moderate and slow, so that breaths and pauses are not pumped up.
constexpr char kSpeechNormaliser[] = "speechnorm=e=6.25:r=0.00001:l=1";
// Below full scale, so that the boosted peaks do not clip; without its own levelling, which
// would undo the boost.
constexpr char kLimiter[] = "alimiter=limit=0.9:level=false";

struct Range {
    int SoundFilters::*field;
    int lowest;
    int highest;
};

struct Field {
    const char* name;
    std::variant<bool SoundFilters::*, Range, SoundChannels SoundFilters::*> value;
};

const Field kFields[] = {
    {"CleanUp", &SoundFilters::cleanUp},
    {"Channels", &SoundFilters::channels},
    {"BoostPercent",
     Range{&SoundFilters::boostPercent, SoundFilters::kLeastBoost, SoundFilters::kMostBoost}},
    {"SpeechNormaliser", &SoundFilters::speechNormaliser},
    {"NoiseReduction", &SoundFilters::noiseReduction},
    {"HighPass", &SoundFilters::highPass},
};

const ChannelsName& channelsName(SoundChannels channels)
{
    return *std::find_if(std::begin(kChannels), std::end(kChannels),
                         [channels](const ChannelsName& c) { return c.channels == channels; });
}

void readValue(SoundFilters& filters, const Field& field, const QString& value)
{
    if (const auto* flag = std::get_if<bool SoundFilters::*>(&field.value)) {
        filters.*(*flag) = OptionLines::yesOrNo(value).value_or(filters.*(*flag));
    } else if (const auto* range = std::get_if<Range>(&field.value)) {
        bool ok = false;
        const int number = value.trimmed().toInt(&ok);
        if (ok && number >= range->lowest && number <= range->highest)
            filters.*range->field = number;
    } else {
        for (const ChannelsName& channels : kChannels) {
            if (value.trimmed().compare(QLatin1String(channels.name), Qt::CaseInsensitive) == 0)
                filters.channels = channels.channels;
        }
    }
}

QString valueText(const SoundFilters& filters, const Field& field)
{
    if (const auto* flag = std::get_if<bool SoundFilters::*>(&field.value))
        return OptionLines::yesOrNo(filters.*(*flag));
    if (const auto* range = std::get_if<Range>(&field.value))
        return QString::number(filters.*range->field);
    return QLatin1String(channelsName(filters.channels).name);
}

} // namespace

bool SoundFilters::anySet() const
{
    return cleared() != *this;
}

SoundFilters SoundFilters::without(const SoundFilters& other) const
{
    SoundFilters result = *this;
    if (other.channels != SoundChannels::Both)
        result.channels = SoundChannels::Both;
    if (other.boostPercent != kLeastBoost)
        result.boostPercent = kLeastBoost;
    result.speechNormaliser = speechNormaliser && !other.speechNormaliser;
    result.noiseReduction = noiseReduction && !other.noiseReduction;
    result.highPass = highPass && !other.highPass;
    return result;
}

SoundFilters SoundFilters::cleared() const
{
    return without(*this);
}

void SoundFilters::stepBoost(int steps)
{
    boostPercent = std::clamp(boostPercent + steps * kBoostStep, kLeastBoost, kMostBoost);
}

QString SoundFilters::chain() const
{
    if (!cleanUp)
        return {};
    QStringList filters;
    if (const char* graph = channelsName(channels).graph; *graph)
        filters << QLatin1String(graph);
    if (highPass)
        filters << QLatin1String(kHighPass);
    if (noiseReduction)
        filters << QLatin1String(kNoiseReduction);
    if (speechNormaliser)
        filters << QLatin1String(kSpeechNormaliser);
    if (boostPercent > kLeastBoost) {
        filters << QStringLiteral("volume=%1").arg(boostPercent / 100.0, 0, 'f', 2)
                << QLatin1String(kLimiter);
    }
    return filters.join(QLatin1Char(','));
}

SoundFilters SoundFilters::parse(const QStringList& lines)
{
    SoundFilters filters;
    OptionLines::readFields<Field>(
        lines, kFields,
        [&filters](const Field& field, const QString& value) { readValue(filters, field, value); });
    return filters;
}

QStringList SoundFilters::lines() const
{
    return OptionLines::fieldLines<Field>(
        kFields, [this](const Field& field) { return valueText(*this, field); });
}

SoundFilters SoundFilters::read(const QString& path, QString* error)
{
    const auto lines = OptionLines::readFile(path, error);
    return lines ? parse(*lines) : SoundFilters{};
}

bool SoundFilters::write(const QString& path, QString* error) const
{
    return writeTextLines(path, lines(), error);
}
