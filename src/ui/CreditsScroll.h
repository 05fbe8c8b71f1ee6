#pragma once

// The About window's scrolling panel, in twips: it rises through its viewport from just below
// it, waits once at the end of its text, and when it has left the top starts again from below.
class CreditsScroll {
public:
    static constexpr int kStartTop = 2200;
    static constexpr int kStep = 10;
    // Ticks the panel rests with its end in view, the first time it gets there.
    static constexpr int kPauseTicks = 120;

    CreditsScroll(int viewportHeight, int panelHeight)
        : m_viewportHeight(viewportHeight), m_panelHeight(panelHeight)
    {
    }

    // The panel's top inside the viewport.
    int top() const { return m_top; }
    void setPanelHeight(int height) { m_panelHeight = height; }
    // One tick of the scroll timer.
    void step();

private:
    int m_viewportHeight;
    int m_panelHeight;
    int m_top = kStartTop;
    // Ticks spent with the panel's end in view; kept for the whole opening, so that the panel
    // rests there only once.
    int m_ticksAtEnd = 0;
};
