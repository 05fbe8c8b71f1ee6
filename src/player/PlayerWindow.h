#pragma once

#include "core/MenuCommands.h"
#include "core/PlayerCommands.h"
#include "core/PlayerEvents.h"
#include "core/RecentFilesMenu.h"
#include "core/SettingsFile.h"
#include "platform/Platform.h"
#include "player/BusyPointer.h"
#include "player/CompanionWindows.h"
#include "player/PlaybackController.h"
#include "player/ValueCommands.h"

#include <QMainWindow>
#include <QTimer>
#include <functional>

class BookmarkCommands;
class EditorCommands;
class HelpCommands;
class PlayerFace;
class PedalCommands;
class QAction;
class RecorderCommands;
class ValueDialog;
struct AppState;

// The player window: it lives for the whole run, shows the transport that its
// PlaybackController runs, and its closing ends the program.
class PlayerWindow : public QMainWindow, public PlayerCommands {
    Q_OBJECT
public:
    PlayerWindow(AppState& state, const Platform& platform, QWidget* parent = nullptr);
    ~PlayerWindow() override;

    // Wiring done by start-up; both may stay unset.
    void setEditor(EditorCommands* editor)
    {
        m_editor = editor;
        m_companions.setEditor(editor);
    }
    void setBookmarks(BookmarkCommands* bookmarks)
    {
        m_bookmarks = bookmarks;
        m_companions.setBookmarks(bookmarks);
    }
    void setRecorder(RecorderCommands* recorder) { m_recorder = recorder; }
    void setHelp(HelpCommands* help) { m_help = help; }
    // The pedal options entry opens their dialog.
    void setPedals(PedalCommands* pedals) { m_pedals = pedals; }
    // An editor built after the session was restored: placed and shown as the settings say.
    void attachEditor(EditorCommands* editor);

    PlaybackController* playback() const { return m_playback; }
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
    // Saves what the user had, asks about an unsaved transcript and closes the companion
    // windows. Returns false when the user cancelled it.
    bool runClosingSequence();
    // The same saves and steps without a question, for an end the user cannot answer (a signal
    // from the system, the desktop session ending).
    void endWithoutAsking();
    // Writes the settings file; a failure is logged.
    bool saveSettings();
    // Captions and tooltips from the interface text table; a language change runs it.
    void retranslate();
    // The language command: a language file chosen from Files/Lang/ becomes the language of the
    // whole interface and of the settings.
    void chooseLanguage();
    // The desktop's sound settings, when it has a program for them.
    void openSoundSettings();
    void exitProgram();

    // PlayerCommands
    bool hasMedia() const override { return m_playback->hasMedia(); }
    QString mediaPath() const override;
    double position() const override;
    double duration() const override;
    QString positionText() const override;
    QString durationText() const override;
    double rate() const override;
    int volume() const override;
    void seekTo(double seconds) override { m_playback->seekTo(seconds); }
    void togglePlayPause() override;
    void stop() override;
    void skipForward() override;
    void skipBack() override;
    void playFrom(double seconds) override;
    void openMediaAt(const QString& path, double seconds) override;
    void refreshDisplay() override;
    void setBookmarkMenuShown(bool shown) override;
    void runCommand(PlayerCommand command) override;
    PlayState playState() const override { return m_playback->state(); }
    double stoppedPosition() const override { return m_playback->stoppedPosition(); }
    PlayerEvents* events() override { return &m_events; }
    void setVolumeLevel(int percent) override;
    void hideWindows() override { m_companions.hideAll(); }
    void showWindows() override;
    void placeBookmarkWindow(QWidget* window, bool fullHeight) override
    {
        m_companions.placeBookmarkWindow(window, fullHeight);
    }
    void bringToFront() override { m_companions.bringPlayerToFront(); }

    // Opening and closing media. An empty path asks for a file.
    void openMedia(const QString& path = QString()) override;
    void closeMedia();
    void openDroppedFile(const QString& name);
    const RecentList& recentMedia() const { return m_recentMedia->list(); }

    // The options that ask for a value, and the position to go to.
    ValueCommands* valueCommands() const { return m_values; }
    // Asks for a new bookmark's description; `add` returns false to keep the dialog open.
    void askBookmarkDescription(const std::function<bool(const QString&)>& add)
    {
        m_values->askBookmarkDescription(add);
    }
    // The value dialog opened last, while it is open.
    ValueDialog* valueDialog() const { return m_values->dialog(); }

    void toggleSmartPlay();
    void slowDown();
    void speedUp();
    void toggleFullPath();
    void toggleAlwaysOnTop();
    void toggleEditor();
    // The record command and button: playback stops and the recorder window shows.
    void openRecorder();

    // A click on the position text, `x` twips from its left: plays from that share of the length.
    void seekToClick(double x);

Q_SIGNALS:
    // The settings file was written (or the write failed).
    void settingsSaved(bool ok);
    // The closing sequence has finished: the program ends.
    void programEnded();

protected:
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    // The closing steps after the questions: settings saved, companions closed, engine stopped.
    void finishClosing();
    void buildMenus();
    void connectPlayback();
    void connectFace();
    // Widens the window when the menu titles need more room than the face.
    void fitMenuBar();
    void applyStoredSettings();
    // The editor where the settings put it, shown when they say so.
    void restoreEditor();
    void setMediaControlsEnabled(bool enabled);
    void loadAndPlay(const QString& path);
    // The media's name (or path) and length, as the title line shows them.
    QString mediaCaption() const;
    // Position text, progress bar and title line, as the refresh timer shows them.
    void showPosition();
    void showPlayState(PlayState state);
    // Nothing will play in this run: the title line says so, with the system's reason in its
    // tooltip.
    void showEngineMissing(const QString& reason);
    // The current file cannot be played: the player is left without media, as before the file
    // was opened, and a message box says why, with the engine's own words.
    void refuseMedia(Text reason, const QString& detail);
    void applyVolume();
    void changeSpeed(double step);
    // Hands the keyboard back to the transcript after a transport command.
    void returnFocus();

    AppState& m_state;
    Platform m_platform;
    PlaybackController* m_playback;
    EditorCommands* m_editor = nullptr;
    BookmarkCommands* m_bookmarks = nullptr;
    RecorderCommands* m_recorder = nullptr;
    HelpCommands* m_help = nullptr;
    PedalCommands* m_pedals = nullptr;
    // The values read at start, kept for what no live control holds yet.
    StoredSettings m_stored;
    RecentFilesMenu* m_recentMedia;

    MenuCommands m_commands;
    QAction* m_smartPlayAction = nullptr;
    QAction* m_fullPathAction = nullptr;
    QAction* m_alwaysOnTopAction = nullptr;

    PlayerFace* m_face;
    ValueCommands* m_values;
    BusyPointer m_busyPointer{this};

    PlayerEvents m_events;
    CompanionWindows m_companions{this};
    // The length the title line showed last, to tell when it became known.
    QString m_shownLength;

    // The current file could not be played (or nothing can be): until another opens.
    bool m_mediaFailed = false;
    bool m_closing = false;
    bool m_closed = false;
};
