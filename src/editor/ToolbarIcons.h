#pragma once

#include "editor/EditorToolbar.h"

#include <QColor>

class QPainter;
class QPalette;
class QPointF;

// The editor toolbar's icons, drawn as paths so that they are sharp at any scale. An icon fills a
// square of kGrid units; a unit is one pixel at 96 DPI.
namespace ToolbarIcons {

constexpr double kGrid = 20.0;

struct Colours {
    QColor ink;    // outlines, strokes and letters
    QColor accent; // what an icon is about: the folder's front, the size marks, the text colour
    QColor tint;   // the accent softened, for larger areas
    QColor paper;  // the inside of pages, disks and printers
};

// Colours taken from the palette, so the icons keep their contrast on dark themes too.
Colours coloursFor(const QPalette& palette);

bool hasIcon(EditorToolbar::Zone zone);
// Paints the zone's icon into the kGrid square whose top left corner is at the point, scaled by
// `scale` pixels per unit.
void paint(QPainter& painter, EditorToolbar::Zone zone, const QPointF& topLeft, double scale,
           const Colours& colours);

} // namespace ToolbarIcons
