#include "waveform/WaveformView.h"

#include "waveform/Peaks.h"

#include <QHelpEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QToolTip>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>

namespace {

// The band along the bottom where the timestamps' marks stand, and how near a click must come to
// a mark to choose it.
constexpr int kTimestampBand = 10;
constexpr double kMarkReach = 4;
// A press that moves less than this is a click, not a drag.
constexpr double kDragStart = 3;
// Where the page turns to when the playhead leaves it: a little of what was heard stays in view.
constexpr double kPageLead = 0.1;
constexpr double kZoomStep = 1.5;

const QColor kPlayheadColour(220, 30, 30);
const QColor kBookmarkColour(230, 140, 20);
const QColor kLoopColour(40, 160, 90);

} // namespace

WaveformView::WaveformView(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("waveformView"));
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);
    setMinimumHeight(60);
}

void WaveformView::setPeaks(const Peaks* peaks)
{
    m_peaks = peaks;
    invalidate();
}

void WaveformView::peaksChanged()
{
    invalidate();
}

void WaveformView::invalidate()
{
    m_pictureValid = false;
    update();
}

void WaveformView::setDuration(double seconds)
{
    m_duration = std::max(0.0, seconds);
    setSpan(m_first, m_chosenAcross);
}

void WaveformView::setSpan(double first, double across)
{
    // Until the length is known, any span stands.
    const double longest = m_duration > 0 ? std::max(m_duration, kNarrowestSpan) : across;
    across = std::clamp(across, kNarrowestSpan, std::max(longest, kNarrowestSpan));
    first = std::clamp(first, 0.0, std::max(0.0, m_duration - across));
    if (first == m_first && across == m_across)
        return;
    m_first = first;
    m_across = across;
    invalidate();
    Q_EMIT spanChanged();
}

void WaveformView::zoom(double factor, double around)
{
    const double share = m_across > 0 ? (around - m_first) / m_across : 0.5;
    double across = std::max(m_across * factor, kNarrowestSpan);
    if (m_duration > 0)
        across = std::min(across, std::max(m_duration, kNarrowestSpan));
    setSpan(around - share * across, across);
    m_chosenAcross = m_across;
    Q_EMIT zoomed(m_across);
}

void WaveformView::setChosenSpan(double across)
{
    m_chosenAcross = std::max(across, kNarrowestSpan);
    setSpan(m_first, m_chosenAcross);
}

double WaveformView::secondsAt(double x) const
{
    return m_first + x * m_across / std::max(1, width());
}

double WaveformView::xAt(double seconds) const
{
    return (seconds - m_first) * width() / m_across;
}

PeakBin WaveformView::columnPeak(int x) const
{
    if (!m_peaks)
        return {};
    const qint64 first = m_peaks->binAt(secondsAt(x));
    const double end = secondsAt(x + 1) * m_peaks->sampleRate() / Peaks::kSamplesPerBin;
    return m_peaks->span(first, std::max(first + 1, qint64(std::ceil(end))));
}

void WaveformView::setPlayhead(double seconds)
{
    const double oldX = std::floor(xAt(m_playhead));
    m_playhead = seconds;
    if (m_following && (seconds < m_first || seconds >= m_first + m_across))
        setSpan(seconds - kPageLead * m_across, m_across);
    if (std::floor(xAt(seconds)) != oldX)
        update();
}

void WaveformView::setFollowing(bool following)
{
    m_following = following;
    if (following)
        setPlayhead(m_playhead);
}

void WaveformView::setBookmarks(const TimeMarks& marks)
{
    if (marks == m_bookmarks)
        return;
    m_bookmarks = marks;
    update();
}

void WaveformView::setTimestamps(const TimeMarks& marks)
{
    if (marks == m_timestamps)
        return;
    m_timestamps = marks;
    update();
}

void WaveformView::setNormalised(bool normalised)
{
    m_normalised = normalised;
    invalidate();
}

