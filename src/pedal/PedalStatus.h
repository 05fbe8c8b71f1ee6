#pragma once

#include <QString>

class InterfaceTexts;

// What the search for a pedal found, as the options say it.
struct PedalStatus {
    enum class Kind { NotFound, Connected, NotAllowed, LayoutUnknown, CannotOpen };
    Kind kind = Kind::NotFound;
    // The device as the user can find it again: its name, USB id and device file.
    QString device;
    // The system's reason, when the device could not be opened.
    QString reason;

    bool operator==(const PedalStatus&) const = default;

    QString text(const InterfaceTexts& texts) const;
};
