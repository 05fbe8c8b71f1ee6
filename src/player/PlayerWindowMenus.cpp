#include "core/AppState.h"
#include "core/BookmarkCommands.h"
#include "core/EditorCommands.h"
#include "core/HelpCommands.h"
#include "core/Logging.h"
#include "core/PedalCommands.h"
#include "core/RecentFilesMenu.h"
#include "core/RecorderCommands.h"
#include "player/PlayerFace.h"
#include "player/PlayerWindow.h"
#include "player/SoundCleanUp.h"
#include "player/SoundOptionsDialog.h"

#include <QAction>
#include <QEvent>
#include <QMenu>
#include <QMenuBar>

const std::vector<CommandRow<PlayerWindow>>& PlayerWindow::commandTable()
{
    using Row = CommandRow<PlayerWindow>;
    using enum CommandFlag;
    constexpr auto needsMedia = CommandGroup::NeedsMedia;
    const auto help = [](void (HelpCommands::*command)()) {
        return [command](PlayerWindow& w) {
            if (w.m_peers.help)
                (w.m_peers.help->*command)();
        };
    };
    const auto bookmarks = [](void (BookmarkCommands::*command)()) {
        return [command](PlayerWindow& w) {
            if (w.m_peers.bookmarks)
                (w.m_peers.bookmarks->*command)();
        };
    };
    const auto valueCommand = [](ValueEntry::Mode mode) {
        return [mode](PlayerWindow& w) { w.m_values->open(mode); };
    };
    const auto sound = [](std::function<void(SoundFilters&)> edit) {
        return [edit](PlayerWindow& w) { w.m_cleanUp->change(edit); };
    };
    const auto channels = [sound](SoundChannels choice) {
        return sound([choice](SoundFilters& f) { f.channels = choice; });
    };
    // An option whose check mark is its state: what the mark's change sets up does the rest.
    const auto flipCheck = [](const char* name) {
        return [name](PlayerWindow& w) {
            QAction* option = w.m_commands.action(name);
            option->setChecked(!option->isChecked());
        };
    };
    const auto recentEntries = [](PlayerWindow& w, QMenu* menu) {
        w.m_session->recentMenu()->addEntries(menu, RecentFilesMenu::SeparatorPlace::Before);
    };

    static const std::vector<Row> rows = {
        Row::topMenu("fileMenu", Text::FileMenu),
        {.name = "openAction",
         .caption = Text::OpenFile,
         .key = Qt::CTRL | Qt::Key_O,
         .run = [](PlayerWindow& w) { w.m_session->open(); },
         .answers = PlayerCommand::OpenMedia},
        {.name = "closeAction",
         .caption = Text::CloseMedia,
         .key = Qt::CTRL | Qt::Key_F4,
         .run = [](PlayerWindow& w) { w.m_session->close(); },
         .answers = PlayerCommand::CloseMedia,
         .group = needsMedia},
        Row::entries(recentEntries),
        Row::separator(),
        {.name = "exitAction",
         .caption = Text::Exit,
         .key = Qt::CTRL | Qt::Key_Q,
         .run = &PlayerWindow::exitProgram,
         .answers = PlayerCommand::Exit},

        Row::topMenu("playbackMenu", Text::PlaybackMenu),
        {.name = "playAction",
         .caption = Text::Play,
         .otherCaption = Text::Pause,
         .showsOther = [](const PlayerWindow& w) { return w.m_playback->isPlaying(); },
         .key = Qt::Key_F5,
         .run = [](PlayerWindow& w) { w.m_playback->togglePlayPause(); },
         .answers = PlayerCommand::PlayPause,
         .group = needsMedia,
         .flags = Transport},
        {.name = "stopAction",
         .caption = Text::Stop,
         .run = [](PlayerWindow& w) { w.m_playback->stop(); },
         .group = needsMedia},
        {.name = "skipBackAction",
         .caption = Text::SkipBack,
         .key = Qt::Key_F6,
         .run = [](PlayerWindow& w) { w.m_playback->skipBack(); },
         .answers = PlayerCommand::SkipBack,
         .group = needsMedia,
         .flags = Transport},
        {.name = "skipForwardAction",
         .caption = Text::SkipForward,
         .key = Qt::Key_F7,
         .run = [](PlayerWindow& w) { w.m_playback->skipForward(); },
         .answers = PlayerCommand::SkipForward,
         .group = needsMedia,
         .flags = Transport},
        {.name = "goToStartAction",
         .caption = Text::GoToStart,
         .key = Qt::Key_Home,
         .run = [](PlayerWindow& w) { w.m_playback->seekTo(0); },
         .group = needsMedia},
        {.name = "goToAction",
         .caption = Text::GoTo,
         .run = valueCommand(ValueEntry::Mode::GoTo),
         .group = needsMedia},
        Row::separator(),
        {.name = "slowDownAction",
         .caption = Text::SlowDown,
         .key = Qt::CTRL | Qt::Key_F6,
         .run = [](PlayerWindow& w) { w.m_playback->stepRate(-0.1); },
         .answers = PlayerCommand::SlowDown,
         .group = needsMedia},
        {.name = "speedUpAction",
         .caption = Text::SpeedUp,
         .key = Qt::CTRL | Qt::Key_F7,
         .run = [](PlayerWindow& w) { w.m_playback->stepRate(+0.1); },
         .answers = PlayerCommand::SpeedUp,
         .group = needsMedia},
        Row::separator(),
        {.name = "loopAction",
         .caption = Text::LoopPlay,
         .key = Qt::CTRL | Qt::Key_L,
         .run = [](PlayerWindow& w) { w.m_loop->toggle(); },
         .answers = PlayerCommand::Loop,
         .group = needsMedia,
         .flags = Checkable},
        {.name = "loopStartAction",
         .caption = Text::LoopStart,
         .key = Qt::Key_F2,
         .run = [](PlayerWindow& w) { w.m_loop->markStart(); },
         .answers = PlayerCommand::LoopStart,
         .group = needsMedia},
        {.name = "loopEndAction",
         .caption = Text::LoopEnd,
         .key = Qt::Key_F4,
         .run = [](PlayerWindow& w) { w.m_loop->markEnd(); },
         .answers = PlayerCommand::LoopEnd,
         .group = needsMedia},
        Row::separator(),
        {.name = "addBookmarkAction",
         .caption = Text::AddBookmark,
         .key = Qt::CTRL | Qt::Key_M,
         .run = bookmarks(&BookmarkCommands::addBookmark),
         .answers = PlayerCommand::AddBookmark,
         .group = needsMedia},
        {.name = "nextBookmarkAction",
         .caption = Text::NextBookmark,
         .run = bookmarks(&BookmarkCommands::nextBookmark),
         .group = needsMedia},
        {.name = "previousBookmarkAction",
         .caption = Text::PreviousBookmark,
         .run = bookmarks(&BookmarkCommands::previousBookmark),
         .group = needsMedia},
        Row::separator(),
        {.name = "recordAction",
         .caption = Text::Record,
         .run = &PlayerWindow::openRecorder,
         .flags = Ellipsis},

        Row::topMenu("optionsMenu", Text::OptionsMenu),
        {.name = "skipSecondsAction",
         .caption = Text::SkipLength,
         .run = valueCommand(ValueEntry::Mode::JumpSeconds)},
        {.name = "backSecondsAction",
         .caption = Text::SecondsBackOnPause,
         .run = valueCommand(ValueEntry::Mode::SecondsBack)},
        Row::separator(),
        {.name = "growingStepBackAction",
         .caption = Text::GrowingStepBack,
         .run = flipCheck("growingStepBackAction"),
         .flags = Checkable},
        {.name = "loopSecondsAction",
         .caption = Text::LoopLength,
         .run = valueCommand(ValueEntry::Mode::LoopSeconds),
         .flags = Ellipsis},
        Row::separator(),
        {.name = "smartPlayAction",
         .caption = Text::SmartPlay,
         .run = &PlayerWindow::toggleSmartPlay,
         .flags = Checkable,
         .action = &PlayerWindow::m_smartPlayAction},
        {.name = "playTimeAction",
         .caption = Text::PlayTime,
         .run = valueCommand(ValueEntry::Mode::PlayTime),
         .flags = Ellipsis},
        {.name = "pauseTimeAction",
         .caption = Text::PauseTime,
         .run = valueCommand(ValueEntry::Mode::PauseTime),
         .flags = Ellipsis},
        {.name = "typeToPauseAction",
         .caption = Text::PauseWhileTyping,
         .run = flipCheck("typeToPauseAction"),
         .flags = Checkable},
        {.name = "resumeAction",
         .caption = Text::ResumeWhereLeft,
         .run = flipCheck("resumeAction"),
         .flags = Checkable},
        Row::separator(),
        {.name = "languageAction",
         .caption = Text::Language,
         .key = Qt::CTRL | Qt::Key_W,
         .run = &PlayerWindow::chooseLanguage,
         .answers = PlayerCommand::ChooseLanguage,
         .flags = Accelerated},
        {.name = "addLanguageAction",
         .caption = Text::AddLanguage,
         .run = help(&HelpCommands::showLanguagesPage)},
        Row::separator(),
        {.name = "audioSettingsAction",
         .caption = Text::AudioSettings,
         .key = Qt::Key_F9,
         .run = &PlayerWindow::openSoundSettings,
         .answers = PlayerCommand::AudioSettings},
        Row::submenu("soundCleanUpMenu", Text::SoundCleanUpMenu),
        {.name = "cleanUpAction",
         .caption = Text::CleanUpOn,
         .key = Qt::CTRL | Qt::Key_F9,
         .run = sound([](SoundFilters& f) { f.cleanUp = !f.cleanUp; }),
         .answers = PlayerCommand::CleanUp,
         .flags = Checkable},
        Row::separator(),
        {.name = "bothChannelsAction",
         .caption = Text::BothChannels,
         .run = channels(SoundChannels::Both),
         .answers = PlayerCommand::BothChannels,
         .flags = Exclusive},
        {.name = "leftChannelAction",
         .caption = Text::LeftChannelOnly,
         .run = channels(SoundChannels::LeftOnly),
         .answers = PlayerCommand::LeftChannel,
         .flags = Exclusive},
        {.name = "rightChannelAction",
         .caption = Text::RightChannelOnly,
         .run = channels(SoundChannels::RightOnly),
         .answers = PlayerCommand::RightChannel,
         .flags = Exclusive},
        {.name = "monoMixAction",
         .caption = Text::MonoMix,
         .run = channels(SoundChannels::MonoMix),
         .answers = PlayerCommand::MonoMix,
         .flags = Exclusive},
        Row::separator(),
        {.name = "boostUpAction",
         .caption = Text::BoostUp,
         .run = sound([](SoundFilters& f) { f.stepBoost(+1); }),
         .answers = PlayerCommand::BoostUp},
        {.name = "boostDownAction",
         .caption = Text::BoostDown,
         .run = sound([](SoundFilters& f) { f.stepBoost(-1); }),
         .answers = PlayerCommand::BoostDown},
        Row::separator(),
        {.name = "speechNormaliserAction",
         .caption = Text::SpeechNormaliser,
         .run = sound([](SoundFilters& f) { f.speechNormaliser = !f.speechNormaliser; }),
         .answers = PlayerCommand::SpeechNormaliser,
         .flags = Checkable},
        {.name = "noiseReductionAction",
         .caption = Text::NoiseReduction,
         .run = sound([](SoundFilters& f) { f.noiseReduction = !f.noiseReduction; }),
         .answers = PlayerCommand::NoiseReduction,
         .flags = Checkable},
        {.name = "highPassAction",
         .caption = Text::HighPassFilter,
         .run = sound([](SoundFilters& f) { f.highPass = !f.highPass; }),
         .answers = PlayerCommand::HighPass,
         .flags = Checkable},
        Row::separator(),
        {.name = "soundOptionsAction",
         .caption = Text::SoundOptions,
         .run =
             [](PlayerWindow& w) {
                 auto* dialog = new SoundOptionsDialog(w.m_state.texts, w.m_cleanUp->filters(), &w);
                 dialog->setAttribute(Qt::WA_DeleteOnClose);
                 connect(dialog, &SoundOptionsDialog::filtersChanged, w.m_cleanUp,
                         &SoundCleanUp::setFilters);
                 connect(w.m_cleanUp, &SoundCleanUp::changed, dialog,
                         [&w, dialog] { dialog->showFilters(w.m_cleanUp->filters()); });
                 dialog->open();
             },
         .flags = Ellipsis},
        Row::endSubmenu(),
        {.name = "pedalsAction",
         .caption = Text::PedalOptionsEntry,
         .run =
             [](PlayerWindow& w) {
                 if (w.m_peers.pedals)
                     w.m_peers.pedals->showOptions(&w);
             }},

        Row::topMenu("viewMenu", Text::ViewMenu),
        {.name = "fullPathAction",
         .caption = Text::ShowFullPath,
         .key = Qt::Key_F11,
         .run = &PlayerWindow::toggleFullPath,
         .answers = PlayerCommand::FullPath,
         .flags = Checkable,
         .action = &PlayerWindow::m_fullPathAction},
        {.name = "alwaysOnTopAction",
         .caption = Text::AlwaysOnTop,
         .run = &PlayerWindow::toggleAlwaysOnTop,
         .flags = Checkable,
         .action = &PlayerWindow::m_alwaysOnTopAction},
        Row::separator(),
        {.name = "editorAction",
         .caption = Text::ShowEditor,
         .otherCaption = Text::HideEditor,
         .showsOther = [](const PlayerWindow& w) { return w.m_companions.editorShown(); },
         .run = &PlayerWindow::toggleEditor,
         .answers = PlayerCommand::ShowHideEditor},
        {.name = "bookmarkWindowAction",
         .caption = Text::ShowBookmarks,
         .otherCaption = Text::HideBookmarks,
         .showsOther = [](const PlayerWindow& w) { return w.m_companions.bookmarkWindowShown(); },
         .key = Qt::Key_F8,
         .run = bookmarks(&BookmarkCommands::toggleBookmarkWindow),
         .answers = PlayerCommand::BookmarkWindow,
         .group = needsMedia},
        {.name = "waveformAction",
         .caption = Text::ShowWaveform,
         .otherCaption = Text::HideWaveform,
         .showsOther = [](const PlayerWindow& w) { return w.m_companions.waveformShown(); },
         .key = Qt::Key_F12,
         .run = &PlayerWindow::toggleWaveform,
         .answers = PlayerCommand::WaveformWindow},
        {.name = "videoAction",
         .caption = Text::ShowVideo,
         .otherCaption = Text::HideVideo,
         .showsOther = [](const PlayerWindow& w) { return w.m_companions.videoShown(); },
         .run = &PlayerWindow::toggleVideo},

        Row::topMenu("donationsMenu", Text::DonationsMenu),
        {.name = "donateAction",
         .caption = Text::MakeDonation,
         .run = help(&HelpCommands::showDonationPage)},

        {.kind = Row::Kind::Menu, .name = "helpMenu", .fixedCaption = "&?"},
        {.name = "helpAction",
         .caption = Text::Help,
         .key = Qt::Key_F1,
         .run = help(&HelpCommands::showHelp),
         .answers = PlayerCommand::Help},
        {.name = "versionsAction",
         .caption = Text::VersionHistory,
         .run = help(&HelpCommands::showVersionHistory)},
        {.name = "updatesAction",
         .caption = Text::CheckForUpdates,
         .run = help(&HelpCommands::showUpdatesPage)},
        Row::separator(),
        {.name = "aboutAction",
         .caption = Text::About,
         .key = Qt::CTRL | Qt::Key_F1,
         .run = help(&HelpCommands::showAbout),
         .answers = PlayerCommand::About},
    };
    return rows;
}

