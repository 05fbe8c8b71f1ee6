#include "app/Startup.h"

#include "app/TerminationWatcher.h"
#include "bookmarks/BookmarkController.h"
#include "core/AppState.h"
#include "core/Logging.h"
#include "core/ProductName.h"
#include "core/ProgramFolder.h"
#include "core/ScreenReaderName.h"
#include "core/SettingsFile.h"
#include "editor/EditorWindow.h"
#include "editor/TimestampCommands.h"
#include "pedal/FootPedals.h"
#include "platform/Desktop.h"
#include "platform/Dialogs.h"
#include "platform/ModuleCaptureDevice.h"
#include "platform/Platform.h"
#include "platform/QtDesktop.h"
#include "platform/QtDialogs.h"
#include "platform/SkinImage.h"
#include "platform/SoundDecoders.h"
#include "player/PlayerWindow.h"
#include "recorder/Recorder.h"
#include "remote/InstanceClient.h"
#include "remote/RemoteControl.h"
#include "remote/RemoteMessage.h"
#include "remote/RuntimeFolder.h"
#include "startup/DeferredMediaPlayer.h"
#include "startup/LazyIconStyle.h"
#include "startup/LinkedModules.h"
#include "startup/MediaEngineLoader.h"
#include "startup/SessionBusWarmUp.h"
#include "ui/HelpController.h"
#include "video/VideoCompanion.h"
#include "video/VideoOptions.h"
#include "waveform/WaveformOptions.h"
#include "waveform/WaveformView.h"
#include "waveform/WaveformWindow.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTimer>
#include <clocale>
#include <functional>
#include <memory>

