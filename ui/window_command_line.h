#pragma once
// The program's command line:
//   zeltano-redurir [FILE]                      the window, with a scenario
//   zeltano-redurir --report OUT.pdf [FILE]     a PDF report, no window
//   zeltano-redurir --help | --version

#include <QString>
#include <QStringList>

namespace zr {

struct WindowCommandLine {
  enum class Mode { kWindow, kReport, kHelp, kVersion, kError };
  Mode mode = Mode::kWindow;
  QString scenario;  // FILE; empty for the start-up texts
  QString report;    // OUT.pdf
  QString error;     // what is wrong, for kError (Hungarian)
  // With kError: the mistake is in one of this program's own options, so it
  // stands whatever options Qt takes out of the arguments.
  bool error_in_own_option = false;
};

// Reads the arguments after the program name.
WindowCommandLine ParseWindowCommandLine(const QStringList& arguments);

// What --help prints; `guide` is where the user guide is, when known.
QString WindowHelpText(const QString& guide);
// What --version prints.
QString WindowVersionText();

}  // namespace zr
