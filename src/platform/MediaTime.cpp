#include "platform/MediaPlayer.h"

#include <cmath>

QString formatMediaTime(double seconds)
{
    if (!std::isfinite(seconds) || seconds < 0)
        seconds = 0;
    const long long total = static_cast<long long>(std::floor(seconds));
    const long long h = total / 3600;
    const long long m = (total / 60) % 60;
    const long long s = total % 60;
    const auto two = [](long long v) {
        return QStringLiteral("%1").arg(v, 2, 10, QLatin1Char('0'));
    };
    if (h > 0)
        return two(h) + QLatin1Char(':') + two(m) + QLatin1Char(':') + two(s);
    return two(m) + QLatin1Char(':') + two(s);
}
