#pragma once

#include <QList>
#include <QString>

// A point of a recording that something names: a bookmark, a timestamp of the transcript.
struct TimeMark {
    double seconds = 0;
    QString text;

    bool operator==(const TimeMark&) const = default;
};

using TimeMarks = QList<TimeMark>;

// A stretch of a recording, in seconds from its start.
struct TimeSpan {
    double from = 0;
    double to = 0;

    bool isEmpty() const { return !(to > from); }
    bool contains(double seconds, double margin = 0) const
    {
        return seconds >= from - margin && seconds <= to + margin;
    }
    bool operator==(const TimeSpan&) const = default;
};
