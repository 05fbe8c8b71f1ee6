#pragma once

#include "core/Text.h"
#include "pedal/PedalModels.h"

#include <QString>
#include <QStringList>
#include <array>
#include <optional>

// What a pedal does.
enum class PedalAction {
    SkipBack,
    // Plays while the pedal is down; pauses with the step back when it comes up.
    HoldToPlay,
    SkipForward,
    PlayPause,
    Faster,
    Slower,
    NextBookmark,
    InsertTimestamp,
    Nothing,
    // Starts or leaves the loop, as its key does.
    Loop,
};
constexpr int kPedalActionCount = 10;

// The action's name in the options file ("skip-back") and its caption in the options.
QString pedalActionName(PedalAction action);
std::optional<PedalAction> pedalActionOfName(QStringView name);
Text pedalActionCaption(PedalAction action);

// The action of each pedal, kept in "Files/Pedals.ini" as one "Pedal=action" line each, readable
// and editable by hand:
//
//   Left=skip-back
//   Middle=hold-to-play
//   Right=skip-forward
struct PedalOptions {
    std::array<PedalAction, kPedalCount> actions = {PedalAction::SkipBack, PedalAction::HoldToPlay,
                                                    PedalAction::SkipForward};

    PedalAction action(Pedal pedal) const { return actions[size_t(pedal)]; }
    void setAction(Pedal pedal, PedalAction action) { actions[size_t(pedal)] = action; }
    bool operator==(const PedalOptions&) const = default;

    static constexpr char kFileName[] = "Pedals.ini";

    // Unknown names and actions leave the defaults.
    static PedalOptions parse(const QStringList& lines);
    QStringList lines() const;

    // A missing file gives the defaults; one that cannot be read too, with the reason in error.
    static PedalOptions read(const QString& path, QString* error = nullptr);
    [[nodiscard]] bool write(const QString& path, QString* error = nullptr) const;
};
