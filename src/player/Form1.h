#pragma once

#include "app/SettingsFile.h"
#include "platform/Platform.h"

#include <QMainWindow>
#include <array>

class BookmarkCommands;
class EditorCommands;
class QAction;
class QLabel;
class QMenu;
class SkinButton;
struct AppState;

// The player window: it lives for the whole run, owns the media engine's use, and its closing
// ends the program.
class Form1 : public QMainWindow {
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
    QLabel* Label4 = nullptr; // title line
    QLabel* Shape1 = nullptr; // progress bar
    QLabel* Label2 = nullptr; // position text
    QLabel* Label5 = nullptr; // volume percentage
    QLabel* Label7 = nullptr; // speed

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
    void Form_Resize();
    void applyStoredSettings();
    void resetPositionDisplay();
    void placeEditor();
    void setAlwaysOnTop(bool onTop);
    QString imagePath(const QString& name) const;
    // The two companion windows, or nullptr while they do not exist.
    QWidget* editorWindow() const;
    QWidget* bookmarkWindow() const;

    AppState& m_state;
    Platform m_platform;
    EditorCommands* m_editor = nullptr;
    BookmarkCommands* m_bookmarks = nullptr;
    // The values read at start, kept for what no live control holds yet.
    StoredSettings m_stored;
    bool m_closing = false;
    bool m_closed = false;
};
