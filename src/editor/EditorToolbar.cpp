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
constexpr std::array<int, EditorToolbar::kZoneCount> kZonesLeftToRight = {
    EditorToolbar::New,        EditorToolbar::Open,      EditorToolbar::Save,
    EditorToolbar::Print,      EditorToolbar::Undo,      EditorToolbar::Redo,
    EditorToolbar::Bold,       EditorToolbar::Italic,    EditorToolbar::Underline,
    EditorToolbar::StrikeOut,  EditorToolbar::AlignLeft, EditorToolbar::AlignCentre,
    EditorToolbar::AlignRight, EditorToolbar::Larger,    EditorToolbar::Smaller,
    EditorToolbar::Colour,     EditorToolbar::Bullet,    EditorToolbar::Timestamp,
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

bool isZone(int zone)
{
    return zone >= 0 && zone < EditorToolbar::kZoneCount;
}

int letterIndex(int zone)
{
    return zone >= EditorToolbar::Bold && zone <= EditorToolbar::StrikeOut
               ? zone - EditorToolbar::Bold
               : -1;
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
    m_letterFonts[Bold - Bold].setBold(true);
    m_letterFonts[Italic - Bold].setItalic(true);
    m_letterFonts[Underline - Bold].setUnderline(true);
    m_letterFonts[StrikeOut - Bold].setStrikeOut(true);
    m_letters = {QStringLiteral("G"), QStringLiteral("i"), QStringLiteral("S"),
                 QStringLiteral("b")};

    for (int zone : kZonesLeftToRight) {
        auto* button = new ZoneButton(this);
        button->setGeometry(zoneRect(zone));
        connect(button, &QAbstractButton::clicked, this,
                [this, zone] { Q_EMIT zoneClicked(zone); });
        m_zoneButtons[zone] = button;
    }
}

void EditorToolbar::setStyleLetters(const QString& bold, const QString& italic,
                                    const QString& underline, const QString& strikeOut)
{
    m_letters = {bold, italic, underline, strikeOut};
    update();
}

QString EditorToolbar::styleLetter(int zone) const
{
    const int index = letterIndex(zone);
    return index >= 0 ? m_letters[index] : QString();
}

QFont EditorToolbar::styleLetterFont(int zone) const
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

void EditorToolbar::setZoneName(int zone, const QString& name)
{
    if (isZone(zone))
        m_zoneButtons[zone]->setAccessibleName(name);
}

void EditorToolbar::setZoneToolTip(int zone, const QString& tip)
{
    if (isZone(zone))
        m_zoneToolTips[zone] = tip;
}

QString EditorToolbar::zoneToolTip(int zone) const
{
    return isZone(zone) ? m_zoneToolTips[zone] : QString();
}

bool EditorToolbar::event(QEvent* event)
{
    if (event->type() == QEvent::ToolTip) {
        const auto* help = static_cast<QHelpEvent*>(event);
        const int zone = zoneAt(help->pos());
        if (isZone(zone) && !m_zoneToolTips[zone].isEmpty())
            QToolTip::showText(help->globalPos(), m_zoneToolTips[zone], this, zoneRect(zone));
        else
            QToolTip::hideText();
        return true;
    }
    return QWidget::event(event);
}

QRect EditorToolbar::zoneRect(int zone) const
{
    if (!isZone(zone))
        return {};
    const ZoneSpan& span = kZoneSpans[zone];
    // Each number converted on its own, as every control placed by twips is.
    return QRect(Twips::toPixels(span.left), Twips::toPixels(kZoneTop), Twips::toPixels(span.width),
                 Twips::toPixels(kZoneHeight));
}

int EditorToolbar::zoneAt(QPoint point) const
{
    int found = -1;
    for (int zone : kZonesLeftToRight) {
        if (zoneRect(zone).contains(point))
            found = zone;
    }
    return found;
}

void EditorToolbar::hideMark()
{
    setMarkedZone(-1);
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
    const int zone = zoneAt(event->position().toPoint());
    setMarkedZone(zone);
    if (event->button() != Qt::LeftButton) {
        QWidget::mousePressEvent(event);
        return;
    }
    m_pressedZone = zone;
    if (isZone(zone))
        update(zoneRect(zone));
}

void EditorToolbar::mouseMoveEvent(QMouseEvent* event)
{
    const int zone = zoneAt(event->position().toPoint());
    setMarkedZone(zone);
    showPointerOverZone(isZone(zone));
}

void EditorToolbar::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) {
        QWidget::mouseReleaseEvent(event);
        return;
    }
    const int pressed = std::exchange(m_pressedZone, -1);
    if (!isZone(pressed))
        return;
    update(zoneRect(pressed));
    // Like a button: the click counts only where it began.
    if (zoneAt(event->position().toPoint()) == pressed)
        Q_EMIT zoneClicked(pressed);
}

void EditorToolbar::leaveEvent(QEvent* event)
{
    setMarkedZone(-1);
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
    for (int zone = 0; zone < kZoneCount; ++zone) {
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
        const int zone = Bold + index;
        const QRect zoneArea = zoneRect(zone);
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
    if (!isZone(m_markedZone))
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
    painter.drawRoundedRect(QRectF(zoneRect(m_markedZone)).adjusted(0.5, 0.5, -0.5, -0.5),
                            kMarkRadius, kMarkRadius);
    painter.restore();
}

void EditorToolbar::setMarkedZone(int zone)
{
    if (zone == m_markedZone)
        return;
    if (isZone(m_markedZone))
        update(zoneRect(m_markedZone));
    m_markedZone = zone;
    if (isZone(zone))
        update(zoneRect(zone));
}

void EditorToolbar::showPointerOverZone(bool overZone)
{
    if (overZone == m_pointerShown)
        return;
    m_pointerShown = overZone;
    setCursor(overZone ? m_pointer : QCursor(Qt::ArrowCursor));
}
