#pragma once

// The transport's timings, as the player's options set them.
struct TransportOptions {
    // 0 until the user sets it: the first skip takes the shortest length and keeps it.
    int skipSeconds = 0;
    // How far a pause steps back.
    int backSeconds = 0;
    // The smart-play cycle's play and pause times.
    int playTime = 7;
    int pauseTime = 7;
    // Playing on after a pause steps back a second further for every ten seconds of the pause.
    bool growingStepBack = false;
    // How far back the loop of the last seconds starts.
    int loopSeconds = 5;

    bool operator==(const TransportOptions&) const = default;
};
