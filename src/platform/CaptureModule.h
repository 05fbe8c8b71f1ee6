#pragma once

class CaptureDevice;

// The entry point of the sound capture module, a library the program loads when it first records
// (ModuleCaptureDevice), so that a start that records nothing never loads libpulse.
namespace CaptureModule {

// Makes a closed sound input on the calling thread, owned by the caller.
using Factory = CaptureDevice* (*)();

// The name under which the module exports its Factory.
inline constexpr char kFactoryName[] = "vocartaCreateCaptureDevice";

} // namespace CaptureModule
