#include "player/ValueEntry.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace ValueEntry {

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

int openingValue(Mode mode, int stored)
{
    switch (mode) {
    case Mode::JumpSeconds:
        return std::max(stored, 2);
    case Mode::SecondsBack:
        return std::max(stored, 0);
    case Mode::PlayTime:
    case Mode::PauseTime:
        // 7 is the value the prompt suggests.
        return stored < 3 ? 7 : stored;
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
        if (value < 2)
            return {2, kBelow, 2};
        if (value > 60)
            return {60, kAbove, 60};
        break;
    case Mode::SecondsBack:
        if (value < 0)
            return {0, kBelow, 0};
        if (value > 20)
            return {20, kAbove, 20};
        break;
    case Mode::PlayTime:
    case Mode::PauseTime:
        if (value < 3)
            return {3, std::nullopt};
        break;
    default:
        break;
    }
    return {value, std::nullopt};
}

} // namespace ValueEntry
