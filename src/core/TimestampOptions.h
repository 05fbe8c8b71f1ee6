#pragma once

#include "core/Timestamp.h"

#include <QString>
#include <QStringList>

// How the editor writes timestamps, kept in "Files/Timestamps.ini": one "Name=value" line each,
// readable and editable by hand.
//
//   Format=[HH:MM:SS]
//   NewParagraph=no
struct TimestampOptions {
    Timestamp::Style style = Timestamp::kDefaultStyle;
    // A timestamp at the start of every paragraph begun with Return.
    bool stampNewParagraphs = false;

    bool operator==(const TimestampOptions&) const = default;

    static constexpr char kFileName[] = "Timestamps.ini";

    // Unknown names and values that cannot be read leave the defaults.
    static TimestampOptions parse(const QStringList& lines);
    QStringList lines() const;

    // A missing file gives the defaults; one that cannot be read too, with the reason in error.
    static TimestampOptions read(const QString& path, QString* error = nullptr);
    bool write(const QString& path, QString* error = nullptr) const;
};
