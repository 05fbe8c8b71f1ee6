#include "startup/MediaEngineLoader.h"

#include "platform/MediaPlayer.h"
#include "platform/ModuleFile.h"
#include "startup/DeferredMediaPlayer.h"
#include "startup/LibraryDependencies.h"

#include <chrono>
#include <memory>

namespace {

// Long enough for a woken thread to run and take the dynamic loader.
constexpr std::chrono::microseconds kGiveWay{60};

} // namespace

MediaEngineLoader::MediaEngineLoader(DeferredMediaPlayer& player, QObject* parent)
    : QObject(parent), m_player(player)
{
}

MediaEngineLoader::~MediaEngineLoader()
{
    if (m_worker.joinable())
        m_worker.join();
}

void MediaEngineLoader::start(const QStringList& folders, const QString& fileName,
                              const MediaEngineModule::Options& options,
                              MediaEngineModule::Factory linked)
{
    if (m_loading || !m_player.isWaiting())
        return;
    m_loading = true;
    m_options = options;
    if (linked) {
        m_factory = linked;
        QMetaObject::invokeMethod(this, &MediaEngineLoader::finish, Qt::QueuedConnection);
        return;
    }
    m_worker = std::thread([this, folders, fileName] { load(folders, fileName); });
}

void MediaEngineLoader::load(const QStringList& folders, const QString& fileName)
{
    const QString path = ModuleFile::find(folders, fileName);
    if (path.isEmpty()) {
        m_error = ModuleFile::notFoundReason(folders, fileName);
    } else {
        LibraryDependencies::loadEach(LibraryDependencies::loadOrder(path), [this] {
            if (m_givingWay.load())
                std::this_thread::sleep_for(kGiveWay);
        });
        m_factory = reinterpret_cast<MediaEngineModule::Factory>(
            ModuleFile::loadFactory(m_library, path, MediaEngineModule::kFactoryName, &m_error));
    }
    QMetaObject::invokeMethod(this, &MediaEngineLoader::finish, Qt::QueuedConnection);
}

void MediaEngineLoader::finish()
{
    if (m_worker.joinable())
        m_worker.join();
    m_loading = false;
    QString error = m_error;
    std::unique_ptr<MediaPlayer> engine;
    if (m_factory)
        engine.reset(m_factory(m_options, &error));
    if (engine)
        m_player.attach(std::move(engine));
    else
        m_player.fail(QStringLiteral("the media engine could not be loaded: ") + error);
}
