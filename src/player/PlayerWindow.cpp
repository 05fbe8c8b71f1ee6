#include "player/PlayerWindow.h"

#include "core/AppState.h"
#include "core/EditorCommands.h"
#include "core/Logging.h"
#include "core/ProductName.h"
#include "core/RecentFilesMenu.h"
#include "platform/MediaPlayer.h"
#include "platform/OnScreen.h"
#include "platform/SkinImage.h"
#include "platform/Twips.h"
#include "player/PlayerFace.h"
#include "player/SoundCleanUp.h"

#include <QAction>
#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QLayout>
#include <QMenuBar>
#include <QMimeData>
#include <QPixmap>
#include <QShortcut>
#include <QSignalBlocker>

PlayerWindow::PlayerWindow(AppState& state, const Platform& platform, QWidget* parent)
    : QMainWindow(parent), m_state(state), m_platform(platform),
      m_playback(new PlaybackController(platform.media, this)),
      m_loop(new PlaybackLoop(platform.media, m_playback, this)),
      m_session(new MediaSession(state, platform, m_playback, m_peers, &m_events, this)),
      m_keeper(new SessionKeeper(state, platform, m_peers, this)),
      m_face(new PlayerFace(state, this)),
      m_values(new ValueCommands(state.texts, *platform.dialogs, m_playback,
                                 m_face->displayPicture(), this)),
      m_cleanUp(new SoundCleanUp(platform.media, state.texts, platform.dialogs, this))
{
    m_playback->setObjectName(QStringLiteral("playback"));
    m_control = new PlayerControl({.media = platform.media,
                                   .playback = m_playback,
                                   .loop = m_loop,
                                   .session = m_session,
                                   .keeper = m_keeper,
                                   .face = m_face,
                                   .companions = &m_companions,
                                   .menus = &m_commands,
                                   .events = &m_events},
                                  this);
    m_keeper->setCollector([this](StoredSettings& s) { collectSettings(s); });
    connect(m_values, &ValueCommands::valueStored, m_keeper, &SessionKeeper::save);
    connect(m_values, &ValueCommands::valueStored, this, &PlayerWindow::keepListeningOptions);
    setCentralWidget(m_face);
    buildMenus();
    // The player keeps the size of its face and menus, from before it is first shown.
    layout()->setSizeConstraint(QLayout::SetFixedSize);
    adjustSize();
    connectPlayback();
    connectFace();
    connectSession();
    connectLoop();
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(escape, &QShortcut::activated, this, &PlayerWindow::exitProgram);
}

PlayerWindow::~PlayerWindow() = default;

QStringList PlayerWindow::skinPictureNames()
{
    return PlayerFace::skinPictureNames();
}

void PlayerWindow::showWindowIcon()
{
    const QPixmap icon = SkinImage::pixmap(m_state.filesPath(QStringLiteral("vocarta.png")));
    if (!icon.isNull())
        setWindowIcon(icon);
}

void PlayerWindow::connectPlayback()
{
    connect(m_playback, &PlaybackController::stateChanged, this, &PlayerWindow::showPlayState);
    connect(m_playback, &PlaybackController::displayDue, this, &PlayerWindow::showPosition);
    connect(m_playback, &PlaybackController::stateChanged, &m_events,
            &PlayerEvents::playStateChanged);
    connect(m_playback, &PlaybackController::positionMoved, &m_events,
            &PlayerEvents::positionMoved);
    connect(m_playback, &PlaybackController::busyChanged, &m_busyPointer, &BusyPointer::setBusy);
    connect(m_playback, &PlaybackController::commandDone, &m_companions,
            &CompanionWindows::returnFocusToEditor);
    // The label shows what the engine took, not what was asked.
    connect(m_playback, &PlaybackController::rateChanged, m_face, &PlayerFace::showSpeed);
    connect(m_playback, &PlaybackController::rateChanged, &m_events, &PlayerEvents::rateChanged);
}

