#pragma once

#include "waveform/Peaks.h"

#include <QObject>
#include <QString>
#include <atomic>
#include <functional>
#include <memory>
#include <thread>

class SoundDecoder;

// Builds a recording's peaks on a worker thread: from the cache file when it holds them, else the
// part on screen first and then one pass over the whole sound, which is then kept in the cache.
// The bins arrive on this object's thread as they are made; the GUI thread never decodes.
class PeakBuilder : public QObject {
    Q_OBJECT
public:
    using DecoderFactory = std::function<std::unique_ptr<SoundDecoder>(QString* error)>;
    enum class Stage { Idle, Building, Done, Failed };

    // `cacheFolder` "" keeps no cache. `factory` is called on the worker thread.
    PeakBuilder(DecoderFactory factory, const QString& cacheFolder, QObject* parent = nullptr);
    // Stops the worker and waits for it.
    ~PeakBuilder() override;

    // Forgets the peaks held and starts on the recording at `path`, with the `spanSeconds` from
    // `firstSeconds` on first.
    void start(const QString& path, double firstSeconds, double spanSeconds);
    // Stops the worker and forgets the peaks.
    void stop();

    const Peaks& peaks() const { return m_peaks; }
    Stage stage() const { return m_stage; }
    QString path() const { return m_path; }
    // Why the sound could not be decoded, when it failed.
    QString failure() const { return m_failure; }

Q_SIGNALS:
    // The sample rate is known: the peaks were reset and fill in from now on.
    void started();
    void peaksArrived(qint64 firstBin, qint64 count);
    // Every bin is there (read from the cache when `fromCache`).
    void finished(bool fromCache);
    void failed(const QString& reason);

private:
    struct Job;
    void run(std::shared_ptr<Job> job);
    void join();
    // Runs `apply` on this object's thread if the job is still the current one.
    void post(const std::shared_ptr<Job>& job, std::function<void()> apply);

    DecoderFactory m_factory;
    QString m_cacheFolder;
    std::thread m_worker;
    std::shared_ptr<Job> m_job;
    Peaks m_peaks;
    Stage m_stage = Stage::Idle;
    QString m_path;
    QString m_failure;
};
