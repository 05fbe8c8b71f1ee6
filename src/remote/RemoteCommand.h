#pragma once

#include <QStringView>
#include <span>

class BookmarkCommands;
class EditorCommands;
class PlayerCommands;
struct TimestampOptions;

// The windows a command sent to the running program acts on; any may be missing.
struct RemoteTargets {
    PlayerCommands* player = nullptr;
    BookmarkCommands* bookmarks = nullptr;
    EditorCommands* editor = nullptr;
    // How the user writes timestamps; the default form without it.
    const TimestampOptions* timestamps = nullptr;
};

// A command that `vocarta --command NAME` hands to the running program, where it runs as the
// player's own key or menu entry would.
struct RemoteCommand {
    const char* name;
    // One line for --help.
    const char* summary;
    void (*run)(const RemoteTargets& targets);
};

// Every command, in the order --help lists them.
std::span<const RemoteCommand> remoteCommands();
// nullptr for a name that is no command.
const RemoteCommand* findRemoteCommand(QStringView name);
