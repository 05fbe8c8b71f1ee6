#pragma once

#include "core/NumberText.h"
#include "core/Text.h"

#include <QString>
#include <optional>

struct TransportOptions;

// The number rules of the value-entry dialog.
namespace ValueEntry {

using NumberText::leadingNumber;

// The nearest whole number, halves to the even neighbour; none beyond -32768..32767.
std::optional<int> toSetting(double value);

// What the dialog is asked for.
enum class Mode {
    JumpSeconds,
    SecondsBack,
    PlayTime,
    PauseTime,
    GoTo,
    NewBookmark,
    LoopSeconds,
};

bool isNumericSetting(Mode mode);

// The option a mode edits; nullptr for a position or a bookmark's description.
int* optionOf(TransportOptions& options, Mode mode);

// A stored setting brought into its lower bound before the dialog shows it.
int openingValue(Mode mode, int stored);

// A typed setting brought into its range: the value to store and, when the user is told, the
// message and the bound it names.
struct RangeCheck {
    int value;
    std::optional<Text> message;
    int bound = 0;
};
RangeCheck checkRange(Mode mode, int value);

} // namespace ValueEntry
