#include "recorder/RecorderWindow.h"

#include "core/AppState.h"
#include "core/ScreenReaderName.h"
#include "platform/Dialogs.h"
#include "platform/Twips.h"
#include "recorder/LevelBar.h"
#include "recorder/RecordedTime.h"
#include "recorder/RecorderLogging.h"
#include "recorder/RecordingFile.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QFileInfo>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

// The meters' frame, inside, in twips; a bar at full scale stops this much short of its end.
constexpr int kMeterWidth = 3600;
constexpr int kBarHeight = 180;
constexpr int kBarGap = 60;
constexpr int kFullScaleMargin = 110;

const QColor kPanelGrey(0x40, 0x40, 0x40);
const QColor kRecordingRed(255, 0, 0);
const QColor kPausedGreen(0, 128, 0);
const QColor kIdleBlue(0, 0, 255);

void fill(QWidget* widget, const QColor& colour)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Window, colour);
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
}

void setTextColour(QWidget* widget, const QColor& colour)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::WindowText, colour);
    widget->setPalette(palette);
}

QPixmap recordingDot(int size)
{
    QPixmap dot(size, size);
    dot.fill(Qt::transparent);
    QPainter painter(&dot);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(kRecordingRed);
    painter.drawEllipse(dot.rect().adjusted(1, 1, -1, -1));
    return dot;
}

template <typename T> T* named(T* widget, const char* name)
{
    widget->setObjectName(QLatin1String(name));
    return widget;
}

} // namespace

RecorderWindow::RecorderWindow(AppState& state, const Platform& platform, QWidget* parent)
    : QWidget(parent, Qt::Window), m_state(state), m_platform(platform), m_engine(platform.capture)
{
    setObjectName(QStringLiteral("recorderWindow"));
    m_levelTimer.setObjectName(QStringLiteral("levelTimer"));
    m_blinkTimer.setObjectName(QStringLiteral("blinkTimer"));
    m_levelTimer.setInterval(kLevelIntervalMs);
    m_blinkTimer.setInterval(kBlinkIntervalMs);
    connect(&m_levelTimer, &QTimer::timeout, this, &RecorderWindow::refreshLevels);
    connect(&m_blinkTimer, &QTimer::timeout, this, &RecorderWindow::blink);
    connect(&m_engine, &CaptureEngine::brokeOff, this, &RecorderWindow::showBreak);
    connect(&m_engine, &CaptureEngine::startFailed, this, &RecorderWindow::showFault);
    connect(&m_engine, &CaptureEngine::started, this, [this] {
        m_meterPanel->show();
        showState();
        showCounters();
    });

    buildControls();
    showTexts();
    m_fileBox->setText(RecordingFile::defaultPath(m_state.programFolder));
    showState();
    showCounters();
}

RecorderWindow::~RecorderWindow()
{
    finishRecording();
}

void RecorderWindow::finishRecording()
{
    const QSignalBlocker quiet(&m_engine);
    m_engine.stop();
}

