#pragma once

#include <QString>
#include <QStringList>

// Which of a recording's channels are heard. Calls are often recorded one speaker per channel.
enum class SoundChannels { Both, LeftOnly, RightOnly, MonoMix };

// The filters that make a hard recording easier to follow, kept in "Files/Sound.ini":
//
//   CleanUp=yes
//   Channels=both
//   BoostPercent=100
//   SpeechNormaliser=no
//   NoiseReduction=no
//   HighPass=no
struct SoundFilters {
    // Off, every filter is bypassed and the settings are kept, so the user can compare.
    bool cleanUp = true;
    SoundChannels channels = SoundChannels::Both;
    // Volume beyond the full volume of the player, with a limiter so that it does not clip.
    int boostPercent = 100;
    // Evens out quiet and loud voices.
    bool speechNormaliser = false;
    bool noiseReduction = false;
    // Takes away rumble below the voice (traffic, handling noise, air conditioning).
    bool highPass = false;

    bool operator==(const SoundFilters&) const = default;

    static constexpr char kFileName[] = "Sound.ini";
    static constexpr int kLeastBoost = 100;
    static constexpr int kMostBoost = 300;
    static constexpr int kBoostStep = 25;

    // True when at least one filter is set, whether or not the clean-up is on.
    bool anySet() const;
    // True when the sound goes through at least one filter.
    bool anyOn() const { return cleanUp && anySet(); }
    // The settings with the filters of `other` that are set here taken away.
    SoundFilters without(const SoundFilters& other) const;
    // The settings with every filter unset; the clean-up switch stays.
    SoundFilters cleared() const;
    void stepBoost(int steps);

    // The chain of FFmpeg filters that does it, "" when the sound is to stay as it is.
    QString chain() const;

    // Unknown names and values that cannot be read leave the defaults.
    static SoundFilters parse(const QStringList& lines);
    QStringList lines() const;

    // A missing file gives the defaults; one that cannot be read too, with the reason in error.
    static SoundFilters read(const QString& path, QString* error = nullptr);
    [[nodiscard]] bool write(const QString& path, QString* error = nullptr) const;
};
