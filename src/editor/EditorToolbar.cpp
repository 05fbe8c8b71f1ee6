#include "editor/EditorToolbar.h"

#include "editor/ToolbarIcons.h"
#include "platform/Twips.h"

#include <QAbstractButton>
#include <QEvent>
#include <QFontMetricsF>
#include <QMouseEvent>
#include <QPainter>
#include <QToolTip>
#include <cmath>
#include <utility>

namespace {

using Zone = EditorToolbar::Zone;

// Where each zone lies, in twips, indexed by zone number.
struct ZoneSpan {
    int left;
    int width;
};
constexpr std::array<ZoneSpan, EditorToolbar::kZoneCount> kZoneSpans = {{
    {150, 435},  // New
    {580, 455},  // Open
    {1020, 435}, // Save
    {1440, 485}, // Print
    {2880, 465}, // Bold
    {3300, 435}, // Italic
    {3720, 465}, // Underline
    {4140, 465}, // StrikeOut
    {4650, 450}, // AlignLeft
    {5100, 450}, // AlignCentre
    {5550, 450}, // AlignRight
    {6040, 465}, // Larger
    {6510, 465}, // Smaller
    {6950, 465}, // Colour
    {7460, 465}, // Bullet
    {1980, 435}, // Undo
    {2400, 435}, // Redo
    {7970, 465}, // Timestamp
}};
constexpr int kZoneTop = 30;
constexpr int kZoneHeight = 435;

// The zones from left to right, the order in which screen readers should meet them.
constexpr std::array<Zone, EditorToolbar::kZoneCount> kZonesLeftToRight = {
    Zone::New,       Zone::Open,        Zone::Save,       Zone::Print,     Zone::Undo,
    Zone::Redo,      Zone::Bold,        Zone::Italic,     Zone::Underline, Zone::StrikeOut,
    Zone::AlignLeft, Zone::AlignCentre, Zone::AlignRight, Zone::Larger,    Zone::Smaller,
    Zone::Colour,    Zone::Bullet,      Zone::Timestamp,
};

// The picture of the icons, in twips: it holds every icon, centred in its zone.
constexpr int kPictureLeft = 120;
constexpr int kPictureTop = 60;
constexpr int kPictureWidth = 8280;
constexpr int kPictureHeight = 390;
constexpr int kMargin = 120;
constexpr int kToolbarHeight = 465;
// One icon's square: 20 pixels at 96 DPI.
constexpr int kIconSide = 300;

constexpr double kLetterPoints = 11.5;

constexpr double kMarkRadius = 3.0;
constexpr double kMarkFillAlpha = 0.14;
constexpr double kPressedFillAlpha = 0.3;
constexpr double kMarkFrameAlpha = 0.55;

// The zone's place in the arrays indexed by zone number.
int indexOf(Zone zone)
{
    return qToUnderlying(zone);
}

// The zone's place among the style letters, or -1 outside Bold to StrikeOut.
int letterIndex(Zone zone)
{
    if (zone < Zone::Bold || zone > Zone::StrikeOut)
        return -1;
    return indexOf(zone) - indexOf(Zone::Bold);
}

// Stands for one zone among the accessible objects: a button with the zone's name that a screen
// reader can press. The toolbar paints and takes the mouse for it.
class ZoneButton : public QAbstractButton {
public:
    explicit ZoneButton(QWidget* parent) : QAbstractButton(parent)
    {
        setAttribute(Qt::WA_TransparentForMouseEvents);
        setFocusPolicy(Qt::NoFocus);
    }

protected:
    void paintEvent(QPaintEvent*) override {}
};

} // namespace

EditorToolbar::EditorToolbar(QWidget* parent) : QWidget(parent)
{
    setMouseTracking(true);
    setCursor(Qt::ArrowCursor);

    QFont letterFont(QStringLiteral("Arial"));
    letterFont.setStyleHint(QFont::SansSerif);
    letterFont.setPointSizeF(kLetterPoints);
    m_letterFonts.fill(letterFont);
    m_letterFonts[letterIndex(Zone::Bold)].setBold(true);
    m_letterFonts[letterIndex(Zone::Italic)].setItalic(true);
    m_letterFonts[letterIndex(Zone::Underline)].setUnderline(true);
    m_letterFonts[letterIndex(Zone::StrikeOut)].setStrikeOut(true);
    m_letters = {QStringLiteral("G"), QStringLiteral("i"), QStringLiteral("S"),
                 QStringLiteral("b")};

    for (const Zone zone : kZonesLeftToRight) {
        auto* button = new ZoneButton(this);
        button->setGeometry(zoneRect(zone));
        connect(button, &QAbstractButton::clicked, this,
                [this, zone] { Q_EMIT zoneClicked(zone); });
        m_zoneButtons[indexOf(zone)] = button;
    }
}

