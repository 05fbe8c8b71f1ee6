#include "player/PlayerWindow.h"

#include "core/AppState.h"
#include "core/BookmarkCommands.h"
#include "core/EditorCommands.h"
#include "core/Logging.h"
#include "core/ProductName.h"
#include "core/RecorderCommands.h"
#include "platform/MediaPlayer.h"
#include "platform/OnScreen.h"
#include "platform/SkinImage.h"
#include "platform/Twips.h"
#include "player/PlayerFace.h"

#include <QAction>
#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QLayout>
#include <QMenuBar>
#include <QMimeData>
#include <QPixmap>
#include <QShortcut>

PlayerWindow::PlayerWindow(AppState& state, const Platform& platform, QWidget* parent)
    : QMainWindow(parent), m_state(state), m_platform(platform),
      m_playback(new PlaybackController(platform.media, this)),
      m_recentMedia(new RecentFilesMenu(state, platform.dialogs, QStringLiteral("LastFiles.ini"),
                                        RecentFilesMenu::Saving::FromEventLoop, this)),
      m_face(new PlayerFace(state, this)),
      m_values(new ValueCommands(state.texts, *platform.dialogs, m_playback,
                                 m_face->displayPicture(), this))
{
    m_playback->setObjectName(QStringLiteral("playback"));
    connect(m_recentMedia, &RecentFilesMenu::chosen, this,
            [this](const QString& path) { openMedia(path); });
    connect(m_values, &ValueCommands::valueStored, this, &PlayerWindow::saveSettings);
    setCentralWidget(m_face);
    buildMenus();
    // The player keeps the size of its face and menus, from before it is first shown.
    layout()->setSizeConstraint(QLayout::SetFixedSize);
    adjustSize();
    connectPlayback();
    connectFace();
    if (MediaPlayer* media = m_platform.media) {
        connect(media, &MediaPlayer::mediaError, this,
                [this](const QString& message) { refuseMedia(Text::CannotPlay, message); });
        connect(media, &MediaPlayer::soundOutputMissing, this,
                [this](const QString& message) { refuseMedia(Text::NoSoundOutput, message); });
        connect(media, &MediaPlayer::engineUnavailable, this,
                [this](const QString& reason) { showEngineMissing(reason); });
    }
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
    connect(m_playback, &PlaybackController::commandDone, this, &PlayerWindow::returnFocus);
}

void PlayerWindow::connectFace()
{
    connect(m_face, &PlayerFace::openClicked, this, [this] { openMedia(); });
    connect(m_face, &PlayerFace::playClicked, this, &PlayerWindow::togglePlayPause);
    connect(m_face, &PlayerFace::stopClicked, this, &PlayerWindow::stop);
    connect(m_face, &PlayerFace::forwardClicked, this, &PlayerWindow::skipForward);
    connect(m_face, &PlayerFace::backClicked, this, &PlayerWindow::skipBack);
    connect(m_face, &PlayerFace::recordClicked, this, &PlayerWindow::openRecorder);
    connect(m_face, &PlayerFace::positionClicked, this, &PlayerWindow::seekToClick);
    connect(m_face, &PlayerFace::volumeChanged, this, [this] {
        applyVolume();
        returnFocus();
    });
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

    QString error;
    if (const auto stored = SettingsFile::read(m_state.settingsPath(), &error))
        m_stored = *stored;
    else
        qCWarning(lcSettings).noquote() << error;
    m_face->restoreKnob(m_stored.knobTop);
    m_playback->setOptions({.skipSeconds = m_stored.jumpSeconds,
                            .backSeconds = m_stored.backSeconds,
                            .playTime = m_stored.playTime,
                            .pauseTime = m_stored.pauseTime});
    m_fullPathAction->setChecked(m_stored.showFullPath);
    m_state.editorFolder = m_stored.editorFolder;
    m_smartPlayAction->setChecked(m_stored.smartPlay);

    // The start has just read the file, unless the player is made on its own.
    if (!m_state.texts.holdsFile(m_state.languagePath()) &&
        !m_state.texts.load(m_state.languagePath()))
        qCWarning(lcLanguage).noquote() << "Cannot read" << m_state.languagePath();

    applyStoredSettings();

    retranslate();

    m_face->resetPositionDisplay();
    m_recentMedia->load();
    m_face->showHandPointer();

    // Closed first, so that a recording named on the command line stays open.
    closeMedia();
    if (!commandLine.isEmpty())
        openMedia(commandLine);
    // The engine may have failed before this window could hear it.
    if (m_platform.media && !m_platform.media->isEngineAvailable())
        showEngineMissing(m_platform.media->engineUnavailableReason());
    if (m_stored.volume)
        m_face->setKnobValue(*m_stored.volume);
    applyVolume();
}

void PlayerWindow::setBookmarkMenuShown(bool shown)
{
    m_companions.setBookmarkWindowShown(shown);
    m_commands.showStates();
}

void PlayerWindow::applyStoredSettings()
{
    const StoredSettings& s = m_stored;
    if (s.editorWidth + s.editorHeight != 0)
        Twips::move(this, s.playerLeft, s.playerTop);
    m_alwaysOnTopAction->setChecked(s.alwaysOnTop);
    m_companions.setAlwaysOnTop(s.alwaysOnTop);
    restoreEditor();
}

void PlayerWindow::restoreEditor()
{
    const StoredSettings& s = m_stored;
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
    openDroppedFile(urls.first().toLocalFile());
}

void PlayerWindow::exitProgram()
{
    close();
}

void PlayerWindow::closeEvent(QCloseEvent* event)
{
    if (m_closed || runClosingSequence())
        event->accept();
    else
        event->ignore();
}

bool PlayerWindow::runClosingSequence()
{
    if (m_closing || m_closed)
        return m_closed;
    m_closing = true;

    if (m_bookmarks)
        m_bookmarks->saveBookmarks();

    if (m_editor) {
        switch (m_editor->askToSaveBeforeExit()) {
        case EditorCommands::ExitAnswer::Proceed:
            break;
        case EditorCommands::ExitAnswer::Cancel:
            m_closing = false;
            return false;
        case EditorCommands::ExitAnswer::SaveFailed:
            saveSettings();
            show();
            m_closing = false;
            return false;
        }
    }

    finishClosing();
    return true;
}

void PlayerWindow::endWithoutAsking()
{
    if (m_closed)
        return;
    // Nobody is there to answer: what cannot be saved is logged, not asked about.
    m_state.saveFailures.setQuiet(true);
    m_closing = true;
    if (m_bookmarks)
        m_bookmarks->saveBookmarks();
    finishClosing();
}

void PlayerWindow::finishClosing()
{
    // A recording's file is finished before anything else can go wrong.
    if (m_recorder)
        m_recorder->closeAtExit();
    setAcceptDrops(false);
    m_recentMedia->saveIfDue();
    saveSettings();
    if (m_bookmarks)
        m_bookmarks->closeAtExit();
    if (m_editor)
        m_editor->hideFindDialog();
    if (m_platform.media)
        m_platform.media->stop();
    if (m_editor)
        m_editor->unload();

    m_closing = false;
    m_closed = true;
    Q_EMIT programEnded();
}
