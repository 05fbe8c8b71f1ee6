#pragma once

class MediaPlayer;
class QString;

// The entry point of the media engine module, a library the program loads while it starts
// (MediaEngineLoader) so that the windows never wait for the engine's own libraries.
namespace MediaEngineModule {

struct Options {
    // No sound device (tests, benchmarks); the program itself uses the default output.
    bool nullOutput = false;
};

// Makes an engine on the calling thread, owned by the caller; null when the engine cannot start,
// with the reason in `error`.
using Factory = MediaPlayer* (*)(const Options& options, QString* error);

// The name under which the module exports its Factory.
inline constexpr char kFactoryName[] = "vocartaCreateMediaEngine";

} // namespace MediaEngineModule
