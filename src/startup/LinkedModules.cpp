#include "startup/LinkedModules.h"

#ifdef VOCARTA_LINK_MODULES_DIRECTLY
// Defined by the modules' entry files, linked into the executable with the code behind them.
extern "C" MediaPlayer* vocartaCreateMediaEngine(const MediaEngineModule::Options& options,
                                                 QString* error);
extern "C" CaptureDevice* vocartaCreateCaptureDevice();
extern "C" SoundDecoder* vocartaCreateSoundDecoder();
#endif

namespace LinkedModules {

MediaEngineModule::Factory engine()
{
#ifdef VOCARTA_LINK_MODULES_DIRECTLY
    return &vocartaCreateMediaEngine;
#else
    return nullptr;
#endif
}

CaptureModule::Factory capture()
{
#ifdef VOCARTA_LINK_MODULES_DIRECTLY
    return &vocartaCreateCaptureDevice;
#else
    return nullptr;
#endif
}

SoundModule::Factory sound()
{
#ifdef VOCARTA_LINK_MODULES_DIRECTLY
    return &vocartaCreateSoundDecoder;
#else
    return nullptr;
#endif
}

} // namespace LinkedModules
