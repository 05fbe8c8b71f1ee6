// The one symbol the sound capture module exports: ModuleCaptureDevice looks it up by name.

#include "capture/PulseCaptureDevice.h"
#include "platform/CaptureModule.h"

#include <type_traits>

extern "C" Q_DECL_EXPORT CaptureDevice* vocartaCreateCaptureDevice()
{
    return new PulseCaptureDevice;
}

static_assert(std::is_same_v<decltype(&vocartaCreateCaptureDevice), CaptureModule::Factory>);
