#include "screen_fit.h"

#include <QScrollArea>
#include <QScrollBar>
#include <QStyle>
#include <algorithm>

namespace zr {

bool FitsScreen(const QSize& size, const QRect& available) {
  const QSize framed = size + kFrameAllowance;
  return framed.width() <= available.width() && framed.height() <= available.height();
}

std::unique_ptr<QWidget> FitToScreen(std::unique_ptr<QWidget> window, const QRect& available) {
  if (FitsScreen(window->size(), available)) return window;

  auto scroll = std::make_unique<QScrollArea>();
  scroll->setObjectName("ZeltanoScroll");
  scroll->setWindowTitle(window->windowTitle());
  scroll->setWindowIcon(window->windowIcon());
  scroll->setFrameShape(QFrame::NoFrame);
  scroll->setBackgroundRole(QPalette::Window);
  scroll->setPalette(window->palette());
  const QSize content = window->size();
  scroll->setWidget(window.release());  // the scroll area owns it now
  // As large as the screen allows, never larger than the window needs.
  const int bar = scroll->style()->pixelMetric(QStyle::PM_ScrollBarExtent);
  const QSize room = available.size() - kFrameAllowance;
  scroll->resize(std::min(content.width() + bar, room.width()),
                 std::min(content.height() + bar, room.height()));
  scroll->setMaximumSize(content + QSize(bar, bar));
  return scroll;
}

}  // namespace zr
