// The one symbol the media engine module exports: MediaEngineLoader looks it up by name.

#include "engine/MpvMediaPlayer.h"
#include "platform/MediaEngineModule.h"

#include <memory>
#include <type_traits>

extern "C" Q_DECL_EXPORT MediaPlayer*
vocartaCreateMediaEngine(const MediaEngineModule::Options& options, QString* error)
{
    MpvMediaPlayer::Options engineOptions;
    engineOptions.nullOutput = options.nullOutput;
    auto engine = std::make_unique<MpvMediaPlayer>(engineOptions);
    if (!engine->isStarted()) {
        if (error)
            *error = engine->startError();
        return nullptr;
    }
    return engine.release();
}

static_assert(std::is_same_v<decltype(&vocartaCreateMediaEngine), MediaEngineModule::Factory>);
