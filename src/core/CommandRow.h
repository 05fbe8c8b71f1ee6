#pragma once

#include "core/PlayerCommands.h"
#include "core/Text.h"

#include <QFlags>
#include <QKeySequence>
#include <functional>
#include <optional>

class QAction;
class QMenu;

// What a command needs before it can run; the window enables a group as its state changes.
enum class CommandGroup { Always, NeedsMedia };

enum class CommandFlag {
    // The handler sets the check mark itself, as it does when it runs from elsewhere.
    Checkable = 0x01,
    // Checkable, and one of a run of such rows in its menu, of which one only is checked.
    Exclusive = 0x02,
    // The entry opens a dialog: "..." follows the caption.
    Ellipsis = 0x04,
    // The language files give the caption without its accelerator: "&" goes in front.
    Accelerated = 0x08,
    // The window writes the caption itself (the user's own texts).
    OwnCaption = 0x10,
    // Built hidden; the window shows it once it has something to show.
    Hidden = 0x20,
    // Answers its player command as its skin button does, whether the entry is enabled or not.
    Transport = 0x40,
};
Q_DECLARE_FLAGS(CommandFlags, CommandFlag)
Q_DECLARE_OPERATORS_FOR_FLAGS(CommandFlags)

// One row of a window's command table: a menu, a separator, a place for the window's own entries,
// or a command with everything its menu entry needs. MenuCommands builds the menus from the rows
// in their order.
template <typename Window> struct CommandRow {
    enum class Kind { Command, Menu, Submenu, EndSubmenu, Separator, Entries };

    Kind kind = Kind::Command;
    // The object name, by which tests and the remote control find the entry.
    const char* name = "";
    Text caption = Text::ProgramName;
    // The caption the entry shows instead while `showsOther` holds (Pause while playing).
    std::optional<Text> otherCaption = std::nullopt;
    std::function<bool(const Window&)> showsOther = nullptr;
    // A caption that is no word of any language ("&?").
    const char* fixedCaption = nullptr;
    QKeySequence key = {};
    std::function<void(Window&)> run = nullptr;
    // The player command that runs this entry from another window.
    std::optional<PlayerCommand> answers = std::nullopt;
    CommandGroup group = CommandGroup::Always;
    CommandFlags flags = {};
    // Where the window keeps the entry or menu it uses beyond the table.
    QAction* Window::*action = nullptr;
    QMenu* Window::*menu = nullptr;
    // Entries: adds the window's own entries at this place of the menu.
    std::function<void(Window&, QMenu*)> fill = nullptr;

    static CommandRow topMenu(const char* name, Text caption, QMenu* Window::*menu = nullptr,
                              CommandFlags flags = {})
    {
        return {.kind = Kind::Menu, .name = name, .caption = caption, .flags = flags, .menu = menu};
    }
    static CommandRow submenu(const char* name, Text caption, QMenu* Window::*menu = nullptr)
    {
        return {.kind = Kind::Submenu, .name = name, .caption = caption, .menu = menu};
    }
    static CommandRow endSubmenu() { return {.kind = Kind::EndSubmenu}; }
    static CommandRow separator(const char* name = "", QAction* Window::*action = nullptr,
                                CommandFlags flags = {})
    {
        return {.kind = Kind::Separator, .name = name, .flags = flags, .action = action};
    }
    static CommandRow entries(std::function<void(Window&, QMenu*)> fill)
    {
        return {.kind = Kind::Entries, .fill = std::move(fill)};
    }
};
