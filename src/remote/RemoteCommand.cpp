#include "remote/RemoteCommand.h"

#include "core/BookmarkCommands.h"
#include "core/EditorCommands.h"
#include "core/PlayerCommands.h"
#include "core/TimestampOptions.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QString>

namespace {

void runPlayerCommand(const RemoteTargets& targets, PlayerCommand command)
{
    if (targets.player)
        targets.player->runCommand(command);
}

// The player's bookmark entries are there only while a recording is open.
bool hasMedia(const RemoteTargets& targets)
{
    return targets.player && targets.player->hasMedia();
}

void runBookmarkCommand(const RemoteTargets& targets, void (BookmarkCommands::*command)())
{
    if (targets.bookmarks && hasMedia(targets))
        (targets.bookmarks->*command)();
}

// Typing the description needs the keyboard, wherever the user was.
void bringPlayerToFront(const RemoteTargets& targets)
{
    if (hasMedia(targets))
        targets.player->bringToFront();
}

// For any other program: the position in the form the transcript's timestamps take.
void copyTimestamp(const RemoteTargets& targets)
{
    if (!hasMedia(targets))
        return;
    const TimestampOptions options = targets.timestamps ? *targets.timestamps : TimestampOptions{};
    QGuiApplication::clipboard()->setText(
        Timestamp::formatSeconds(options.positionOf(*targets.player), options.style));
}

constexpr RemoteCommand kCommands[] = {
    {"play-pause", "play, or pause with the step back",
     [](const RemoteTargets& t) { runPlayerCommand(t, PlayerCommand::PlayPause); }},
    {"stop", "stop and go back to the start",
     [](const RemoteTargets& t) {
         if (t.player)
             t.player->stop();
     }},
    {"skip-back", "skip back by the set seconds",
     [](const RemoteTargets& t) { runPlayerCommand(t, PlayerCommand::SkipBack); }},
    {"skip-forward", "skip forward by the set seconds",
     [](const RemoteTargets& t) { runPlayerCommand(t, PlayerCommand::SkipForward); }},
    {"slower", "play a step slower",
     [](const RemoteTargets& t) { runPlayerCommand(t, PlayerCommand::SlowDown); }},
    {"faster", "play a step faster",
     [](const RemoteTargets& t) { runPlayerCommand(t, PlayerCommand::SpeedUp); }},
    {"loop", "start looping the last seconds (or the stretch between the loop marks), or stop",
     [](const RemoteTargets& t) { runPlayerCommand(t, PlayerCommand::Loop); }},
    {"loop-start", "mark where the loop starts, at what was heard last",
     [](const RemoteTargets& t) { runPlayerCommand(t, PlayerCommand::LoopStart); }},
    {"loop-end", "mark where the loop ends, at what was heard last",
     [](const RemoteTargets& t) { runPlayerCommand(t, PlayerCommand::LoopEnd); }},
    {"add-bookmark", "add a bookmark at the current position (asks for its description)",
     [](const RemoteTargets& t) {
         bringPlayerToFront(t);
         runPlayerCommand(t, PlayerCommand::AddBookmark);
     }},
    {"next-bookmark", "go to the next bookmark",
     [](const RemoteTargets& t) { runBookmarkCommand(t, &BookmarkCommands::nextBookmark); }},
    {"previous-bookmark", "go to the previous bookmark",
     [](const RemoteTargets& t) { runBookmarkCommand(t, &BookmarkCommands::previousBookmark); }},
    {"insert-timestamp", "write the position as a timestamp at the transcript's caret",
     [](const RemoteTargets& t) {
         if (t.editor)
             t.editor->insertTimestamp();
     }},
    {"copy-timestamp", "put the current position on the clipboard, as a timestamp", copyTimestamp},
    {"follow", "highlight the part of the transcript being heard and follow it again",
     [](const RemoteTargets& t) {
         if (t.editor)
             t.editor->followHeardPart();
     }},
    {"clean-up", "switch the sound clean-up on or off as a whole, keeping its settings",
     [](const RemoteTargets& t) { runPlayerCommand(t, PlayerCommand::CleanUp); }},
    {"channels-both", "hear both channels as recorded",
     [](const RemoteTargets& t) { runPlayerCommand(t, PlayerCommand::BothChannels); }},
    {"channels-left", "hear the left channel only, in both ears",
     [](const RemoteTargets& t) { runPlayerCommand(t, PlayerCommand::LeftChannel); }},
    {"channels-right", "hear the right channel only, in both ears",
     [](const RemoteTargets& t) { runPlayerCommand(t, PlayerCommand::RightChannel); }},
    {"channels-mono", "hear both channels mixed to mono",
     [](const RemoteTargets& t) { runPlayerCommand(t, PlayerCommand::MonoMix); }},
    {"boost-up", "boost the volume a step further beyond full volume",
     [](const RemoteTargets& t) { runPlayerCommand(t, PlayerCommand::BoostUp); }},
    {"boost-down", "take the volume boost a step back",
     [](const RemoteTargets& t) { runPlayerCommand(t, PlayerCommand::BoostDown); }},
    {"speech-normaliser", "switch the speech normaliser on or off",
     [](const RemoteTargets& t) { runPlayerCommand(t, PlayerCommand::SpeechNormaliser); }},
    {"noise-reduction", "switch the noise reduction on or off",
     [](const RemoteTargets& t) { runPlayerCommand(t, PlayerCommand::NoiseReduction); }},
    {"high-pass", "switch the high-pass filter against rumble on or off",
     [](const RemoteTargets& t) { runPlayerCommand(t, PlayerCommand::HighPass); }},
};

} // namespace

std::span<const RemoteCommand> remoteCommands()
{
    return kCommands;
}

const RemoteCommand* findRemoteCommand(QStringView name)
{
    for (const RemoteCommand& command : kCommands) {
        if (name == QLatin1String(command.name))
            return &command;
    }
    return nullptr;
}
