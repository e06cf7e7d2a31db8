#include "window_command_line.h"

namespace zr {

namespace {

WindowCommandLine Error(const QString& error, bool in_own_option = false) {
  WindowCommandLine line;
  line.mode = WindowCommandLine::Mode::kError;
  line.error = error;
  line.error_in_own_option = in_own_option;
  return line;
}

}  // namespace

WindowCommandLine ParseWindowCommandLine(const QStringList& arguments) {
  WindowCommandLine line;
  QStringList files;
  bool options_end = false;
  for (qsizetype i = 0; i < arguments.size(); ++i) {
    const QString& argument = arguments[i];
    if (options_end || !argument.startsWith('-') || argument == QStringLiteral("-")) {
      files << argument;
    } else if (argument == QStringLiteral("--")) {
      options_end = true;
    } else if (argument == QStringLiteral("--help") || argument == QStringLiteral("-h")) {
      line.mode = WindowCommandLine::Mode::kHelp;
      return line;
    } else if (argument == QStringLiteral("--version")) {
      line.mode = WindowCommandLine::Mode::kVersion;
      return line;
    } else if (argument == QStringLiteral("--report") ||
               argument.startsWith(QStringLiteral("--report="))) {
      if (line.mode == WindowCommandLine::Mode::kReport) {
        return Error(QStringLiteral("a --report csak egyszer adható meg"), true);
      }
      QString out = argument.mid(9);
      if (argument == QStringLiteral("--report")) {
        if (i + 1 >= arguments.size()) {
          return Error(QStringLiteral("a --report után meg kell adni a PDF-fájl nevét"), true);
        }
        out = arguments[++i];
      }
      if (out.isEmpty()) {
        return Error(QStringLiteral("a --report után meg kell adni a PDF-fájl nevét"), true);
      }
      line.mode = WindowCommandLine::Mode::kReport;
      line.report = out;
    } else {
      return Error(QStringLiteral("ismeretlen kapcsoló: %1").arg(argument));
    }
  }
  if (files.size() > 1) {
    return Error(QStringLiteral("legfeljebb egy forgatókönyvfájl adható meg"));
  }
  if (!files.isEmpty()) line.scenario = files.front();
  return line;
}

QString WindowHelpText(const QString& guide) {
  QString text = QStringLiteral(
      "Használat: zeltano-redurir [FÁJL]\n"
      "      vagy zeltano-redurir --report KIMENET.pdf [FÁJL]\n"
      "Kiszámítja, megtérül-e egy napkollektoros rendszer beruházása.\n"
      "\n"
      "  FÁJL                   ezt a forgatókönyvet (.zeltano.json) nyitja meg induláskor;\n"
      "                         a tizenhat bemenő adat egy sorban, JSON-objektumként,\n"
      "                         ugyanúgy, mint a zeltano-eval egy bemenő sora\n"
      "  --report KIMENET.pdf   ablak nélkül egyoldalas PDF-jelentést ír a FÁJL\n"
      "                         (ha nincs megadva, az induló adatok) alapján\n"
      "  --help                 kiírja ezt a súgót\n"
      "  --version              kiírja a program verzióját\n");
  if (!guide.isEmpty()) {
    text += QStringLiteral("\nFelhasználói útmutató: %1\n").arg(guide);
  }
  return text;
}

QString WindowVersionText() { return QStringLiteral("zeltano-redurir " ZELTANO_VERSION "\n"); }

}  // namespace zr
