#include "remote/MprisPlayerAdaptor.h"

#include "core/PlayerCommands.h"

#include <QDBusError>
#include <QFileInfo>
#include <QUrl>
#include <algorithm>
#include <cmath>

namespace {

constexpr double kMicroseconds = 1e6;
// The player's speed steps, a tenth each.
constexpr double kSlowestRate = 0.1;
constexpr double kFastestRate = 4.9;
constexpr double kRateStep = 0.1;

const QString kNoTrack = QStringLiteral("/org/mpris/MediaPlayer2/TrackList/NoTrack");

} // namespace

MprisPlayerAdaptor::MprisPlayerAdaptor(PlayerCommands* player, QObject* service)
    : QDBusAbstractAdaptor(service), m_player(player),
      // QtDBus gives the context of a call to the registered object, not to its adaptors.
      m_calls(dynamic_cast<const QDBusContext*>(service))
{
}

bool MprisPlayerAdaptor::hasMedia() const
{
    return m_player->hasMedia();
}

bool MprisPlayerAdaptor::isPlaying() const
{
    return m_player->playState() == PlayState::Playing;
}

double MprisPlayerAdaptor::durationSeconds() const
{
    return m_player->duration();
}

QString MprisPlayerAdaptor::playbackStatus() const
{
    if (!hasMedia())
        return QStringLiteral("Stopped");
    switch (m_player->playState()) {
    case PlayState::Playing:
        return QStringLiteral("Playing");
    case PlayState::Paused:
        return QStringLiteral("Paused");
    case PlayState::Stopped:
        break;
    }
    return QStringLiteral("Stopped");
}

double MprisPlayerAdaptor::rate() const
{
    return m_player->rate();
}

QString MprisPlayerAdaptor::loopStatus() const
{
    return m_player->loopSpan() ? QStringLiteral("Track") : QStringLiteral("None");
}

void MprisPlayerAdaptor::setLoopStatus(const QString& status)
{
    // Playlist is as near as a single recording comes; anything else is no loop status.
    const bool wanted = status == QLatin1String("Track") || status == QLatin1String("Playlist");
    if ((wanted || status == QLatin1String("None")) && hasMedia() &&
        wanted != m_player->loopSpan().has_value())
        m_player->runCommand(PlayerCommand::Loop);
}

void MprisPlayerAdaptor::setRate(double rate)
{
    if (!std::isfinite(rate))
        return;
    // MPRIS asks that a rate of 0 pause.
    if (rate <= 0) {
        Pause();
        return;
    }
    // Step by step, as the speed keys go, so that the player shows each speed as it does for them.
    const double target = std::clamp(rate, kSlowestRate, kFastestRate);
    const long steps = std::lround((target - this->rate()) / kRateStep);
    for (long i = 0; i < std::labs(steps); ++i)
        m_player->runCommand(steps > 0 ? PlayerCommand::SpeedUp : PlayerCommand::SlowDown);
}

QDBusObjectPath MprisPlayerAdaptor::trackId() const
{
    if (!hasMedia())
        return QDBusObjectPath(kNoTrack);
    const QString url = m_player->mediaPath();
    if (url != m_trackUrl) {
        m_trackUrl = url;
        ++m_trackNumber;
    }
    return QDBusObjectPath(QStringLiteral("/org/vocarta/track/%1").arg(m_trackNumber));
}

QVariantMap MprisPlayerAdaptor::metadata() const
{
    QVariantMap data{{QStringLiteral("mpris:trackid"), QVariant::fromValue(trackId())}};
    if (!hasMedia())
        return data;
    const QString path = m_player->mediaPath();
    data.insert(QStringLiteral("xesam:url"),
                QString::fromUtf8(QUrl::fromLocalFile(path).toEncoded()));
    data.insert(QStringLiteral("xesam:title"), QFileInfo(path).fileName());
    if (const double length = durationSeconds(); length > 0)
        data.insert(QStringLiteral("mpris:length"),
                    qlonglong(std::llround(length * kMicroseconds)));
    return data;
}

