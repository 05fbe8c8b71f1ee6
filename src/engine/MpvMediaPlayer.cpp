#include "engine/MpvMediaPlayer.h"

#include "engine/MpvComponentOptions.h"
#include "engine/MpvVideoRenderer.h"

#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <clocale>
#include <cmath>
#include <mpv/client.h>
#include <utility>

namespace {

enum PropertyId : std::uint64_t { TimePosId = 1, DurationId, EofReachedId, PauseId };

// A reply's userdata holds the request kind above a generation, so that replies to requests made
// for an earlier file or an earlier seek are recognised and dropped.
enum ReplyKind : std::uint64_t {
    LoadReply = 1,
    SeekReply,
    DurationReply,
    EofReply,
    PositionReply,
    FilterReply
};
constexpr int KindShift = 48;
constexpr std::uint64_t GenerationMask = (std::uint64_t(1) << KindShift) - 1;

std::uint64_t replyTag(std::uint64_t kind, std::uint64_t generation)
{
    return kind << KindShift | (generation & GenerationMask);
}

bool sameGeneration(std::uint64_t userdata, std::uint64_t generation)
{
    return (userdata & GenerationMask) == (generation & GenerationMask);
}

const mpv_event_property* propertyOf(const mpv_event& event)
{
    return event.error < 0 ? nullptr : static_cast<const mpv_event_property*>(event.data);
}

bool flagValue(const mpv_event_property* property)
{
    return property && property->format == MPV_FORMAT_FLAG &&
           *static_cast<const int*>(property->data) != 0;
}

// NaN when the property is unavailable (no file, or not known yet).
double doubleValue(const mpv_event_property* property)
{
    if (!property || property->format != MPV_FORMAT_DOUBLE)
        return std::nan("");
    return *static_cast<const double*>(property->data);
}

QString loadErrorText(int error)
{
    switch (error) {
    case MPV_ERROR_UNKNOWN_FORMAT:
        return QStringLiteral("not a sound or video format the player can decode");
    case MPV_ERROR_NOTHING_TO_PLAY:
        return QStringLiteral("it holds no sound to play");
    case MPV_ERROR_LOADING_FAILED:
        return QStringLiteral("the file cannot be read");
    case MPV_ERROR_AO_INIT_FAILED:
        return QStringLiteral("no sound output could be opened");
    default:
        return QString::fromUtf8(mpv_error_string(error));
    }
}

} // namespace

MpvMediaPlayer::MpvMediaPlayer(QObject* parent) : MpvMediaPlayer(Options{}, parent) {}

MpvMediaPlayer::MpvMediaPlayer(const Options& options, QObject* parent) : MediaPlayer(parent)
{
    // mpv refuses to start under a locale whose numbers have a decimal comma.
    std::setlocale(LC_NUMERIC, "C");
    m_mpv = mpv_create();
    if (!m_mpv) {
        m_startError = QStringLiteral("libmpv could not make a player");
        return;
    }

    const auto set = [this](const char* name, const char* value) {
        mpv_set_option_string(m_mpv, name, value);
    };
    for (const auto& [name, value] : MpvComponentOptions::kOptions)
        set(name, value);
    if (options.nullOutput)
        set("ao", "null");
    else if (!options.soundFile.isEmpty()) {
        set("ao", "pcm");
        set("ao-pcm-file", QFile::encodeName(options.soundFile).constData());
        set("audio-format", "s16");
    } else if (!options.audioOutputs.isEmpty())
        set("ao", options.audioOutputs.constData());
    if (!options.nullOutputBuffer.isEmpty())
        set("ao-null-buffer", options.nullOutputBuffer.constData());
    set("audio-client-name", "Vocarta");
    set("idle", "yes");
    // Without it mpv unloads the file at its end, and an exact seek near the end does the same.
    set("keep-open", "yes");
    set("audio-pitch-correction", "yes");
    set("volume-max", "100");
    set("volume", QByteArray::number(m_volume).constData());
    // With mpv's default the draw call waits for the frame's display time, blocking the GUI
    // thread for most of a frame; the widget's own repaint pacing is enough.
    set("video-timing-offset", "0");

    if (const int error = mpv_initialize(m_mpv); error < 0) {
        m_startError = QString::fromUtf8(mpv_error_string(error));
        mpv_terminate_destroy(m_mpv);
        m_mpv = nullptr;
        return;
    }
    mpv_observe_property(m_mpv, TimePosId, "time-pos", MPV_FORMAT_DOUBLE);
    mpv_observe_property(m_mpv, DurationId, "duration", MPV_FORMAT_DOUBLE);
    mpv_observe_property(m_mpv, EofReachedId, "eof-reached", MPV_FORMAT_FLAG);
    mpv_observe_property(m_mpv, PauseId, "pause", MPV_FORMAT_FLAG);
    // Its error messages say why a filter chain could not be built.
    mpv_request_log_messages(m_mpv, "error");

    // Called on an mpv thread: only hand the work over to this object's thread, once per batch.
    mpv_set_wakeup_callback(
        m_mpv,
        [](void* context) {
            auto* self = static_cast<MpvMediaPlayer*>(context);
            if (!self->m_drainQueued.exchange(true))
                QMetaObject::invokeMethod(self, &MpvMediaPlayer::drainEvents, Qt::QueuedConnection);
        },
        this);
}

