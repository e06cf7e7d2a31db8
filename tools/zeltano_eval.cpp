// zeltano-eval: one calculation run per input line, without a window.
#include <cstring>
#include <iostream>
#include <string>

#include "outcome_json.h"

namespace {

constexpr const char* kUsage =
    "Usage: zeltano-eval [--decimal-separator SEP]\n"
    "\n"
    "Reads JSON Lines from standard input. Each line is an object whose keys are\n"
    "input fields (Elettartam, Beruhazas, Tamogatas, Maradvanyertek, Kamatlab,\n"
    "Akoll, Qkoll, Karbkolts, Karbkoltsvalt, Villanyar, Uzemkolts, Uzemkoltsvalt,\n"
    "Egyebkolts, Egyebkoltsvalt, Energiaar, Energiaarvalt) and whose values are the\n"
    "box texts; a missing field takes its start-up text. For each line one JSON\n"
    "object is written: findings, texts, labels, fault and chart.\n"
    "\n"
    "  --decimal-separator SEP  regional decimal separator (default \",\")\n"
    "  --help                   show this help\n"
    "\n"
    "Exit status: 0 when every line was evaluated, 1 when a line had an error,\n"
    "2 on a usage error.\n";

bool UsableSeparator(const std::string& sep) {
  if (sep.empty()) return false;
  for (char c : sep) {
    if ((c >= '0' && c <= '9') || c == '+' || c == '-' || c == ' ' || c == '\t') return false;
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  zr::NumberFormat format = zr::NumberFormat::Hungarian();
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--help" || arg == "-h") {
      std::cout << kUsage;
      return 0;
    }
    if (arg == "--decimal-separator" && i + 1 < argc) {
      format.decimal_separator = argv[++i];
      if (!UsableSeparator(format.decimal_separator)) {
        std::cerr << "zeltano-eval: unusable decimal separator: \"" << format.decimal_separator
                  << "\"\n";
        return 2;
      }
      continue;
    }
    std::cerr << "zeltano-eval: unknown argument: " << arg << "\n" << kUsage;
    return 2;
  }

  bool any_error = false;
  std::string line;
  while (std::getline(std::cin, line)) {
    const zr::LineResult result = zr::EvaluateLine(line, format);
    any_error = any_error || result.error;
    std::cout << result.output.dump(-1, ' ', false,
                                    nlohmann::ordered_json::error_handler_t::replace)
              << std::endl;  // flushed per line, for pipes
  }
  return any_error ? 1 : 0;
}
