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
#include "player/CaptionLabel.h"
#include "player/Colours.h"
#include "player/PlayerLayout.h"
#include "player/PointerLabel.h"
#include "player/SkinButton.h"
#include "player/VolumeKnob.h"

#include <QAction>
#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QLayout>
#include <QMenuBar>
#include <QMimeData>
#include <QPixmap>
#include <QShortcut>

PlayerWindow::PlayerWindow(AppState& state, const Platform& platform, QWidget* parent)
    : QMainWindow(parent), m_state(state), m_platform(platform),
      m_playback(new PlaybackController(platform.media, this)),
      m_recentMedia(new RecentFilesMenu(state, platform.dialogs, QStringLiteral("LastFiles.ini"),
                                        RecentFilesMenu::Saving::FromEventLoop, this))
{
    m_playback->setObjectName(QStringLiteral("playback"));
    m_fadeTimer.setObjectName(QStringLiteral("labelFadeTimer"));
    m_busyPointerDue.setSingleShot(true);
    m_busyPointerDue.setInterval(kBusyPointerDelayMs);
    connect(&m_busyPointerDue, &QTimer::timeout, this, &PlayerWindow::showBusyPointer);
    connect(m_recentMedia, &RecentFilesMenu::chosen, this,
            [this](const QString& path) { openMedia(path); });
    setupFace();
    setupMenus();
    // The player keeps the size of its face and menus, from before it is first shown.
    layout()->setSizeConstraint(QLayout::SetFixedSize);
    adjustSize();
    connectPlayback();
    connectFace();
    connect(&m_fadeTimer, &QTimer::timeout, this, &PlayerWindow::stepLabelFade);
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

QString PlayerWindow::imagePath(const QString& name) const
{
    return m_state.filesPath(name);
}

void PlayerWindow::setupFace()
{
    using namespace PlayerLayout;
    // The face keeps its size; the window around it may be wider when the menu titles need it,
    // the sides in the face's own background colour.
    auto* frame = new QWidget(this);
    frame->setObjectName(QStringLiteral("playerFrame"));
    Colours::fillBackground(frame, QColor(QLatin1String(kFaceColour)));
    auto* row = new QHBoxLayout(frame);
    row->setContentsMargins(0, 0, 0, 0);
    auto* face = new QWidget(frame);
    face->setFixedSize(Twips::toPixels(kFaceWidth), Twips::toPixels(kFaceHeight));
    row->addStretch();
    row->addWidget(face);
    row->addStretch();
    setCentralWidget(frame);
    m_face = face;

    auto* background = new QLabel(face);
    background->setObjectName(QStringLiteral("faceBackground"));
    background->setScaledContents(true);
    background->setPixmap(SkinImage::pixmap(imagePath(QStringLiteral("sfondo.jpg"))));
    Twips::place(background, 0, 0, kFaceWidth, kFaceHeight);

    m_displayPanel = new QLabel(face);
    m_displayPanel->setObjectName(QStringLiteral("displayPanel"));
    m_displayPanel->setScaledContents(true);
    m_displayPanel->setPixmap(SkinImage::pixmap(imagePath(QStringLiteral("display.jpg"))));
    Twips::place(m_displayPanel, kDisplay.left, kDisplay.top, kDisplay.width, kDisplay.height);

    m_progressBar = new QLabel(face);
    m_progressBar->setObjectName(QStringLiteral("progressBar"));
    Colours::fillBackground(m_progressBar, QColor(240, 160, 48, 90));
    Twips::place(m_progressBar, kPosition.left, kPosition.top, 0, kPosition.height);

    const auto whiteLabel = [face]<typename Label>(const char* name, const Box& box, int points,
                                                   Qt::Alignment alignment) {
        auto* label = new Label(face);
        label->setObjectName(QLatin1String(name));
        QFont font = label->font();
        font.setPointSize(points);
        label->setFont(font);
        Colours::setText(label, Qt::white);
        label->setAlignment(alignment);
        Twips::place(label, box.left, box.top, box.width, box.height);
        return label;
    };
    m_titleLabel = whiteLabel.operator()<CaptionLabel>("titleLabel", kTitle, 14,
                                                       Qt::AlignLeft | Qt::AlignVCenter);
    m_titleLabel->setTextFormat(Qt::PlainText);
    m_titleLabel->hide();
    m_positionLabel = whiteLabel.operator()<PointerLabel>("positionLabel", kPosition, 9,
                                                          Qt::AlignLeft | Qt::AlignVCenter);
    m_positionLabel->setText(QStringLiteral("0:00 / 0:00"));
    m_speedLabel = whiteLabel.operator()<QLabel>("speedLabel", kSpeed, 9, Qt::AlignCenter);
    Colours::setText(m_speedLabel, Qt::red);
    m_speedLabel->hide();
    m_volumeLabel = whiteLabel.operator()<QLabel>("volumeLabel", kVolumeText, 8, Qt::AlignCenter);
    m_volumeLabel->setText(QStringLiteral("100%"));

    m_volumeKnob = new VolumeKnob(imagePath(QStringLiteral("volume-knob.png")),
                                  imagePath(QStringLiteral("volume-track.png")), face);

    const auto button = [this, face](const char* name, const Box& box, const char* normal,
                                     const char* hover) {
        auto* b = new SkinButton(face);
        b->setObjectName(QLatin1String(name));
        Twips::place(b, box.left, box.top, box.width, box.height);
        setPictures(b, normal, hover);
        return b;
    };
    m_openButton = button("openButton", kOpenButton, "Apri.bmp", "Apri2.bmp");
    m_openButton->setHoverShift(QPoint(Twips::toPixels(kOpenShift), Twips::toPixels(kOpenShift)));
    m_backButton = button("backButton", kBackButton, "bac.jpg", "bac2.jpg");
    m_playButton = button("playButton", kPlayButton, "play.jpg", "play2.jpg");
    m_stopButton = button("stopButton", kStopButton, "stop.jpg", "stop2.jpg");
    m_forwardButton = button("forwardButton", kForwardButton, "for.jpg", "for2.jpg");
    m_recordButton = button("recordButton", kRecordButton, "rec.jpg", "rec2.jpg");
}

void PlayerWindow::showWindowIcon()
{
    const QPixmap icon = SkinImage::pixmap(imagePath(QStringLiteral("vocarta.png")));
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
    connect(m_playback, &PlaybackController::busyChanged, this, &PlayerWindow::setBusyPointer);
    connect(m_playback, &PlaybackController::commandDone, this, &PlayerWindow::returnFocus);
}

void PlayerWindow::connectFace()
{
    connect(m_positionLabel, &PointerLabel::released, this,
            [this](Qt::MouseButton, QPoint at) { seekToClick(Twips::fromPixels(at.x())); });
    connect(m_volumeKnob, &VolumeKnob::volumeChanged, this, [this] {
        applyVolume();
        returnFocus();
    });
    connect(m_volumeKnob, &VolumeKnob::touched, this, [this] { startFade(-15); });
    connect(m_volumeKnob, &VolumeKnob::trackPressed, this, [this] {
        m_fadeLevel = -15;
        Colours::setText(m_volumeLabel, Qt::red);
    });
}

void PlayerWindow::fitMenuBar()
{
    menuBar()->ensurePolished();
    centralWidget()->setMinimumWidth(std::max(m_face->width(), menuBar()->sizeHint().width()));
    // Sized at once, so that windows placed beside the player see its new width.
    adjustSize();
}

void PlayerWindow::restoreSession(const QString& commandLine)
{
    setAcceptDrops(true);
    m_volumeKnob->centre();

    setWindowTitle(productTitle());
    move(x(), 0);

    QString error;
    if (const auto stored = SettingsFile::read(m_state.settingsPath(), &error))
        m_stored = *stored;
    else
        qCWarning(lcSettings).noquote() << error;
    if (m_stored.knobTop)
        m_volumeKnob->setStoredKnobTop(*m_stored.knobTop);
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
    m_volumeKnob->setKnobToolTip(QStringLiteral(" ") +
                                 StripAmpersands(m_state.texts.text(Text::VolumeTip)) +
                                 QStringLiteral(" "));

    resetPositionDisplay();
    m_recentMedia->load();

    if (const auto hand = SkinImage::pointer(imagePath(QStringLiteral("Indica.ico")))) {
        for (SkinButton* b :
             {m_openButton, m_playButton, m_backButton, m_stopButton, m_forwardButton})
            b->setCursor(*hand);
    }

    // Closed first, so that a recording named on the command line stays open.
    closeMedia();
    if (!commandLine.isEmpty())
        openMedia(commandLine);
    // The engine may have failed before this window could hear it.
    if (m_platform.media && !m_platform.media->isEngineAvailable())
        showEngineMissing(m_platform.media->engineUnavailableReason());
    if (m_stored.volume)
        m_volumeKnob->setValue(*m_stored.volume);
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
    for (QWidget* button : {m_playButton, m_stopButton, m_forwardButton, m_backButton})
        button->setEnabled(enabled);
    m_commands.setGroupEnabled(CommandGroup::NeedsMedia, enabled);
}

void PlayerWindow::resetPositionDisplay()
{
    m_progressBar->hide();
    m_positionLabel->move(m_progressBar->pos());
    m_positionLabel->setText(QStringLiteral("0:00 / 0:00"));
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
