#pragma once

// What the transport is doing, as the play button shows it.
enum class PlayState {
    Stopped, // nothing loaded yet, or halted at the start
    Paused,
    Playing,
};
