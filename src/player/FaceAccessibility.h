#pragma once

// What a screen reader finds on the player's skinned face: each picture button is a push button
// it can press, the volume knob a slider it can read and set.
namespace FaceAccessibility {

// Makes the face's own widgets known to the accessibility layer; once is enough, more is harmless.
void install();

} // namespace FaceAccessibility