void EditorToolbar::setStyleLetters(const QString& bold, const QString& italic,
                                    const QString& underline, const QString& strikeOut)
{
    m_letters = {bold, italic, underline, strikeOut};
    update();
}

QString EditorToolbar::styleLetter(Zone zone) const
{
    const int index = letterIndex(zone);
    return index >= 0 ? m_letters[index] : QString();
}

QFont EditorToolbar::styleLetterFont(Zone zone) const
{
    const int index = letterIndex(zone);
    return index >= 0 ? m_letterFonts[index] : font();
}

void EditorToolbar::setPointer(const QCursor& cursor)
{
    m_pointer = cursor;
    if (m_pointerShown)
        setCursor(m_pointer);
}

void EditorToolbar::setZoneName(Zone zone, const QString& name)
{
    m_zoneButtons[indexOf(zone)]->setAccessibleName(name);
}

void EditorToolbar::setZoneToolTip(Zone zone, const QString& tip)
{
    m_zoneToolTips[indexOf(zone)] = tip;
}

QString EditorToolbar::zoneToolTip(Zone zone) const
{
    return m_zoneToolTips[indexOf(zone)];
}

bool EditorToolbar::event(QEvent* event)
{
    if (event->type() == QEvent::ToolTip) {
        const auto* help = static_cast<QHelpEvent*>(event);
        const std::optional<Zone> zone = zoneAt(help->pos());
        if (zone && !zoneToolTip(*zone).isEmpty())
            QToolTip::showText(help->globalPos(), zoneToolTip(*zone), this, zoneRect(*zone));
        else
            QToolTip::hideText();
        return true;
    }
    return QWidget::event(event);
}

QRect EditorToolbar::zoneRect(Zone zone) const
{
    const ZoneSpan& span = kZoneSpans[indexOf(zone)];
    // Each number converted on its own, as every control placed by twips is.
    return QRect(Twips::toPixels(span.left), Twips::toPixels(kZoneTop), Twips::toPixels(span.width),
                 Twips::toPixels(kZoneHeight));
}

std::optional<EditorToolbar::Zone> EditorToolbar::zoneAt(QPoint point) const
{
    std::optional<Zone> found;
    for (const Zone zone : kZonesLeftToRight) {
        if (zoneRect(zone).contains(point))
            found = zone;
    }
    return found;
}

void EditorToolbar::hideMark()
{
    setMarkedZone(std::nullopt);
}

QSize EditorToolbar::sizeHint() const
{
    return QSize(Twips::toPixels(kPictureLeft + kPictureWidth + kMargin),
                 Twips::toPixels(kToolbarHeight));
}

QSize EditorToolbar::minimumSizeHint() const
{
    return sizeHint();
}

void EditorToolbar::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    paintMark(painter);
    painter.drawPixmap(pictureRect().topLeft(), picture(painter.device()->devicePixelRatioF()));
    paintLetters(painter);
}

void EditorToolbar::mousePressEvent(QMouseEvent* event)
{
    const std::optional<Zone> zone = zoneAt(event->position().toPoint());
    setMarkedZone(zone);
    if (event->button() != Qt::LeftButton) {
        QWidget::mousePressEvent(event);
        return;
    }
    m_pressedZone = zone;
    if (zone)
        update(zoneRect(*zone));
}

void EditorToolbar::mouseMoveEvent(QMouseEvent* event)
{
    const std::optional<Zone> zone = zoneAt(event->position().toPoint());
    setMarkedZone(zone);
    showPointerOverZone(zone.has_value());
}

void EditorToolbar::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) {
        QWidget::mouseReleaseEvent(event);
        return;
    }
    const std::optional<Zone> pressed = std::exchange(m_pressedZone, std::nullopt);
    if (!pressed)
        return;
    update(zoneRect(*pressed));
    // Like a button: the click counts only where it began.
    if (zoneAt(event->position().toPoint()) == pressed)
        Q_EMIT zoneClicked(*pressed);
}

