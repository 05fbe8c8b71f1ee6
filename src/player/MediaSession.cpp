#include "player/MediaSession.h"

#include "core/AppState.h"
#include "core/BookmarkCommands.h"
#include "core/Logging.h"
#include "core/MediaFormats.h"
#include "core/PlayerEvents.h"
#include "core/RecentFilesMenu.h"
#include "core/RecorderCommands.h"
#include "platform/Dialogs.h"
#include "platform/MediaPlayer.h"
#include "player/MediaTitle.h"
#include "player/PlaybackController.h"
#include "player/PlayerPeers.h"

#include <QFileInfo>
#include <algorithm>

MediaSession::MediaSession(AppState& state, const Platform& platform, PlaybackController* playback,
                           const PlayerPeers& peers, PlayerEvents* events, QWidget* owner)
    : QObject(owner), m_state(state), m_platform(platform), m_playback(playback), m_peers(peers),
      m_events(events), m_owner(owner),
      m_recent(std::make_unique<RecentFilesMenu>(state, platform.dialogs,
                                                 QStringLiteral("LastFiles.ini"),
                                                 RecentFilesMenu::Saving::FromEventLoop, owner))
{
    connect(m_recent.get(), &RecentFilesMenu::chosen, this,
            [this](const QString& path) { open(path); });
    if (MediaPlayer* media = m_platform.media) {
        connect(media, &MediaPlayer::mediaError, this,
                [this](const QString& message) { refuse(Text::CannotPlay, message); });
        connect(media, &MediaPlayer::soundOutputMissing, this,
                [this](const QString& message) { refuse(Text::NoSoundOutput, message); });
        connect(media, &MediaPlayer::engineUnavailable, this, &MediaSession::refuseEngine);
    }
}

MediaSession::~MediaSession() = default;

const RecentList& MediaSession::recent() const
{
    return m_recent->list();
}

void MediaSession::open(const QString& path, bool resume)
{
    QString chosen = path;
    if (chosen.isEmpty()) {
        FileDialogRequest request;
        request.owner = m_owner;
        request.open = true;
        request.title = m_state.texts.text(Text::OpenMediaTitle);
        request.filters = {{m_state.texts.text(Text::MediaFiles), MediaFormats::dialogPatterns()},
                           {m_state.texts.text(Text::AllFiles), QStringLiteral("*.*")}};
        request.defaultExtension = QStringLiteral("wav");
        chosen = m_platform.dialogs->showFileDialog(request);
    }
    if (chosen.isEmpty())
        return;
    // The engine would read a file still being written, and hold it open.
    if (m_peers.recorder && m_peers.recorder->isRecordingTo(chosen))
        return;
    if (!path.isEmpty() && !QFileInfo::exists(chosen)) {
        m_platform.dialogs->warning(m_owner, m_state.texts.plain(Text::ProgramName),
                                    m_state.texts.plain(Text::FileMissing) + QLatin1Char('\n') +
                                        chosen);
        return;
    }
    // A pipe or a device would keep the engine waiting for ever.
    const bool playable = QFileInfo(chosen).isFile();

    // The bookmarks made so far belong to the recording being left.
    keepPosition();
    leaveBookmarks();
    m_state.currentMediaPath = chosen;
    m_recent->keepChanges();
    if (!playable) {
        refuse(Text::CannotPlay, QString());
        return;
    }
    loadAndPlay(chosen);
    // The engine may refuse the file at once.
    if (m_failed)
        return;

    // Most engines tell later that the file cannot be played; the list is put back then.
    m_recent->rememberUntilRefused(chosen);
    if (resume)
        this->resume(chosen);

    if (m_peers.bookmarks)
        m_peers.bookmarks->loadBookmarks(chosen);
    Q_EMIT opened();
}

void MediaSession::openAt(const QString& path, double seconds)
{
    open(path, false);
    if (m_failed || m_state.currentMediaPath != path || !m_playback->hasMedia())
        return;
    if (m_playback->isPlaying())
        m_playback->togglePlayPause();
    m_platform.media->setCurrentPosition(std::max(seconds, 0.0));
    m_playback->refreshDisplay();
}

void MediaSession::openDropped(const QString& name)
{
    QString path = name;
    while (path.endsWith(QChar(0)))
        path.chop(1);
    if (path.isEmpty())
        return;
    const QFileInfo file(path);
    if (!file.isFile() || !file.isReadable()) {
        m_platform.dialogs->warning(m_owner, m_state.texts.plain(Text::CannotOpenFile),
                                    m_state.texts.plain(Text::DroppedFileUnreadable));
        return;
    }
    open(path);
}

void MediaSession::loadAndPlay(const QString& path)
{
    Q_EMIT opening();
    m_notice.clear();
    if (!QFileInfo::exists(path))
        return;
    m_failed = false;
    Q_EMIT loading();
    m_playback->load(path);
    Q_EMIT titleChanged(caption());
    Q_EMIT m_events->mediaChanged();
}