void PlayerWindow::connectFace()
{
    connect(m_face, &PlayerFace::openClicked, m_session, [this] { m_session->open(); });
    connect(m_face, &PlayerFace::playClicked, m_playback, &PlaybackController::togglePlayPause);
    connect(m_face, &PlayerFace::stopClicked, m_playback, &PlaybackController::stop);
    connect(m_face, &PlayerFace::forwardClicked, m_playback, &PlaybackController::skipForward);
    connect(m_face, &PlayerFace::backClicked, m_playback, &PlaybackController::skipBack);
    connect(m_face, &PlayerFace::recordClicked, this, &PlayerWindow::openRecorder);
    connect(m_face, &PlayerFace::positionClicked, this, &PlayerWindow::seekToClick);
    connect(m_face, &PlayerFace::volumeChanged, this, [this] {
        m_control->applyVolume();
        m_companions.returnFocusToEditor();
    });
}

void PlayerWindow::connectSession()
{
    connect(m_session, &MediaSession::opening, m_face, &PlayerFace::showMediaOpening);
    connect(m_session, &MediaSession::loading, this, [this] {
        m_face->showProgress(0);
        setMediaControlsEnabled(true);
    });
    connect(m_session, &MediaSession::titleChanged, m_face, &PlayerFace::showTitle);
    connect(m_session, &MediaSession::captionDue, m_face, &PlayerFace::setCaption);
    connect(m_session, &MediaSession::opened, this, [this] {
        m_face->dropOpenHover();
        m_companions.placeEditor();
        m_companions.returnFocusToEditor();
    });
    connect(m_session, &MediaSession::closed, this, [this] {
        m_face->showMediaClosed();
        setMediaControlsEnabled(false);
    });
    connect(m_session, &MediaSession::engineMissing, m_face, &PlayerFace::showEngineMissing);

    connect(m_keeper, &SessionKeeper::closingStarted, this, [this] {
        setAcceptDrops(false);
        m_session->recentMenu()->saveIfDue();
        m_session->keepPosition();
    });
    connect(m_keeper, &SessionKeeper::closingRefused, this, &QWidget::show);
}

void PlayerWindow::connectLoop()
{
    // Marks and loop belong to the recording they were set in.
    connect(m_session, &MediaSession::loading, m_loop, &PlaybackLoop::clear);
    connect(m_session, &MediaSession::closed, m_loop, &PlaybackLoop::clear);
    connect(m_loop, &PlaybackLoop::loopChanged, &m_events, &PlayerEvents::loopChanged);
    connect(m_loop, &PlaybackLoop::loopChanged, this, [this] {
        m_commands.action("loopAction")->setChecked(m_loop->isLooping());
        const auto span = m_loop->span();
        m_session->setCaptionNote(
            span ? m_state.texts.plain(Text::LoopShown)
                       .arg(formatMediaTime(span->from), formatMediaTime(span->to))
                 : QString());
    });
    connect(m_loop, &PlaybackLoop::startMarked, this, [this](double seconds) {
        m_session->showNotice(
            m_state.texts.plain(Text::LoopStartSet).arg(formatMediaTime(seconds)));
    });
    connect(m_loop, &PlaybackLoop::endMarked, this, [this](double seconds) {
        m_session->showNotice(m_state.texts.plain(Text::LoopEndSet).arg(formatMediaTime(seconds)));
    });
}

void PlayerWindow::keepListeningOptions()
{
    const TransportOptions& transport = m_playback->options();
    m_state.listening.growingStepBack = transport.growingStepBack;
    m_state.listening.loopSeconds = transport.loopSeconds;
    m_state.listening.typeToPause = m_commands.action("typeToPauseAction")->isChecked();
    const QString path = m_state.filesPath(QLatin1String(ListeningOptions::kFileName));
    QString error;
    if (!m_state.listening.write(path, &error))
        qCWarning(lcSettings).noquote() << "Cannot write" << path << error;
}

void PlayerWindow::fitMenuBar()
{
    menuBar()->ensurePolished();
    centralWidget()->setMinimumWidth(std::max(m_face->faceWidth(), menuBar()->sizeHint().width()));
    // Sized at once, so that windows placed beside the player see its new width.
    adjustSize();
}

