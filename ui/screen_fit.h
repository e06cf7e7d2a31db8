#pragma once
// The window keeps its fixed layout at every scale. Where it does not fit
// the screen (a small screen, or 200 % scaling), it is shown inside a
// scrolling frame that fits, so every control can still be reached; where
// it fits, it is shown as it is.

#include <QRect>
#include <QSize>
#include <memory>

class QWidget;

namespace zr {

// Room that the window manager's frame (title bar, borders) may take.
inline constexpr QSize kFrameAllowance(16, 48);

// Whether a window of `size` fits `available` with its frame.
bool FitsScreen(const QSize& size, const QRect& available);

// The top-level widget to show for `window` on a screen whose available
// area is `available`: the window itself, or a scroll area that owns it.
std::unique_ptr<QWidget> FitToScreen(std::unique_ptr<QWidget> window, const QRect& available);

}  // namespace zr
