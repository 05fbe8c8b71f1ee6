#include "core/AppState.h"
#include "platform/Twips.h"
#include "player/PlayerWindow.h"
#include "player/SkinButton.h"

#include <algorithm>

namespace {

constexpr double kOpenShift = 20;

} // namespace

QStringList PlayerWindow::skinPictureNames()
{
    return {QStringLiteral("sfondo.jpg"),       QStringLiteral("display.jpg"),
            QStringLiteral("volume-track.png"), QStringLiteral("volume-knob.png"),
            QStringLiteral("play.jpg"),         QStringLiteral("stop.jpg"),
            QStringLiteral("bac.jpg"),          QStringLiteral("for.jpg"),
            QStringLiteral("rec.jpg"),          QStringLiteral("Apri.bmp"),
            QStringLiteral("vocarta.png"),      QStringLiteral("Indica.ico"),
            QStringLiteral("play2.jpg"),        QStringLiteral("pause.jpg"),
            QStringLiteral("pause2.jpg"),       QStringLiteral("stop2.jpg"),
            QStringLiteral("bac2.jpg"),         QStringLiteral("for2.jpg"),
            QStringLiteral("rec2.jpg"),         QStringLiteral("Apri2.bmp")};
}

PlayerWindow::ButtonPictures PlayerWindow::picturesOf(const SkinButton* button) const
{
    if (button == m_playButton)
        return m_playback->isPlaying() ? ButtonPictures{"pause.jpg", "pause2.jpg"}
                                       : ButtonPictures{"play.jpg", "play2.jpg"};
    if (button == m_stopButton)
        return {"stop.jpg", "stop2.jpg"};
    if (button == m_backButton)
        return {"bac.jpg", "bac2.jpg"};
    if (button == m_forwardButton)
        return {"for.jpg", "for2.jpg"};
    if (button == m_recordButton)
        return {"rec.jpg", "rec2.jpg"};
    return {"Apri.bmp", "Apri2.bmp"};
}

std::array<SkinButton*, 6> PlayerWindow::skinButtons() const
{
    return {m_playButton,    m_stopButton,   m_backButton,
            m_forwardButton, m_recordButton, m_openButton};
}

void PlayerWindow::showNormalImage(SkinButton* button)
{
    showImage(button, QLatin1String(picturesOf(button).normal));
}

void PlayerWindow::showHoverImage(SkinButton* button)
{
    showImage(button, QLatin1String(picturesOf(button).hover));
}

void PlayerWindow::showButtonImage(SkinButton* button)
{
    const auto buttons = skinButtons();
    const auto at = std::find(buttons.begin(), buttons.end(), button);
    if (at != buttons.end() && m_hover[at - buttons.begin()])
        showHoverImage(button);
    else
        showNormalImage(button);
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
    hoverButton(m_openButton);
    if (m_openButton->pos() == m_openButtonHome)
        m_openButton->move(m_openButtonHome +
                           QPoint(Twips::toPixels(kOpenShift), Twips::toPixels(kOpenShift)));
}

void PlayerWindow::leaveButtons()
{
    resetHoverExcept(nullptr);
    if (m_openButton->pos() != m_openButtonHome)
        m_openButton->move(m_openButtonHome);
}
