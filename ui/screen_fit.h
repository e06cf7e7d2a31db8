#pragma once
// The window keeps its layout at every scale. Where it does not fit the
// screen's available area (a small screen, or 200 % scaling), it is laid out
// again, smaller as a whole: every control's place and size and every font
// scaled alike, so it is shown whole and its controls stay real widgets
// (focus, input, a screen reader's names). Only where even the smallest
// legible scale does not fit is it shown, at that scale, inside a scrolling
// frame that fits. Where it fits, it is shown as it is.

#include <QRect>
#include <QSize>
#include <memory>

#include "figure_fit.h"

class QWidget;

namespace zr {

// Room that the window manager's frame (title bar, borders) may take.
inline constexpr QSize kFrameAllowance(16, 48);

// The smallest scale a window is shown at: the forms' smallest text, 8.25
// points, stays as large as the smallest a figure is ever shrunk to.
inline constexpr qreal kMinimumFormScale = kMinimumFigurePoints / 8.25;

// A font of `points` at `scale`: the largest size of whole pixels (at `dpi`)
// that is no larger than the scaled size, so that a text grows no wider
// than its scaled control.
qreal ScaledPoints(qreal points, qreal scale, qreal dpi);

// Whether a window of `size` fits `available` with its frame.
bool FitsScreen(const QSize& size, const QRect& available);

// The scale at which a window of `size` fits `available` with its frame:
// 1 where it fits as it is, never less than kMinimumFormScale.
qreal FittingScale(const QSize& size, const QRect& available);

// A window laid out in absolute places that can lay itself out again at a
// smaller scale (the main window).
class ScalableForm {
 public:
  virtual ~ScalableForm() = default;
  // Lays the form out at `scale` of its layout; once, on the form as laid out.
  virtual void SetScale(qreal scale) = 0;
};

// The places, sizes and fonts of a form of absolute places, scaled: the
// form's own fixed size and font, and every named control's place, size and
// font of its own. The controls' own drawings are the form's to scale.
void ScaleFormLayout(QWidget& form, qreal scale);

// The top-level widget to show for `window` on a screen whose available
// area is `available`: the window itself, laid out smaller where it is a
// ScalableForm that does not fit; or a scroll area that owns it.
std::unique_ptr<QWidget> FitToScreen(std::unique_ptr<QWidget> window, const QRect& available);

// A window with layouts (the "Elemzés" window) made to fit `available`: its
// fonts and its size scaled alike where it does not fit as it is; at the
// smallest legible scale it takes the room there is and its layouts give.
// Returns the scale.
qreal FitLaidOutWindow(QWidget& window, const QRect& available);

}  // namespace zr
