#pragma once

class QColor;
class QWidget;

// Colours of the player's own widgets, set through their palettes rather than style sheets: a
// style sheet gives its widget a style of its own, which costs the first window milliseconds.
namespace Colours {

void setText(QWidget* widget, const QColor& colour);
// A filled background; a translucent colour lets the parent show through.
void fillBackground(QWidget* widget, const QColor& colour);

} // namespace Colours
