#include "video/VideoCompanion.h"

#include "core/EditorCommands.h"
#include "core/OptionLines.h"
#include "platform/MediaPlayer.h"
#include "platform/OnScreen.h"
#include "platform/Twips.h"
#include "video/VideoWindow.h"

#include <QScreen>

namespace {

// Twips between the player and the video window beside it, when it has no place of its own.
constexpr int kGap = 60;
// The narrowest frame, in twips, the video window is shrunk to in order to fit beside them.
constexpr int kSmallestWidth = 3600;

// The available area of the screen the window is on, in twips.
QRect screenArea(const QWidget* window)
{
    const QScreen* screen = window->screen();
    if (!screen)
        return QRect();
    const QRect area = screen->availableGeometry();
    return QRect(Twips::fromPixels(area.x()), Twips::fromPixels(area.y()),
                 Twips::fromPixels(area.width()), Twips::fromPixels(area.height()));
}

} // namespace

QRect firstVideoFrame(const QRect& beside, const QSize& size, const QRect& area)
{
    QRect frame(beside.left() + beside.width() + kGap, beside.top(), size.width(), size.height());
    const int room = area.left() + area.width() - frame.left();
    if (!area.isEmpty() && room < frame.width() && room >= kSmallestWidth && frame.width() > 0)
        frame.setSize(QSize(room, int(qint64(frame.height()) * room / frame.width())));
    return frame;
}

VideoCompanion::VideoCompanion(const InterfaceTexts& texts, MediaPlayer& media,
                               PlayerCommands& commands, QWidget* player,
                               const QString& optionsPath)
    : m_texts(texts), m_media(media), m_commands(commands), m_player(player),
      m_optionsPath(optionsPath)
{
    if (!m_optionsPath.isEmpty())
        m_options = OptionLines::readOrLog<VideoOptions>(m_optionsPath);
    m_savedOptions = m_options;
    connect(&m_media, &MediaPlayer::videoChanged, this, &VideoCompanion::followMedia);
}

VideoCompanion::~VideoCompanion()
{
    notePlace();
    saveOptions();
}

void VideoCompanion::setEditor(EditorCommands* editor)
{
    m_editor = editor;
    if (m_window)
        m_window->setEditor(editor);
}

QWidget* VideoCompanion::window()
{
    return m_window.get();
}

bool VideoCompanion::hasVideo() const
{
    return m_window && m_media.hasVideo();
}

void VideoCompanion::setWanted(bool wanted)
{
    if (m_options.shown != wanted) {
        m_options.shown = wanted;
        saveOptions();
        Q_EMIT wantedChanged();
    }
    if (wanted && hasVideo())
        showWindow();
    else if (!wanted)
        hideWindow();
}

void VideoCompanion::followMedia()
{
    if (!m_media.hasVideo()) {
        // Nothing to show: the view goes with its renderer and context, the window stays.
        hideWindow();
        if (m_window)
            m_window->dropVideo();
        return;
    }
    if (!m_window) {
        m_window = std::make_unique<VideoWindow>(m_texts, m_commands);
        m_window->setEditor(m_editor);
        connect(m_window.get(), &VideoWindow::closeRequested, this, [this] { setWanted(false); });
    }
    if (m_options.shown && m_player->isVisible() && !m_player->isMinimized())
        showWindow();
}

void VideoCompanion::showWindow()
{
    VideoWindow* window = m_window.get();
    // The view before the window's place: an OpenGL view added to a window whose native surface
    // was made for plain painting (placing the window makes it) is never drawn.
    if (!window->view())
        window->showVideo(m_media.createVideoRenderer());
    if (window->isVisible() || !window->view())
        return;
    window->setWindowFlag(Qt::WindowStaysOnTopHint,
                          m_player->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    if (!m_placed && m_options.place.isValid()) {
        Twips::restorePlace(window, m_options.place);
    } else if (!m_placed) {
        // First time: right of the player and the transcript below it, level with the player.
        QRect beside = Twips::frame(m_player);
        if (QWidget* editor = m_editor ? m_editor->window() : nullptr;
            editor && editor->isVisible())
            beside |= Twips::frame(editor);
        Twips::setFrame(window, firstVideoFrame(beside, Twips::frame(window).size(),
                                                screenArea(m_player)));
    }
    m_placed = true;
    keepOnScreen(window);
    window->show();
}

void VideoCompanion::hideWindow()
{
    if (!m_window || !m_window->isVisible())
        return;
    notePlace();
    m_window->leaveFullScreen();
    m_window->hide();
    // Nobody sees the picture: mpv decodes the sound alone until the window comes back.
    m_window->dropVideo();
    saveOptions();
}

void VideoCompanion::notePlace()
{
    if (m_window && m_window->isVisible() && !m_window->isFullScreen())
        m_options.place = Twips::storedPlace(m_window.get());
}

void VideoCompanion::saveOptions()
{
    if (m_optionsPath.isEmpty() || m_options == m_savedOptions)
        return;
    if (OptionLines::writeOrLog(m_options, m_optionsPath))
        m_savedOptions = m_options;
}
