// Starts the calculator: one window, calculated before it is first shown.

#include <QApplication>
#include <QLocale>
#include <QScreen>
#include <cstdio>
#include <cstdlib>
#include <memory>

#include "error_reporter.h"
#include "main_window.h"
#include "screen_fit.h"
#include "startup.h"

int main(int argc, char* argv[]) {
  // Without a display Qt would abort with a long platform-plugin message.
  if (const auto message = zr::MissingDisplayMessage(&std::getenv)) {
    std::fprintf(stderr, "%s\n", message->c_str());
    return 2;
  }
  QApplication app(argc, argv);
  zr::ConfigureApplication(app);

  zr::MessageBoxErrorReporter reporter;
  auto window =
      std::make_unique<zr::MainWindow>(reporter, zr::RegionalNumberFormat(QLocale::system()));
  const std::unique_ptr<QWidget> shown =
      zr::FitToScreen(std::move(window), QGuiApplication::primaryScreen()->availableGeometry());
  shown->show();
  return app.exec();
}
