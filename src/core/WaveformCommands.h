#pragma once

class QWidget;

// What the player window asks of the waveform window: it stands beside the player like the
// other companion windows, and remembers whether the user wants it shown.
class WaveformCommands {
public:
    virtual ~WaveformCommands() = default;
    virtual QWidget* window() = 0;
    // Whether the user wants it shown (it is hidden while the player is minimised); kept for the
    // next run.
    virtual bool isWanted() const = 0;
    virtual void setWanted(bool wanted) = 0;
};