void RecorderWindow::buildControls()
{
    m_optionsBox = named(new QGroupBox(this), "optionsBox");
    m_channelsBox = named(new QComboBox(m_optionsBox), "channelsBox");
    m_channelsBox->addItem(QStringLiteral("2 - stereo"), 2);
    m_channelsBox->addItem(QStringLiteral("1 - mono"), 1);
    m_frequencyBox = named(new QComboBox(m_optionsBox), "frequencyBox");
    for (const int rate : {48000, 44100, 22050, 11025, 8000})
        m_frequencyBox->addItem(QString::number(rate), rate);
    m_frequencyBox->setCurrentIndex(1);
    m_bitsBox = named(new QComboBox(m_optionsBox), "bitsBox");
    for (const int bits : {16, 8})
        m_bitsBox->addItem(QString::number(bits), bits);
    m_channelsLabel = named(new QLabel(m_optionsBox), "channelsLabel");
    m_frequencyLabel = named(new QLabel(m_optionsBox), "frequencyLabel");
    m_bitsLabel = named(new QLabel(m_optionsBox), "bitsLabel");
    auto* options = new QFormLayout(m_optionsBox);
    options->addRow(m_channelsLabel, m_channelsBox);
    options->addRow(m_frequencyLabel, m_frequencyBox);
    options->addRow(m_bitsLabel, m_bitsBox);

    m_fileBox = named(new QLineEdit(this), "fileBox");
    m_startButton = named(new QPushButton(this), "startButton");
    m_stopButton = named(new QPushButton(this), "stopButton");
    connect(m_startButton, &QPushButton::clicked, this, &RecorderWindow::pressStart);
    connect(m_stopButton, &QPushButton::clicked, this, &RecorderWindow::pressStop);

    m_indicator = named(new QLabel(this), "recordingIndicator");
    const int dot = QFontMetrics(font()).height();
    m_indicator->setPixmap(recordingDot(dot));
    m_indicator->setFixedSize(dot, dot);
    m_stateLabel = named(new QLabel(this), "stateLabel");
    m_stateLabel->setMinimumWidth(
        QFontMetrics(font()).horizontalAdvance(QStringLiteral("MMMMMMMM")));

    m_timeTitle = named(new QLabel(this), "timeTitle");
    m_timeLabel = named(new QLabel(this), "timeLabel");
    m_bytesTitle = named(new QLabel(this), "bytesTitle");
    m_bytesLabel = named(new QLabel(this), "bytesLabel");

    m_meterPanel = named(new QWidget(this), "meterPanel");
    fill(m_meterPanel, kPanelGrey);
    m_meterFrame = named(new QWidget(m_meterPanel), "meterFrame");
    fill(m_meterFrame, Qt::black);
    m_meterFrame->setFixedSize(Twips::toPixels(kMeterWidth),
                               Twips::toPixels(2 * kBarHeight + 3 * kBarGap));
    m_leftBar = named(new LevelBar(m_meterFrame), "leftMeter");
    m_rightBar = named(new LevelBar(m_meterFrame), "rightMeter");
    Twips::place(m_leftBar, 0, kBarGap, 0, kBarHeight);
    Twips::place(m_rightBar, 0, 2 * kBarGap + kBarHeight, 0, kBarHeight);
    m_leftLabel = named(new QLabel(m_meterPanel), "leftLabel");
    m_rightLabel = named(new QLabel(m_meterPanel), "rightLabel");
    for (QLabel* label : {m_leftLabel, m_rightLabel})
        setTextColour(label, Qt::white);
    auto* sides = new QVBoxLayout;
    sides->addWidget(m_leftLabel);
    sides->addWidget(m_rightLabel);
    auto* meters = new QHBoxLayout(m_meterPanel);
    meters->addLayout(sides);
    meters->addWidget(m_meterFrame);
    m_meterPanel->hide();

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_startButton);
    buttons->addWidget(m_stopButton);
    buttons->addSpacing(dot);
    buttons->addWidget(m_indicator);
    buttons->addWidget(m_stateLabel);
    buttons->addStretch();

    auto* counters = new QGridLayout;
    counters->addWidget(m_timeTitle, 0, 0);
    counters->addWidget(m_timeLabel, 0, 1);
    counters->addWidget(m_bytesTitle, 1, 0);
    counters->addWidget(m_bytesLabel, 1, 1);
    counters->setColumnStretch(1, 1);

    auto* column = new QVBoxLayout(this);
    column->addWidget(m_optionsBox);
    column->addWidget(m_fileBox);
    column->addLayout(buttons);
    column->addLayout(counters);
    column->addWidget(m_meterPanel);
    column->setSizeConstraint(QLayout::SetFixedSize);
}

