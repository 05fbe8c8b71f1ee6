#include "core/AppState.h"
#include "core/BookmarkCommands.h"
#include "core/EditorCommands.h"
#include "core/MenuEntries.h"
#include "core/RecentMenu.h"
#include "core/RecorderCommands.h"
#include "pedal/FootPedals.h"
#include "player/PlayerWindow.h"
#include "player/SkinButton.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <algorithm>

namespace {

// Tooltips show no accelerator marks.
QString padded(const QString& text)
{
    return QStringLiteral(" ") + StripAmpersands(text) + QStringLiteral(" ");
}

} // namespace

void PlayerWindow::setupMenus()
{
    QMenuBar* bar = menuBar();

    m_fileMenu = addNamedMenu(bar, "fileMenu", "&File");
    m_openAction = addNamedEntry(m_fileMenu, "openAction", "&Apri file...", Qt::CTRL | Qt::Key_O);
    m_closeAction = addNamedEntry(m_fileMenu, "closeAction", "&Chiudi file multimediale",
                                  Qt::CTRL | Qt::Key_F4);
    m_fileMenu->setToolTipsVisible(true);
    m_recentSeparator = m_fileMenu->addSeparator();
    m_recentSeparator->setObjectName(QStringLiteral("recentSeparator"));
    m_recentSeparator->setVisible(false);
    m_recentActions = addRecentEntries(m_fileMenu);
    m_fileMenu->addSeparator();
    m_exitAction = addNamedEntry(m_fileMenu, "exitAction", "&Esci", Qt::CTRL | Qt::Key_Q);

    m_playbackMenu = addNamedMenu(bar, "playbackMenu", "&Riproduzione");
    m_playAction = addNamedEntry(m_playbackMenu, "playAction", "&Play", Qt::Key_F5);
    m_stopAction = addNamedEntry(m_playbackMenu, "stopAction", "&Stop");
    m_skipBackAction = addNamedEntry(m_playbackMenu, "skipBackAction", "&Indietro", Qt::Key_F6);
    m_skipForwardAction = addNamedEntry(m_playbackMenu, "skipForwardAction", "&Avanti", Qt::Key_F7);
    m_goToAction = addNamedEntry(m_playbackMenu, "goToAction", "Vai a...");
    m_playbackMenu->addSeparator();
    m_slowDownAction = addNamedEntry(m_playbackMenu, "slowDownAction",
                                     "Diminuisci velocità riproduzione", Qt::CTRL | Qt::Key_F6);
    m_speedUpAction = addNamedEntry(m_playbackMenu, "speedUpAction",
                                    "Aumenta velocità riproduzione", Qt::CTRL | Qt::Key_F7);
    m_playbackMenu->addSeparator();
    m_addBookmarkAction = addNamedEntry(m_playbackMenu, "addBookmarkAction", "Aggiungi BookMark",
                                        Qt::CTRL | Qt::Key_M);
    m_nextBookmarkAction =
        addNamedEntry(m_playbackMenu, "nextBookmarkAction", "Vai al BookMark successivo");
    m_previousBookmarkAction =
        addNamedEntry(m_playbackMenu, "previousBookmarkAction", "Vai al BookMark precedente");
    m_playbackMenu->addSeparator();
    m_recordAction = addNamedEntry(m_playbackMenu, "recordAction", "Registra...");

    m_optionsMenu = addNamedMenu(bar, "optionsMenu", "&Opzioni");
    m_skipSecondsAction =
        addNamedEntry(m_optionsMenu, "skipSecondsAction", "&Salto avanti / indietro secondi...");
    m_backSecondsAction =
        addNamedEntry(m_optionsMenu, "backSecondsAction", "Secondi indietro su &pausa...");
    m_optionsMenu->addSeparator();
    m_smartPlayAction = addNamedEntry(m_optionsMenu, "smartPlayAction", "Play intelligente");
    m_smartPlayAction->setCheckable(true);
    m_playTimeAction = addNamedEntry(m_optionsMenu, "playTimeAction",
                                     "Tempo di riproduzione prima della pausa...");
    m_pauseTimeAction = addNamedEntry(m_optionsMenu, "pauseTimeAction",
                                      "Tempo di pausa prima della riproduzione...");
    m_optionsMenu->addSeparator();
    m_languageAction =
        addNamedEntry(m_optionsMenu, "languageAction", "&Lingua...", Qt::CTRL | Qt::Key_W);
    m_addLanguageAction = addNamedEntry(m_optionsMenu, "addLanguageAction", "Aggiungi Lingua...");
    m_optionsMenu->addSeparator();
    m_audioSettingsAction =
        addNamedEntry(m_optionsMenu, "audioSettingsAction", "&Imposta audio...", Qt::Key_F9);
    m_pedalsAction = addNamedEntry(m_optionsMenu, "pedalsAction", "P&edaliera...");

    m_viewMenu = addNamedMenu(bar, "viewMenu", "&Visualizza");
    m_fullPathAction =
        addNamedEntry(m_viewMenu, "fullPathAction", "Mostra percorso file", Qt::Key_F11);
    m_fullPathAction->setCheckable(true);
    m_alwaysOnTopAction =
        addNamedEntry(m_viewMenu, "alwaysOnTopAction", "Player sempre in primo piano");
    m_alwaysOnTopAction->setCheckable(true);
    m_viewMenu->addSeparator();
    m_editorAction = addNamedEntry(m_viewMenu, "editorAction", "Mostra l'editor di testo");
    m_bookmarkWindowAction =
        addNamedEntry(m_viewMenu, "bookmarkWindowAction", "Mostra &BookMark", Qt::Key_F8);

    m_donationsMenu = addNamedMenu(bar, "donationsMenu", "&Donazioni");
    m_donateAction = addNamedEntry(m_donationsMenu, "donateAction", "&Fai una donazione");

    m_helpMenu = addNamedMenu(bar, "helpMenu", "&?");
    m_helpAction = addNamedEntry(m_helpMenu, "helpAction", "&Guida...", Qt::Key_F1);
    m_versionsAction = addNamedEntry(m_helpMenu, "versionsAction", "Versioni");
    m_updatesAction = addNamedEntry(m_helpMenu, "updatesAction", "&Controlla aggiornamenti...");
    m_helpMenu->addSeparator();
    m_aboutAction = addNamedEntry(m_helpMenu, "aboutAction", "&Informazioni sul programma...",
                                  Qt::CTRL | Qt::Key_F1);

    // The closed state: nothing to play yet.
    setMediaControlsEnabled(false);

    connect(m_openAction, &QAction::triggered, this, [this] { openMedia(); });
    connect(m_closeAction, &QAction::triggered, this, &PlayerWindow::closeMedia);
    for (int i = 0; i < RecentList::kSize; ++i)
        connect(m_recentActions[i], &QAction::triggered, this, [this, i] { openRecentMedia(i); });
    connect(m_exitAction, &QAction::triggered, this, &PlayerWindow::exitProgram);
    connect(m_playAction, &QAction::triggered, this, &PlayerWindow::togglePlayPause);
    connect(m_stopAction, &QAction::triggered, this, &PlayerWindow::stop);
    connect(m_skipBackAction, &QAction::triggered, this, &PlayerWindow::skipBack);
    connect(m_skipForwardAction, &QAction::triggered, this, &PlayerWindow::skipForward);
    connect(m_goToAction, &QAction::triggered, this, &PlayerWindow::goToTime);
    connect(m_skipSecondsAction, &QAction::triggered, this, &PlayerWindow::editSkipSeconds);
    connect(m_backSecondsAction, &QAction::triggered, this, &PlayerWindow::editBackSeconds);
    connectCheckCommand(m_smartPlayAction, &PlayerWindow::toggleSmartPlay);
    // The check mark is the option: however it changes, the cycle follows it.
    connect(m_smartPlayAction, &QAction::toggled, m_playback, &PlaybackController::setSmartPlay);
    connect(m_playTimeAction, &QAction::triggered, this, &PlayerWindow::editPlayTime);
    connect(m_pauseTimeAction, &QAction::triggered, this, &PlayerWindow::editPauseTime);
    connect(m_slowDownAction, &QAction::triggered, this, &PlayerWindow::slowDown);
    connect(m_speedUpAction, &QAction::triggered, this, &PlayerWindow::speedUp);
    connectCheckCommand(m_fullPathAction, &PlayerWindow::toggleFullPath);
    connectCheckCommand(m_alwaysOnTopAction, &PlayerWindow::toggleAlwaysOnTop);
    connect(m_editorAction, &QAction::triggered, this, &PlayerWindow::toggleEditor);
    const auto bookmarkCommand = [this](QAction* action, void (BookmarkCommands::*command)()) {
        connect(action, &QAction::triggered, this, [this, command] {
            if (m_bookmarks)
                (m_bookmarks->*command)();
        });
    };
    bookmarkCommand(m_addBookmarkAction, &BookmarkCommands::addBookmark);
    bookmarkCommand(m_nextBookmarkAction, &BookmarkCommands::nextBookmark);
    bookmarkCommand(m_previousBookmarkAction, &BookmarkCommands::previousBookmark);
    bookmarkCommand(m_bookmarkWindowAction, &BookmarkCommands::toggleBookmarkWindow);
    connect(m_openButton, &SkinButton::clicked, this, [this] {
        openMedia();
        showImage(m_openButton, QStringLiteral("Apri.bmp"));
    });
    connect(m_playButton, &SkinButton::clicked, this, &PlayerWindow::togglePlayPause);
    connect(m_stopButton, &SkinButton::clicked, this, &PlayerWindow::stop);
    connect(m_forwardButton, &SkinButton::clicked, this, &PlayerWindow::skipForward);
    connect(m_backButton, &SkinButton::clicked, this, &PlayerWindow::skipBack);
    connect(m_recordAction, &QAction::triggered, this, &PlayerWindow::openRecorder);
    connect(m_pedalsAction, &QAction::triggered, this, [this] {
        if (m_pedals)
            m_pedals->showOptions(this);
    });
    connect(m_recordButton, &SkinButton::clicked, this, &PlayerWindow::openRecorder);
    connectHelpCommands();
}

