#pragma once

// Where everything sits on the player's face, in twips. The skin pictures in Files/ are drawn
// for these boxes.
namespace PlayerLayout {

struct Box {
    double left;
    double top;
    double width;
    double height;
};

constexpr double kFaceWidth = 5040;
// The background colour of the face's picture, for room around it.
constexpr char kFaceColour[] = "#1d232d";
constexpr double kFaceHeight = 1875;

constexpr Box kDisplay{90, 60, 4380, 690};
constexpr Box kTitle{150, 90, 4260, 330};
constexpr Box kPosition{150, 420, 4260, 270};

constexpr Box kOpenButton{120, 900, 540, 540};
constexpr Box kBackButton{780, 900, 540, 540};
constexpr Box kPlayButton{1380, 900, 540, 540};
constexpr Box kStopButton{1980, 900, 540, 540};
constexpr Box kForwardButton{2580, 900, 540, 540};
constexpr Box kRecordButton{3300, 900, 540, 540};
// How far down and right the open button moves while the pointer is on it.
constexpr double kOpenShift = 20;
constexpr Box kSpeed{3960, 1020, 540, 300};

constexpr Box kVolumeTrack{4635, 360, 90, 1200};
constexpr Box kVolumeKnob{4485, 1230, 375, 195};
constexpr Box kVolumeText{4380, 1575, 600, 240};

// Gap between a window and the editor placed below it.
constexpr int kEditorGap = 30;
// Pixels from the screen's top left corner where the always-on-top option puts the player.
constexpr int kTopmostCorner = 50;

} // namespace PlayerLayout