void WaveformView::setMessage(const QString& message)
{
    m_message = message;
    invalidate();
}

void WaveformView::clearSelection()
{
    if (!m_selection)
        return;
    m_selection.reset();
    update();
    Q_EMIT selectionChanged();
}

void WaveformView::setLoop(const std::optional<TimeSpan>& loop)
{
    if (loop == m_loop)
        return;
    m_loop = loop;
    update();
}

void WaveformView::drawPicture()
{
    const qreal ratio = devicePixelRatioF();
    m_picture = QPixmap(size() * ratio);
    m_picture.setDevicePixelRatio(ratio);
    m_picture.fill(palette().color(QPalette::Base));
    QPainter painter(&m_picture);
    const int waveHeight = height() - kTimestampBand;
    const double middle = waveHeight / 2.0;
    painter.setPen(palette().color(QPalette::Mid));
    painter.drawLine(QPointF(0, middle), QPointF(width(), middle));
    m_pictureValid = true;
    if (!m_message.isEmpty() || !m_peaks || m_peaks->binCount() == 0)
        return;

    const int fullScale = m_normalised && m_peaks->loudest() > 0 ? m_peaks->loudest() : 32767;
    const double scale = (middle - 1) / fullScale;
    painter.setPen(palette().color(QPalette::Highlight));
    for (int x = 0; x < width(); ++x) {
        const PeakBin bin = columnPeak(x);
        if (bin.isEmpty())
            continue;
        const double top = middle - bin.high * scale;
        const double bottom = middle - bin.low * scale;
        painter.drawLine(QPointF(x + 0.5, top), QPointF(x + 0.5, std::max(bottom, top + 0.5)));
    }
}

void WaveformView::paintEvent(QPaintEvent*)
{
    if (!m_pictureValid || m_picture.deviceIndependentSize() != QSizeF(size()))
        drawPicture();
    QPainter painter(this);
    painter.drawPixmap(0, 0, m_picture);

    if (m_loop) {
        const double from = xAt(m_loop->from);
        const double to = xAt(m_loop->to);
        QColor shade = kLoopColour;
        shade.setAlpha(50);
        painter.fillRect(QRectF(from, 0, std::max(1.0, to - from), height()), shade);
        painter.setPen(QPen(kLoopColour, 2));
        painter.drawLine(QPointF(from, 0), QPointF(from, height()));
        painter.drawLine(QPointF(to, 0), QPointF(to, height()));
    }
    if (m_selection) {
        const double from = xAt(std::min(m_selection->first, m_selection->second));
        const double to = xAt(std::max(m_selection->first, m_selection->second));
        QColor shade = palette().color(QPalette::Highlight);
        shade.setAlpha(60);
        painter.fillRect(QRectF(from, 0, std::max(1.0, to - from), height()), shade);
    }
    painter.setPen(kBookmarkColour);
    painter.setBrush(kBookmarkColour);
    for (const TimeMark& mark : std::as_const(m_bookmarks)) {
        const double x = std::floor(xAt(mark.seconds)) + 0.5;
        if (x < -kMarkReach || x > width() + kMarkReach)
            continue;
        painter.drawLine(QPointF(x, 0), QPointF(x, height() - kTimestampBand));
        const QPointF flag[] = {{x, 0}, {x + 6, 3}, {x, 6}};
        painter.drawPolygon(flag, 3);
    }
    painter.setPen(palette().color(QPalette::Text));
    for (const TimeMark& mark : std::as_const(m_timestamps)) {
        const double x = std::floor(xAt(mark.seconds)) + 0.5;
        painter.drawLine(QPointF(x, height() - kTimestampBand + 2), QPointF(x, height()));
    }
    const double playheadX = std::floor(xAt(m_playhead)) + 0.5;
    painter.setPen(QPen(kPlayheadColour, 1));
    painter.drawLine(QPointF(playheadX, 0), QPointF(playheadX, height()));

    if (!m_message.isEmpty()) {
        painter.setPen(palette().color(QPalette::Text));
        painter.drawText(rect().adjusted(8, 0, -8, -kTimestampBand),
                         Qt::AlignCenter | Qt::TextWordWrap, m_message);
    }
    if (hasFocus()) {
        painter.setPen(QPen(palette().color(QPalette::Highlight), 1, Qt::DotLine));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5));
    }
}

