#pragma once

#include "platform/CaptureModule.h"
#include "platform/MediaEngineModule.h"
#include "platform/SoundDecoder.h"

// The engine's, the capture's and the sound decoders' factories when the executable links their
// code (built with VOCARTA_LINK_MODULES_DIRECTLY, so that a debugger and the sanitizers see one
// binary); null in the usual build, where they are modules loaded at run time.
namespace LinkedModules {

MediaEngineModule::Factory engine();
CaptureModule::Factory capture();
SoundModule::Factory sound();

} // namespace LinkedModules
