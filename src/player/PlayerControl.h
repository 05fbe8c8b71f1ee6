#pragma once

#include "core/PlayerCommands.h"

#include <QObject>

class CompanionWindows;
class MediaPlayer;
class MediaSession;
class MenuCommands;
class PlaybackController;
class PlaybackLoop;
class PlayerFace;
class SessionKeeper;

// What the rest of the program asks of the player: the editor's keys, the bookmarks, the foot
// pedals, the desktop's media keys and the commands handed to the running program. It answers
// from the transport and the open recording, and moves the windows around the player; the player
// window builds it from its parts and shows what changes.
class PlayerControl : public QObject, public PlayerCommands {
    Q_OBJECT
public:
    // None is owned; `media` may be null.
    struct Parts {
        MediaPlayer* media = nullptr;
        PlaybackController* playback = nullptr;
        PlaybackLoop* loop = nullptr;
        MediaSession* session = nullptr;
        SessionKeeper* keeper = nullptr;
        PlayerFace* face = nullptr;
        CompanionWindows* companions = nullptr;
        MenuCommands* menus = nullptr;
        PlayerEvents* events = nullptr;
    };

    explicit PlayerControl(const Parts& parts, QObject* parent = nullptr);

    // The volume the knob stands at goes to the engine; the label shows what the engine took.
    void applyVolume();

    bool hasMedia() const override;
    QString mediaPath() const override;
    double position() const override;
    double duration() const override;
    QString positionText() const override;
    QString durationText() const override;
    double stoppedPosition() const override;
    double rate() const override;
    int volume() const override;
    PlayState playState() const override;
    PlayerEvents* events() override { return m_parts.events; }

    void seekTo(double seconds) override;
    void togglePlayPause() override;
    void skipForward() override;
    void skipBack() override;
    void stop() override;
    void playFrom(double seconds) override;
    void refreshDisplay() override;
    void setVolumeLevel(int percent) override;
    void openMedia(const QString& path) override;
    void openMediaAt(const QString& path, double seconds) override;

    void runCommand(PlayerCommand command) override;
    void setBookmarkMenuShown(bool shown) override;
    void hideWindows() override;
    void showWindows() override;
    void placeBookmarkWindow(QWidget* window, bool fullHeight) override;
    void bringToFront() override;
    std::optional<TimeSpan> loopSpan() const override;
    void setLoopMarks(const TimeSpan& span) override;

private:
    Parts m_parts;
};
