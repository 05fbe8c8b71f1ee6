#include "core/AppState.h"
#include "core/EditorCommands.h"
#include "platform/Dialogs.h"
#include "player/Colours.h"
#include "player/PlayerWindow.h"

#include <QAction>
#include <QLabel>

namespace {

constexpr int kFadeMs = 100;
constexpr int kFadeStep = 15;
constexpr int kFadeEnd = 254;

} // namespace

void PlayerWindow::toggleSmartPlay()
{
    if (m_smartPlayAction->isChecked()) {
        m_smartPlayAction->setChecked(false);
    } else {
        m_smartPlayAction->setChecked(true);
        m_platform.dialogs->information(this, m_state.texts.plain(Text::SmartPlay),
                                        m_state.texts.plain(Text::SmartPlayExplained));
    }
    saveSettings();
}

void PlayerWindow::slowDown()
{
    changeSpeed(-0.1);
}

void PlayerWindow::speedUp()
{
    changeSpeed(+0.1);
}

void PlayerWindow::changeSpeed(double step)
{
    m_fadedLabel = FadedLabel::Speed;
    // The label shows what the engine took, not what was asked.
    const double rate = m_playback->stepRate(step);
    m_speedLabel->setText(QLocale().toString(rate, 'g', QLocale::FloatingPointShortest) +
                          QStringLiteral(" x"));
    m_speedLabel->show();
    startFade(0);
    Q_EMIT m_events.rateChanged();
}

void PlayerWindow::startFade(int level)
{
    m_fadeLevel = level;
    m_fadeTimer.start(kFadeMs);
}

void PlayerWindow::stepLabelFade()
{
    m_fadeLevel += kFadeStep;
    QLabel* faded = m_fadedLabel == FadedLabel::Speed ? m_speedLabel : m_volumeLabel;
    const int level = std::clamp(m_fadeLevel, 0, 255);
    Colours::setText(faded, QColor(255, level, level));
    if (m_fadeLevel > kFadeEnd) {
        m_fadeLevel = -kFadeStep;
        m_fadeTimer.stop();
        m_fadedLabel = FadedLabel::Volume;
    }
}

void PlayerWindow::toggleFullPath()
{
    m_fullPathAction->setChecked(!m_fullPathAction->isChecked());
    updateTitle();
    saveSettings();
}

void PlayerWindow::toggleAlwaysOnTop()
{
    m_alwaysOnTopAction->setChecked(!m_alwaysOnTopAction->isChecked());
    m_companions.setAlwaysOnTop(m_alwaysOnTopAction->isChecked());
    saveSettings();
}

void PlayerWindow::toggleEditor()
{
    if (!m_companions.toggleEditor())
        return;
    m_commands.showStates();
    saveSettings();
}
