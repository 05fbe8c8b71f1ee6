#pragma once

#include "app/RecentList.h"
#include "player/ValueEntry.h"
#include "app/SettingsFile.h"
#include "platform/Platform.h"
#include "player/PlayerCommands.h"

#include <QMainWindow>
#include <QPointer>
#include <QTimer>
#include <array>

class BookmarkCommands;
class CaptionLabel;
class EditorCommands;
class Form4;
class QAction;
class QLabel;
class QMenu;
class SkinButton;
struct AppState;

// The player window: it lives for the whole run, owns the media engine's use, and its closing
// ends the program.
class Form1 : public QMainWindow, public PlayerCommands {
    Q_OBJECT
public:
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
    // The dialog opened by the last of these commands, while it is open.
    Form4* valueDialog() const;

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
    QLabel* Shape3 = nullptr; // display panel picture
    CaptionLabel* Label4 = nullptr; // title line
    QLabel* Shape1 = nullptr; // progress bar
    QLabel* Label2 = nullptr; // position text
    QLabel* Label5 = nullptr; // volume percentage
    QLabel* Label7 = nullptr; // speed

    QTimer Timer1; // display refresh
    QTimer Timer4; // state watch
    QTimer Timer5; // smart play cycle

Q_SIGNALS:
    // The settings file was written (or the write failed).
    void settingsSaved(bool ok);
    // The closing sequence has finished: the program ends.
    void programEnded();

protected:
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void setupFace();
    void setupMenus();
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
    void openValueDialog(ValueEntry::Mode mode);
    void showMediaError(const QString& message);
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
    QPointer<Form4> m_valueDialog;
    QPoint m_openButtonHome;
    bool m_justOpened = false;
    // The current file could not be played: the title line says so until another opens.
    bool m_mediaFailed = false;
    bool m_busyPointer = false;
    bool m_closing = false;
    bool m_closed = false;
};