void PlayerWindow::openRecorder()
{
    if (m_playback->isPlaying())
        stop();
    // The window opening over the button takes the pointer away without a move off it.
    const auto buttons = skinButtons();
    const auto record = std::find(buttons.begin(), buttons.end(), m_recordButton);
    if (bool& hovered = m_hover[size_t(record - buttons.begin())]) {
        hovered = false;
        showNormalImage(m_recordButton);
    }
    if (m_recorder)
        m_recorder->showRecorder();
}

void PlayerWindow::connectCheckCommand(QAction* action, void (PlayerWindow::*command)())
{
    // The command sets the check mark itself, as it does when called from elsewhere.
    connect(action, &QAction::triggered, this, [this, action, command] {
        action->setChecked(!action->isChecked());
        (this->*command)();
    });
}

void PlayerWindow::applyTexts()
{
    const InterfaceTexts& t = m_state.texts;
    m_fileMenu->setTitle(t.text(Text::FileMenu));
    m_openAction->setText(t.text(Text::OpenFile));
    m_openButton->setToolTip(padded(t.text(Text::OpenFile)));
    m_closeAction->setText(t.text(Text::CloseMedia));
    m_exitAction->setText(t.text(Text::Exit));
    m_playbackMenu->setTitle(t.text(Text::PlaybackMenu));
    m_playAction->setText(t.text(m_playback->isPlaying() ? Text::Pause : Text::Play));
    m_playButton->setToolTip(padded(t.text(Text::PlayPauseTip)));
    m_stopButton->setToolTip(padded(t.text(Text::StopTip)));
    m_stopAction->setText(t.text(Text::Stop));
    m_skipForwardAction->setText(t.text(Text::SkipForward));
    m_forwardButton->setToolTip(padded(t.text(Text::SkipForwardTip)));
    m_skipBackAction->setText(t.text(Text::SkipBack));
    m_backButton->setToolTip(padded(t.text(Text::SkipBackTip)));
    m_goToAction->setText(t.text(Text::GoTo));
    m_recordAction->setText(t.text(Text::Record) + QStringLiteral("..."));
    m_optionsMenu->setTitle(t.text(Text::OptionsMenu));
    m_skipSecondsAction->setText(t.text(Text::SkipLength));
    m_backSecondsAction->setText(t.text(Text::SecondsBackOnPause));
    m_alwaysOnTopAction->setText(t.text(Text::AlwaysOnTop));
    m_languageAction->setText(QStringLiteral("&") + t.text(Text::Language));
    m_donationsMenu->setTitle(t.text(Text::DonationsMenu));
    m_donateAction->setText(t.text(Text::MakeDonation));
    m_helpAction->setText(t.text(Text::Help));
    m_versionsAction->setText(t.text(Text::VersionHistory));
    m_updatesAction->setText(t.text(Text::CheckForUpdates));
    m_aboutAction->setText(t.text(Text::About));
    m_fullPathAction->setText(t.text(Text::ShowFullPath));
    m_audioSettingsAction->setText(t.text(Text::AudioSettings));
    m_pedalsAction->setText(t.text(Text::PedalOptionsEntry));
    m_editorAction->setText(t.text(m_editorShown ? Text::HideEditor : Text::ShowEditor));
    m_viewMenu->setTitle(t.text(Text::ViewMenu));
    m_bookmarkWindowAction->setText(
        t.text(m_bookmarkWindowShown ? Text::HideBookmarks : Text::ShowBookmarks));
    m_addBookmarkAction->setText(t.text(Text::AddBookmark));
    m_nextBookmarkAction->setText(t.text(Text::NextBookmark));
    m_previousBookmarkAction->setText(t.text(Text::PreviousBookmark));
    m_addLanguageAction->setText(t.text(Text::AddLanguage));
    m_smartPlayAction->setText(t.text(Text::SmartPlay));
    m_playTimeAction->setText(t.text(Text::PlayTime) + QStringLiteral("..."));
    m_pauseTimeAction->setText(t.text(Text::PauseTime) + QStringLiteral("..."));
    m_slowDownAction->setText(t.text(Text::SlowDown));
    m_speedUpAction->setText(t.text(Text::SpeedUp));
    // Sized first: the bookmark window is placed beside the player as wide as it is now.
    fitMenuBar();
    if (m_bookmarks)
        m_bookmarks->applyTexts();
    if (m_recorder)
        m_recorder->applyTexts();
    if (m_editor)
        m_editor->applyTexts();
    Q_EMIT textsApplied();
}