void MediaSession::close()
{
    keepPosition();
    m_playback->close();
    Q_EMIT closed();
    if (m_peers.bookmarks)
        m_peers.bookmarks->unloadWindow();
    Q_EMIT m_events->mediaChanged();
}

void MediaSession::refuseEngine(const QString& reason)
{
    close();
    m_failed = true;
    Q_EMIT engineMissing(m_state.texts.text(Text::EngineNotLoaded), reason);
}

void MediaSession::refuse(Text reason, const QString& detail)
{
    const QString path = m_state.currentMediaPath;
    if (m_platform.media && !m_platform.media->isEngineAvailable())
        reason = Text::EngineNotLoaded;
    close();
    m_failed = true;
    // Nothing of the file stays: not its bookmarks, not its place in the recent list.
    leaveBookmarks();
    m_state.currentMediaPath.clear();
    m_recent->takeBack();
    Q_EMIT m_events->mediaChanged();

    QStringList told{m_state.texts.plain(reason), path, detail};
    told.removeAll(QString());
    m_platform.dialogs->warning(m_owner, m_state.texts.plain(Text::ProgramName),
                                told.join(QStringLiteral("\n\n")));
}

void MediaSession::keepPosition()
{
    MediaPlayer* media = m_platform.media;
    if (m_failed || !media || !m_playback->hasMedia() || m_state.currentMediaPath.isEmpty())
        return;
    QString error;
    if (!positions().remember(m_state.currentMediaPath, media->currentPosition(), media->duration(),
                              &error))
        qCWarning(lcSettings).noquote() << "Cannot keep the position:" << error;
}

ResumePositions& MediaSession::positions()
{
    if (!m_positions)
        m_positions.emplace(m_state.filesPath(QLatin1String(ResumePositions::kFileName)));
    return *m_positions;
}

void MediaSession::setResumes(bool on)
{
    QString error;
    if (!positions().setOn(on, &error))
        qCWarning(lcSettings).noquote() << "Cannot keep the resume option:" << error;
}

void MediaSession::resume(const QString& path)
{
    const auto seconds = positions().isOn() ? positions().positionOf(path) : std::nullopt;
    if (!seconds || !m_platform.media)
        return;
    m_platform.media->setCurrentPosition(*seconds);
    m_playback->refreshDisplay();
    showNotice(m_state.texts.plain(Text::ContinuingFrom).arg(formatMediaTime(*seconds)));
}

void MediaSession::showNotice(const QString& notice)
{
    // How long the title line says it.
    constexpr int kNoticeMs = 4000;
    if (m_failed || !m_playback->hasMedia())
        return;
    m_notice = notice;
    m_noticeEnds.setRemainingTime(kNoticeMs);
    Q_EMIT titleChanged(m_notice);
}

void MediaSession::setCaptionNote(const QString& note)
{
    if (note == m_captionNote)
        return;
    m_captionNote = note;
    // The state the player is now in says more than a notice about how it got there.
    m_notice.clear();
    if (!m_failed && m_playback->hasMedia())
        Q_EMIT titleChanged(caption());
}

void MediaSession::leaveBookmarks()
{
    if (m_peers.bookmarks && m_peers.bookmarks->hasBookmarks()) {
        m_peers.bookmarks->saveBookmarks();
        m_peers.bookmarks->clearBookmarks();
    }
}

void MediaSession::setShowsFullPath(bool shown)
{
    m_fullPath = shown;
}

QString MediaSession::caption() const
{
    const QString duration = m_platform.media ? m_platform.media->durationString() : QString();
    const QString caption =
        MediaTitle::caption(m_state.currentMediaPath, m_fullPath, duration, m_captionMark);
    return m_captionNote.isEmpty() ? caption
                                   : caption + MediaTitle::noteSeparator() + m_captionNote;
}

void MediaSession::setCaptionMark(const QString& mark)
{
    if (mark == m_captionMark)
        return;
    m_captionMark = mark;
    if (m_playback->hasMedia() && !m_failed && m_notice.isEmpty())
        Q_EMIT titleChanged(caption());
}

void MediaSession::refreshTitle()
{
    if (!m_platform.media)
        return;
    const QString duration = MediaTitle::colons(m_platform.media->durationString());
    if (duration != m_shownLength) {
        m_shownLength = duration;
        Q_EMIT m_events->mediaChanged();
    }
    if (!m_notice.isEmpty() && m_noticeEnds.hasExpired()) {
        m_notice.clear();
        if (!m_failed)
            Q_EMIT titleChanged(caption());
    }
    if (!m_failed)
        Q_EMIT captionDue(m_notice.isEmpty() ? caption() : m_notice);
}
