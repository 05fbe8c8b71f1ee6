#pragma once

#include "core/PlayerCommands.h"
#include "core/RecentList.h"
#include "core/SettingsFile.h"
#include "platform/Platform.h"
#include "player/CaptionLabel.h"
#include "player/PointerLabel.h"
#include "player/SkinButton.h"
#include "player/ValueEntry.h"

#include <QMainWindow>
#include <QPointer>
#include <QTimer>
#include <array>
#include <functional>

class BookmarkCommands;
class EditorCommands;
class ValueDialog;
class QAction;
class QLabel;
class QMenu;
struct AppState;

// The player window: it lives for the whole run, owns the media engine's use, and its closing
// ends the program.
class PlayerWindow : public QMainWindow, public PlayerCommands {
    Q_OBJECT
public:
    // The play button's state texts: the next press plays, or pauses.
    static constexpr Text kEntryPlay = Text::Play;
    static constexpr Text kEntryPause = Text::Pause;

    PlayerWindow(AppState& state, const Platform& platform, QWidget* parent = nullptr);
    ~PlayerWindow() override;

    // Wiring done by start-up; both may stay unset.
    void setEditor(EditorCommands* editor) { m_editor = editor; }
    void setBookmarks(BookmarkCommands* bookmarks) { m_bookmarks = bookmarks; }

    // Puts the editor below the player, or below the bookmark window when it has bookmarks.
    void placeEditor();
    // Runs the loading sequence; `commandLine` is a media path given at start ("" for none).
    void restoreSession(const QString& commandLine);
    // The closing sequence. Returns false when the user cancelled it.
    bool runClosingSequence();

    void saveSettings();
    void applyTexts();

    void exitProgram();

    // Transport and display.
    void togglePlayPause() override;
    void mnuPlay_Click() { togglePlayPause(); }
    void stop() override;
    void cmdStop_Click() { stop(); }
    void skipForward() override;
    void mnuAvanti_Click() { skipForward(); }
    void skipBack() override;
    void mnuIndietro_Click() { skipBack(); }
    void refreshDisplay() override;
    void watchPlaybackState();
    // Hands the keyboard back to the transcript after a transport command.
    void returnFocus();

    // Opening and closing media.
    void openMedia(const QString& path);
    void loadAndPlay(const QString& path);
    void mnuApri_Click() { openMedia(QString()); }
    void closeMedia();
    void openRecentMedia(int index);
    void openDroppedFile(const QString& name);
    void updateTitle();

    // Smart play.
    void toggleSmartPlay();
    void advanceSmartPlay();

    // The value-entry dialog's commands.
    void editSkipSeconds();
    void editBackSeconds();
    void editPlayTime();
    void editPauseTime();
    void goToTime();
    // Asks for a new bookmark's description; `add` returns false to keep the dialog open.
    void askBookmarkDescription(const std::function<bool(const QString&)>& add);
    // The dialog opened by the last of these commands, while it is open.
    ValueDialog* valueDialog() const;

    // Speed, title line and view options.
    void slowDown();
    void speedUp();
    void stepLabelFade();
    void toggleFullPath();
    void toggleAlwaysOnTop();
    void toggleEditor();

    // The volume slider and the position click; positions in twips, relative to the control.
    void centreVolumeKnob();
    void applyVolume();
    void Image1_MouseDown(Qt::MouseButton button);
    void Image1_MouseMove(Qt::MouseButtons buttons, double y);
    void Image1_MouseUp(Qt::MouseButton button);
    void Image2_MouseDown();
    void Image2_MouseMove();
    void Image2_MouseUp(Qt::MouseButton button, double y);
    void followKnobDrag();
    void seekToClick(double x);
    double knobTop() const { return m_knobTop; }
    void setKnobTop(double twips);
    QString knobTag() const { return m_knobTag; }
    void setKnobTag(const QString& tag) { m_knobTag = tag; }
    int fadeLevel() const { return FadeLevel; }

    // Pointer moves for the button skin.
    void hoverButton(SkinButton* button);
    void hoverOpenButton();
    void leaveButtons();
    // The six skin buttons, open button last.
    std::array<SkinButton*, 6> skinButtons() const;
    bool isHovered(const SkinButton* button) const;

    // PlayerCommands
    QWidget* playerWindow() override { return this; }
    QWidget* transcriptWindow() override { return editorWindow(); }
    MediaPlayer* media() override { return m_platform.media; }
    void setBookmarkMenuShown(bool shown) override;

    bool justOpened() const { return m_justOpened; }
    const RecentList& recentMedia() const { return m_recentMedia; }
    // Menus and entries, named as the program has always named them.
    QMenu* m_fileMenu = nullptr;
    QAction* m_openAction = nullptr;
    QAction* m_closeAction = nullptr;
    QAction* m_recentSeparator = nullptr;
    std::array<QAction*, 4> m_recentActions{};
    QAction* m_exitAction = nullptr;

