#include "recorder/RecordedTime.h"

namespace RecordedTime {

QString format(qint64 value, bool milliseconds)
{
    const qint64 seconds = milliseconds ? value / 1000 : value;
    const auto twoDigits = [](qint64 n) {
        return QStringLiteral("%1").arg(n, 2, 10, QLatin1Char('0'));
    };
    return twoDigits(seconds / 3600) + QLatin1Char(':') + twoDigits(seconds / 60 % 60) +
           QLatin1Char(':') + twoDigits(seconds % 60);
}

} // namespace RecordedTime