MpvMediaPlayer::~MpvMediaPlayer()
{
    if (!m_mpv)
        return;
    // The render context must go before mpv does.
    if (m_renderer)
        m_renderer->endWithEngine();
    // Once this returns no mpv thread can post to this object any more.
    mpv_set_wakeup_callback(m_mpv, nullptr, nullptr);
    mpv_terminate_destroy(m_mpv);
}

void MpvMediaPlayer::setUrl(const QString& path)
{
    if (path.isEmpty()) {
        unload();
        return;
    }
    resetMediaState();
    ++m_loadGeneration;
    ++m_seekGeneration;
    if (!m_mpv) {
        m_url.clear();
        Q_EMIT mediaError(QStringLiteral("Cannot play %1: the media engine could not be started")
                              .arg(QFileInfo(path).fileName()));
        return;
    }
    m_url = path;
    m_loading = true;
    m_engineErrors.clear();
    setEnginePause(false);
    // Absolute, so that mpv never reads a name such as "-" as a stream other than the file.
    const QByteArray file = QFile::encodeName(QFileInfo(path).absoluteFilePath());
    const char* args[] = {"loadfile", file.constData(), "replace", nullptr};
    if (mpv_command_async(m_mpv, replyTag(LoadReply, m_loadGeneration), args) < 0)
        failLoad(QStringLiteral("the media engine did not take the file"));
}

void MpvMediaPlayer::close()
{
    unload();
}

void MpvMediaPlayer::play()
{
    if (m_url.isEmpty())
        return;
    if (atEnd() || (isLoaded() && m_duration > 0 && m_position >= m_duration))
        seekTo(0);
    m_stopped = false;
    m_paused = false;
    m_holdPosition = false;
    setEnginePause(false);
}

void MpvMediaPlayer::pause()
{
    if (m_url.isEmpty())
        return;
    m_stopped = false;
    m_paused = true;
    setEnginePause(true);
}

void MpvMediaPlayer::stop()
{
    if (m_url.isEmpty())
        return;
    m_paused = true;
    setEnginePause(true);
    seekTo(0);
    m_stopped = true;
}

double MpvMediaPlayer::currentPosition() const
{
    if (m_url.isEmpty())
        return 0;
    return atEnd() && m_duration > 0 ? m_duration : m_position;
}

void MpvMediaPlayer::setCurrentPosition(double seconds)
{
    if (m_url.isEmpty() || !std::isfinite(seconds))
        return;
    // Moved away from the start or the end, the media is simply paused there.
    if (m_stopped || atEnd()) {
        m_stopped = false;
        m_paused = true;
        setEnginePause(true);
    }
    seekTo(seconds);
}

QString MpvMediaPlayer::currentPositionString() const
{
    return m_url.isEmpty() ? QString() : formatMediaTime(currentPosition());
}

double MpvMediaPlayer::duration() const
{
    return m_url.isEmpty() ? 0 : m_duration;
}

QString MpvMediaPlayer::durationString() const
{
    return duration() > 0 ? formatMediaTime(m_duration) : QString();
}

