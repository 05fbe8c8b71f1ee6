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
