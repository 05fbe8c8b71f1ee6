#include "app/AppState.h"
#include "platform/Twips.h"
#include "player/Form1.h"
#include "player/SkinButton.h"

namespace {

constexpr double kOpenShift = 20;

struct Pictures {
    const char* normal;
    const char* hover;
};

} // namespace

std::array<SkinButton*, 6> Form1::skinButtons() const
{
    return {cmdPlay, cmdStop, cmdIndietro, cmdAvanz, cmdRec, Image3};
}

bool Form1::isHovered(const SkinButton* button) const
{
    const auto buttons = skinButtons();
    for (size_t i = 0; i < buttons.size(); ++i) {
        if (buttons[i] == button)
            return m_hover[i];
    }
    return false;
}

namespace {

Pictures picturesOf(const Form1& player, const SkinButton* button, bool playing)
{
    if (button == player.cmdPlay)
        return playing ? Pictures{"pause.jpg", "pause2.jpg"} : Pictures{"play.jpg", "play2.jpg"};
    if (button == player.cmdStop)
        return {"stop.jpg", "stop2.jpg"};
    if (button == player.cmdIndietro)
        return {"bac.jpg", "bac2.jpg"};
    if (button == player.cmdAvanz)
        return {"for.jpg", "for2.jpg"};
    if (button == player.cmdRec)
        return {"rec.jpg", "rec2.jpg"};
    return {"Apri.bmp", "Apri2.bmp"};
}

} // namespace

void Form1::showNormalImage(SkinButton* button)
{
    showPlayImage(button,
                  QString::fromLatin1(picturesOf(*this, button, !playTagIs(kEntryPlay)).normal));
}

void Form1::showHoverImage(SkinButton* button)
{
    showPlayImage(button,
                  QString::fromLatin1(picturesOf(*this, button, !playTagIs(kEntryPlay)).hover));
}

void Form1::resetHoverExcept(const SkinButton* keep)
{
    const auto buttons = skinButtons();
    for (size_t i = 0; i < buttons.size(); ++i) {
        if (buttons[i] == keep || !m_hover[i])
            continue;
        m_hover[i] = false;
        showNormalImage(buttons[i]);
    }
}

void Form1::buttonPointerMoved(SkinButton* button)
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

void Form1::Image3_MouseMove()
{
    m_justOpened = false;
    buttonPointerMoved(Image3);
    if (Image3->pos() == m_openButtonHome)
        Image3->move(m_openButtonHome +
                     QPoint(Twips::toPixels(kOpenShift), Twips::toPixels(kOpenShift)));
}

void Form1::Form_MouseMove()
{
    m_justOpened = false;
    resetHoverExcept(nullptr);
    if (Image3->pos() != m_openButtonHome)
        Image3->move(m_openButtonHome);
}
