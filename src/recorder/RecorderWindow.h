#pragma once

#include "platform/Platform.h"
#include "recorder/CaptureEngine.h"

#include <QTimer>
#include <QWidget>

class LevelBar;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
struct AppState;

// The sound recorder: the format, the WAV file, Start / Pause / Resume and Stop, and while it
// records two level meters, the time recorded, the bytes written and a blinking state. Its
// capture engine does the work; closing the window finishes a recording's file.
class RecorderWindow : public QWidget {
    Q_OBJECT
public:
    RecorderWindow(AppState& state, const Platform& platform, QWidget* parent = nullptr);
    ~RecorderWindow() override;

    // The Start button: starts a recording (after the save dialog), or pauses or resumes it. The
    // recording begins once the sound input has opened; until then the window shows it starting.
    void pressStart();
    // The Stop button: the recording's file is complete when it returns.
    void pressStop();
    // Ends a recording without a word to the user, its file complete, as the program ends.
    void finishRecording();
    // The level timer's step: the meters, the time and the byte count.
    void refreshLevels();
    // The blink timer's step: the state text comes and goes while capturing.
    void blink();

    // A recording is starting, running or paused.
    bool isRecording() const { return m_engine.isOpen(); }
    // The WAV file named in the window.
    QString fileName() const;
    const CaptureEngine& engine() const { return m_engine; }

    static constexpr int kLevelIntervalMs = 50;
    static constexpr int kBlinkIntervalMs = 500;

    // The captions again, in the language just chosen, the recording going on; a language change
    // runs it.
    void retranslate();

protected:
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void buildControls();
    void showTexts();
    // The controls as the engine's state says: idle, starting, recording or paused.
    void showState();
    void startRecording();
    // The save dialog and the question before replacing a file; "" when the user backs out.
    QString askFileName();
    PcmFormat chosenFormat() const;
    void setBarWidth(LevelBar* bar, int peak);
    void showCounters();
    void showFault(CaptureEngine::Fault fault, const QString& reason);
    // A fault ended a recording that was running.
    void showBreak(CaptureEngine::Fault fault, const QString& reason);

    AppState& m_state;
    Platform m_platform;
    CaptureEngine m_engine;

    QComboBox* m_channelsBox = nullptr;
    QComboBox* m_frequencyBox = nullptr;
    QComboBox* m_bitsBox = nullptr;
    QLineEdit* m_fileBox = nullptr;
    QPushButton* m_startButton = nullptr;
    QPushButton* m_stopButton = nullptr;
    QLabel* m_stateLabel = nullptr;
    QLabel* m_indicator = nullptr;
    QLabel* m_timeLabel = nullptr;
    QLabel* m_bytesLabel = nullptr;
    QWidget* m_meterPanel = nullptr;
    QWidget* m_meterFrame = nullptr;
    LevelBar* m_leftBar = nullptr;
    LevelBar* m_rightBar = nullptr;
    QLabel* m_leftLabel = nullptr;
    QLabel* m_rightLabel = nullptr;
    QGroupBox* m_optionsBox = nullptr;
    QLabel* m_channelsLabel = nullptr;
    QLabel* m_frequencyLabel = nullptr;
    QLabel* m_bitsLabel = nullptr;
    QLabel* m_timeTitle = nullptr;
    QLabel* m_bytesTitle = nullptr;

    QTimer m_levelTimer{this};
    QTimer m_blinkTimer{this};
    bool m_markShown = false;
};
