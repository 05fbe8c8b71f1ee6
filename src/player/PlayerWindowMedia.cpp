#include "core/AppState.h"
#include "core/BookmarkCommands.h"
#include "core/Logging.h"
#include "core/MediaFormats.h"
#include "core/RecorderCommands.h"
#include "platform/Dialogs.h"
#include "platform/MediaPlayer.h"
#include "player/PlayerFace.h"
#include "player/PlayerWindow.h"

#include <QFileInfo>
#include <algorithm>

void PlayerWindow::openMedia(const QString& path)
{
    QString chosen = path;
    if (chosen.isEmpty()) {
        FileDialogRequest request;
        request.owner = this;
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
    if (m_recorder && m_recorder->isRecordingTo(chosen))
        return;
    if (!path.isEmpty() && !QFileInfo::exists(chosen)) {
        m_platform.dialogs->warning(this, m_state.texts.plain(Text::ProgramName),
                                    m_state.texts.plain(Text::FileMissing) + QLatin1Char('\n') +
                                        chosen);
        return;
    }
    // A pipe or a device would keep the engine waiting for ever.
    const bool playable = QFileInfo(chosen).isFile();

    // The bookmarks made so far belong to the recording being left.
    if (m_bookmarks && m_bookmarks->hasBookmarks()) {
        m_bookmarks->saveBookmarks();
        m_bookmarks->clearBookmarks();
    }
    m_state.currentMediaPath = chosen;
    m_recentMedia->keepChanges();
    if (!playable) {
        refuseMedia(Text::CannotPlay, QString());
        return;
    }
    loadAndPlay(chosen);
    // The engine may refuse the file at once.
    if (m_mediaFailed)
        return;

    // Most engines tell later that the file cannot be played; the list is put back then.
    m_recentMedia->rememberUntilRefused(chosen);

    if (m_bookmarks)
        m_bookmarks->loadBookmarks(chosen);
    m_face->dropOpenHover();
    m_companions.placeEditor();
    returnFocus();
}

void PlayerWindow::openMediaAt(const QString& path, double seconds)
{
    openMedia(path);
    if (m_mediaFailed || m_state.currentMediaPath != path || !m_playback->hasMedia())
        return;
    if (m_playback->isPlaying())
        m_playback->togglePlayPause();
    m_platform.media->setCurrentPosition(std::max(seconds, 0.0));
    refreshDisplay();
}

void PlayerWindow::loadAndPlay(const QString& path)
{
    m_face->showMediaOpening();
    if (!QFileInfo::exists(path))
        return;
    m_mediaFailed = false;
    m_face->showProgress(0);
    setMediaControlsEnabled(true);
    m_playback->load(path);
    m_face->showTitle(mediaCaption());
    Q_EMIT m_events.mediaChanged();
}

void PlayerWindow::closeMedia()
{
    m_playback->close();
    m_face->showMediaClosed();
    setMediaControlsEnabled(false);
    if (m_bookmarks)
        m_bookmarks->unloadWindow();
    Q_EMIT m_events.mediaChanged();
}

void PlayerWindow::showEngineMissing(const QString& reason)
{
    closeMedia();
    m_mediaFailed = true;
    m_face->showEngineMissing(m_state.texts.text(Text::EngineNotLoaded), reason);
}

void PlayerWindow::refuseMedia(Text reason, const QString& detail)
{
    const QString path = m_state.currentMediaPath;
    if (m_platform.media && !m_platform.media->isEngineAvailable())
        reason = Text::EngineNotLoaded;
    closeMedia();
    m_mediaFailed = true;
    // Nothing of the file stays: not its bookmarks, not its place in the recent list.
    if (m_bookmarks && m_bookmarks->hasBookmarks()) {
        m_bookmarks->saveBookmarks();
        m_bookmarks->clearBookmarks();
    }
    m_state.currentMediaPath.clear();
    m_recentMedia->takeBack();
    Q_EMIT m_events.mediaChanged();

    QStringList told{m_state.texts.plain(reason), path, detail};
    told.removeAll(QString());
    m_platform.dialogs->warning(this, m_state.texts.plain(Text::ProgramName),
                                told.join(QStringLiteral("\n\n")));
}

void PlayerWindow::openDroppedFile(const QString& name)
{
    QString path = name;
    while (path.endsWith(QChar(0)))
        path.chop(1);
    if (path.isEmpty())
        return;
    const QFileInfo file(path);
    if (!file.isFile() || !file.isReadable()) {
        m_platform.dialogs->warning(this, m_state.texts.plain(Text::CannotOpenFile),
                                    m_state.texts.plain(Text::DroppedFileUnreadable));
        return;
    }
    openMedia(path);
}
