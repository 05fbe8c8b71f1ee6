#include "ui/CreditsScroll.h"

void CreditsScroll::step()
{
    if (m_top <= m_viewportHeight - m_panelHeight) {
        if (m_ticksAtEnd <= kPauseTicks)
            ++m_ticksAtEnd;
        if (m_ticksAtEnd > kPauseTicks)
            m_top -= kStep;
    } else {
        m_top -= kStep;
    }
    if (m_top < -m_panelHeight)
        m_top = kStartTop;
}
