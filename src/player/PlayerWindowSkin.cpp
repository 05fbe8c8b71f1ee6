#include "core/AppState.h"
#include "platform/Twips.h"
#include "player/PlayerWindow.h"
#include "player/SkinButton.h"

namespace {

constexpr double kOpenShift = 20;

struct Pictures {
    const char* normal;
    const char* hover;
};

} // namespace

std::array<SkinButton*, 6> PlayerWindow::skinButtons() const
{
    return {m_playButton,    m_stopButton,   m_backButton,
            m_forwardButton, m_recordButton, m_openButton};
}

bool PlayerWindow::isHovered(const SkinButton* button) const
{
    const auto buttons = skinButtons();
    for (size_t i = 0; i < buttons.size(); ++i) {
        if (buttons[i] == button)
            return m_hover[i];
    }
    return false;
}

namespace {

Pictures picturesOf(const PlayerWindow& player, const SkinButton* button, bool playing)
{
    if (button == player.m_playButton)
        return playing ? Pictures{"pause.jpg", "pause2.jpg"} : Pictures{"play.jpg", "play2.jpg"};
    if (button == player.m_stopButton)
        return {"stop.jpg", "stop2.jpg"};
    if (button == player.m_backButton)
        return {"bac.jpg", "bac2.jpg"};
    if (button == player.m_forwardButton)
        return {"for.jpg", "for2.jpg"};
    if (button == player.m_recordButton)
        return {"rec.jpg", "rec2.jpg"};
    return {"Apri.bmp", "Apri2.bmp"};
}

} // namespace

void PlayerWindow::showNormalImage(SkinButton* button)
{
    showPlayImage(button,
                  QString::fromLatin1(picturesOf(*this, button, !playTagIs(kEntryPlay)).normal));
}

void PlayerWindow::showHoverImage(SkinButton* button)
{
    showPlayImage(button,
                  QString::fromLatin1(picturesOf(*this, button, !playTagIs(kEntryPlay)).hover));
}

void PlayerWindow::resetHoverExcept(const SkinButton* keep)
{
    const auto buttons = skinButtons();
    for (size_t i = 0; i < buttons.size(); ++i) {
        if (buttons[i] == keep || !m_hover[i])
            continue;
        m_hover[i] = false;
        showNormalImage(buttons[i]);
    }
}

void PlayerWindow::hoverButton(SkinButton* button)
{
    const auto buttons = skinButtons();
    for (size_t i = 0; i < buttons.size(); ++i) {
        if (buttons[i] == button && !m_hover[i]) {
            m_hover[i] = true;
            showHoverImage(button);
        }
    }
    resetHoverExcept(button);
}

void PlayerWindow::hoverOpenButton()
{
    m_justOpened = false;
    hoverButton(m_openButton);
    if (m_openButton->pos() == m_openButtonHome)
        m_openButton->move(m_openButtonHome +
                           QPoint(Twips::toPixels(kOpenShift), Twips::toPixels(kOpenShift)));
}

void PlayerWindow::leaveButtons()
{
    m_justOpened = false;
    resetHoverExcept(nullptr);
    if (m_openButton->pos() != m_openButtonHome)
        m_openButton->move(m_openButtonHome);
}