void RecorderWindow::showTexts()
{
    const InterfaceTexts& t = m_state.texts;
    setWindowTitle(t.plain(Text::Record));
    m_optionsBox->setTitle(t.text(Text::RecordingOptions));
    m_channelsLabel->setText(t.text(Text::Channels));
    m_frequencyLabel->setText(t.text(Text::Frequency));
    m_bitsLabel->setText(t.text(Text::BitsPerSample));
    m_timeTitle->setText(t.text(Text::TimeRecorded));
    m_bytesTitle->setText(t.text(Text::BytesWritten));
    m_stopButton->setText(t.text(Text::Stop));
    m_leftLabel->setText(t.text(Text::LeftChannel));
    m_rightLabel->setText(t.text(Text::RightChannel));
    setScreenReaderName(m_fileBox, t.text(Text::RecordingFileName));
    m_leftBar->setAccessibleName(t.plain(Text::LeftLevel));
    m_rightBar->setAccessibleName(t.plain(Text::RightLevel));
}

void RecorderWindow::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange)
        retranslate();
    QWidget::changeEvent(event);
}

void RecorderWindow::retranslate()
{
    showTexts();
    showState();
    showCounters();
}

QString RecorderWindow::fileName() const
{
    return m_fileBox->text();
}

void RecorderWindow::showState()
{
    const InterfaceTexts& t = m_state.texts;
    const CaptureEngine::State state = m_engine.state();
    const bool open = state != CaptureEngine::State::Idle;
    m_startButton->setEnabled(state != CaptureEngine::State::Starting);
    m_stopButton->setEnabled(open);
    for (QWidget* setting :
         {static_cast<QWidget*>(m_channelsBox), static_cast<QWidget*>(m_frequencyBox),
          static_cast<QWidget*>(m_bitsBox), static_cast<QWidget*>(m_fileBox)})
        setting->setEnabled(!open);
    m_indicator->setVisible(state == CaptureEngine::State::Recording);

    QFont bold = m_stateLabel->font();
    bold.setBold(open);
    m_stateLabel->setFont(bold);
    switch (state) {
    case CaptureEngine::State::Idle:
    case CaptureEngine::State::Starting:
        m_startButton->setText(QStringLiteral("&") + t.text(Text::StartRecording));
        m_stateLabel->setText(open ? t.plain(Text::RecordingStarting) : QString());
        setTextColour(m_stateLabel, kIdleBlue);
        m_levelTimer.stop();
        m_blinkTimer.stop();
        break;
    case CaptureEngine::State::Paused:
        m_startButton->setText(QStringLiteral("&") + t.text(Text::ResumeRecording));
        m_stateLabel->setText(t.plain(Text::RecordingPaused));
        setTextColour(m_stateLabel, kPausedGreen);
        m_blinkTimer.stop();
        break;
    case CaptureEngine::State::Recording:
        m_startButton->setText(t.text(Text::Pause));
        m_stateLabel->setText(t.plain(Text::RecordingMark));
        m_markShown = true;
        setTextColour(m_stateLabel, kRecordingRed);
        m_levelTimer.start();
        m_blinkTimer.start();
        break;
    }
}

void RecorderWindow::pressStart()
{
    if (m_engine.state() == CaptureEngine::State::Idle) {
        startRecording();
        return;
    }
    m_engine.togglePause();
    showState();
    showCounters();
}

void RecorderWindow::startRecording()
{
    setBarWidth(m_leftBar, 0);
    setBarWidth(m_rightBar, 0);
    const QString path = askFileName();
    if (path.isEmpty())
        return;
    m_fileBox->setText(path);

    m_engine.start(chosenFormat(), path);
    showState();
    showCounters();
}

QString RecorderWindow::askFileName()
{
    const InterfaceTexts& t = m_state.texts;
    FileDialogRequest request;
    request.owner = this;
    request.title = t.plain(Text::SaveRecordingTitle);
    request.filters = {{t.text(Text::WavFiles), QStringLiteral("*.wav")}};
    request.defaultExtension = QStringLiteral("wav");
    request.fileName = m_fileBox->text();
    const QString chosen = m_platform.dialogs->showFileDialog(request);
    if (chosen.trimmed().isEmpty())
        return {};
    if (QFileInfo::exists(chosen) &&
        m_platform.dialogs->message(this, QMessageBox::Warning, t.plain(Text::ProgramName),
                                    t.plain(Text::FileExists) + QStringLiteral("\n\n") +
                                        t.plain(Text::ReplaceFile),
                                    QMessageBox::Yes | QMessageBox::No) != QMessageBox::Yes)
        return {};
    return chosen;
}