void MpvMediaPlayer::setRate(double rate)
{
    if (!std::isfinite(rate) || rate <= 0)
        return;
    m_rate = std::clamp(rate, 0.01, 100.0);
    if (m_mpv) {
        double speed = m_rate;
        mpv_set_property_async(m_mpv, 0, "speed", MPV_FORMAT_DOUBLE, &speed);
    }
}

void MpvMediaPlayer::setVolume(int volume)
{
    m_volume = std::clamp(volume, 0, 100);
    if (m_mpv) {
        double value = m_volume;
        mpv_set_property_async(m_mpv, 0, "volume", MPV_FORMAT_DOUBLE, &value);
    }
}

void MpvMediaPlayer::setLoop(double from, double to)
{
    if (!m_mpv)
        return;
    const bool looping = std::isfinite(from) && std::isfinite(to) && to > from;
    m_loopFrom = looping ? std::max(from, 0.0) : 0;
    m_loopTo = looping ? to : 0;
    for (const auto& [name, value] :
         {std::pair{"ab-loop-a", std::max(from, 0.0)}, std::pair{"ab-loop-b", to}}) {
        if (looping) {
            double seconds = value;
            mpv_set_property_async(m_mpv, 0, name, MPV_FORMAT_DOUBLE, &seconds);
        } else {
            const char* off = "no";
            mpv_set_property_async(m_mpv, 0, name, MPV_FORMAT_STRING, &off);
        }
    }
}

void MpvMediaPlayer::setAudioFilters(const QString& chain)
{
    if (!m_mpv)
        return;
    // The reply's generation is the chain's place in m_filterChains, for the refusal's message.
    m_filterChains.append(chain);
    m_engineErrors.clear();
    sendFilters(chain, replyTag(FilterReply, m_filterChains.size() - 1));
}

void MpvMediaPlayer::sendFilters(const QString& chain, std::uint64_t userdata)
{
    // The command, unlike the property, builds the chain at once when a file plays, and keeps
    // the previous one when that fails. One lavfi graph is built whole or not at all.
    const QByteArray text = chain.isEmpty() ? QByteArray() : "lavfi=[" + chain.toUtf8() + ']';
    const char* args[] = {"af", "set", text.constData(), nullptr};
    mpv_command_async(m_mpv, userdata, args);
}

QString MpvMediaPlayer::engineErrorOr(int error) const
{
    return m_engineErrors.isEmpty() ? QString::fromUtf8(mpv_error_string(error))
                                    : m_engineErrors.first();
}

MediaPlayer::State MpvMediaPlayer::playState() const
{
    if (m_url.isEmpty())
        return State::Undefined;
    if (m_loading)
        return State::Busy;
    if (m_stopped || atEnd())
        return State::Stopped;
    return m_paused ? State::Paused : State::Playing;
}

QVariant MpvMediaPlayer::engineProperty(const char* name) const
{
    mpv_node node;
    if (!m_mpv || mpv_get_property(m_mpv, name, MPV_FORMAT_NODE, &node) < 0)
        return {};
    QVariant value;
    switch (node.format) {
    case MPV_FORMAT_STRING:
        value = QString::fromUtf8(node.u.string);
        break;
    case MPV_FORMAT_FLAG:
        value = node.u.flag != 0;
        break;
    case MPV_FORMAT_INT64:
        value = qlonglong(node.u.int64);
        break;
    case MPV_FORMAT_DOUBLE:
        value = node.u.double_;
        break;
    default: // lists and maps in mpv's text form
        if (char* text = mpv_get_property_string(m_mpv, name)) {
            value = QString::fromUtf8(text);
            mpv_free(text);
        }
        break;
    }
    mpv_free_node_contents(&node);
    return value;
}

void MpvMediaPlayer::drainEvents()
{
    // Cleared first: an event arriving while we drain queues the next round.
    m_drainQueued.store(false);
    while (m_mpv) {
        const mpv_event* event = mpv_wait_event(m_mpv, 0);
        if (event->event_id == MPV_EVENT_NONE)
            break;
        handleEvent(*event);
    }
}

