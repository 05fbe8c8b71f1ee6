#include "core/AppState.h"
#include "core/EditorCommands.h"
#include "platform/Dialogs.h"
#include "player/PlayerFace.h"
#include "player/PlayerWindow.h"

#include <QAction>

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
    // The label shows what the engine took, not what was asked.
    m_face->showSpeed(m_playback->stepRate(step));
    Q_EMIT m_events.rateChanged();
}

void PlayerWindow::toggleFullPath()
{
    m_fullPathAction->setChecked(!m_fullPathAction->isChecked());
    m_face->showTitle(mediaCaption());
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
