// Start-up of the calculator as main() does it: the application set up, the
// window built (its load event runs the start-up calculation) and shown;
// then the program quits. scripts/bench-startup compares it with
// bare_window_bench.

#include <QApplication>
#include <QLocale>

#include "error_reporter.h"
#include "main_window.h"
#include "quit_at_first_show.h"
#include "startup.h"

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  zr::ConfigureApplication(app);

  zr::MessageBoxErrorReporter reporter;
  zr::MainWindow window(reporter, zr::RegionalNumberFormat(QLocale::system()));
  QuitAtFirstShow quit(window);
  window.show();
  return app.exec();
}