namespace Startup {

namespace {

// The system's reason, then the file it concerns.
void fatal(const Platform& platform, const QString& reason, const QString& path)
{
    platform.dialogs->message(nullptr, QMessageBox::Warning, QString::fromLatin1(kFatalTitle),
                              QString::fromLatin1(kFatalText) + QLatin1Char('\n') + reason +
                                  QLatin1Char('\n') + path,
                              QMessageBox::Ok);
}

} // namespace

Session::Session() = default;
Session::~Session() = default;
Session::Session(Session&&) noexcept = default;
Session& Session::operator=(Session&&) noexcept = default;

namespace {

// Connects the windows of a run: the player's bookmark commands reach the bookmarks, a new
// bookmark's description is asked in the player's value dialog, and the editor's keys reach the
// player.
void wire(Session& session, AppState& state, const Platform& platform)
{
    PlayerWindow* player = session.player.get();
    PlayerControl* control = player->control();
    session.bookmarks = std::make_unique<BookmarkController>(state, platform, control, player);
    session.bookmarks->setDescriptionPrompt(
        [player](const BookmarkController::BookmarkAcceptor& add) {
            player->valueCommands()->askBookmarkDescription(add);
        });
    player->setBookmarks(session.bookmarks.get());
    session.recorder = std::make_unique<Recorder>(state, platform);
    player->setRecorder(session.recorder.get());
    session.help = std::make_unique<HelpController>(state, platform, *control, player);
    player->setHelp(session.help.get());
    session.pedals = std::make_unique<FootPedals>(
        state, *platform.dialogs, PedalTargets{control, session.bookmarks.get(), nullptr});
    player->setPedals(session.pedals.get());
}

// The waveform window with the bookmarks' and the transcript's marks; a click on a timestamp's
// mark puts the editor's caret there.
std::unique_ptr<WaveformWindow> makeWaveform(const Session& session, AppState& state,
                                             const Platform& platform)
{
    auto decoders = [sound = platform.sound](QString* error) -> std::unique_ptr<SoundDecoder> {
        if (sound)
            return sound->make(error);
        return nullptr;
    };
    const QString cache = QStandardPaths::writableLocation(QStandardPaths::CacheLocation) +
                          QStringLiteral("/waveforms");
    auto waveform = std::make_unique<WaveformWindow>(
        state.texts, *session.player->control(), decoders, cache,
        state.filesPath(QLatin1String(WaveformOptions::kFileName)));
    BookmarkController* bookmarks = session.bookmarks.get();
    EditorWindow* editor = session.editor.get();
    waveform->setMarkSources([bookmarks] { return bookmarks->marks(); },
                             [editor] {
                                 TimestampCommands* stamps = editor->timestampCommands();
                                 return stamps ? stamps->marks() : TimeMarks();
                             });
    // A click on the strip is a look, not a move away: the keyboard stays with the transcript.
    QObject::connect(waveform->view(), &WaveformView::seekRequested, editor, [editor] {
        if (editor->isVisible())
            editor->giveFocus();
    });
    QObject::connect(waveform.get(), &WaveformWindow::timestampChosen, editor,
                     [editor](double seconds) {
                         if (TimestampCommands* stamps = editor->timestampCommands())
                             stamps->goTo(seconds);
                     });
    return waveform;
}

// Runs `work` once the window has painted for the first time: before that, the window's mapping
// still waits in the display connection, and anything done first delays it. A window that does
// not paint (started minimised) gets the work a little later anyway.
void afterFirstPaint(QWidget* window, QObject* context, const std::function<void()>& work)
{
    constexpr int kLatestMs = 500;
    auto done = std::make_shared<bool>(false);
    const auto once = [done, work] {
        if (!*done) {
            *done = true;
            work();
        }
    };
    class PaintWatch : public QObject {
    public:
        PaintWatch(QObject* parent, std::function<void()> then)
            : QObject(parent), m_then(std::move(then))
        {
        }
        bool eventFilter(QObject*, QEvent* event) override
        {
            if (event->type() == QEvent::Paint) {
                QTimer::singleShot(0, parent(), m_then);
                deleteLater();
            }
            return false;
        }

    private:
        std::function<void()> m_then;
    };
    window->installEventFilter(new PaintWatch(context, once));
    QTimer::singleShot(kLatestMs, context, once);
}

} // namespace

Session start(AppState& state, const Platform& platform, const QString& commandLine,
              const QLocale& locale, const HandOver& handOver)
{
    QString error;
    const auto languageFile = SettingsFile::readLanguageFile(state.settingsPath(), &error);
    if (!languageFile) {
        fatal(platform, error, state.settingsPath());
        return {};
    }
    state.languageFile = *languageFile;
    // A name that reaches out of Files/Lang/ is refused before anything reads it.
    QString refused;
    if (!state.languageFile.trimmed().isEmpty() && !isPlainLanguageFileName(state.languageFile)) {
        refused = state.languageFile;
        qCWarning(lcLanguage).noquote()
            << "Language file name refused, the default language is used instead:" << refused;
        state.languageFile.clear();
    }
    if (state.languageFile.trimmed().isEmpty()) {
        state.languageFile = defaultLanguageFile(locale);
        // Only some languages come with the program; the others fall back to English.
        if (!QFileInfo::exists(state.languagePath()))
            state.languageFile = QStringLiteral("English.lng");
    }

    error = state.texts.loadStrict(state.languagePath());
    if (!error.isEmpty()) {
        fatal(platform, error, state.languagePath());
        return {};
    }
    translateQtTexts(state.languageFile);

    if (!platform.desktop->claimSingleInstance()) {
        if (!commandLine.isEmpty() && handOver && handOver(commandLine))
            return {};
        platform.dialogs->warning(nullptr, state.texts.plain(Text::ProgramName),
                                  state.texts.plain(Text::AlreadyRunning));
        return {};
    }
    if (!refused.isEmpty())
        platform.dialogs->warning(nullptr, state.texts.plain(Text::ProgramName),
                                  state.texts.plain(Text::LanguageFileRefused) + QLatin1Char('\n') +
                                      refused);

    Session session;
    session.player = std::make_unique<PlayerWindow>(state, platform);
    wire(session, state, platform);
    session.player->restoreSession(commandLine);
    session.player->show();
    // Built once the player is on screen: the transcript window comes a moment later, never in
    // the player's way.
    session.editor = std::make_unique<EditorWindow>(state, platform, session.player->control(),
                                                    EditorWindow::Build::Later);
    session.editor->setDialogOwner(session.player.get());
    session.waveform = makeWaveform(session, state, platform);
    EditorWindow* editor = session.editor.get();
    PlayerWindow* player = session.player.get();
    FootPedals* pedals = session.pedals.get();
    WaveformWindow* waveform = session.waveform.get();
    session.video =
        std::make_unique<VideoCompanion>(state.texts, *platform.media, *player->control(), player,
                                         state.filesPath(QLatin1String(VideoOptions::kFileName)));
    VideoCompanion* video = session.video.get();
    player->setVideo(video);
    QObject::connect(video, &VideoCompanion::wantedChanged, player,
                     &PlayerWindow::showCommandStates);
    afterFirstPaint(player, editor, [editor, player, pedals, waveform, video] {
        player->showWindowIcon();
        editor->build();
        player->attachEditor(editor);
        player->setWaveform(waveform);
        video->setEditor(editor);
        pedals->setEditor(editor);
        pedals->start();
        editor->startRecovery();
    });
    return session;
}

void endQuietlyOnRequest(const Session& session, TerminationWatcher& watcher)
{
    SessionKeeper* keeper = session.player->sessionKeeper();
    // The transcript's changes are kept in its recovery copy, first: nobody is asked to save.
    if (EditorWindow* editor = session.editor.get()) {
        QObject::connect(&watcher, &TerminationWatcher::terminationRequested, editor,
                         &EditorWindow::keepRecoveryCopy);
        QObject::connect(qApp, &QGuiApplication::commitDataRequest, editor,
                         &EditorWindow::keepRecoveryCopy, Qt::DirectConnection);
    }
    QObject::connect(&watcher, &TerminationWatcher::terminationRequested, keeper,
                     &SessionKeeper::endWithoutAsking);
    // Connected directly: the session manager wants the saves done before it goes on.
    QObject::connect(qApp, &QGuiApplication::commitDataRequest, keeper,
                     &SessionKeeper::endWithoutAsking, Qt::DirectConnection);
}

int exec(QApplication& app, const Session& session)
{
    QObject::connect(session.player->sessionKeeper(), &SessionKeeper::programEnded, &app,
                     &QCoreApplication::quit, Qt::QueuedConnection);
    TerminationWatcher watcher;
    endQuietlyOnRequest(session, watcher);
    return app.exec();
}

QString commandLinePath(const QStringList& arguments)
{
    // A name may end in a space: the path is taken as given when it names a file.
    const QString given = arguments.mid(1).join(QLatin1Char(' '));
    return QFileInfo::exists(given) ? given : given.trimmed();
}

namespace {

// With vocarta.player debug output on (the start benchmark reads it), logs when the engine is
// there and when the command line's file has started to play.
void logStartMilestones(DeferredMediaPlayer& media, QTimer& playingWatch, bool fileGiven)
{
    playingWatch.setInterval(2);
    QObject::connect(&playingWatch, &QTimer::timeout, &media, [&media, &playingWatch] {
        if (media.url().isEmpty()) {
            playingWatch.stop();
        } else if (media.playState() == MediaPlayer::State::Playing &&
                   media.currentPosition() > 0) {
            qCDebug(lcPlayer).noquote() << "Playing the command line's file" << media.url();
            playingWatch.stop();
        }
    });
    QObject::connect(&media, &DeferredMediaPlayer::engineAttached, &media,
                     [&playingWatch, watch = fileGiven] {
                         qCDebug(lcPlayer) << "Media engine ready";
                         if (watch)
                             playingWatch.start();
                     });
}

} // namespace

int run(QApplication& app)
{
    const SessionBusWarmUp sessionBus;
    QApplication::setApplicationName(QStringLiteral("vocarta"));
    QApplication::setApplicationVersion(QStringLiteral(VOCARTA_VERSION));
    QGuiApplication::setDesktopFileName(desktopEntryName());
    installScreenReaderWindows();
    QApplication::setQuitOnLastWindowClosed(false);
    QApplication::setStyle(new LazyIconStyle);
    // The menus belong in the windows, laid out with them. A desktop's global menu bar would take
    // them out, and asking the session bus for one would hold up the first window.
    QCoreApplication::setAttribute(Qt::AA_DontUseNativeMenuBar);
    // The media engine reads numbers the C way. Set before the engine's libraries start loading
    // on another thread, as their initialisation may read the locale.
    std::setlocale(LC_NUMERIC, "C");

    // The modules beside the executable (the build tree), else where they are installed.
    const QString executableFolder = QCoreApplication::applicationDirPath();
    const QStringList moduleFolders = {executableFolder,
                                       QDir::cleanPath(executableFolder + QLatin1Char('/') +
                                                       QStringLiteral(VOCARTA_MODULES_FROM_BIN))};
    // The engine's libraries load while the windows are built; until it is there its commands
    // wait for it (a file on the command line plays once it is).
    DeferredMediaPlayer media;
    MediaEngineLoader engineLoader(media);
    engineLoader.start(moduleFolders, QStringLiteral(VOCARTA_ENGINE_MODULE), {},
                       LinkedModules::engine());
    QObject::connect(&media, &MediaPlayer::engineUnavailable, &media,
                     [](const QString& reason) { qCWarning(lcPlayer).noquote() << reason; });

    const QString installed = QDir::cleanPath(executableFolder + QStringLiteral("/../") +
                                              QStringLiteral(VOCARTA_DATA_INSTALL_DIR));
    AppState state;
    state.programFolder = ProgramFolder::locate(
        executableFolder, QStandardPaths::writableLocation(QStandardPaths::AppDataLocation),
        installed);
    // Decoded on another thread while the settings and texts are read and the window is built.
    QStringList pictures = PlayerWindow::skinPictureNames();
    for (QString& name : pictures)
        name = state.filesPath(name);
    SkinImage::preload(pictures);

    const QString runtimeFolder = RuntimeFolder::path();
    QtDialogs dialogs;
    QtDesktop desktop(runtimeFolder);
    // Its module, and libpulse with it, is loaded when the recorder first records.
    ModuleCaptureDevice capture(moduleFolders, QStringLiteral(VOCARTA_CAPTURE_MODULE),
                                LinkedModules::capture());
    // Its module is loaded when a waveform is first drawn.
    SoundDecoders sound(moduleFolders, QStringLiteral(VOCARTA_SOUND_MODULE),
                        LinkedModules::sound());
    Platform platform;
    platform.dialogs = &dialogs;
    platform.desktop = &desktop;
    platform.capture = &capture;
    platform.sound = &sound;
    platform.media = &media;
    const QString commandLine = commandLinePath(QCoreApplication::arguments());
    const QString socketPath = RuntimeFolder::socketPath(runtimeFolder);
    const auto handOver = [&](const QString& path) {
        return InstanceClient::send(socketPath, QtDesktop::lockPath(runtimeFolder),
                                    RemoteMessage::open(path)) == InstanceClient::Outcome::Accepted;
    };
    const Session session = start(state, platform, commandLine, QLocale::system(), handOver);
    // The window is up: the engine's loading needs to give way no more.
    engineLoader.setGivingWay(false);
    if (!session.player)
        return 0;
    QTimer playingWatch;
    if (lcPlayer().isDebugEnabled())
        logStartMilestones(media, playingWatch, !commandLine.isEmpty());
    // Other processes reach this one once its window is on screen.
    RemoteControl remote(
        {{session.player->control(), session.bookmarks.get(), session.editor.get()},
         &state.timestamps});
    afterFirstPaint(session.player.get(), &remote,
                    [&remote, socketPath] { remote.start(socketPath); });
    return exec(app, session);
}

} // namespace Startup
