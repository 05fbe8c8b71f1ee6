#pragma once

class MediaPlayer;
class Dialogs;
class Desktop;
class CaptureDevice;
class SoundDecoders;

// The outside world as the windows see it. The pointers are not owned: start-up owns the real
// ones, a test owns its doubles.
struct Platform {
    MediaPlayer* media = nullptr;
    Dialogs* dialogs = nullptr;
    Desktop* desktop = nullptr;
    CaptureDevice* capture = nullptr;
    // The decoders that draw a recording's sound; none in most tests.
    SoundDecoders* sound = nullptr;
};
