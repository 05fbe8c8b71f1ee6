#include "player/ValueEntry.h"

#include "core/ListeningOptions.h"
#include "core/SettingLimits.h"
#include "player/TransportOptions.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace ValueEntry {

using namespace SettingLimits;

std::optional<int> toSetting(double value)
{
    const double rounded = std::nearbyint(value);
    if (!std::isfinite(rounded) || rounded < std::numeric_limits<qint16>::min() ||
        rounded > std::numeric_limits<qint16>::max())
        return std::nullopt;
    return static_cast<int>(rounded);
}

bool isNumericSetting(Mode mode)
{
    return mode != Mode::GoTo && mode != Mode::NewBookmark;
}

int* optionOf(TransportOptions& options, Mode mode)
{
    switch (mode) {
    case Mode::JumpSeconds:
        return &options.skipSeconds;
    case Mode::SecondsBack:
        return &options.backSeconds;
    case Mode::PlayTime:
        return &options.playTime;
    case Mode::PauseTime:
        return &options.pauseTime;
    case Mode::LoopSeconds:
        return &options.loopSeconds;
    default:
        return nullptr;
    }
}

int openingValue(Mode mode, int stored)
{
    switch (mode) {
    case Mode::JumpSeconds:
        return std::max(stored, kShortestSkip);
    case Mode::SecondsBack:
        return std::max(stored, kFewestSecondsBack);
    case Mode::PlayTime:
    case Mode::PauseTime:
        return stored < kShortestCycle ? kSuggestedCycle : stored;
    default:
        return stored;
    }
}

RangeCheck checkRange(Mode mode, int value)
{
    constexpr Text kBelow = Text::LowestAllowed;
    constexpr Text kAbove = Text::HighestAllowed;
    switch (mode) {
    case Mode::JumpSeconds:
        if (value < kShortestSkip)
            return {kShortestSkip, kBelow, kShortestSkip};
        if (value > kLongestSkip)
            return {kLongestSkip, kAbove, kLongestSkip};
        break;
    case Mode::SecondsBack:
        if (value < kFewestSecondsBack)
            return {kFewestSecondsBack, kBelow, kFewestSecondsBack};
        if (value > kMostSecondsBack)
            return {kMostSecondsBack, kAbove, kMostSecondsBack};
        break;
    case Mode::PlayTime:
    case Mode::PauseTime:
        if (value < kShortestCycle)
            return {kShortestCycle, std::nullopt};
        break;
    case Mode::LoopSeconds:
        if (value < ListeningOptions::kShortestLoop)
            return {ListeningOptions::kShortestLoop, kBelow, ListeningOptions::kShortestLoop};
        if (value > ListeningOptions::kLongestLoop)
            return {ListeningOptions::kLongestLoop, kAbove, ListeningOptions::kLongestLoop};
        break;
    default:
        break;
    }
    return {value, std::nullopt};
}

} // namespace ValueEntry
