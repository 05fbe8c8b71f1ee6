#pragma once

class BookmarkCommands;
class EditorCommands;
class PlayerCommands;

// The windows that a command from outside them (a foot pedal, another program) acts on; any may
// be missing.
struct CommandTargets {
    PlayerCommands* player = nullptr;
    BookmarkCommands* bookmarks = nullptr;
    EditorCommands* editor = nullptr;
};
