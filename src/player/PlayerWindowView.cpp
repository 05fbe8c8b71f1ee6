#include "core/AppState.h"
#include "core/EditorCommands.h"
#include "platform/MediaPlayer.h"
#include "player/PlayerWindow.h"

#include <QAction>
#include <QLabel>
#include <cmath>

namespace {

constexpr double kSlowest = 0.1;
constexpr double kFastest = 4.9;
constexpr int kFadeMs = 100;
constexpr int kFadeStep = 15;
constexpr int kFadeEnd = 254;

} // namespace

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
    m_speedMark = QStringLiteral("1");
    MediaPlayer* media = m_platform.media;
    if (media) {
        const double rate = media->rate();
        // Whole tenths, so that the reachable rates are exactly 0.1 .. 4.9.
        const double next = std::round((rate + step) * 10) / 10;
        if ((step < 0 && rate > kSlowest + 1e-9) || (step > 0 && rate < kFastest - 1e-9))
            media->setRate(next);
    }
    // The label shows what the engine took, not what was asked.
    const double shown = media ? media->rate() : 1.0;
    m_speedLabel->setText(QLocale().toString(shown, 'g', QLocale::FloatingPointShortest) +
                          QStringLiteral(" x"));
    m_speedLabel->show();
    startFade(0);
}

void PlayerWindow::startFade(int level)
{
    FadeLevel = level;
    Timer3.start(kFadeMs);
}

void PlayerWindow::stepLabelFade()
{
    FadeLevel += kFadeStep;
    QLabel* faded = m_speedMark.isEmpty() ? m_volumeLabel : m_speedLabel;
    const int level = std::clamp(FadeLevel, 0, 255);
    faded->setStyleSheet(
        QStringLiteral("color: rgb(255, %1, %1); background: transparent;").arg(level));
    if (FadeLevel > kFadeEnd) {
        FadeLevel = -kFadeStep;
        Timer3.stop();
        m_speedMark.clear();
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
    setAlwaysOnTop(m_alwaysOnTopAction->isChecked());
    saveSettings();
}

void PlayerWindow::toggleEditor()
{
    QWidget* editor = editorWindow();
    if (!editor)
        return;
    if (editor->isVisible()) {
        editor->hide();
        m_editorAction->setText(m_state.texts.text(Text::ShowEditor));
    } else {
        m_editorAction->setText(m_state.texts.text(Text::HideEditor));
        editor->show();
    }
    saveSettings();
}
