#pragma once
// The panels and the chart box are stops of the tab order; like any control
// that takes the focus, they show where it is: a dotted frame just inside
// their border.

class QPainter;
class QWidget;

namespace zr {

// Draws the focus frame of `widget` with `painter` when it has the focus.
void DrawFocusFrame(const QWidget& widget, QPainter& painter);

}  // namespace zr