void MpvMediaPlayer::handleEvent(const mpv_event& event)
{
    switch (event.event_id) {
    case MPV_EVENT_COMMAND_REPLY:
    case MPV_EVENT_GET_PROPERTY_REPLY:
        handleReply(event);
        break;
    case MPV_EVENT_PROPERTY_CHANGE:
        handlePropertyChange(event);
        break;
    case MPV_EVENT_START_FILE:
        m_startedEntryId = static_cast<const mpv_event_start_file*>(event.data)->playlist_entry_id;
        break;
    case MPV_EVENT_FILE_LOADED:
        handleFileLoaded();
        break;
    case MPV_EVENT_END_FILE:
        handleEndFile(event);
        break;
    case MPV_EVENT_PLAYBACK_RESTART:
        handlePlaybackRestart();
        break;
    case MPV_EVENT_LOG_MESSAGE: {
        const auto& message = *static_cast<const mpv_event_log_message*>(event.data);
        // Only the first few say what went wrong.
        if (m_engineErrors.size() < 8)
            m_engineErrors << QString::fromUtf8(message.text).trimmed();
        break;
    }
    default:
        break;
    }
}

void MpvMediaPlayer::handleReply(const mpv_event& event)
{
    const std::uint64_t tag = event.reply_userdata;
    switch (tag >> KindShift) {
    case LoadReply:
        if (!m_loading || !sameGeneration(tag, m_loadGeneration))
            return;
        if (event.error < 0) {
            failLoad(loadErrorText(event.error), event.error);
            return;
        }
        {
            const mpv_node& result = static_cast<const mpv_event_command*>(event.data)->result;
            if (result.format != MPV_FORMAT_NODE_MAP)
                return;
            for (int i = 0; i < result.u.list->num; ++i) {
                if (qstrcmp(result.u.list->keys[i], "playlist_entry_id") == 0)
                    m_entryId = result.u.list->values[i].u.int64;
            }
        }
        return;
    case SeekReply:
        if (!sameGeneration(tag, m_loadGeneration))
            return;
        --m_seekRepliesOutstanding;
        if (event.error < 0 && m_seekRepliesOutstanding == 0 && m_seekPending) {
            // The seek was refused: report where mpv really is.
            m_seekPending = false;
            m_holdPosition = false;
            requestProperty("time-pos", MPV_FORMAT_DOUBLE,
                            replyTag(PositionReply, m_loadGeneration));
        }
        return;
    case DurationReply:
        if (isLoaded() && sameGeneration(tag, m_loadGeneration))
            setDurationValue(doubleValue(propertyOf(event)));
        return;
    case EofReply:
        // Asked for after the seek completed, so this value is not one from before the seek.
        if (isLoaded() && m_seekPending && sameGeneration(tag, m_seekGeneration)) {
            m_engineEof = flagValue(propertyOf(event));
            m_seekPending = false;
            m_holdPosition = m_paused;
        }
        return;
    case FilterReply: {
        const qsizetype index = qsizetype(tag & GenerationMask);
        const QString chain = m_filterChains.value(index);
        if (index == m_filterChains.size() - 1)
            m_filterChains.clear();
        if (event.error < 0)
            Q_EMIT audioFiltersRefused(chain, engineErrorOr(event.error));
        else
            m_engineFilters = chain;
        return;
    }
    case PositionReply:
        if (isLoaded() && !m_seekPending && !m_holdPosition &&
            sameGeneration(tag, m_loadGeneration))
            setPositionValue(doubleValue(propertyOf(event)));
        return;
    default:
        return;
    }
}

void MpvMediaPlayer::handlePropertyChange(const mpv_event& event)
{
    const mpv_event_property* property = propertyOf(event);
    switch (event.reply_userdata) {
    case PauseId:
        m_enginePaused = flagValue(property);
        break;
    case EofReachedId:
        // While loading, the flag may still be the previous file's.
        if (isLoaded())
            m_engineEof = flagValue(property);
        break;
    case TimePosId:
        // After a seek the target stands until mpv has finished it; while paused after a seek,
        // mpv's time is off by its output buffer (badly so with the null output), and the exact
        // seek put playback on the target anyway.
        if (isLoaded() && !m_seekPending && !m_holdPosition)
            setPositionValue(doubleValue(property));
        break;
    case DurationId:
        if (isLoaded())
            setDurationValue(doubleValue(property));
        break;
    default:
        break;
    }
}