void PlayerWindow::restoreSession(const QString& commandLine)
{
    setAcceptDrops(true);

    setWindowTitle(productTitle());
    move(x(), 0);

    const StoredSettings& stored = m_keeper->read();
    m_face->restoreKnob(stored.knobTop);
    const QString listening = m_state.filesPath(QLatin1String(ListeningOptions::kFileName));
    QString error;
    m_state.listening = ListeningOptions::read(listening, &error);
    if (!error.isEmpty())
        qCWarning(lcSettings).noquote() << "Cannot read" << listening << error;
    m_playback->setOptions({.skipSeconds = stored.jumpSeconds,
                            .backSeconds = stored.backSeconds,
                            .playTime = stored.playTime,
                            .pauseTime = stored.pauseTime,
                            .growingStepBack = m_state.listening.growingStepBack,
                            .loopSeconds = m_state.listening.loopSeconds});
    m_fullPathAction->setChecked(stored.showFullPath);
    m_state.editorFolder = stored.editorFolder;
    m_smartPlayAction->setChecked(stored.smartPlay);
    for (const auto& [name, on] :
         {std::pair{"typeToPauseAction", m_state.listening.typeToPause},
          std::pair{"growingStepBackAction", m_state.listening.growingStepBack}}) {
        const QSignalBlocker quiet(m_commands.action(name));
        m_commands.action(name)->setChecked(on);
    }
    m_cleanUp->load(m_state.filesPath(QLatin1String(SoundFilters::kFileName)));

    // The start has just read the file, unless the player is made on its own.
    if (!m_state.texts.holdsFile(m_state.languagePath()) &&
        !m_state.texts.load(m_state.languagePath()))
        qCWarning(lcLanguage).noquote() << "Cannot read" << m_state.languagePath();

    if (stored.editorWidth + stored.editorHeight != 0)
        Twips::move(this, stored.playerLeft, stored.playerTop);
    m_alwaysOnTopAction->setChecked(stored.alwaysOnTop);
    m_companions.setAlwaysOnTop(stored.alwaysOnTop);
    restoreEditor();

    retranslate();

    m_face->resetPositionDisplay();
    m_session->recentMenu()->load();
    m_face->showHandPointer();

    // Closed first, so that a recording named on the command line stays open.
    m_session->close();
    if (!commandLine.isEmpty())
        m_session->open(commandLine);
    // The engine may have failed before this window could hear it.
    if (m_platform.media && !m_platform.media->isEngineAvailable())
        m_session->refuseEngine(m_platform.media->engineUnavailableReason());
    if (stored.volume)
        m_face->setKnobValue(*stored.volume);
    m_control->applyVolume();
}

void PlayerWindow::restoreEditor()
{
    const StoredSettings& s = m_keeper->stored();
    m_companions.restoreEditor(QRect(s.editorLeft, s.editorTop, s.editorWidth, s.editorHeight),
                               s.editorVisible);
}

void PlayerWindow::attachEditor(EditorCommands* editor)
{
    setEditor(editor);
    restoreEditor();
    m_commands.showStates();
}

void PlayerWindow::setMediaControlsEnabled(bool enabled)
{
    m_face->setMediaControlsEnabled(enabled);
    m_commands.setGroupEnabled(CommandGroup::NeedsMedia, enabled);
}

void PlayerWindow::dragEnterEvent(QDragEnterEvent* event)
{
    const QList<QUrl> urls = event->mimeData()->urls();
    if (!urls.isEmpty() && urls.first().isLocalFile())
        event->acceptProposedAction();
}

void PlayerWindow::dropEvent(QDropEvent* event)
{
    const QList<QUrl> urls = event->mimeData()->urls();
    if (urls.isEmpty() || !urls.first().isLocalFile())
        return;
    event->acceptProposedAction();
    m_session->openDropped(urls.first().toLocalFile());
}

void PlayerWindow::exitProgram()
{
    close();
}

void PlayerWindow::closeEvent(QCloseEvent* event)
{
    if (m_keeper->hasEnded() || m_keeper->runClosingSequence())
        event->accept();
    else
        event->ignore();
}
