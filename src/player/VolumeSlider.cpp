#include "player/VolumeSlider.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace VolumeSlider {

int value(double knobTop, double trackTop, double trackHeight, double knobHeight, int scale)
{
    const double travel = trackHeight - knobHeight;
    if (travel <= 0)
        return scale;
    const long long steps =
        static_cast<long long>(std::floor((knobTop - trackTop) * scale / travel));
    return static_cast<int>(std::llabs(steps - scale));
}

int percentage(int value, int scale)
{
    if (scale == 0)
        return 0;
    return std::clamp(static_cast<int>(static_cast<long long>(value) * 100 / scale), 0, 100);
}

} // namespace VolumeSlider