void PlayerWindow::runCommand(PlayerCommand command)
{
    // The transport runs as its buttons do; the rest as their menu entries, disabled or not.
    switch (command) {
    case PlayerCommand::PlayPause:
        togglePlayPause();
        return;
    case PlayerCommand::SkipBack:
        skipBack();
        return;
    case PlayerCommand::SkipForward:
        skipForward();
        return;
    default:
        break;
    }
    QAction* action = nullptr;
    switch (command) {
    case PlayerCommand::SlowDown:
        action = m_slowDownAction;
        break;
    case PlayerCommand::SpeedUp:
        action = m_speedUpAction;
        break;
    case PlayerCommand::OpenMedia:
        action = m_openAction;
        break;
    case PlayerCommand::CloseMedia:
        action = m_closeAction;
        break;
    case PlayerCommand::AddBookmark:
        action = m_addBookmarkAction;
        break;
    case PlayerCommand::BookmarkWindow:
        action = m_bookmarkWindowAction;
        break;
    case PlayerCommand::FullPath:
        action = m_fullPathAction;
        break;
    case PlayerCommand::ShowHideEditor:
        action = m_editorAction;
        break;
    case PlayerCommand::ChooseLanguage:
        action = m_languageAction;
        break;
    case PlayerCommand::AudioSettings:
        action = m_audioSettingsAction;
        break;
    case PlayerCommand::Help:
        action = m_helpAction;
        break;
    case PlayerCommand::About:
        action = m_aboutAction;
        break;
    case PlayerCommand::Exit:
        action = m_exitAction;
        break;
    case PlayerCommand::PlayPause:
    case PlayerCommand::SkipBack:
    case PlayerCommand::SkipForward:
        break;
    }
    if (action)
        action->trigger();
}
