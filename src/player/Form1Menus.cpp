#include "app/AppState.h"
#include "bookmarks/BookmarkCommands.h"
#include "player/Form1.h"
#include "player/SkinButton.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

namespace {

QAction* entry(QMenu* menu, const QString& caption, const QKeySequence& key = {})
{
    QAction* action = menu->addAction(caption);
    if (!key.isEmpty()) {
        action->setShortcut(key);
        // Keys of the player's commands must reach it only from this window; the editor passes
        // its own keys on.
        action->setShortcutContext(Qt::WindowShortcut);
    }
    return action;
}

// Tooltips show no accelerator marks.
QString padded(const QString& text)
{
    return QStringLiteral(" ") + StripAmpersands(text) + QStringLiteral(" ");
}

} // namespace

void Form1::setupMenus()
{
    QMenuBar* bar = menuBar();

    mnuFile = bar->addMenu(QStringLiteral("&File"));
    mnuApri = entry(mnuFile, QStringLiteral("&Apri file..."), QKeySequence(Qt::CTRL | Qt::Key_O));
    mnuChiudi = entry(mnuFile, QStringLiteral("&Chiudi file multimediale"),
                      QKeySequence(Qt::CTRL | Qt::Key_F4));
    mnuRiga = mnuFile->addSeparator();
    mnuRiga->setVisible(false);
    for (int i = 0; i < 4; ++i) {
        mnuRecent[i] = mnuFile->addAction(QStringLiteral("mnuRecent%1").arg(i + 1));
        mnuRecent[i]->setVisible(false);
    }
    mnuFile->addSeparator();
    mnuEsci = entry(mnuFile, QStringLiteral("&Esci"), QKeySequence(Qt::CTRL | Qt::Key_Q));

    mnuRiproduzione = bar->addMenu(QStringLiteral("&Riproduzione"));
    mnuPlay = entry(mnuRiproduzione, QStringLiteral("&Play"), QKeySequence(Qt::Key_F5));
    mnuStop = entry(mnuRiproduzione, QStringLiteral("&Stop"));
    mnuIndietro = entry(mnuRiproduzione, QStringLiteral("&Indietro"), QKeySequence(Qt::Key_F6));
    mnuAvanti = entry(mnuRiproduzione, QStringLiteral("&Avanti"), QKeySequence(Qt::Key_F7));
    mnuVai = entry(mnuRiproduzione, QStringLiteral("Vai a..."));
    mnuRiproduzione->addSeparator();
    mnuDiminuisciVelocità =
        entry(mnuRiproduzione, QStringLiteral("Diminuisci velocità riproduzione"),
              QKeySequence(Qt::CTRL | Qt::Key_F6));
    mnuAumentaVelocità = entry(mnuRiproduzione, QStringLiteral("Aumenta velocità riproduzione"),
                               QKeySequence(Qt::CTRL | Qt::Key_F7));
    mnuRiproduzione->addSeparator();
    mnuAddBM = entry(mnuRiproduzione, QStringLiteral("Aggiungi BookMark"),
                     QKeySequence(Qt::CTRL | Qt::Key_M));
    mnuBMsuccessivo = entry(mnuRiproduzione, QStringLiteral("Vai al BookMark successivo"));
    mnuBMprecedente = entry(mnuRiproduzione, QStringLiteral("Vai al BookMark precedente"));
    mnuRiproduzione->addSeparator();
    mnuRegistra = entry(mnuRiproduzione, QStringLiteral("Registra..."));

    mnuOpzioni = bar->addMenu(QStringLiteral("&Opzioni"));
    mnuSalto = entry(mnuOpzioni, QStringLiteral("&Salto avanti / indietro secondi..."));
    mnuSecIndietro = entry(mnuOpzioni, QStringLiteral("Secondi indietro su &pausa..."));
    mnuOpzioni->addSeparator();
    mnuSmartPlay = entry(mnuOpzioni, QStringLiteral("Play intelligente"));
    mnuSmartPlay->setCheckable(true);
    mnuTempoPlay = entry(mnuOpzioni, QStringLiteral("Tempo di riproduzione prima della pausa..."));
    mnuTempoPause = entry(mnuOpzioni, QStringLiteral("Tempo di pausa prima della riproduzione..."));
    mnuOpzioni->addSeparator();
    mnuLingua = entry(mnuOpzioni, QStringLiteral("&Lingua..."), QKeySequence(Qt::CTRL | Qt::Key_W));
    mnuAggLingua = entry(mnuOpzioni, QStringLiteral("Aggiungi Lingua..."));
    mnuOpzioni->addSeparator();
    mnuImpostaAudio =
        entry(mnuOpzioni, QStringLiteral("&Imposta audio..."), QKeySequence(Qt::Key_F9));

    mnuVisualizza = bar->addMenu(QStringLiteral("&Visualizza"));
    mnuTitoloCompleto =
        entry(mnuVisualizza, QStringLiteral("Mostra percorso file"), QKeySequence(Qt::Key_F11));
    mnuTitoloCompleto->setCheckable(true);
    mnuPrimoPiano = entry(mnuVisualizza, QStringLiteral("Player sempre in primo piano"));
    mnuPrimoPiano->setCheckable(true);
    mnuVisualizza->addSeparator();
    mnuMostraNascondi = entry(mnuVisualizza, QStringLiteral("Mostra l'editor di testo"));
    mnuBookMark =
        entry(mnuVisualizza, QStringLiteral("Mostra &BookMark"), QKeySequence(Qt::Key_F8));

    mnuDonazioni = bar->addMenu(QStringLiteral("&Donazioni"));
    mnuFaiDonazione = entry(mnuDonazioni, QStringLiteral("&Fai una donazione"));

    mnuHelp = bar->addMenu(QStringLiteral("&?"));
    mnuGuida = entry(mnuHelp, QStringLiteral("&Guida..."), QKeySequence(Qt::Key_F1));
    mnuVersioni = entry(mnuHelp, QStringLiteral("Versioni"));
    mnuAggiornamenti = entry(mnuHelp, QStringLiteral("&Controlla aggiornamenti..."));
    mnuHelp->addSeparator();
    mnuInfo = entry(mnuHelp, QStringLiteral("&Informazioni sul programma..."),
                    QKeySequence(Qt::CTRL | Qt::Key_F1));

    // The closed state: nothing to play yet.
    for (QAction* a :
         {mnuChiudi, mnuPlay, mnuStop, mnuIndietro, mnuAvanti, mnuVai, mnuDiminuisciVelocità,
          mnuAumentaVelocità, mnuAddBM, mnuBMsuccessivo, mnuBMprecedente, mnuBookMark})
        a->setEnabled(false);

    connect(mnuApri, &QAction::triggered, this, &Form1::mnuApri_Click);
    connect(mnuChiudi, &QAction::triggered, this, &Form1::mnuChiudi_Click);
    for (int i = 0; i < 4; ++i)
        connect(mnuRecent[i], &QAction::triggered, this, [this, i] { mnuRecent_Click(i); });
    connect(mnuEsci, &QAction::triggered, this, &Form1::mnuEsci_Click);
    connect(mnuPlay, &QAction::triggered, this, &Form1::mnuPlay_Click);
    connect(mnuStop, &QAction::triggered, this, &Form1::mnuStop_Click);
    connect(mnuIndietro, &QAction::triggered, this, &Form1::mnuIndietro_Click);
    connect(mnuAvanti, &QAction::triggered, this, &Form1::mnuAvanti_Click);
    connect(mnuVai, &QAction::triggered, this, &Form1::mnuVai_Click);
    connect(mnuSalto, &QAction::triggered, this, &Form1::mnuSalto_Click);
    connect(mnuSecIndietro, &QAction::triggered, this, &Form1::mnuSecIndietro_Click);
    connectCheckCommand(mnuSmartPlay, &Form1::mnuSmartPlay_Click);
    connect(mnuTempoPlay, &QAction::triggered, this, &Form1::mnuTempoPlay_Click);
    connect(mnuTempoPause, &QAction::triggered, this, &Form1::mnuTempoPause_Click);
    connect(mnuDiminuisciVelocità, &QAction::triggered, this, &Form1::mnuDiminuisciVelocità_Click);
    connect(mnuAumentaVelocità, &QAction::triggered, this, &Form1::mnuAumentaVelocità_Click);
    connectCheckCommand(mnuTitoloCompleto, &Form1::mnuTitoloCompleto_Click);
    connectCheckCommand(mnuPrimoPiano, &Form1::mnuPrimoPiano_Click);
    connect(mnuMostraNascondi, &QAction::triggered, this, &Form1::mnuMostraNascondi_Click);
    const auto bookmarkCommand = [this](QAction* action, void (BookmarkCommands::*command)()) {
        connect(action, &QAction::triggered, this, [this, command] {
            if (m_bookmarks)
                (m_bookmarks->*command)();
        });
    };
    bookmarkCommand(mnuAddBM, &BookmarkCommands::mnuAddBM_Click);
    bookmarkCommand(mnuBMsuccessivo, &BookmarkCommands::mnuBMsuccessivo_Click);
    bookmarkCommand(mnuBMprecedente, &BookmarkCommands::mnuBMprecedente_Click);
    bookmarkCommand(mnuBookMark, &BookmarkCommands::mnuBookMark_Click);
    connect(Image3, &SkinButton::clicked, this, [this] {
        mnuApri_Click();
        showPlayImage(Image3, QStringLiteral("Apri.bmp"));
    });
    connect(cmdPlay, &SkinButton::clicked, this, &Form1::cmdPlay_Click);
    connect(cmdStop, &SkinButton::clicked, this, &Form1::cmdStop_Click);
    connect(cmdAvanz, &SkinButton::clicked, this, &Form1::cmdAvanz_click);
    connect(cmdIndietro, &SkinButton::clicked, this, &Form1::cmdIndietro_Click);
}

