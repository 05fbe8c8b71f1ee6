#include "editor/ToolbarIcons.h"

#include <QList>
#include <QPainter>
#include <QPainterPath>
#include <QPalette>
#include <algorithm>
#include <cmath>

namespace ToolbarIcons {

namespace {

// One stroke width for every icon, in grid units.
constexpr double kStroke = 1.5;
// The size marks and the brush are small; a thinner stroke keeps them from turning into blobs.
constexpr double kFineStroke = 1.0;

QColor mixed(const QColor& from, const QColor& to, double share)
{
    return QColor::fromRgbF(float(from.redF() + (to.redF() - from.redF()) * share),
                            float(from.greenF() + (to.greenF() - from.greenF()) * share),
                            float(from.blueF() + (to.blueF() - from.blueF()) * share));
}

// The point at most `distance` from `from` towards `to`, never past the middle of the edge, so
// that the two roundings of one edge do not cross.
QPointF towards(QPointF from, QPointF to, double distance)
{
    const QPointF step = to - from;
    const double length = std::hypot(step.x(), step.y());
    if (length <= 0)
        return from;
    return from + step * (std::min(distance, length / 2) / length);
}

// A polygon with its corners rounded by the radius; an open one keeps its two ends sharp.
QPainterPath rounded(const QList<QPointF>& points, double radius, bool closed = true)
{
    QPainterPath path;
    const qsizetype count = points.size();
    if (count < 2)
        return path;
    const auto corner = [&](qsizetype at) {
        const QPointF point = points[at % count];
        path.lineTo(towards(point, points[(at + count - 1) % count], radius));
        path.quadTo(point, towards(point, points[(at + 1) % count], radius));
    };
    if (closed) {
        path.moveTo((points[0] + points[1]) / 2);
        for (qsizetype at = 1; at <= count; ++at)
            corner(at);
        path.closeSubpath();
    } else {
        path.moveTo(points.front());
        for (qsizetype at = 1; at + 1 < count; ++at)
            corner(at);
        path.lineTo(points.back());
    }
    return path;
}

// An "A" of strokes: two legs from the apex and a bar, so it matches the other icons' lines
// rather than the weight of some font.
QPainterPath letterA(QPointF apex, double baseline, double halfWidth)
{
    QPainterPath path;
    const QPointF leftFoot(apex.x() - halfWidth, baseline);
    const QPointF rightFoot(apex.x() + halfWidth, baseline);
    path.moveTo(leftFoot);
    path.lineTo(apex);
    path.lineTo(rightFoot);
    const double barShare = 0.64;
    path.moveTo(apex + (leftFoot - apex) * barShare);
    path.lineTo(apex + (rightFoot - apex) * barShare);
    return path;
}

QPainterPath triangle(QPointF a, QPointF b, QPointF c)
{
    QPainterPath path;
    path.moveTo(a);
    path.lineTo(b);
    path.lineTo(c);
    path.closeSubpath();
    return path;
}

QPen strokePen(const QColor& colour, double width = kStroke)
{
    return QPen(colour, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

void drawShape(QPainter& painter, const QPainterPath& path, const QColor& ink, const QBrush& fill)
{
    painter.setPen(strokePen(ink));
    painter.setBrush(fill);
    painter.drawPath(path);
}

void drawStroke(QPainter& painter, const QPainterPath& path, const QColor& ink)
{
    drawShape(painter, path, ink, Qt::NoBrush);
}

void paintPage(QPainter& painter, const Colours& colours)
{
    drawShape(
        painter,
        rounded({{4.75, 2.75}, {11.25, 2.75}, {15.25, 6.75}, {15.25, 17.25}, {4.75, 17.25}}, 1.5),
        colours.ink, colours.paper);
    drawStroke(painter, rounded({{11.25, 2.75}, {11.25, 6.75}, {15.25, 6.75}}, 1.0, false),
               colours.ink);
}

void paintFolder(QPainter& painter, const Colours& colours)
{
    drawShape(
        painter,
        rounded(
            {{2.75, 15.75}, {2.75, 4.25}, {7.5, 4.25}, {9.25, 6.25}, {15.25, 6.25}, {15.25, 15.75}},
            1.25),
        colours.ink, colours.paper);
    // The front leans forward to show the folder open.
    drawShape(painter, rounded({{2.75, 15.75}, {5.5, 9.25}, {17.75, 9.25}, {15.25, 15.75}}, 1.0),
              colours.ink, colours.tint);
}

void paintDisk(QPainter& painter, const Colours& colours)
{
    drawShape(painter, rounded({{3, 3}, {13.75, 3}, {17, 6.25}, {17, 17}, {3, 17}}, 1.75),
              colours.ink, colours.paper);
    drawStroke(painter, rounded({{6.5, 3}, {6.5, 6.75}, {12.5, 6.75}, {12.5, 3}}, 0.75, false),
               colours.ink);
    drawShape(painter,
              rounded({{5.75, 17}, {5.75, 11.25}, {14.25, 11.25}, {14.25, 17}}, 0.75, false),
              colours.ink, colours.tint);
}

void paintPrinter(QPainter& painter, const Colours& colours)
{
    drawStroke(painter,
               rounded({{5.75, 7.25}, {5.75, 2.75}, {14.25, 2.75}, {14.25, 7.25}}, 0.75, false),
               colours.ink);
    drawShape(painter, rounded({{2.75, 7.25}, {17.25, 7.25}, {17.25, 14.25}, {2.75, 14.25}}, 2.0),
              colours.ink, colours.paper);
    drawShape(painter,
              rounded({{5.75, 11.25}, {14.25, 11.25}, {14.25, 17.25}, {5.75, 17.25}}, 0.75),
              colours.ink, colours.tint);
    painter.setPen(Qt::NoPen);
    painter.setBrush(colours.accent);
    painter.drawEllipse(QPointF(14.75, 9.25), 0.9, 0.9);
}

// A hook to the left: the arrow's head on the left, its tail turning back below it. Redo is the
// same drawn mirrored.
void paintUndoArrow(QPainter& painter, const Colours& colours)
{
    drawStroke(painter, rounded({{7.75, 4.25}, {4, 8}, {7.75, 11.75}}, 0.5, false), colours.ink);
    QPainterPath tail;
    tail.moveTo(4, 8);
    tail.lineTo(11.75, 8);
    tail.arcTo(QRectF(7.75, 8, 8, 8), 90, -180);
    tail.lineTo(8, 16);
    drawStroke(painter, tail, colours.ink);
}

enum class Flush { Left, Centre, Right };

void paintLines(QPainter& painter, Flush flush, const Colours& colours)
{
    // Long and short lines alternate; the short ones show which side the text keeps to.
    const double left = 3.5;
    const double right = 16.5;
    const double shortLength = 8;
    const double shortStarts[] = {left, (left + right - shortLength) / 2, right - shortLength};
    const double rows[] = {4.75, 8.25, 11.75, 15.25};
    QPainterPath lines;
    for (int row = 0; row < 4; ++row) {
        const double start = row % 2 == 1 ? shortStarts[int(flush)] : left;
        lines.moveTo(start, rows[row]);
        lines.lineTo(row % 2 == 1 ? start + shortLength : right, rows[row]);
    }
    drawStroke(painter, lines, colours.ink);
}

void paintSizeMark(QPainter& painter, bool up, QPointF topLeft, const Colours& colours)
{
    const double width = 4;
    const double height = 3;
    const double left = topLeft.x();
    const double top = topLeft.y();
    const double bottom = top + height;
    const double middle = left + width / 2;
    const QPainterPath mark = up ? triangle({left, bottom}, {left + width, bottom}, {middle, top})
                                 : triangle({left, top}, {left + width, top}, {middle, bottom});
    painter.setPen(strokePen(colours.accent, kFineStroke));
    painter.setBrush(colours.accent);
    painter.drawPath(mark);
}

void paintLarger(QPainter& painter, const Colours& colours)
{
    drawStroke(painter, letterA({7.5, 3}, 16.75, 5), colours.ink);
    paintSizeMark(painter, true, {14.25, 5.25}, colours);
}

void paintSmaller(QPainter& painter, const Colours& colours)
{
    drawStroke(painter, letterA({6.75, 6.75}, 16.75, 3.75), colours.ink);
    paintSizeMark(painter, false, {13.5, 3.75}, colours);
}

void paintTextColour(QPainter& painter, const Colours& colours)
{
    drawStroke(painter, letterA({6.25, 2.75}, 12.25, 3.75), colours.ink);
    // A brush leaning on the letter, drawn along its own axis: tip at the origin, handle up.
    painter.save();
    painter.translate(12.25, 11.5);
    painter.rotate(35);
    QPainterPath bristles;
    bristles.moveTo(0, 0);
    bristles.cubicTo(-1.2, -0.9, -1.4, -2.4, -1.4, -3.6);
    bristles.lineTo(1.4, -3.6);
    bristles.cubicTo(1.4, -2.4, 1.2, -0.9, 0, 0);
    painter.setPen(strokePen(colours.accent, kFineStroke));
    painter.setBrush(colours.accent);
    painter.drawPath(bristles);
    painter.setPen(strokePen(colours.ink, kFineStroke));
    painter.setBrush(colours.ink);
    painter.drawRect(QRectF(-1.4, -5.4, 2.8, 1.3));
    painter.setPen(strokePen(colours.ink));
    painter.drawLine(QPointF(0, -5.4), QPointF(0, -10));
    painter.restore();
    painter.setPen(Qt::NoPen);
    painter.setBrush(colours.accent);
    painter.drawRoundedRect(QRectF(2.5, 14.75, 15, 2.75), 1, 1);
}

void paintBullets(QPainter& painter, const Colours& colours)
{
    const double rows[] = {5.25, 10, 14.75};
    QPainterPath lines;
    for (double row : rows) {
        lines.moveTo(8, row);
        lines.lineTo(16.75, row);
    }
    drawStroke(painter, lines, colours.ink);
    painter.setPen(Qt::NoPen);
    painter.setBrush(colours.ink);
    for (double row : rows)
        painter.drawEllipse(QPointF(4.25, row), 1.4, 1.4);
}

// A clock face with its hands at ten past ten, the accent marking the hours.
void paintClock(QPainter& painter, const Colours& colours)
{
    const QPointF centre(10, 10);
    painter.setPen(strokePen(colours.ink));
    painter.setBrush(colours.paper);
    painter.drawEllipse(centre, 7.25, 7.25);
    painter.setPen(strokePen(colours.accent, kFineStroke));
    for (int hour = 0; hour < 12; hour += 3) {
        painter.save();
        painter.translate(centre);
        painter.rotate(hour * 30);
        painter.drawLine(QPointF(0, -6.25), QPointF(0, -5.0));
        painter.restore();
    }
    QPainterPath hands;
    hands.moveTo(centre + QPointF(-3.0, -1.75));
    hands.lineTo(centre);
    hands.lineTo(centre + QPointF(3.5, -2.0));
    drawStroke(painter, hands, colours.ink);
}

} // namespace

Colours coloursFor(const QPalette& palette)
{
    const QColor window = palette.color(QPalette::Window);
    const QColor accent = palette.color(QPalette::Highlight);
    const QColor paper = palette.color(QPalette::Base);
    // Pure black outlines look heavy next to the window's text; a step towards the background
    // keeps them crisp but calmer.
    return {mixed(palette.color(QPalette::WindowText), window, 0.12), accent,
            mixed(paper, accent, 0.3), paper};
}

bool hasIcon(EditorToolbar::Zone zone)
{
    using Zone = EditorToolbar::Zone;
    return zone < Zone::Bold || zone > Zone::StrikeOut;
}

void paint(QPainter& painter, EditorToolbar::Zone zone, const QPointF& topLeft, double scale,
           const Colours& colours)
{
    if (!hasIcon(zone))
        return;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.translate(topLeft);
    painter.scale(scale, scale);
    switch (zone) {
    case EditorToolbar::Zone::New:
        paintPage(painter, colours);
        break;
    case EditorToolbar::Zone::Open:
        paintFolder(painter, colours);
        break;
    case EditorToolbar::Zone::Save:
        paintDisk(painter, colours);
        break;
    case EditorToolbar::Zone::Print:
        paintPrinter(painter, colours);
        break;
    case EditorToolbar::Zone::Undo:
        paintUndoArrow(painter, colours);
        break;
    case EditorToolbar::Zone::Redo:
        painter.translate(kGrid, 0);
        painter.scale(-1, 1);
        paintUndoArrow(painter, colours);
        break;
    case EditorToolbar::Zone::AlignLeft:
        paintLines(painter, Flush::Left, colours);
        break;
    case EditorToolbar::Zone::AlignCentre:
        paintLines(painter, Flush::Centre, colours);
        break;
    case EditorToolbar::Zone::AlignRight:
        paintLines(painter, Flush::Right, colours);
        break;
    case EditorToolbar::Zone::Larger:
        paintLarger(painter, colours);
        break;
    case EditorToolbar::Zone::Smaller:
        paintSmaller(painter, colours);
        break;
    case EditorToolbar::Zone::Colour:
        paintTextColour(painter, colours);
        break;
    case EditorToolbar::Zone::Bullet:
        paintBullets(painter, colours);
        break;
    case EditorToolbar::Zone::Timestamp:
        paintClock(painter, colours);
        break;
    default:
        break;
    }
    painter.restore();
}

} // namespace ToolbarIcons
