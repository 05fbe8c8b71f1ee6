#include "waveform/WaveformWindow.h"

#include "core/InterfaceTexts.h"
#include "core/OptionLines.h"
#include "core/PlayerCommands.h"
#include "core/PlayerEvents.h"
#include "waveform/WaveformView.h"

#include <QContextMenuEvent>
#include <QMenu>
#include <QVBoxLayout>

namespace {

// The playhead moves at the display's pace while playing.
constexpr int kPlayheadIntervalMs = 33;
constexpr int kMarksIntervalMs = 1000;
constexpr int kSaveDelayMs = 1000;

} // namespace

WaveformWindow::WaveformWindow(const InterfaceTexts& texts, PlayerCommands& player,
                               PeakBuilder::DecoderFactory decoders, const QString& cacheFolder,
                               const QString& optionsPath, QWidget* parent)
    : QWidget(parent, Qt::Tool), m_texts(texts), m_player(player),
      m_builder(std::move(decoders), cacheFolder), m_view(new WaveformView(this)),
      m_optionsPath(optionsPath)
{
    setObjectName(QStringLiteral("waveformWindow"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_view);
    resize(480, 110);
    m_view->setPeaks(&m_builder.peaks());
    if (!m_optionsPath.isEmpty())
        m_options = OptionLines::readOrLog<WaveformOptions>(m_optionsPath);
    m_savedOptions = m_options;
    m_view->setNormalised(m_options.normalised);
    m_view->setChosenSpan(m_options.span);
    m_saveTimer.setSingleShot(true);
    m_saveTimer.setInterval(kSaveDelayMs);
    connect(&m_saveTimer, &QTimer::timeout, this, &WaveformWindow::saveOptions);
    connect(m_view, &WaveformView::zoomed, this, [this](double across) {
        m_options.span = across;
        m_saveTimer.start();
    });

    connect(&m_builder, &PeakBuilder::started, m_view, &WaveformView::peaksChanged);
    connect(&m_builder, &PeakBuilder::peaksArrived, m_view, &WaveformView::peaksChanged);
    connect(&m_builder, &PeakBuilder::failed, this, &WaveformWindow::showFailure);
    connect(m_view, &WaveformView::seekRequested, this, [this](double seconds) {
        m_player.seekTo(seconds);
        m_player.refreshDisplay();
    });
    connect(m_view, &WaveformView::timestampChosen, this, &WaveformWindow::timestampChosen);
    // What is dragged over is what the loop command plays.
    connect(m_view, &WaveformView::selectionChanged, this, [this] {
        const auto selected = m_view->selection();
        m_player.setLoopMarks(selected ? TimeSpan{selected->first, selected->second} : TimeSpan{});
    });

    m_playheadTimer.setInterval(kPlayheadIntervalMs);
    connect(&m_playheadTimer, &QTimer::timeout, this, &WaveformWindow::showPlayhead);
    m_marksTimer.setInterval(kMarksIntervalMs);
    connect(&m_marksTimer, &QTimer::timeout, this, &WaveformWindow::readMarks);

    if (PlayerEvents* events = m_player.events()) {
        connect(events, &PlayerEvents::mediaChanged, this, &WaveformWindow::followMedia);
        connect(events, &PlayerEvents::positionMoved, this, &WaveformWindow::showPlayhead);
        connect(events, &PlayerEvents::loopChanged, this,
                [this] { m_view->setLoop(m_player.loopSpan()); });
        connect(events, &PlayerEvents::playStateChanged, this, [this] {
            const bool playing = m_player.playState() == PlayState::Playing;
            if (playing)
                m_view->setFollowing(true);
            if (playing && isVisible())
                m_playheadTimer.start();
            else
                m_playheadTimer.stop();
            showPlayhead();
        });
    }
    retranslate();
}

WaveformWindow::~WaveformWindow()
{
    saveOptions();
}

void WaveformWindow::setWanted(bool wanted)
{
    m_options.shown = wanted;
    saveOptions();
}

void WaveformWindow::saveOptions()
{
    m_saveTimer.stop();
    if (m_optionsPath.isEmpty() || m_options == m_savedOptions)
        return;
    if (OptionLines::writeOrLog(m_options, m_optionsPath))
        m_savedOptions = m_options;
}

void WaveformWindow::setMarkSources(MarkSource bookmarks, MarkSource timestamps)
{
    m_bookmarks = std::move(bookmarks);
    m_timestamps = std::move(timestamps);
    readMarks();
}

void WaveformWindow::retranslate()
{
    setWindowTitle(m_texts.plain(Text::WaveformWindow));
    m_view->setAccessibleName(m_texts.plain(Text::WaveformWindow));
    m_view->setAccessibleDescription(m_texts.plain(Text::WaveformDescription));
    if (m_builder.stage() == PeakBuilder::Stage::Failed)
        showFailure(m_builder.failure());
}

void WaveformWindow::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange)
        retranslate();
    QWidget::changeEvent(event);
}

void WaveformWindow::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    followMedia();
    readMarks();
    m_marksTimer.start();
    if (m_player.playState() == PlayState::Playing)
        m_playheadTimer.start();
}

void WaveformWindow::hideEvent(QHideEvent* event)
{
    QWidget::hideEvent(event);
    m_marksTimer.stop();
    m_playheadTimer.stop();
}

void WaveformWindow::contextMenuEvent(QContextMenuEvent* event)
{
    QMenu menu(this);
    QAction* normalised = menu.addAction(m_texts.text(Text::WaveformNormalised));
    normalised->setCheckable(true);
    normalised->setChecked(m_view->isNormalised());
    if (menu.exec(event->globalPos()) == normalised)
        setNormalised(normalised->isChecked());
}

void WaveformWindow::setNormalised(bool normalised)
{
    m_view->setNormalised(normalised);
    m_options.normalised = normalised;
    saveOptions();
}

void WaveformWindow::followMedia()
{
    const QString path = m_player.hasMedia() ? m_player.mediaPath() : QString();
    m_view->setDuration(m_player.duration());
    if (path.isEmpty()) {
        m_builder.stop();
        m_view->setMessage(QString());
        m_view->peaksChanged();
        return;
    }
    if (!isVisible() || path == m_builder.path())
        return;
    m_view->setMessage(QString());
    m_view->clearSelection();
    m_view->setPlayhead(m_player.position());
    m_builder.start(path, m_view->firstSecond(), m_view->secondsAcross());
}

void WaveformWindow::showPlayhead()
{
    if (m_view->duration() <= 0)
        m_view->setDuration(m_player.duration());
    m_view->setPlayhead(m_player.position());
}

void WaveformWindow::readMarks()
{
    if (m_bookmarks)
        m_view->setBookmarks(m_bookmarks());
    if (m_timestamps)
        m_view->setTimestamps(m_timestamps());
}

void WaveformWindow::showFailure(const QString& reason)
{
    m_view->setMessage(m_texts.text(Text::SoundNotDrawn).arg(reason));
}