void Form1::connectCheckCommand(QAction* action, void (Form1::*command)())
{
    // The command sets the check mark itself, as it does when called from elsewhere.
    connect(action, &QAction::triggered, this, [this, action, command] {
        action->setChecked(!action->isChecked());
        (this->*command)();
    });
}

void Form1::ApplicaLingua()
{
    const InterfaceTexts& t = m_state.texts;
    mnuFile->setTitle(t.text(2));
    mnuApri->setText(t.text(3));
    Image3->setToolTip(padded(t.text(3)));
    mnuChiudi->setText(t.text(4));
    mnuEsci->setText(t.text(5));
    mnuRiproduzione->setTitle(t.text(6));
    mnuPlay->setText(t.text(7));
    cmdPlay->setTag(t.text(7));
    cmdPlay->setToolTip(padded(t.text(78)));
    cmdStop->setToolTip(padded(t.text(79)));
    mnuStop->setText(t.text(9));
    mnuAvanti->setText(t.text(10));
    cmdAvanz->setTag(t.text(10) + QStringLiteral(" ->"));
    cmdAvanz->setToolTip(padded(t.text(77)));
    mnuIndietro->setText(t.text(11));
    cmdIndietro->setTag(QStringLiteral("<- ") + t.text(11));
    cmdIndietro->setToolTip(padded(t.text(76)));
    mnuVai->setText(t.text(12));
    mnuRegistra->setText(t.text(104) + QStringLiteral("..."));
    mnuOpzioni->setTitle(t.text(13));
    mnuSalto->setText(t.text(14));
    mnuSecIndietro->setText(t.text(30));
    mnuPrimoPiano->setText(t.text(103));
    mnuLingua->setText(QStringLiteral("&") + t.text(15));
    mnuDonazioni->setTitle(t.text(74));
    mnuFaiDonazione->setText(t.text(17));
    mnuGuida->setText(t.text(16));
    mnuVersioni->setText(t.text(102));
    mnuAggiornamenti->setText(t.text(18));
    mnuInfo->setText(t.text(19));
    mnuTitoloCompleto->setText(t.text(80));
    mnuImpostaAudio->setText(t.text(81));
    const bool editorShown = editorWindow() && editorWindow()->isVisible();
    mnuMostraNascondi->setText(t.text(editorShown ? 116 : 86));
    mnuVisualizza->setTitle(t.text(87));
    const bool bookmarksShown = bookmarkWindow() && bookmarkWindow()->isVisible();
    mnuBookMark->setText(t.text(bookmarksShown ? 85 : 84));
    mnuAddBM->setText(t.text(93));
    mnuBMsuccessivo->setText(t.text(94));
    mnuBMprecedente->setText(t.text(95));
    mnuAggLingua->setText(t.text(101));
    mnuSmartPlay->setText(t.text(124));
    mnuTempoPlay->setText(t.text(125) + QStringLiteral("..."));
    mnuTempoPause->setText(t.text(126) + QStringLiteral("..."));
    mnuDiminuisciVelocità->setText(t.text(129));
    mnuAumentaVelocità->setText(t.text(130));
    fitMenuBar();
}
