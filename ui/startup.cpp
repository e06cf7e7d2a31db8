#include "startup.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include "assets.h"
#include "fonts.h"
#include "separator.h"

namespace zr {

NumberFormat RegionalNumberFormat(const QLocale& locale) {
  if (locale.language() == QLocale::C) return NumberFormat::Hungarian();
  // A locale's separator that no number could be typed with (a digit, a
  // blank) is checked like every other; the Hungarian comma stands in.
  return FormatWithSeparator(locale.decimalPoint().toStdString());
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
  // Qt's SVG icon engine renders each size when it is first asked for, so
  // the start-up pays for no size the desktop never shows.
  return QIcon(QString::fromLatin1(kIconPath));
}

bool InstallQtTranslation(QApplication& app) {
  // Every text of the program is Hungarian, whatever the desktop's language,
  // so Qt's own (dialog buttons, editing menus) are too. Without the
  // translation installed they stay English.
  auto* translator = new QTranslator(&app);
  if (!translator->load(QStringLiteral("qtbase_hu"),
                        QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
    delete translator;
    return false;
  }
  return QCoreApplication::installTranslator(translator);
}

void ConfigureApplication(QApplication& app) {
  InstallFontSubstitutes();
  InstallQtTranslation(app);
  QApplication::setApplicationName(kApplicationId);
  QApplication::setApplicationVersion(QStringLiteral(ZELTANO_VERSION));
  QGuiApplication::setDesktopFileName(kApplicationId);
  app.setWindowIcon(ApplicationIcon());
}

}  // namespace zr