void EditorToolbar::leaveEvent(QEvent* event)
{
    setMarkedZone(std::nullopt);
    showPointerOverZone(false);
    QWidget::leaveEvent(event);
}

void EditorToolbar::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::PaletteChange || event->type() == QEvent::StyleChange) {
        m_pictureStale = true;
        update();
    }
    QWidget::changeEvent(event);
}

QRect EditorToolbar::pictureRect() const
{
    return QRect(Twips::toPixels(kPictureLeft), Twips::toPixels(kPictureTop),
                 Twips::toPixels(kPictureWidth), Twips::toPixels(kPictureHeight));
}

const QPixmap& EditorToolbar::picture(qreal devicePixelRatio)
{
    const QRect area = pictureRect();
    if (!m_pictureStale && m_picture.devicePixelRatio() == devicePixelRatio &&
        m_picture.deviceIndependentSize().toSize() == area.size())
        return m_picture;

    m_picture = QPixmap(QSize(int(std::ceil(area.width() * devicePixelRatio)),
                              int(std::ceil(area.height() * devicePixelRatio))));
    m_picture.setDevicePixelRatio(devicePixelRatio);
    m_picture.fill(Qt::transparent);
    m_pictureStale = false;

    QPainter painter(&m_picture);
    const ToolbarIcons::Colours colours = ToolbarIcons::coloursFor(palette());
    const double side = Twips::toPixels(kIconSide);
    const auto onDevicePixel = [devicePixelRatio](double at) {
        return std::round(at * devicePixelRatio) / devicePixelRatio;
    };
    for (const Zone zone : allZones()) {
        if (!ToolbarIcons::hasIcon(zone))
            continue;
        // Centred in the zone, its corner on a device pixel so straight lines stay sharp.
        const QPointF centre = QRectF(zoneRect(zone)).center() - area.topLeft();
        const QPointF corner(onDevicePixel(centre.x() - side / 2),
                             onDevicePixel(centre.y() - side / 2));
        ToolbarIcons::paint(painter, zone, corner, side / ToolbarIcons::kGrid, colours);
    }
    return m_picture;
}

void EditorToolbar::paintLetters(QPainter& painter) const
{
    painter.save();
    painter.setPen(ToolbarIcons::coloursFor(palette()).ink);
    for (int index = 0; index < kLetterCount; ++index) {
        const QRect zoneArea = zoneRect(Zone(indexOf(Zone::Bold) + index));
        const QFontMetricsF metrics(m_letterFonts[index], this);
        // Centred in the zone, capitals on the icons' middle line, so that a letter sits under
        // the hover mark as an icon does.
        const QPointF centre = QRectF(zoneArea).center();
        const QPointF baseline(centre.x() - metrics.horizontalAdvance(m_letters[index]) / 2,
                               std::round(centre.y() + metrics.capHeight() / 2));
        painter.setFont(m_letterFonts[index]);
        painter.drawText(baseline, m_letters[index]);
    }
    painter.restore();
}

void EditorToolbar::paintMark(QPainter& painter) const
{
    if (!m_markedZone)
        return;
    const QColor highlight = palette().color(QPalette::Highlight);
    QColor fill = highlight;
    fill.setAlphaF(m_pressedZone == m_markedZone ? kPressedFillAlpha : kMarkFillAlpha);
    QColor frame = highlight;
    frame.setAlphaF(kMarkFrameAlpha);
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(frame, 1));
    painter.setBrush(fill);
    painter.drawRoundedRect(QRectF(zoneRect(*m_markedZone)).adjusted(0.5, 0.5, -0.5, -0.5),
                            kMarkRadius, kMarkRadius);
    painter.restore();
}

void EditorToolbar::setMarkedZone(std::optional<Zone> zone)
{
    if (zone == m_markedZone)
        return;
    if (m_markedZone)
        update(zoneRect(*m_markedZone));
    m_markedZone = zone;
    if (zone)
        update(zoneRect(*zone));
}

void EditorToolbar::showPointerOverZone(bool overZone)
{
    if (overZone == m_pointerShown)
        return;
    m_pointerShown = overZone;
    setCursor(overZone ? m_pointer : QCursor(Qt::ArrowCursor));
}