void MpvMediaPlayer::handleFileLoaded()
{
    if (!m_loading || m_entryId < 0 || m_startedEntryId != m_entryId)
        return;
    m_loading = false;
    m_engineEof = false;
    setHasVideo(readHasVideo());
    // The duration's change event may have come before this one and been dropped.
    requestProperty("duration", MPV_FORMAT_DOUBLE, replyTag(DurationReply, m_loadGeneration));
    if (m_seekPending) {
        if (m_startTarget > 0)
            sendSeek(m_startTarget);
        else
            m_seekPending = false;
    }
    m_holdPosition = m_paused && !m_seekPending;
    if (m_filtersFailedLoad) {
        // Loaded without them, so the filters were at fault.
        const QString chain = *std::exchange(m_filtersFailedLoad, std::nullopt);
        Q_EMIT audioFiltersRefused(chain, engineErrorOr(MPV_ERROR_GENERIC));
    }
}

void MpvMediaPlayer::handleEndFile(const mpv_event& event)
{
    const auto& end = *static_cast<const mpv_event_end_file*>(event.data);
    if (m_url.isEmpty() || end.playlist_entry_id != m_entryId)
        return;
    if (end.reason == MPV_END_FILE_REASON_ERROR && m_loading && retryWithoutFilters())
        return;
    if (end.reason == MPV_END_FILE_REASON_ERROR)
        failLoad(QFileInfo::exists(m_url) ? loadErrorText(end.error)
                                          : QStringLiteral("the file does not exist"),
                 end.error);
    else if (end.reason == MPV_END_FILE_REASON_REDIRECT)
        failLoad(QStringLiteral("it is a playlist, not a recording"));
}

void MpvMediaPlayer::handlePlaybackRestart()
{
    if (!isLoaded() || !m_seekPending || m_seekRepliesOutstanding > 0)
        return;
    requestProperty("eof-reached", MPV_FORMAT_FLAG, replyTag(EofReply, m_seekGeneration));
}

void MpvMediaPlayer::seekTo(double seconds)
{
    double target = std::max(0.0, seconds); // mpv reads a negative time as counted from the end
    if (m_duration > 0)
        target = std::min(target, m_duration);
    m_position = target;
    m_seekPending = true;
    m_holdPosition = false;
    m_engineEof = false;
    ++m_seekGeneration;
    if (m_loading)
        m_startTarget = target; // mpv refuses seeks until the file is open
    else
        sendSeek(target);
}

void MpvMediaPlayer::sendSeek(double seconds)
{
    const QByteArray target = QByteArray::number(seconds, 'f', 6);
    const char* args[] = {"seek", target.constData(), "absolute+exact", nullptr};
    if (mpv_command_async(m_mpv, replyTag(SeekReply, m_loadGeneration), args) >= 0)
        ++m_seekRepliesOutstanding;
    else
        m_seekPending = false;
}

void MpvMediaPlayer::setEnginePause(bool paused)
{
    int flag = paused ? 1 : 0;
    mpv_set_property_async(m_mpv, 0, "pause", MPV_FORMAT_FLAG, &flag);
}

void MpvMediaPlayer::requestProperty(const char* name, int format, std::uint64_t userdata)
{
    mpv_get_property_async(m_mpv, userdata, name, static_cast<mpv_format>(format));
}

void MpvMediaPlayer::setPositionValue(double seconds)
{
    if (!std::isfinite(seconds))
        return;
    // At each turn of a loop mpv goes on decoding from its start while the output still plays
    // the end, and counts that output back from the start: what is heard is the end.
    constexpr double kTurnSlack = 0.05;
    const bool looping = m_loopTo > m_loopFrom;
    if (looping && seconds < m_loopFrom && m_position >= m_loopFrom - kTurnSlack &&
        m_position <= m_loopTo + kTurnSlack)
        seconds = std::max(m_loopTo - (m_loopFrom - seconds), m_loopFrom);
    m_position = std::max(0.0, seconds);
}

void MpvMediaPlayer::setDurationValue(double seconds)
{
    m_duration = std::isfinite(seconds) && seconds > 0 ? seconds : 0;
    if (m_duration > 0 && m_position > m_duration)
        m_position = m_duration;
}

bool MpvMediaPlayer::retryWithoutFilters()
{
    if (m_engineFilters.isEmpty() || m_filtersFailedLoad)
        return false;
    m_filtersFailedLoad = std::exchange(m_engineFilters, QString());
    sendFilters(QString(), 0);
    m_entryId = -1;
    m_startedEntryId = -1;
    ++m_loadGeneration;
    const QByteArray file = QFile::encodeName(QFileInfo(m_url).absoluteFilePath());
    const char* args[] = {"loadfile", file.constData(), "replace", nullptr};
    return mpv_command_async(m_mpv, replyTag(LoadReply, m_loadGeneration), args) >= 0;
}

