#pragma once

#include "core/PlayerCommands.h"

#include <Qt>
#include <optional>

// The editor commands that keys of the text area run.
enum class EditorCommand { Undo, Redo, Copy, Paste, Cut, Bold, Italic, Underline };

// What a key of the text area does: an editor command, a player command, or nothing; and whether
// the text area must not act on it itself.
struct KeyAction {
    std::optional<EditorCommand> editor;
    std::optional<PlayerCommand> player;
    bool swallow = false;

    bool operator==(const KeyAction&) const = default;
};

// The text area's key table. Player commands and swallowed keys act when a key goes down, the
// editor's commands and the function keys when it comes up, with the modifiers held when it went
// down.
namespace EditorKeys {

KeyAction onPress(int key, Qt::KeyboardModifiers modifiers);
// Italian keys: bold and underline are Ctrl+G and Ctrl+S (grassetto, sottolineato), not Ctrl+B
// and Ctrl+U.
KeyAction onRelease(int key, Qt::KeyboardModifiers modifiers, bool italianKeys);

// Keys the text area keeps from the window's menu shortcuts, because its own table runs the same
// command when they come up: the menu would run it a second time.
bool keepsFromMenu(int key, Qt::KeyboardModifiers modifiers);

// Whether the language file gives the Italian keys.
bool usesItalianKeys(const QString& languageFile);

} // namespace EditorKeys
