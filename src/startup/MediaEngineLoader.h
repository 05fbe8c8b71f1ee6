#pragma once

#include "platform/MediaEngineModule.h"

#include <QLibrary>
#include <QObject>
#include <QString>
#include <QStringList>
#include <atomic>
#include <thread>

class DeferredMediaPlayer;

// Loads the media engine module while the windows are being built: the module and the libraries
// it needs are loaded on a worker thread, one library at a time; the engine itself is then made
// on this object's thread (it is a QObject) and attached to the player, or the player is told why
// there is none. Either comes from the event loop, never from start().
class MediaEngineLoader : public QObject {
    Q_OBJECT
public:
    // `player` must outlive the loader.
    explicit MediaEngineLoader(DeferredMediaPlayer& player, QObject* parent = nullptr);
    // Waits for the worker thread if it is still loading.
    ~MediaEngineLoader() override;

    // Looks for the module `fileName` in `folders`, first match first, and starts loading it;
    // given the factory of engine code `linked` into the program, loads nothing and makes the
    // engine with that. Only the first call counts.
    void start(const QStringList& folders, const QString& fileName,
               const MediaEngineModule::Options& options = {},
               MediaEngineModule::Factory linked = nullptr);

    // True from start() until the player has its engine or knows that none will come.
    bool isLoading() const { return m_loading; }

    // While true (the default), the worker leaves a pause after each library, in which a thread
    // waiting for the dynamic loader (this one, building the windows) gets it: without it, that
    // thread would often wait for many libraries, as the worker takes the loader again before
    // the waiting thread has woken up. The pause makes the loading slower.
    void setGivingWay(bool givingWay) { m_givingWay.store(givingWay); }

private:
    void load(const QStringList& folders, const QString& fileName);
    void finish();

    DeferredMediaPlayer& m_player;
    MediaEngineModule::Options m_options;
    std::thread m_worker;
    bool m_loading = false;
    std::atomic_bool m_givingWay = true;
    QLibrary m_library;
    // Written by the worker before it hands over to finish().
    MediaEngineModule::Factory m_factory = nullptr;
    QString m_error;
};