void MpvMediaPlayer::failLoad(const QString& reason, int error)
{
    const QString name = QFileInfo(m_url).fileName();
    unload();
    const QString message = QStringLiteral("Cannot play %1: %2").arg(name, reason);
    if (error == MPV_ERROR_AO_INIT_FAILED)
        Q_EMIT soundOutputMissing(message);
    else
        Q_EMIT mediaError(message);
}

void MpvMediaPlayer::unload()
{
    resetMediaState();
    ++m_loadGeneration;
    ++m_seekGeneration;
    m_url.clear();
    // Another file opening says at its load whether it has a picture: a video following a video
    // keeps its window.
    setHasVideo(false);
    if (m_mpv) {
        const char* args[] = {"stop", nullptr};
        mpv_command_async(m_mpv, 0, args);
    }
}

void MpvMediaPlayer::resetMediaState()
{
    // The file failed without the filters too, or another came: they stay for the next file.
    if (m_filtersFailedLoad) {
        m_engineFilters = *std::exchange(m_filtersFailedLoad, std::nullopt);
        sendFilters(m_engineFilters, 0);
    }
    m_entryId = -1;
    m_startedEntryId = -1;
    m_loading = false;
    m_paused = false;
    m_stopped = false;
    m_engineEof = false;
    m_position = 0;
    m_duration = 0;
    m_startTarget = 0;
    m_seekPending = false;
    m_holdPosition = false;
    m_seekRepliesOutstanding = 0;
}

bool MpvMediaPlayer::atEnd() const
{
    // keep-open pauses mpv once the last sound has been played out; eof-reached alone comes
    // earlier, when the last sound has merely been handed to the output.
    return isLoaded() && !m_seekPending && m_engineEof && m_enginePaused;
}

std::unique_ptr<VideoRenderer> MpvMediaPlayer::createVideoRenderer()
{
    if (!m_mpv || !m_hasVideo || m_renderer)
        return nullptr;
    auto renderer = std::make_unique<MpvVideoRenderer>(m_mpv, this);
    m_renderer = renderer.get();
    return renderer;
}

void MpvMediaPlayer::forgetRenderer(MpvVideoRenderer* renderer)
{
    if (m_renderer == renderer)
        m_renderer = nullptr;
}

void MpvMediaPlayer::setVideoOutput(bool on)
{
    // Switching the track on while a file plays makes mpv seek to where it is, so the first
    // frame shown is the one at the position.
    const char* track = on ? "auto" : "no";
    mpv_set_property_async(m_mpv, 0, "vid", MPV_FORMAT_STRING, &track);
}

void MpvMediaPlayer::setHasVideo(bool hasVideo)
{
    if (m_hasVideo == hasVideo)
        return;
    m_hasVideo = hasVideo;
    Q_EMIT videoChanged();
}

bool MpvMediaPlayer::readHasVideo() const
{
    mpv_node tracks;
    if (!m_mpv || mpv_get_property(m_mpv, "track-list", MPV_FORMAT_NODE, &tracks) < 0)
        return false;
    bool found = false;
    if (tracks.format == MPV_FORMAT_NODE_ARRAY) {
        for (int i = 0; i < tracks.u.list->num && !found; ++i) {
            const mpv_node& track = tracks.u.list->values[i];
            if (track.format != MPV_FORMAT_NODE_MAP)
                continue;
            bool video = false;
            bool albumArt = false;
            for (int k = 0; k < track.u.list->num; ++k) {
                const char* key = track.u.list->keys[k];
                const mpv_node& value = track.u.list->values[k];
                if (qstrcmp(key, "type") == 0 && value.format == MPV_FORMAT_STRING)
                    video = qstrcmp(value.u.string, "video") == 0;
                else if (qstrcmp(key, "albumart") == 0 && value.format == MPV_FORMAT_FLAG)
                    albumArt = value.u.flag != 0;
            }
            found = video && !albumArt;
        }
    }
    mpv_free_node_contents(&tracks);
    return found;
}
