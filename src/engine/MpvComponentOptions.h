#pragma once

#include <array>
#include <utility>

// The libmpv options that make mpv a component playing sound only: no user configuration,
// scripts, key bindings or on-screen controls, and for video files their sound alone: the picture
// is decoded only once the program draws it through libmpv's render API, and mpv opens no
// window of its own. Plain C strings: the start benchmark's libmpv-only reference
// player sets the same ones.
namespace MpvComponentOptions {

inline constexpr std::array<std::pair<const char*, const char*>, 14> kOptions = {{
    {"config", "no"},
    {"terminal", "no"},
    {"load-scripts", "no"},
    {"ytdl", "no"},
    {"osc", "no"},
    {"load-stats-overlay", "no"},
    {"load-osd-console", "no"},
    {"load-auto-profiles", "no"},
    {"input-default-bindings", "no"},
    {"input-vo-keyboard", "no"},
    {"vid", "no"},
    {"vo", "libmpv"},
    {"audio-display", "no"},
    {"sid", "no"},
}};

} // namespace MpvComponentOptions