void PlayerWindow::buildMenus()
{
    m_commands.build(menuBar(), *this, commandTable(), m_state.texts);
    // The closed state: nothing to play yet.
    setMediaControlsEnabled(false);

    // The check mark is the option: however it changes, the cycle follows it.
    connect(m_smartPlayAction, &QAction::toggled, m_playback, &PlaybackController::setSmartPlay);
    connect(m_fullPathAction, &QAction::toggled, m_session, &MediaSession::setShowsFullPath);
    QAction* resume = m_commands.action("resumeAction");
    resume->setChecked(m_session->resumes());
    connect(resume, &QAction::toggled, m_session, &MediaSession::setResumes);
    connect(m_commands.action("typeToPauseAction"), &QAction::toggled, this,
            &PlayerWindow::keepListeningOptions);
    connect(m_commands.action("growingStepBackAction"), &QAction::toggled, this, [this](bool on) {
        TransportOptions options = m_playback->options();
        options.growingStepBack = on;
        m_playback->setOptions(options);
        keepListeningOptions();
    });
    // The check marks and the title line follow the filters however they change.
    connect(m_cleanUp, &SoundCleanUp::changed, this, [this] {
        const SoundFilters& f = m_cleanUp->filters();
        const std::pair<const char*, bool> checks[] = {
            {"cleanUpAction", f.cleanUp},
            {"bothChannelsAction", f.channels == SoundChannels::Both},
            {"leftChannelAction", f.channels == SoundChannels::LeftOnly},
            {"rightChannelAction", f.channels == SoundChannels::RightOnly},
            {"monoMixAction", f.channels == SoundChannels::MonoMix},
            {"speechNormaliserAction", f.speechNormaliser},
            {"noiseReductionAction", f.noiseReduction},
            {"highPassAction", f.highPass}};
        for (const auto& [name, on] : checks)
            m_commands.action(name)->setChecked(on);
        m_session->setCaptionMark(m_cleanUp->captionMark());
    });
}

void PlayerWindow::openRecorder()
{
    if (m_playback->isPlaying())
        m_playback->stop();
    // The window opening over the button takes the pointer away without a move off it.
    m_face->dropRecordHover();
    if (m_peers.recorder)
        m_peers.recorder->showRecorder();
}

void PlayerWindow::retranslate()
{
    m_commands.retranslate();
    m_face->retranslate();
    // The bookmark window, placed beside the player after a language change, finds it sized.
    fitMenuBar();
}

void PlayerWindow::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange)
        retranslate();
    QMainWindow::changeEvent(event);
}
