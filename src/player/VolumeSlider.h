#pragma once

// The arithmetic of the volume slider, in twips (the vertical axis grows downwards).
namespace VolumeSlider {

// The value 0 (bottom) to 100 (top) of a knob whose top is at knobTop, as the knob's tag holds it.
int value(double knobTop, double trackTop, double trackHeight, double knobHeight, int scale = 100);

// The percentage applied for a tag value.
int percentage(int value, int scale = 100);

} // namespace VolumeSlider
