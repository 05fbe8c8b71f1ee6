#pragma once

#include "core/PlayerCommands.h"

#include <Qt>
#include <optional>

// What the video window does itself.
enum class VideoWindowCommand { ToggleFullScreen, LeaveFullScreen, InsertTimestamp };

// What a key pressed in the video window does: a command of the window, or a player command.
struct VideoKeyAction {
    std::optional<VideoWindowCommand> window;
    std::optional<PlayerCommand> player;

    bool operator==(const VideoKeyAction&) const = default;
};

// The video window's key table: the player commands of the transcript's keys, acting as they do
// there (Ctrl combinations as the key goes down, function keys as it comes up), except F11, which
// is full screen here; and Ctrl+T, which writes a timestamp into the transcript.
namespace VideoKeys {

VideoKeyAction onPress(int key, Qt::KeyboardModifiers modifiers);
VideoKeyAction onRelease(int key, Qt::KeyboardModifiers modifiers);

} // namespace VideoKeys
