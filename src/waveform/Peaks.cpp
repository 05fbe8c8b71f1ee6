#include "waveform/Peaks.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <utility>

void Peaks::reset(int sampleRate, qint64 expectedBins)
{
    m_sampleRate = sampleRate;
    m_bins.assign(size_t(std::max<qint64>(0, expectedBins)), PeakBin{});
    m_bins.shrink_to_fit();
    m_loudest = 0;
}

void Peaks::adopt(int sampleRate, std::vector<PeakBin> bins)
{
    m_sampleRate = sampleRate;
    m_bins = std::move(bins);
    m_loudest = 0;
    noteLoudest(m_bins.begin(), m_bins.end());
}

void Peaks::store(qint64 firstBin, const std::vector<PeakBin>& bins)
{
    if (firstBin < 0 || bins.empty())
        return;
    const size_t end = size_t(firstBin) + bins.size();
    if (end > m_bins.size())
        m_bins.resize(end);
    std::copy(bins.begin(), bins.end(), m_bins.begin() + firstBin);
    noteLoudest(bins.begin(), bins.end());
}

void Peaks::noteLoudest(std::vector<PeakBin>::const_iterator from,
                        std::vector<PeakBin>::const_iterator to)
{
    int low = 0, high = 0;
    for (auto bin = from; bin != to; ++bin) {
        if (!bin->isEmpty()) {
            low = std::min<int>(low, bin->low);
            high = std::max<int>(high, bin->high);
        }
    }
    m_loudest = std::max({m_loudest, -low, high});
}

qint64 Peaks::binAt(double seconds) const
{
    if (m_sampleRate <= 0)
        return 0;
    return qint64(std::floor(seconds * m_sampleRate / kSamplesPerBin));
}

PeakBin Peaks::span(qint64 first, qint64 last) const
{
    first = std::max<qint64>(first, 0);
    last = std::min<qint64>(last, binCount());
    PeakBin result;
    for (qint64 i = first; i < last; ++i)
        result.include(m_bins[size_t(i)]);
    return result;
}

void PeakAccumulator::add(qint64 firstFrame, const float* const* planes, int channels, int frames)
{
    auto level = [](float sample) {
        return qint16(std::lround(std::clamp(sample, -1.0f, 1.0f) * 32767.0f));
    };
    qint64 frame = firstFrame;
    for (int i = 0; i < frames;) {
        const qint64 bin = frame / Peaks::kSamplesPerBin;
        if (bin != m_currentBin) {
            const bool follows = m_currentBin >= 0 && bin == m_currentBin + 1;
            if (!follows)
                flush(true);
            else
                closeCurrent();
            if (m_done.empty())
                m_firstBin = bin;
            m_currentBin = bin;
        }
        const int inBin =
            int(std::min<qint64>(frames - i, (bin + 1) * Peaks::kSamplesPerBin - frame));
        for (int c = 0; c < channels; ++c) {
            const float* from = planes[c] + i;
            const auto [low, high] = std::minmax_element(from, from + inBin);
            m_current.include(PeakBin{level(*low), level(*high)});
        }
        i += inBin;
        frame += inBin;
    }
}

void PeakAccumulator::closeCurrent()
{
    if (m_currentBin < 0)
        return;
    m_done.push_back(m_current);
    m_current = PeakBin{};
}

void PeakAccumulator::flush(bool finish)
{
    if (finish) {
        closeCurrent();
        m_currentBin = -1;
    }
    if (m_done.empty())
        return;
    const qint64 first = m_firstBin;
    m_firstBin += qint64(m_done.size());
    m_sink(first, std::exchange(m_done, {}));
}
