#pragma once

// The ranges of the playback options, shared by the settings file's reader and the value dialog
// so that a value read can never be one the dialog refuses.
namespace SettingLimits {

// Skip length: 0 means "never set" and is used as the shortest.
constexpr int kShortestSkip = 2;
constexpr int kLongestSkip = 60;

constexpr int kFewestSecondsBack = 0;
constexpr int kMostSecondsBack = 20;

// Play and pause times of the smart-play cycle; a shorter one reads as kSuggestedCycle.
constexpr int kShortestCycle = 3;
constexpr int kSuggestedCycle = 7;

} // namespace SettingLimits