    QMenu* m_playbackMenu = nullptr;
    QAction* m_playAction = nullptr;
    QAction* m_stopAction = nullptr;
    QAction* m_skipBackAction = nullptr;
    QAction* m_skipForwardAction = nullptr;
    QAction* m_goToAction = nullptr;
    QAction* m_slowDownAction = nullptr;
    QAction* m_speedUpAction = nullptr;
    QAction* m_addBookmarkAction = nullptr;
    QAction* m_nextBookmarkAction = nullptr;
    QAction* m_previousBookmarkAction = nullptr;
    QAction* m_recordAction = nullptr;

    QMenu* m_optionsMenu = nullptr;
    QAction* m_skipSecondsAction = nullptr;
    QAction* m_backSecondsAction = nullptr;
    QAction* m_smartPlayAction = nullptr;
    QAction* m_playTimeAction = nullptr;
    QAction* m_pauseTimeAction = nullptr;
    QAction* m_languageAction = nullptr;
    QAction* m_addLanguageAction = nullptr;
    QAction* m_audioSettingsAction = nullptr;

    QMenu* m_viewMenu = nullptr;
    QAction* m_fullPathAction = nullptr;
    QAction* m_alwaysOnTopAction = nullptr;
    QAction* m_editorAction = nullptr;
    QAction* m_bookmarkWindowAction = nullptr;

    QMenu* m_donationsMenu = nullptr;
    QAction* m_donateAction = nullptr;

    QMenu* m_helpMenu = nullptr;
    QAction* m_helpAction = nullptr;
    QAction* m_versionsAction = nullptr;
    QAction* m_updatesAction = nullptr;
    QAction* m_aboutAction = nullptr;

    // Controls of the player's face.
    SkinButton* m_openButton = nullptr; // open
    SkinButton* m_backButton = nullptr;
    SkinButton* m_playButton = nullptr;
    SkinButton* m_stopButton = nullptr;
    SkinButton* m_forwardButton = nullptr;
    SkinButton* m_recordButton = nullptr;
    QLabel* m_displayPanel = nullptr;        // display panel picture
    CaptionLabel* m_titleLabel = nullptr;    // title line
    QLabel* m_progressBar = nullptr;         // progress bar
    PointerLabel* m_positionLabel = nullptr; // position text
    PointerLabel* Image1 = nullptr;          // volume knob
    PointerLabel* Image2 = nullptr;          // volume track
    QLabel* m_volumeLabel = nullptr;         // volume percentage
    QLabel* m_speedLabel = nullptr;          // speed

    QTimer Timer1; // display refresh
    QTimer Timer4; // state watch
    QTimer Timer5; // smart play cycle
    QTimer Timer2; // volume knob drag
    QTimer Timer3; // fade of the speed and volume labels

Q_SIGNALS:
    // The settings file was written (or the write failed).
    void settingsSaved(bool ok);
    // The closing sequence has finished: the program ends.
    void programEnded();

protected:
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void setupFace();
    void setupMenus();
    void connectPointerEvents();
    // Widens the window when the menu titles need more room than the face.
    void fitMenuBar();
    void connectCheckCommand(QAction* action, void (PlayerWindow::*command)());
    void followWindowState();
    void applyStoredSettings();
    void resetPositionDisplay();
    void setAlwaysOnTop(bool onTop);
    QString imagePath(const QString& name) const;
    void showPlayImage(SkinButton* button, const QString& name);
    bool hasMedia() const;
    void setPlayTag(Text entry);
    bool playTagIs(Text entry) const;
    void showRecentMedia();
    void loadRecentMedia();
    void setBusyPointer(bool busy);
    ValueDialog* newValueDialog(ValueEntry::Mode mode);
    void openValueDialog(ValueEntry::Mode mode);
    void showMediaError(const QString& message);
    void changeSpeed(double step);
    QString knobValueText() const;
    void startFade(int level);
    void showNormalImage(SkinButton* button);
    void showHoverImage(SkinButton* button);
    void resetHoverExcept(const SkinButton* keep);
    // The two companion windows, or nullptr while they do not exist.
    QWidget* editorWindow() const;
    QWidget* bookmarkWindow() const;

    AppState& m_state;
    Platform m_platform;
    EditorCommands* m_editor = nullptr;
    BookmarkCommands* m_bookmarks = nullptr;
    // The values read at start, kept for what no live control holds yet.
    StoredSettings m_stored;
    RecentList m_recentMedia;
    // Volume slider state; geometry in twips.
    int VolumeScale = 100;
    int VolumeValue = 0;
    int SliderButton = 0;
    double KnobTarget = 0;
    double m_knobTop = 0;
    QString m_knobTag;
    // Green and blue of the faded label's text: -15 at rest.
    int FadeLevel = -15;
    // "1" while the fade belongs to the speed label, "" while it belongs to the volume label.
    QString m_speedMark;
    std::array<bool, 6> m_hover{};
    QWidget* m_face = nullptr;
    QPointer<ValueDialog> m_valueDialog;
    QPoint m_openButtonHome;
    bool m_justOpened = false;
    // The current file could not be played: the title line says so until another opens.
    bool m_mediaFailed = false;
    bool m_busyPointer = false;
    bool m_closing = false;
    bool m_closed = false;
};
