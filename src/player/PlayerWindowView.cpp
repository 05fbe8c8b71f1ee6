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
    m_keeper->save();
}

void PlayerWindow::toggleFullPath()
{
    m_fullPathAction->setChecked(!m_fullPathAction->isChecked());
    m_face->showTitle(m_session->caption());
    m_keeper->save();
}

void PlayerWindow::toggleAlwaysOnTop()
{
    m_alwaysOnTopAction->setChecked(!m_alwaysOnTopAction->isChecked());
    m_companions.setAlwaysOnTop(m_alwaysOnTopAction->isChecked());
    m_keeper->save();
}

void PlayerWindow::toggleWaveform()
{
    if (m_companions.toggleWaveform())
        m_commands.showStates();
}

void PlayerWindow::toggleVideo()
{
    if (m_companions.toggleVideo())
        m_commands.showStates();
}

void PlayerWindow::showCommandStates()
{
    m_commands.showStates();
}

void PlayerWindow::toggleEditor()
{
    if (!m_companions.toggleEditor())
        return;
    m_commands.showStates();
    m_keeper->save();
}
