#pragma once

class BookmarkCommands;
class EditorCommands;
class HelpCommands;
class PedalCommands;
class RecorderCommands;

// The other windows' commands that the player reaches, wired by start-up; any may stay unset, and
// the editor may come later. The player's helpers hold a reference, so they see a late wiring.
struct PlayerPeers {
    EditorCommands* editor = nullptr;
    BookmarkCommands* bookmarks = nullptr;
    RecorderCommands* recorder = nullptr;
    HelpCommands* help = nullptr;
    PedalCommands* pedals = nullptr;
};
