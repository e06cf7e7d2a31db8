#pragma once
// zeltano-eval's command line: its options, their checks and its texts.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "number_format.h"

namespace zr {

struct CommandLine {
  enum class Action { kEvaluate, kHelp, kVersion, kUsageError };
  Action action = Action::kEvaluate;
  NumberFormat format = NumberFormat::Hungarian();
  std::string error;  // with kUsageError: what is wrong, one line
};

// `args` without the program name.
CommandLine ParseCommandLine(const std::vector<std::string_view>& args);

// Why `separator` cannot be the decimal separator, or nullopt when it can:
// one to four printable characters of valid UTF-8, none of them a digit, a
// sign or a blank.
std::optional<std::string> SeparatorProblem(std::string_view separator);

std::string UsageText();
std::string VersionText();  // "zeltano-eval 1.0.0" and a line break

// Exit statuses.
inline constexpr int kExitOk = 0;
inline constexpr int kExitLineError = 1;
inline constexpr int kExitUsage = 2;
inline constexpr int kExitInputOutput = 3;

}  // namespace zr
