#include "app/AppState.h"
#include "editor/EditorCommands.h"
#include "platform/MediaPlayer.h"
#include "player/Form1.h"

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

void Form1::mnuDiminuisciVelocità_Click()
{
    changeSpeed(-0.1);
}

void Form1::mnuAumentaVelocità_Click()
{
    changeSpeed(+0.1);
}

void Form1::changeSpeed(double step)
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
    Label7->setText(QLocale().toString(shown, 'g', QLocale::FloatingPointShortest) +
                    QStringLiteral(" x"));
    Label7->show();
    startFade(0);
}

void Form1::startFade(int level)
{
    FadeLevel = level;
    Timer3.start(kFadeMs);
}

void Form1::Timer3_Timer()
{
    FadeLevel += kFadeStep;
    QLabel* faded = m_speedMark.isEmpty() ? Label5 : Label7;
    const int level = std::clamp(FadeLevel, 0, 255);
    faded->setStyleSheet(
        QStringLiteral("color: rgb(255, %1, %1); background: transparent;").arg(level));
    if (FadeLevel > kFadeEnd) {
        FadeLevel = -kFadeStep;
        Timer3.stop();
        m_speedMark.clear();
    }
}

void Form1::mnuTitoloCompleto_Click()
{
    mnuTitoloCompleto->setChecked(!mnuTitoloCompleto->isChecked());
    MostraPath();
    Salva();
}

void Form1::mnuPrimoPiano_Click()
{
    mnuPrimoPiano->setChecked(!mnuPrimoPiano->isChecked());
    setAlwaysOnTop(mnuPrimoPiano->isChecked());
    Salva();
}

void Form1::mnuMostraNascondi_Click()
{
    QWidget* editor = editorWindow();
    if (!editor)
        return;
    if (editor->isVisible()) {
        editor->hide();
        mnuMostraNascondi->setText(m_state.texts.text(86));
    } else {
        mnuMostraNascondi->setText(m_state.texts.text(116));
        editor->show();
    }
    Salva();
}
