#pragma once

#include "core/CommandTargets.h"

#include <QStringView>
#include <span>

struct TimestampOptions;

// The windows a command sent to the running program acts on.
struct RemoteTargets : CommandTargets {
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
