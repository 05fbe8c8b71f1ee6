#pragma once

#include "app/RecentList.h"
#include "app/SettingsFile.h"
#include "platform/Platform.h"
#include "player/CaptionLabel.h"
#include "player/PlayerCommands.h"
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
class Form4;
class QAction;
class QLabel;
class QMenu;
struct AppState;

// The player window: it lives for the whole run, owns the media engine's use, and its closing
// ends the program.
class Form1 : public QMainWindow, public PlayerCommands {
    Q_OBJECT
public:
    // The play button's state texts: the next press plays, or pauses.
    static constexpr int kEntryPlay = 7;
    static constexpr int kEntryPause = 8;

    Form1(AppState& state, const Platform& platform, QWidget* parent = nullptr);
    ~Form1() override;

    // Wiring done by start-up; both may stay unset.
    void setEditor(EditorCommands* editor) { m_editor = editor; }
    void setBookmarks(BookmarkCommands* bookmarks) { m_bookmarks = bookmarks; }

    void Form_Initialize();
    // Runs the loading sequence; `commandLine` is a media path given at start ("" for none).
    void Form_Load(const QString& commandLine);
    // The closing sequence. Returns false when the user cancelled it.
    bool Form_Unload();

    void Salva();
    void ApplicaLingua();

    void mnuEsci_Click();

    // Transport and display.
    void cmdPlay_Click() override;
    void mnuPlay_Click() { cmdPlay_Click(); }
    void mnuStop_Click() override;
    void cmdStop_Click() { mnuStop_Click(); }
    void cmdAvanz_click() override;
    void mnuAvanti_Click() { cmdAvanz_click(); }
    void cmdIndietro_Click() override;
    void mnuIndietro_Click() { cmdIndietro_Click(); }
    void Timer1_Timer() override;
    void Timer4_Timer();
    // Hands the keyboard back to the transcript after a transport command.
    void returnFocus();

    // Opening and closing media.
    void OpenMedia(const QString& path);
    void vai(const QString& path);
    void mnuApri_Click() { OpenMedia(QString()); }
    void mnuChiudi_Click();
    void mnuRecent_Click(int index);
    void GotADrop(const QString& name);
    void MostraPath();

    // Smart play.
    void mnuSmartPlay_Click();
    void Timer5_Timer();

    // The value-entry dialog's commands.
    void mnuSalto_Click();
    void mnuSecIndietro_Click();
    void mnuTempoPlay_Click();
    void mnuTempoPause_Click();
    void mnuVai_Click();
    // Asks for a new bookmark's description; `add` returns false to keep the dialog open.
    void askBookmarkDescription(const std::function<bool(const QString&)>& add);
    // The dialog opened by the last of these commands, while it is open.
    Form4* valueDialog() const;

    // Speed, title line and view options.
    void mnuDiminuisciVelocità_Click();
    void mnuAumentaVelocità_Click();
    void Timer3_Timer();
    void mnuTitoloCompleto_Click();
    void mnuPrimoPiano_Click();
    void mnuMostraNascondi_Click();

    // The volume slider and the position click; positions in twips, relative to the control.
    void LayoutVolumeSlider();
    void ApplyVolume();
    void Image1_MouseDown(Qt::MouseButton button);
    void Image1_MouseMove(Qt::MouseButtons buttons, double y);
    void Image1_MouseUp(Qt::MouseButton button);
    void Image2_MouseDown();
    void Image2_MouseMove();
    void Image2_MouseUp(Qt::MouseButton button, double y);
    void Timer2_Timer();
    void Label2_MouseUp(double x);
    double knobTop() const { return m_knobTop; }
    void setKnobTop(double twips);
    QString knobTag() const { return m_knobTag; }
    void setKnobTag(const QString& tag) { m_knobTag = tag; }
    int fadeLevel() const { return FadeLevel; }

    // Pointer moves for the button skin.
    void buttonPointerMoved(SkinButton* button);
    void Image3_MouseMove();
    void Form_MouseMove();
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
    QMenu* mnuFile = nullptr;
    QAction* mnuApri = nullptr;
    QAction* mnuChiudi = nullptr;
    QAction* mnuRiga = nullptr;
    std::array<QAction*, 4> mnuRecent{};
    QAction* mnuEsci = nullptr;

    QMenu* mnuRiproduzione = nullptr;
    QAction* mnuPlay = nullptr;
    QAction* mnuStop = nullptr;
    QAction* mnuIndietro = nullptr;
    QAction* mnuAvanti = nullptr;
    QAction* mnuVai = nullptr;
    QAction* mnuDiminuisciVelocità = nullptr;
    QAction* mnuAumentaVelocità = nullptr;
    QAction* mnuAddBM = nullptr;
    QAction* mnuBMsuccessivo = nullptr;
    QAction* mnuBMprecedente = nullptr;
    QAction* mnuRegistra = nullptr;

    QMenu* mnuOpzioni = nullptr;
    QAction* mnuSalto = nullptr;
    QAction* mnuSecIndietro = nullptr;
    QAction* mnuSmartPlay = nullptr;
    QAction* mnuTempoPlay = nullptr;
    QAction* mnuTempoPause = nullptr;
    QAction* mnuLingua = nullptr;
    QAction* mnuAggLingua = nullptr;
    QAction* mnuImpostaAudio = nullptr;

    QMenu* mnuVisualizza = nullptr;
    QAction* mnuTitoloCompleto = nullptr;
    QAction* mnuPrimoPiano = nullptr;
    QAction* mnuMostraNascondi = nullptr;
    QAction* mnuBookMark = nullptr;

    QMenu* mnuDonazioni = nullptr;
    QAction* mnuFaiDonazione = nullptr;

    QMenu* mnuHelp = nullptr;
    QAction* mnuGuida = nullptr;
    QAction* mnuVersioni = nullptr;
    QAction* mnuAggiornamenti = nullptr;
    QAction* mnuInfo = nullptr;

    // Controls of the player's face.
    SkinButton* Image3 = nullptr; // open
    SkinButton* cmdIndietro = nullptr;
    SkinButton* cmdPlay = nullptr;
    SkinButton* cmdStop = nullptr;
    SkinButton* cmdAvanz = nullptr;
    SkinButton* cmdRec = nullptr;
    QLabel* Shape3 = nullptr;       // display panel picture
    CaptionLabel* Label4 = nullptr; // title line
    QLabel* Shape1 = nullptr;       // progress bar
    PointerLabel* Label2 = nullptr; // position text
    PointerLabel* Image1 = nullptr; // volume knob
    PointerLabel* Image2 = nullptr; // volume track
    QLabel* Label5 = nullptr;       // volume percentage
    QLabel* Label7 = nullptr;       // speed

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
    void connectCheckCommand(QAction* action, void (Form1::*command)());
    void Form_Resize();
    void applyStoredSettings();
    void resetPositionDisplay();
    void placeEditor();
    void setAlwaysOnTop(bool onTop);
    QString imagePath(const QString& name) const;
    void showPlayImage(SkinButton* button, const QString& name);
    bool hasMedia() const;
    void setPlayTag(int entry);
    bool playTagIs(int entry) const;
    void showRecentMedia();
    void loadRecentMedia();
    void setBusyPointer(bool busy);
    Form4* newValueDialog(ValueEntry::Mode mode);
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
    QPointer<Form4> m_valueDialog;
    QPoint m_openButtonHome;
    bool m_justOpened = false;
    // The current file could not be played: the title line says so until another opens.
    bool m_mediaFailed = false;
    bool m_busyPointer = false;
    bool m_closing = false;
    bool m_closed = false;
};
