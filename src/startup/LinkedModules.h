#pragma once

#include "platform/CaptureModule.h"
#include "platform/MediaEngineModule.h"

// The engine's and the capture's factories when the executable links their code (built with
// VOCARTA_LINK_MODULES_DIRECTLY, so that a debugger and the sanitizers see one binary); null in
// the usual build, where both are modules loaded at run time.
namespace LinkedModules {

MediaEngineModule::Factory engine();
CaptureModule::Factory capture();

} // namespace LinkedModules
