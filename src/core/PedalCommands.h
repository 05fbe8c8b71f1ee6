#pragma once

class QWidget;

// What the player window's pedal options entry asks of the foot pedals.
class PedalCommands {
public:
    virtual ~PedalCommands() = default;

    // The options dialog over `parent`, brought forward when it is open already.
    virtual void showOptions(QWidget* parent) = 0;
};
