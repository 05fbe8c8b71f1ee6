#pragma once

class QWidget;

// What the player window asks of the transcript editor window.
class EditorCommands {
public:
    virtual ~EditorCommands() = default;

    virtual QWidget* window() = 0;
    virtual void giveFocus() = 0;

    enum class ExitAnswer {
        Proceed,    // saved, nothing to save, or the user chose not to save
        Cancel,     // the user cancelled: the program stays open
        SaveFailed, // the user chose to save and the save did not happen
    };
    // Asks about an unsaved transcript before the program ends, and saves it if the user wants.
    virtual ExitAnswer askToSaveBeforeExit() = 0;
    // Writes the player's position at the caret as a timestamp; nothing without media.
    virtual void insertTimestamp() = 0;
    // Highlights the part of the transcript being heard, brings it into view and follows the
    // recording again.
    virtual void followHeardPart() = 0;
    // Closes the find dialog along with the program.
    virtual void hideFindDialog() = 0;
    virtual void unload() = 0;
};
