#pragma once

#include <QString>
#include <QStringList>

// The waveform window's options, kept in "Files/Waveform.ini": one "Name=value" line each.
//
//   Shown=yes
//   Normalised=no
//   Span=30
struct WaveformOptions {
    bool shown = false;
    bool normalised = false;
    // The seconds shown across the strip.
    double span = 30;

    bool operator==(const WaveformOptions&) const = default;

    static constexpr char kFileName[] = "Waveform.ini";

    // Unknown names and values that cannot be read leave the defaults.
    static WaveformOptions parse(const QStringList& lines);
    QStringList lines() const;

    // A missing file gives the defaults; one that cannot be read too, with the reason in error.
    static WaveformOptions read(const QString& path, QString* error = nullptr);
    [[nodiscard]] bool write(const QString& path, QString* error = nullptr) const;
};