void WaveformView::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    invalidate();
}

const TimeMark* WaveformView::markNear(const TimeMarks& marks, double x) const
{
    const TimeMark* nearest = nullptr;
    double distance = kMarkReach + 1;
    for (const TimeMark& mark : marks) {
        const double d = std::abs(xAt(mark.seconds) - x);
        if (d <= kMarkReach && d < distance) {
            nearest = &mark;
            distance = d;
        }
    }
    return nearest;
}

bool WaveformView::inTimestampBand(double y) const
{
    return y >= height() - kTimestampBand;
}

void WaveformView::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return QWidget::mousePressEvent(event);
    m_pressedAt = event->position().x();
}

void WaveformView::mouseMoveEvent(QMouseEvent* event)
{
    if (!m_pressedAt || !(event->buttons() & Qt::LeftButton))
        return;
    const double x = event->position().x();
    if (!m_selection && std::abs(x - *m_pressedAt) < kDragStart)
        return;
    m_selection = std::pair(secondsAt(*m_pressedAt), std::clamp(secondsAt(x), 0.0, m_duration));
    update();
}

void WaveformView::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton || !m_pressedAt)
        return QWidget::mouseReleaseEvent(event);
    m_pressedAt.reset();
    if (m_selection && m_selection->first != m_selection->second) {
        if (m_selection->first > m_selection->second)
            std::swap(m_selection->first, m_selection->second);
        Q_EMIT selectionChanged();
        return;
    }
    const QPointF at = event->position();
    if (inTimestampBand(at.y())) {
        if (const TimeMark* mark = markNear(m_timestamps, at.x()))
            return Q_EMIT timestampChosen(mark->seconds);
    }
    const TimeMark* bookmark = markNear(m_bookmarks, at.x());
    const double seconds = bookmark ? bookmark->seconds : secondsAt(at.x());
    clearSelection();
    // The playhead goes there at once, so that following does not turn back to where it was.
    m_playhead = std::clamp(seconds, 0.0, m_duration);
    setFollowing(true);
    update();
    Q_EMIT seekRequested(m_playhead);
}

void WaveformView::wheelEvent(QWheelEvent* event)
{
    const double notches = event->angleDelta().y() / 120.0;
    if (notches == 0)
        return;
    if (event->modifiers() & Qt::ControlModifier) {
        zoom(std::pow(kZoomStep, -notches), secondsAt(event->position().x()));
    } else {
        m_following = false;
        setSpan(m_first - notches * m_across / 10, m_across);
    }
    event->accept();
}

void WaveformView::keyPressEvent(QKeyEvent* event)
{
    const double around = m_playhead >= m_first && m_playhead <= m_first + m_across
                              ? m_playhead
                              : m_first + m_across / 2;
    switch (event->key()) {
    case Qt::Key_Plus:
    case Qt::Key_Equal:
        return zoom(1 / kZoomStep, around);
    case Qt::Key_Minus:
        return zoom(kZoomStep, around);
    default:
        QWidget::keyPressEvent(event);
    }
}

bool WaveformView::event(QEvent* event)
{
    if (event->type() == QEvent::ToolTip) {
        const auto* help = static_cast<QHelpEvent*>(event);
        const TimeMark* mark = inTimestampBand(help->pos().y())
                                   ? markNear(m_timestamps, help->pos().x())
                                   : markNear(m_bookmarks, help->pos().x());
        if (mark && !mark->text.isEmpty())
            QToolTip::showText(help->globalPos(), mark->text, this);
        else
            QToolTip::hideText();
        return true;
    }
    return QWidget::event(event);
}
