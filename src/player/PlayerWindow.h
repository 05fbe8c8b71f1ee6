#pragma once

#include "core/MenuCommands.h"
#include "core/PlayerEvents.h"
#include "platform/Platform.h"
#include "player/BusyPointer.h"
#include "player/CompanionWindows.h"
#include "player/MediaSession.h"
#include "player/PlaybackController.h"
#include "player/PlaybackLoop.h"
#include "player/PlayerControl.h"
#include "player/PlayerPeers.h"
#include "player/SessionKeeper.h"
#include "player/ValueCommands.h"

#include <QMainWindow>

class PlayerFace;
class SoundCleanUp;
class QAction;
struct AppState;

// The player window: it lives for the whole run, shows the transport that its
// PlaybackController runs and the recording its MediaSession holds, and its closing ends the
// program. The rest of the program reaches the player through its PlayerControl.
class PlayerWindow : public QMainWindow {
    Q_OBJECT
public:
    PlayerWindow(AppState& state, const Platform& platform, QWidget* parent = nullptr);
    ~PlayerWindow() override;

    // Wiring done by start-up; any may stay unset.
    void setEditor(EditorCommands* editor)
    {
        m_peers.editor = editor;
        m_companions.setEditor(editor);
    }
    void setBookmarks(BookmarkCommands* bookmarks)
    {
        m_peers.bookmarks = bookmarks;
        m_companions.setBookmarks(bookmarks);
    }
    void setWaveform(WaveformCommands* waveform) { m_companions.setWaveform(waveform); }
    void setVideo(VideoCommands* video) { m_companions.setVideo(video); }
    void setRecorder(RecorderCommands* recorder) { m_peers.recorder = recorder; }
    void setHelp(HelpCommands* help) { m_peers.help = help; }
    // The pedal options entry opens their dialog.
    void setPedals(PedalCommands* pedals) { m_peers.pedals = pedals; }
    // An editor built after the session was restored: placed and shown as the settings say.
    void attachEditor(EditorCommands* editor);

    PlaybackController* playback() const { return m_playback; }
    // The open recording, its recent list and title line.
    MediaSession* mediaSession() const { return m_session; }
    // The settings between runs, and the end of the run.
    SessionKeeper* sessionKeeper() const { return m_keeper; }
    // Every menu and command of the window, in menu order.
    static const std::vector<CommandRow<PlayerWindow>>& commandTable();

    // The skin's picture files, those the window shows first at the head of the list.
    static QStringList skinPictureNames();

    // The program's icon for the window. Set once the window is on screen: the display server
    // is given the picture at full size, which nobody needs before.
    void showWindowIcon();
    // Reads the settings and the recent list and shows them; `commandLine` is a media path given
    // at start ("" for none), opened last.
    void restoreSession(const QString& commandLine);
    // Captions and tooltips from the interface text table; a language change runs it.
    void retranslate();
    // The language command: a language file chosen from Files/Lang/ becomes the language of the
    // whole interface and of the settings.
    void chooseLanguage();
    // The desktop's sound settings, when it has a program for them.
    void openSoundSettings();
    void exitProgram();

    // What the other windows and the remote control ask of the player.
    PlayerControl* control() const { return m_control; }
    // The options that ask for a value, the position to go to and a new bookmark's description.
    ValueCommands* valueCommands() const { return m_values; }

    void toggleSmartPlay();
    void toggleFullPath();
    void toggleAlwaysOnTop();
    void toggleEditor();
    void toggleWaveform();
    void toggleVideo();
    // The View menu's captions, after a companion window was shown or hidden by other means.
    void showCommandStates();
    // The record command and button: playback stops and the recorder window shows.
    void openRecorder();

    // A click on the position text, `x` twips from its left: plays from that share of the length.
    void seekToClick(double x);

protected:
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void buildMenus();
    void connectPlayback();
    void connectFace();
    void connectSession();
    void connectLoop();
    // The listening options as the menus and the transport have them, into Files/Listening.ini.
    void keepListeningOptions();
    // Widens the window when the menu titles need more room than the face.
    void fitMenuBar();
    // The editor where the settings put it, shown when they say so.
    void restoreEditor();
    void setMediaControlsEnabled(bool enabled);
    // Position text, progress bar and title line, as the refresh timer shows them.
    void showPosition();
    void showPlayState(PlayState state);
    // What the windows show, for the settings file.
    void collectSettings(StoredSettings& s) const;

    AppState& m_state;
    Platform m_platform;
    PlayerPeers m_peers;
    PlaybackController* m_playback;
    PlaybackLoop* m_loop;
    PlayerEvents m_events;
    MediaSession* m_session;
    SessionKeeper* m_keeper;
    PlayerControl* m_control = nullptr;

    MenuCommands m_commands;
    QAction* m_smartPlayAction = nullptr;
    QAction* m_fullPathAction = nullptr;
    QAction* m_alwaysOnTopAction = nullptr;

    PlayerFace* m_face;
    ValueCommands* m_values;
    SoundCleanUp* m_cleanUp;
    BusyPointer m_busyPointer{this};

    CompanionWindows m_companions{this};
};
