// Starts the calculator: one window, calculated before it is first shown.

#include <QApplication>
#include <QLocale>
#include <cstdio>
#include <cstdlib>

#include "error_reporter.h"
#include "main_window.h"
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
  zr::MainWindow window(reporter, zr::RegionalNumberFormat(QLocale::system()));
  window.show();
  return app.exec();
}
