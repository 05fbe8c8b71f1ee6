#include "waveform/PeakBuilder.h"

#include "platform/SoundDecoder.h"
#include "waveform/PeakCache.h"

#include <QLoggingCategory>
#include <chrono>
#include <limits>
#include <sys/resource.h>
#include <unistd.h>

Q_LOGGING_CATEGORY(lcWaveform, "vocarta.waveform")

namespace {

// How often the worker hands its bins over: often enough for the picture to grow smoothly, seldom
// enough that handing over costs nothing.
constexpr auto kHandOverEvery = std::chrono::milliseconds(50);
constexpr int kWorkerNice = 10;

} // namespace

struct PeakBuilder::Job {
    QString path;
    double firstSeconds = 0;
    double spanSeconds = 0;
    std::atomic_bool cancelled = false;
};

PeakBuilder::PeakBuilder(DecoderFactory factory, const QString& cacheFolder, QObject* parent)
    : QObject(parent), m_factory(std::move(factory)), m_cacheFolder(cacheFolder)
{
}

PeakBuilder::~PeakBuilder()
{
    join();
}

void PeakBuilder::join()
{
    if (m_job)
        m_job->cancelled = true;
    if (m_worker.joinable())
        m_worker.join();
}

void PeakBuilder::stop()
{
    join();
    m_job.reset();
    m_peaks.reset(0, 0);
    m_stage = Stage::Idle;
    m_path.clear();
    m_failure.clear();
}

void PeakBuilder::start(const QString& path, double firstSeconds, double spanSeconds)
{
    stop();
    m_path = path;
    m_stage = Stage::Building;
    m_job = std::make_shared<Job>();
    m_job->path = path;
    m_job->firstSeconds = firstSeconds;
    m_job->spanSeconds = spanSeconds;
    m_worker = std::thread([this, job = m_job] { run(job); });
}

void PeakBuilder::post(const std::shared_ptr<Job>& job, std::function<void()> apply)
{
    QMetaObject::invokeMethod(
        this,
        [this, job, apply = std::move(apply)] {
            if (job == m_job)
                apply();
        },
        Qt::QueuedConnection);
}

void PeakBuilder::run(std::shared_ptr<Job> job)
{
    // Decoding gives way to the windows and the player: the user's typing comes first.
    if (setpriority(PRIO_PROCESS, id_t(gettid()), kWorkerNice) != 0)
        qCDebug(lcWaveform) << "The peaks are built at the usual priority";
    const PeakCache::Source source = PeakCache::Source::of(job->path);
    const QString cacheFile =
        m_cacheFolder.isEmpty() ? QString() : PeakCache::fileFor(m_cacheFolder, job->path);
    int cachedRate = 0;
    std::vector<PeakBin> cached;
    if (!cacheFile.isEmpty() && PeakCache::read(cacheFile, source, &cachedRate, &cached)) {
        post(job, [this, cachedRate, bins = std::move(cached)]() mutable {
            m_peaks.adopt(cachedRate, std::move(bins));
            m_stage = Stage::Done;
            Q_EMIT started();
            Q_EMIT peaksArrived(0, m_peaks.binCount());
            Q_EMIT finished(true);
        });
        return;
    }

    const auto fail = [&](const QString& reason) {
        post(job, [this, reason] {
            m_stage = Stage::Failed;
            m_failure = reason;
            Q_EMIT failed(reason);
        });
    };
    QString error;
    std::unique_ptr<SoundDecoder> decoder = m_factory(&error);
    if (!decoder || !decoder->open(job->path, &error))
        return fail(error);
    const SoundDecoder::Format format = decoder->format();
    const auto expectedBins =
        qint64(format.durationSeconds * format.sampleRate / Peaks::kSamplesPerBin) + 1;
    post(job, [this, format, expectedBins] {
        m_peaks.reset(format.sampleRate, expectedBins);
        Q_EMIT started();
    });

    const auto handOver = [&](qint64 first, std::vector<PeakBin> bins) {
        post(job, [this, first, bins = std::move(bins)] {
            m_peaks.store(first, bins);
            Q_EMIT peaksArrived(first, qint64(bins.size()));
        });
    };
    // Decodes until `lastFrame` (or the end), handing the bins over as it goes; false when
    // cancelled or failed, with the reason in `error` for the latter.
    const auto decode = [&](PeakAccumulator& accumulator, qint64 lastFrame) {
        auto handedOver = std::chrono::steady_clock::now();
        SoundDecoder::Block block;
        while (!job->cancelled) {
            if (!decoder->next(&block, &error))
                return error.isEmpty();
            accumulator.add(block.firstFrame, block.planes, block.channels, block.frames);
            const auto now = std::chrono::steady_clock::now();
            if (now - handedOver >= kHandOverEvery) {
                accumulator.flush(false);
                handedOver = now;
            }
            if (block.firstFrame + block.frames >= lastFrame)
                return true;
        }
        return false;
    };

    if (job->firstSeconds >= 1 && job->spanSeconds > 0 && decoder->seek(job->firstSeconds)) {
        PeakAccumulator onScreen(handOver);
        const auto lastFrame = qint64((job->firstSeconds + job->spanSeconds) * format.sampleRate);
        // A fault here shows again, and is told, in the whole pass.
        decode(onScreen, lastFrame);
        error.clear();
        onScreen.flush(true);
        if (job->cancelled)
            return;
        // The whole pass counts its frames from a fresh start.
        if (!decoder->open(job->path, &error))
            return fail(error);
    }

    std::vector<PeakBin> all;
    all.reserve(size_t(expectedBins));
    PeakAccumulator whole([&](qint64 first, std::vector<PeakBin> bins) {
        if (all.size() < size_t(first) + bins.size())
            all.resize(size_t(first) + bins.size());
        std::copy(bins.begin(), bins.end(), all.begin() + first);
        handOver(first, std::move(bins));
    });
    const bool complete = decode(whole, std::numeric_limits<qint64>::max());
    whole.flush(true);
    if (job->cancelled)
        return;
    if (all.empty())
        return fail(error);
    if (!complete)
        qCWarning(lcWaveform).noquote() << job->path << error;
    else if (!cacheFile.isEmpty() &&
             !PeakCache::write(cacheFile, source, format.sampleRate, all, &error))
        qCWarning(lcWaveform).noquote() << cacheFile << error;
    post(job, [this] {
        m_stage = Stage::Done;
        Q_EMIT finished(false);
    });
}