PcmFormat RecorderWindow::chosenFormat() const
{
    PcmFormat format;
    format.channels = m_channelsBox->currentData().toInt();
    format.bitsPerSample = m_bitsBox->currentData().toInt();
    format.samplesPerSecond = m_frequencyBox->currentData().toInt();
    return format;
}

void RecorderWindow::pressStop()
{
    m_engine.stop();
    showState();
    showCounters();
}

void RecorderWindow::refreshLevels()
{
    if (m_engine.isOpen()) {
        if (const auto peaks = m_engine.peaks()) {
            setBarWidth(m_leftBar, peaks->left);
            setBarWidth(m_rightBar, peaks->right);
        }
    }
    showCounters();
}

void RecorderWindow::setBarWidth(LevelBar* bar, int peak)
{
    const qint64 fullScale = qint64(m_engine.fullScale());
    const qint64 inner = Twips::fromPixels(m_meterFrame->width());
    const qint64 twips = fullScale > 0 ? inner * peak / fullScale - kFullScaleMargin : 0;
    // Quiet sound gives a width below nothing: an empty bar.
    bar->resize(twips > 0 ? Twips::toPixels(double(twips)) : 0, bar->height());
}

void RecorderWindow::blink()
{
    if (m_engine.state() != CaptureEngine::State::Recording)
        return;
    m_markShown = !m_markShown;
    m_stateLabel->setText(m_markShown ? m_state.texts.plain(Text::RecordingMark) : QString());
}

void RecorderWindow::showCounters()
{
    m_timeLabel->setText(RecordedTime::format(m_engine.elapsedSeconds()));
    m_bytesLabel->setText(QString::number(m_engine.bytesWritten()) + QLatin1Char(' ') +
                          m_state.texts.text(Text::Bytes));
}

void RecorderWindow::showFault(CaptureEngine::Fault fault, const QString& reason)
{
    showState();
    showCounters();
    const InterfaceTexts& t = m_state.texts;
    if (fault == CaptureEngine::Fault::Stalled)
        m_platform.dialogs->warning(this, t.plain(Text::ProgramName),
                                    t.plain(Text::SoundServerNotAnswering));
    else if (fault == CaptureEngine::Fault::Device)
        m_platform.dialogs->message(this, QMessageBox::NoIcon, t.plain(Text::ProgramName),
                                    reason.trimmed(), QMessageBox::Ok);
    else
        m_platform.dialogs->warning(this, t.plain(Text::ProgramName),
                                    t.plain(Text::SaveFailed) + QLatin1Char('\n') +
                                        m_fileBox->text() + QLatin1Char('\n') + reason);
}

void RecorderWindow::showBreak(CaptureEngine::Fault fault, const QString& reason)
{
    if (fault == CaptureEngine::Fault::File) {
        showFault(fault, reason);
        return;
    }
    showState();
    showCounters();
    // The server's words alone would leave the user wondering what became of the take.
    const InterfaceTexts& t = m_state.texts;
    const QString why = fault == CaptureEngine::Fault::Stalled
                            ? t.plain(Text::SoundServerNotAnswering)
                            : reason.trimmed();
    m_platform.dialogs->warning(this, t.plain(Text::ProgramName),
                                t.plain(Text::RecordingBrokeOff) + QLatin1Char('\n') +
                                    m_fileBox->text() + QStringLiteral("\n\n") + why);
}

void RecorderWindow::closeEvent(QCloseEvent* event)
{
    m_engine.stop();
    showState();
    QWidget::closeEvent(event);
}
