#include "screen_fit.h"

#include <QFont>
#include <QScrollArea>
#include <QScrollBar>
#include <QStyle>
#include <QWidget>
#include <algorithm>
#include <cmath>

namespace zr {

namespace {

QFont Scaled(QFont font, qreal scale, const QWidget& on) {
  font.setPointSizeF(ScaledPoints(font.pointSizeF(), scale, on.logicalDpiY()));
  return font;
}

int Round(qreal x) { return static_cast<int>(std::lround(x)); }

// A place scaled by its edges, so that controls that touch still touch.
QRect Scaled(const QRect& r, qreal scale) {
  const int left = Round(r.x() * scale);
  const int top = Round(r.y() * scale);
  return {left, top, Round((r.x() + r.width()) * scale) - left,
          Round((r.y() + r.height()) * scale) - top};
}

// The controls the form names; a control's own parts (Qt's) are its own.
bool IsNamedControl(const QWidget& w) {
  return !w.objectName().isEmpty() && !w.objectName().startsWith(QLatin1String("qt_"));
}

}  // namespace

qreal ScaledPoints(qreal points, qreal scale, qreal dpi) {
  // A hair over the exact product, so that a whole number of pixels stays whole.
  const qreal pixels = std::floor(points * scale * dpi / 72 + 1e-6);
  return pixels * 72 / dpi;
}

bool FitsScreen(const QSize& size, const QRect& available) {
  const QSize framed = size + kFrameAllowance;
  return framed.width() <= available.width() && framed.height() <= available.height();
}

qreal FittingScale(const QSize& size, const QRect& available) {
  if (FitsScreen(size, available) || size.isEmpty()) return 1;
  const QSize room = available.size() - kFrameAllowance;
  const qreal scale = std::min(static_cast<qreal>(room.width()) / size.width(),
                               static_cast<qreal>(room.height()) / size.height());
  // A hundredth less than the exact fit, so the rounded places fit too.
  return std::clamp(std::floor(scale * 100) / 100, kMinimumFormScale, qreal{1});
}

void ScaleFormLayout(QWidget& form, qreal scale) {
  const QSize size(static_cast<int>(std::floor(form.width() * scale)),
                   static_cast<int>(std::floor(form.height() * scale)));
  // The font first: the controls without a font of their own follow it.
  form.setFont(Scaled(form.font(), scale, form));
  for (QWidget* control : form.findChildren<QWidget*>()) {
    if (!IsNamedControl(*control)) continue;
    if (control->testAttribute(Qt::WA_SetFont)) {
      control->setFont(Scaled(control->font(), scale, *control));
    }
    control->setGeometry(Scaled(control->geometry(), scale));
  }
  form.setFixedSize(size);
}

std::unique_ptr<QWidget> FitToScreen(std::unique_ptr<QWidget> window, const QRect& available) {
  if (FitsScreen(window->size(), available)) return window;
  if (auto* form = dynamic_cast<ScalableForm*>(window.get())) {
    form->SetScale(FittingScale(window->size(), available));
    if (FitsScreen(window->size(), available)) return window;
  }

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

qreal FitLaidOutWindow(QWidget& window, const QRect& available) {
  const qreal scale = FittingScale(window.size(), available);
  if (scale >= 1) return 1;
  const QSize room = available.size() - kFrameAllowance;
  const QSize size = (QSizeF(window.size()) * scale).toSize().boundedTo(room);
  window.setFont(Scaled(window.font(), scale, window));
  for (QWidget* control : window.findChildren<QWidget*>()) {
    if (control->testAttribute(Qt::WA_SetFont)) {
      control->setFont(Scaled(control->font(), scale, *control));
    }
  }
  window.resize(size);
  return scale;
}

}  // namespace zr
