#pragma once

#include <QtGlobal>
#include <functional>
#include <vector>

// The lowest and highest sample of a run of samples, over every channel, in 1/32767ths of full
// scale. An empty one (nothing decoded there yet) has low above high.
struct PeakBin {
    qint16 low = 1;
    qint16 high = -1;

    bool isEmpty() const { return low > high; }
    void include(const PeakBin& other)
    {
        if (other.isEmpty())
            return;
        if (isEmpty()) {
            *this = other;
            return;
        }
        low = qMin(low, other.low);
        high = qMax(high, other.high);
    }
    bool operator==(const PeakBin&) const = default;
};

// A recording's peaks: one bin per kSamplesPerBin frames, filled in as the sound is decoded.
class Peaks {
public:
    static constexpr int kSamplesPerBin = 256;

    // Forgets every bin; `expectedBins` are made room for, empty.
    void reset(int sampleRate, qint64 expectedBins);
    // Takes the whole recording's bins.
    void adopt(int sampleRate, std::vector<PeakBin> bins);
    // Stores bins from `firstBin` on, growing the list where the sound is longer than expected.
    void store(qint64 firstBin, const std::vector<PeakBin>& bins);

    int sampleRate() const { return m_sampleRate; }
    qint64 binCount() const { return qint64(m_bins.size()); }
    double binSeconds() const
    {
        return m_sampleRate > 0 ? double(kSamplesPerBin) / m_sampleRate : 0;
    }
    double durationSeconds() const { return binCount() * binSeconds(); }
    // The bin holding the sound at `seconds` (may be past the end).
    qint64 binAt(double seconds) const;
    // The peaks of bins [first, last), clipped to the bins held.
    PeakBin span(qint64 first, qint64 last) const;
    // The largest magnitude of any bin stored, for the normalised view (0 for silence).
    int loudest() const { return m_loudest; }
    const std::vector<PeakBin>& bins() const { return m_bins; }
    size_t memoryBytes() const { return m_bins.capacity() * sizeof(PeakBin); }

private:
    void noteLoudest(std::vector<PeakBin>::const_iterator from,
                     std::vector<PeakBin>::const_iterator to);

    int m_sampleRate = 0;
    std::vector<PeakBin> m_bins;
    int m_loudest = 0;
};

// Turns decoded blocks into bins and hands them on in runs. Frames are placed by their index from
// the start, so the blocks after a seek land where they belong; the bin a block ends inside is
// held until it is complete or the run is finished.
class PeakAccumulator {
public:
    using Sink = std::function<void(qint64 firstBin, std::vector<PeakBin> bins)>;

    explicit PeakAccumulator(Sink sink) : m_sink(std::move(sink)) {}

    // `frames` samples in [-1, 1] in each of the `channels` planes. A block that does not follow
    // the last one hands on what came before it first.
    void add(qint64 firstFrame, const float* const* planes, int channels, int frames);
    // Hands on the completed bins; `finish` also the one in progress.
    void flush(bool finish);
    qint64 pendingBins() const { return qint64(m_done.size()); }

private:
    void closeCurrent();

    Sink m_sink;
    std::vector<PeakBin> m_done;
    qint64 m_firstBin = 0;
    qint64 m_currentBin = -1;
    PeakBin m_current;
};
