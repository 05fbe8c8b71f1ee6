#pragma once

#include <QString>

namespace RecordedTime {

// "HH:MM:SS" of a time in seconds, or in milliseconds when `milliseconds` is set; hours beyond
// 99 take more digits.
QString format(qint64 value, bool milliseconds = false);

} // namespace RecordedTime
