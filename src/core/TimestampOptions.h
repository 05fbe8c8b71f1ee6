#pragma once

#include "core/Timestamp.h"

#include <QString>
#include <QStringList>

class PlayerCommands;

// How the editor writes timestamps, kept in "Files/Timestamps.ini": one "Name=value" line each,
// readable and editable by hand.
//
//   Format=[HH:MM:SS]
//   NewParagraph=no
//   AfterStepBack=no
struct TimestampOptions {
    Timestamp::Style style = Timestamp::kDefaultStyle;
    // A timestamp at the start of every paragraph begun with Return.
    bool stampNewParagraphs = false;
    // Timestamps taken while paused give the position the pause stepped back to, rather than
    // where the sound stopped.
    bool afterStepBack = false;

    bool operator==(const TimestampOptions&) const = default;

    static constexpr char kFileName[] = "Timestamps.ini";

    // Unknown names and values that cannot be read leave the defaults.
    static TimestampOptions parse(const QStringList& lines);
    QStringList lines() const;

    // The position a timestamp takes now.
    double positionOf(const PlayerCommands& player) const;

    // A missing file gives the defaults; one that cannot be read too, with the reason in error.
    static TimestampOptions read(const QString& path, QString* error = nullptr);
    [[nodiscard]] bool write(const QString& path, QString* error = nullptr) const;
};
