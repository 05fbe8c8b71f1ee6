// The one symbol the sound module exports: SoundModule's loader looks it up by name.

#include "platform/SoundDecoder.h"
#include "sound/FfmpegSoundDecoder.h"

#include <type_traits>

extern "C" Q_DECL_EXPORT SoundDecoder* vocartaCreateSoundDecoder()
{
    return new FfmpegSoundDecoder;
}

static_assert(std::is_same_v<decltype(&vocartaCreateSoundDecoder), SoundModule::Factory>);
