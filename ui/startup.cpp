#include "startup.h"

#include <QApplication>
#include <QLocale>

#include "assets.h"
#include "fonts.h"
#include "svg_picture.h"

namespace zr {

NumberFormat RegionalNumberFormat(const QLocale& locale) {
  if (locale.language() == QLocale::C) return NumberFormat::Hungarian();
  return NumberFormat{locale.decimalPoint().toStdString()};
}

std::optional<std::string> MissingDisplayMessage(const EnvironmentLookup& getenv) {
  const auto is_set = [&getenv](const char* name) {
    const char* value = getenv(name);
    return value != nullptr && *value != '\0';
  };
  if (is_set("DISPLAY") || is_set("WAYLAND_DISPLAY") || is_set("QT_QPA_PLATFORM")) {
    return std::nullopt;
  }
  return std::string(kApplicationId) +
         ": nincs grafikus kijelző (DISPLAY nincs beállítva); "
         "indítsa grafikus asztalon vagy xvfb-run alatt.";
}

QIcon ApplicationIcon() {
  QIcon icon;
  for (const int size : {16, 24, 32, 48, 64, 128, 256}) {
    const QPixmap pixmap = RenderSvg(kIconPath, QSize(size, size), 1.0);
    if (!pixmap.isNull()) icon.addPixmap(pixmap);
  }
  return icon;
}

void ConfigureApplication(QApplication& app) {
  InstallFontSubstitutes();
  QApplication::setApplicationName(kApplicationId);
  QApplication::setApplicationVersion(QStringLiteral(ZELTANO_VERSION));
  QGuiApplication::setDesktopFileName(kApplicationId);
  app.setWindowIcon(ApplicationIcon());
}

}  // namespace zr
