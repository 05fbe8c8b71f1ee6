#pragma once

#include <QString>
#include <QtGlobal>

// A recording's sound, decoded block by block into float samples. Used on one worker thread at a
// time; a decoder is made by the sound module (SoundModule) and owned by its caller.
class SoundDecoder {
public:
    struct Format {
        int sampleRate = 0;
        int channels = 0;
        // 0 when the container does not say.
        double durationSeconds = 0;
    };

    // Samples in [-1, 1], a run of `frames` for each channel; valid until the next call.
    struct Block {
        // The index of the block's first frame from the start of the recording.
        qint64 firstFrame = 0;
        int frames = 0;
        int channels = 0;
        const float* const* planes = nullptr;
    };

    virtual ~SoundDecoder() = default;

    // Opens the first sound stream of the file; false with the reason in `error`.
    [[nodiscard]] virtual bool open(const QString& path, QString* error) = 0;
    virtual Format format() const = 0;
    // Goes to the frame at or before `seconds`; the next block says where it landed.
    [[nodiscard]] virtual bool seek(double seconds) = 0;
    // The next block: false at the end or on an error, with the reason in `error` for the latter
    // ("" at the end).
    [[nodiscard]] virtual bool next(Block* block, QString* error) = 0;
};

// The entry point of the sound module, a library loaded when a recording's sound is first
// decoded for its picture, so that the program does not link the decoders' libraries.
namespace SoundModule {

using Factory = SoundDecoder* (*)();

inline constexpr char kFactoryName[] = "vocartaCreateSoundDecoder";

} // namespace SoundModule
