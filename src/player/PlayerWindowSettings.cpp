#include "platform/Twips.h"
#include "player/PlayerFace.h"
#include "player/PlayerWindow.h"

#include <QAction>

namespace {

// Takes a companion window's visibility and place; a window that does not exist keeps the
// stored values.
void takePlace(const QWidget* window, bool& visible, int& left, int& top, int& width, int& height)
{
    if (!window)
        return;
    visible = window->isVisible();
    const QRect place = Twips::storedPlace(window);
    left = place.left();
    top = place.top();
    width = place.width();
    height = place.height();
}

} // namespace

void PlayerWindow::collectSettings(StoredSettings& s) const
{
    s.volume = m_face->knobValue();
    s.knobTop = m_face->knobTop();
    const TransportOptions& transport = m_playback->options();
    s.jumpSeconds = transport.skipSeconds;
    s.backSeconds = transport.backSeconds;
    s.showFullPath = m_session->showsFullPath();
    const QRect player = Twips::storedPlace(this);
    s.playerLeft = player.left();
    s.playerTop = player.top();
    takePlace(m_companions.editorWindow(), s.editorVisible, s.editorLeft, s.editorTop,
              s.editorWidth, s.editorHeight);
    s.alwaysOnTop = m_alwaysOnTopAction->isChecked();
    takePlace(m_companions.bookmarkWindow(), s.bookmarksVisible, s.bookmarksLeft, s.bookmarksTop,
              s.bookmarksWidth, s.bookmarksHeight);
    s.playTime = transport.playTime;
    s.pauseTime = transport.pauseTime;
    s.smartPlay = m_playback->smartPlay();
    // Minimised, or hidden while the About window is open, the player hides its companions only
    // for the while: what the menus say is what the next start shows.
    if (isMinimized() || !isVisible()) {
        if (m_companions.editorWindow())
            s.editorVisible = m_companions.editorShown();
        if (m_companions.bookmarkWindow())
            s.bookmarksVisible = m_companions.bookmarkWindowShown();
    }
}
