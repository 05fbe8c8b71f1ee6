#pragma once

#include "waveform/Peaks.h"

#include <QString>

// The peaks of each recording kept in a file of their own in the user's cache folder, so that a
// recording opened again shows its whole picture at once. A file is used only when it was made
// from the same recording as it is now (path, size and time of change) and reads back whole and
// unchanged; anything else is rebuilt.
namespace PeakCache {

// What identifies the recording the peaks were made from.
struct Source {
    QString path;
    qint64 size = -1;
    qint64 modifiedMs = 0;

    // The recording as it is on the disk now; size -1 when it cannot be read.
    static Source of(const QString& path);
    bool operator==(const Source&) const = default;
};

// The cache file of the recording at `path` in `folder`.
QString fileFor(const QString& folder, const QString& path);

// The bins and their sample rate, when the file holds the peaks of `source`.
[[nodiscard]] bool read(const QString& file, const Source& source, int* sampleRate,
                        std::vector<PeakBin>* bins);
// Replaces the file at once; false with the reason in `error`.
[[nodiscard]] bool write(const QString& file, const Source& source, int sampleRate,
                         const std::vector<PeakBin>& bins, QString* error);

} // namespace PeakCache
