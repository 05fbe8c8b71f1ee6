#include "video/VideoWindow.h"

#include "core/EditorCommands.h"
#include "core/InterfaceTexts.h"
#include "core/Logging.h"
#include "core/PlayerCommands.h"
#include "video/VideoKeys.h"
#include "video/VideoViews.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QVBoxLayout>

VideoWindow::VideoWindow(const InterfaceTexts& texts, PlayerCommands& player, QWidget* parent)
    : QWidget(parent, Qt::Tool), m_texts(texts), m_player(player)
{
    setObjectName(QStringLiteral("videoWindow"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    QPalette black = palette();
    black.setColor(QPalette::Window, Qt::black);
    setPalette(black);
    setAutoFillBackground(true);
    setFocusPolicy(Qt::StrongFocus);
    resize(480, 270);
    retranslate();
}

VideoWindow::~VideoWindow()
{
    // The view goes before the window's native surface, with its context still there.
    dropVideo();
}

void VideoWindow::showVideo(std::unique_ptr<VideoRenderer> renderer)
{
    if (!renderer)
        return;
    if (VideoViews::openGlAvailable()) {
        auto* view = new OpenGlVideoView(std::move(renderer), this);
        // Queued: the view cannot go while it is being initialised.
        connect(view, &OpenGlVideoView::failed, this, &VideoWindow::fallBackToSoftware,
                Qt::QueuedConnection);
        setView(view);
    } else {
        setView(new SoftwareVideoView(std::move(renderer), this));
    }
}

void VideoWindow::fallBackToSoftware(const QString& reason)
{
    auto* failed = qobject_cast<OpenGlVideoView*>(m_view.data());
    if (!failed)
        return;
    qCWarning(lcPlayer).noquote() << "The picture is drawn without OpenGL:" << reason;
    std::unique_ptr<VideoRenderer> renderer = failed->takeRenderer();
    if (renderer)
        setView(new SoftwareVideoView(std::move(renderer), this));
}

void VideoWindow::setView(QWidget* view)
{
    dropVideo();
    m_view = view;
    // The window takes the keys and the double-click.
    m_view->setFocusPolicy(Qt::NoFocus);
    layout()->addWidget(m_view);
}

void VideoWindow::dropVideo()
{
    delete m_view.data();
    m_view = nullptr;
}

void VideoWindow::toggleFullScreen()
{
    if (isFullScreen())
        leaveFullScreen();
    else
        showFullScreen();
}

void VideoWindow::leaveFullScreen()
{
    if (isFullScreen())
        showNormal();
}

void VideoWindow::retranslate()
{
    setWindowTitle(m_texts.plain(Text::VideoWindow));
}

void VideoWindow::keyPressEvent(QKeyEvent* event)
{
    if (event->isAutoRepeat())
        return;
    const VideoKeyAction action = VideoKeys::onPress(event->key(), event->modifiers());
    if (action.window == VideoWindowCommand::LeaveFullScreen)
        leaveFullScreen();
    else if (action.window == VideoWindowCommand::InsertTimestamp && m_editor)
        m_editor->insertTimestamp();
    else if (action.player)
        runPlayerCommand(*action.player);
    else
        QWidget::keyPressEvent(event);
}

void VideoWindow::keyReleaseEvent(QKeyEvent* event)
{
    if (event->isAutoRepeat())
        return;
    const VideoKeyAction action = VideoKeys::onRelease(event->key(), event->modifiers());
    if (action.window == VideoWindowCommand::ToggleFullScreen)
        toggleFullScreen();
    else if (action.player)
        runPlayerCommand(*action.player);
    else
        QWidget::keyReleaseEvent(event);
}

void VideoWindow::runPlayerCommand(PlayerCommand command)
{
    // The command may end the program, or hand the keyboard to the transcript; the user is
    // watching this window, so it keeps the keyboard.
    const QPointer<VideoWindow> self(this);
    const bool active = isActiveWindow();
    m_player.runCommand(command);
    if (self && active && isVisible()) {
        raise();
        activateWindow();
    }
}

void VideoWindow::mouseDoubleClickEvent(QMouseEvent*)
{
    toggleFullScreen();
}

void VideoWindow::closeEvent(QCloseEvent* event)
{
    // The program closing its windows as it ends is no wish of the user's.
    if (!event->spontaneous())
        return;
    // Hidden, not destroyed: the picture comes back from the View menu.
    event->ignore();
    leaveFullScreen();
    Q_EMIT closeRequested();
}

void VideoWindow::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange)
        retranslate();
    QWidget::changeEvent(event);
}
