#pragma once
// zeltano-eval's command line: its options, their checks and its texts.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "input_set.h"
#include "money.h"
#include "number_format.h"
#include "risk.h"

namespace zr {

// One field of --sweep FIELD=FROM:TO:STEP: the points FROM, FROM + STEP, ...
// up to TO, as money texts in the regional format.
struct Sweep {
  Field field = Field::Elettartam;
  Money from;
  Money step;
  std::int64_t count = 0;
  std::string Point(std::int64_t i, const NumberFormat& format) const;
};

// What splits FROM, TO and STEP of a sweep: ':', or the first of ';', '/',
// '|', '#' that the decimal separator does not hold.
char SweepDelimiter(const NumberFormat& format);

inline constexpr std::size_t kMaxSweeps = 2;
inline constexpr std::int64_t kMaxSweepPoints = 1000000;  // all sweeps together
inline constexpr unsigned kMaxJobs = 256;

struct EvalCommandLine {
  enum class Action { kEvaluate, kHelp, kVersion, kUsageError };
  Action action = Action::kEvaluate;
  NumberFormat format = NumberFormat::Hungarian();
  bool analysis = false;
  bool csv = false;
  bool variants = false;        // the input lines are 2 to 4 variants, compared in one output
  std::vector<RiskRange> risk;  // --risk FIELD=LOW:MODE:HIGH, in the order given
  std::int64_t risk_runs = kDefaultRiskRuns;
  std::uint64_t risk_seed = 1;
  unsigned jobs = 0;  // 0: one per core
  std::vector<Sweep> sweeps;
  std::string error;  // with kUsageError: what is wrong, one line
};

// `args` without the program name.
EvalCommandLine ParseEvalCommandLine(const std::vector<std::string_view>& args);

std::string EvalUsageText();
std::string EvalVersionText();  // "zeltano-eval <version>" and a line break

// Exit statuses.
inline constexpr int kExitOk = 0;
inline constexpr int kExitLineError = 1;
inline constexpr int kExitUsage = 2;
inline constexpr int kExitInputOutput = 3;

}  // namespace zr
