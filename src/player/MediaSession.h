#pragma once

#include "core/RecentList.h"
#include "core/ResumePositions.h"
#include "core/Text.h"
#include "platform/Platform.h"

#include <QDeadlineTimer>
#include <QObject>
#include <QString>
#include <memory>
#include <optional>

class PlaybackController;
class PlayerEvents;
class QWidget;
class RecentFilesMenu;
struct AppState;
struct PlayerPeers;

// The recording the player has open: opening one (asked for, named, dropped or chosen from the
// recent list), refusing one that cannot be played, closing it, and the title line that names it.
// It decides; the window shows what it emits.
class MediaSession : public QObject {
    Q_OBJECT
public:
    // `owner` is the window: the parent, and the owner of the boxes and dialogs asked.
    MediaSession(AppState& state, const Platform& platform, PlaybackController* playback,
                 const PlayerPeers& peers, PlayerEvents* events, QWidget* owner);
    ~MediaSession() override;

    // The open command: an empty path asks for a file. The bookmarks of the recording left are
    // written and the recent list follows. A recording opened again goes on from where it was
    // left, unless `resume` is false or the user turned that off.
    void open(const QString& path = QString(), bool resume = true);
    // Opens the recording and waits there, paused at the position.
    void openAt(const QString& path, double seconds);
    // A file dropped on the window; `name` may end in NULs.
    void openDropped(const QString& name);
    void close();
    // Keeps where the open recording is, for the next time it opens (the program ends).
    void keepPosition();
    bool resumes() { return positions().isOn(); }
    void setResumes(bool on);
    // Nothing will play in this run: the media is closed and stays so.
    void refuseEngine(const QString& reason);

    // The current file could not be played (or nothing can be): until another opens.
    bool hasFailed() const { return m_failed; }
    RecentFilesMenu* recentMenu() const { return m_recent.get(); }
    const RecentList& recent() const;

    // Whether the title line names the whole path instead of the file's name.
    bool showsFullPath() const { return m_fullPath; }
    void setShowsFullPath(bool shown);
    // The media's name (or path) and length, as the title line shows them.
    QString caption() const;
    // Said in the title line for a moment instead of the caption, while a file is open.
    void showNotice(const QString& notice);
    // Said after the caption as long as it is set ("" for none): a state the player is in.
    void setCaptionNote(const QString& note);
    // A word the title line adds after the length (the sound is filtered); "" for none.
    void setCaptionMark(const QString& mark);
    // Called with each display of the position: tells when the length became known, and has the
    // title line follow the length unless the file failed.
    void refreshTitle();

Q_SIGNALS:
    // A file is being opened (shown before anything can fail).
    void opening();
    // The file is handed to the engine: the media controls are usable from now on.
    void loading();
    // The title line, shown anew (its font fitted).
    void titleChanged(const QString& caption);
    // The caption as the position display keeps it up to date.
    void captionDue(const QString& caption);
    // The file opened and plays: the keyboard goes back to the transcript.
    void opened();
    // No media any more: the controls that need one are off.
    void closed();
    void engineMissing(const QString& text, const QString& reason);

private:
    void loadAndPlay(const QString& path);
    // The player is left without media, as before the file was opened, and a box says why, with
    // the engine's own words.
    void refuse(Text reason, const QString& detail);
    void leaveBookmarks();
    // Goes on from where the recording was left, saying so in the title line for a moment.
    void resume(const QString& path);
    // Read from the program folder when first needed.
    ResumePositions& positions();

    AppState& m_state;
    Platform m_platform;
    PlaybackController* m_playback;
    const PlayerPeers& m_peers;
    PlayerEvents* m_events;
    QWidget* m_owner;
    std::unique_ptr<RecentFilesMenu> m_recent;
    // The length the title line showed last, to tell when it became known.
    QString m_shownLength;
    bool m_failed = false;
    bool m_fullPath = false;
    QString m_captionMark;
    std::optional<ResumePositions> m_positions;
    QString m_notice;
    QString m_captionNote;
    QDeadlineTimer m_noticeEnds;
};
