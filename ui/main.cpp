// Starts the calculator: one window, calculated before it is first shown; or,
// from the command line, the help, the version or a PDF report.

#include <QApplication>
#include <QLocale>
#include <QScreen>
#include <QStringList>
#include <cstdio>
#include <cstdlib>
#include <memory>

#include "error_reporter.h"
#include "main_window.h"
#include "screen_fit.h"
#include "startup.h"
#include "user_guide.h"
#include "window_command_line.h"

namespace {

QStringList Arguments(int argc, char* argv[]) {
  QStringList arguments;
  for (int i = 1; i < argc; ++i) arguments << QString::fromLocal8Bit(argv[i]);
  return arguments;
}

int PrintUsageError(const QString& error) {
  std::fprintf(stderr, "%s: %s\nSúgó: zeltano-redurir --help\n", zr::kApplicationId,
               error.toLocal8Bit().constData());
  return 2;
}

}  // namespace

int main(int argc, char* argv[]) {
  // Help and version need no display.
  const zr::WindowCommandLine first = zr::ParseWindowCommandLine(Arguments(argc, argv));
  if (first.mode == zr::WindowCommandLine::Mode::kHelp ||
      first.mode == zr::WindowCommandLine::Mode::kVersion) {
    QCoreApplication app(argc, argv);
    const QString text = first.mode == zr::WindowCommandLine::Mode::kHelp
                             ? zr::WindowHelpText(zr::FindUserGuide())
                             : zr::WindowVersionText();
    std::fputs(text.toLocal8Bit().constData(), stdout);
    return std::fflush(stdout) == 0 && !std::ferror(stdout) ? 0 : 1;
  }

  // The report is written without a window, so it needs no display either.
  if (first.mode == zr::WindowCommandLine::Mode::kReport) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    zr::ConfigureApplication(app);
    zr::TerminalErrorReporter reporter;
    zr::MainWindow window(reporter, zr::RegionalNumberFormat(QLocale::system()));
    if (!first.scenario.isEmpty() && !window.OpenScenario(first.scenario)) return 1;
    return window.WriteReportTo(first.report) ? 0 : 1;
  }

  // A mistake in our own options is told as such, display or not; others
  // wait until Qt has taken its options out.
  if (first.mode == zr::WindowCommandLine::Mode::kError && first.error_in_own_option) {
    return PrintUsageError(first.error);
  }

  // Without a display Qt would abort with a long platform-plugin message.
  if (const auto message = zr::MissingDisplayMessage(&std::getenv)) {
    std::fprintf(stderr, "%s\n", message->c_str());
    return 2;
  }
  QApplication app(argc, argv);
  // Qt has taken its own options (-style, -platform, ...) out by now.
  const zr::WindowCommandLine line = zr::ParseWindowCommandLine(QApplication::arguments().mid(1));
  if (line.mode == zr::WindowCommandLine::Mode::kError) return PrintUsageError(line.error);
  zr::ConfigureApplication(app);

  zr::MessageBoxErrorReporter reporter;
  auto window =
      std::make_unique<zr::MainWindow>(reporter, zr::RegionalNumberFormat(QLocale::system()));
  if (!line.scenario.isEmpty()) window->OpenScenario(line.scenario);
  const std::unique_ptr<QWidget> shown =
      zr::FitToScreen(std::move(window), QGuiApplication::primaryScreen()->availableGeometry());
  shown->show();
  return app.exec();
}