double MprisPlayerAdaptor::volume() const
{
    return m_player->volume() / 100.0;
}

void MprisPlayerAdaptor::setVolume(double volume)
{
    if (std::isfinite(volume))
        m_player->setVolumeLevel(int(std::lround(std::clamp(volume, 0.0, 1.0) * 100)));
}

qlonglong MprisPlayerAdaptor::position() const
{
    if (!hasMedia())
        return 0;
    return qlonglong(std::llround(std::max(0.0, m_player->position()) * kMicroseconds));
}

double MprisPlayerAdaptor::minimumRate() const
{
    return kSlowestRate;
}

double MprisPlayerAdaptor::maximumRate() const
{
    return kFastestRate;
}

QVariantMap MprisPlayerAdaptor::announcedProperties() const
{
    const bool media = hasMedia();
    return {
        {QStringLiteral("PlaybackStatus"), playbackStatus()},
        {QStringLiteral("Rate"), rate()},
        {QStringLiteral("LoopStatus"), loopStatus()},
        {QStringLiteral("Metadata"), metadata()},
        {QStringLiteral("Volume"), volume()},
        {QStringLiteral("CanGoNext"), media},
        {QStringLiteral("CanGoPrevious"), media},
        {QStringLiteral("CanPlay"), media},
        {QStringLiteral("CanPause"), media},
        {QStringLiteral("CanSeek"), media},
    };
}

void MprisPlayerAdaptor::Next()
{
    if (hasMedia())
        m_player->runCommand(PlayerCommand::SkipForward);
}

void MprisPlayerAdaptor::Previous()
{
    if (hasMedia())
        m_player->runCommand(PlayerCommand::SkipBack);
}

void MprisPlayerAdaptor::Pause()
{
    if (hasMedia() && isPlaying())
        m_player->runCommand(PlayerCommand::PlayPause);
}

void MprisPlayerAdaptor::PlayPause()
{
    if (hasMedia())
        m_player->runCommand(PlayerCommand::PlayPause);
}

void MprisPlayerAdaptor::Stop()
{
    if (hasMedia())
        m_player->stop();
}

void MprisPlayerAdaptor::Play()
{
    if (hasMedia() && !isPlaying())
        m_player->runCommand(PlayerCommand::PlayPause);
}

void MprisPlayerAdaptor::moveTo(double seconds)
{
    m_player->seekTo(seconds);
}

void MprisPlayerAdaptor::Seek(qlonglong offset)
{
    if (!hasMedia())
        return;
    double target = std::max(0.0, m_player->position() + offset / kMicroseconds);
    if (const double length = durationSeconds(); length > 0)
        target = std::min(target, length);
    moveTo(target);
}

void MprisPlayerAdaptor::SetPosition(const QDBusObjectPath& track, qlonglong position)
{
    // A position meant for a track that is no longer the current one is dropped.
    if (!hasMedia() || track != trackId() || position < 0)
        return;
    const double seconds = position / kMicroseconds;
    if (const double length = durationSeconds(); length > 0 && seconds > length)
        return;
    moveTo(seconds);
}

void MprisPlayerAdaptor::OpenUri(const QString& uri)
{
    // Only an absolute file URL: a relative one would depend on whatever folder is current.
    const QUrl url(uri, QUrl::StrictMode);
    const bool absolute = url.isValid() && url.scheme() == QLatin1String("file") &&
                          url.host().isEmpty() && url.path().startsWith(QLatin1Char('/'));
    const QString path = absolute ? url.toLocalFile() : QString();
    if (path.isEmpty() || !QFileInfo(path).isFile()) {
        if (m_calls && m_calls->calledFromDBus())
            m_calls->sendErrorReply(QDBusError::InvalidArgs,
                                    absolute ? QStringLiteral("No such file: %1").arg(path)
                                             : QStringLiteral("Only absolute file:// URIs of "
                                                              "local files can be opened"));
        return;
    }
    // After the answer: opening may ask something of the user, and the caller must not wait.
    QMetaObject::invokeMethod(
        this, [player = m_player, path] { player->openMedia(path); }, Qt::QueuedConnection);
}
