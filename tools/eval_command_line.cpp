#include "eval_command_line.h"

#include <algorithm>
#include <array>
#include <climits>
#include <cstdint>
#include <cstdio>
#include <tuple>

#include "number_text.h"
#include "outcome_json.h"
#include "rounding.h"
#include "separator.h"

namespace zr {
namespace {

constexpr std::string_view kSeparatorOption = "--decimal-separator";

}  // namespace

char SweepDelimiter(const NumberFormat& format) {
  // A separator has at most four characters, so one of these five is free.
  for (const char delimiter : {':', ';', '/', '|'}) {
    if (format.decimal_separator.find(delimiter) == std::string::npos) return delimiter;
  }
  return '#';
}

std::string Sweep::Point(std::int64_t i, const NumberFormat& format) const {
  return MoneyText(from + Money::FromRaw(step.Raw() * i), format);
}

namespace {

// The value of an option given as "--name VALUE" or "--name=VALUE"; nullopt
// when `arg` is not that option. Sets `missing` when the value is absent.
std::optional<std::string_view> OptionValue(const std::vector<std::string_view>& args,
                                            std::size_t& i, std::string_view name, bool& missing) {
  const std::string_view arg = args[i];
  if (arg == name) {
    if (i + 1 == args.size()) {
      missing = true;
      return std::string_view{};
    }
    return args[++i];
  }
  if (arg.size() > name.size() && arg.substr(0, name.size()) == name && arg[name.size()] == '=') {
    return arg.substr(name.size() + 1);
  }
  return std::nullopt;
}

// FIELD=A:B:C with the numbers in the regional format, `parts` naming A, B
// and C for the message; with a decimal separator that holds a ':' the
// parts are split at ';' instead (at '/' when it holds both), so fractional
// numbers stay possible.
std::optional<std::string> ReadFieldAndNumbers(std::string_view spec, const NumberFormat& format,
                                               const std::array<const char*, 3>& parts,
                                               Field& field, std::array<Money, 3>& numbers) {
  const char delimiter = SweepDelimiter(format);
  const std::string expected =
      std::string("expected FIELD=") + parts[0] + delimiter + parts[1] + delimiter + parts[2];
  const std::size_t equals = spec.find('=');
  if (equals == std::string_view::npos) return expected;
  const std::string_view name = spec.substr(0, equals);
  bool known = false;
  for (Field f : kAllFields) {
    if (FieldName(f) == name) field = f, known = true;
  }
  if (!known) return "unknown field: " + std::string(name);
  std::string_view rest = spec.substr(equals + 1);
  for (std::size_t k = 0; k < 3; ++k) {
    const std::size_t colon = k < 2 ? rest.find(delimiter) : rest.size();
    if (colon == std::string_view::npos) return expected;
    const std::optional<NumberText> number = NumberText::Parse(rest.substr(0, colon), format);
    const std::optional<Money> money = number ? number->ToMoney() : std::nullopt;
    if (!money) {
      return "not a number in the decimal format: \"" + std::string(rest.substr(0, colon)) + "\"";
    }
    numbers[k] = *money;
    rest = rest.substr(std::min(colon + 1, rest.size()));
  }
  return std::nullopt;
}

// FIELD=FROM:TO:STEP.
std::optional<std::string> ReadSweep(std::string_view spec, const NumberFormat& format,
                                     Sweep& sweep) {
  std::array<Money, 3> numbers;
  if (auto problem =
          ReadFieldAndNumbers(spec, format, {"FROM", "TO", "STEP"}, sweep.field, numbers)) {
    return problem;
  }
  const auto [from, to, step] = numbers;
  if (step <= MoneyOf(0)) return "the step must be positive";
  if (to < from) return "TO is below FROM";
  sweep.from = from;
  sweep.step = step;
  const WideInt span = static_cast<WideInt>(to.Raw()) - from.Raw();
  const WideInt count = span / step.Raw() + 1;
  if (count > kMaxSweepPoints) return "more than " + std::to_string(kMaxSweepPoints) + " points";
  sweep.count = static_cast<std::int64_t>(count);
  return std::nullopt;
}

// A decimal whole number from 0 to `max`, digits only; nullopt otherwise.
std::optional<std::uint64_t> WholeNumber(std::string_view text, std::uint64_t max) {
  if (text.empty() || text.size() > 20) return std::nullopt;
  std::uint64_t n = 0;
  for (const char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    const auto digit = static_cast<std::uint64_t>(c - '0');
    if (n > (max - digit) / 10) return std::nullopt;
    n = n * 10 + digit;
  }
  return n;
}

}  // namespace

EvalCommandLine ParseEvalCommandLine(const std::vector<std::string_view>& args) {
  EvalCommandLine result;
  const auto usage_error = [&](std::string message) {
    result.action = EvalCommandLine::Action::kUsageError;
    result.error = std::move(message);
    result.sweeps.clear();
    return result;
  };
  std::vector<std::string_view> sweep_specs;
  std::vector<std::string_view> risk_specs;
  bool runs_given = false;
  bool seed_given = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string_view arg = args[i];
    if (arg == "--help" || arg == "-h") {
      result.action = EvalCommandLine::Action::kHelp;
      return result;
    }
    if (arg == "--version") {
      result.action = EvalCommandLine::Action::kVersion;
      return result;
    }
    if (arg == "--analysis") {
      result.analysis = true;
      continue;
    }
    if (arg == "--csv") {
      result.csv = true;
      continue;
    }
    if (arg == "--variants") {
      result.variants = true;
      continue;
    }
    bool missing = false;
    if (const auto separator = OptionValue(args, i, kSeparatorOption, missing)) {
      if (missing) return usage_error("missing value for " + std::string(kSeparatorOption));
      if (const auto problem = SeparatorProblem(*separator)) {
        return usage_error("invalid value for " + std::string(kSeparatorOption) + ": " + *problem);
      }
      result.format.decimal_separator = std::string(*separator);
      continue;
    }
    if (const auto jobs = OptionValue(args, i, "--jobs", missing)) {
      if (missing) return usage_error("missing value for --jobs");
      unsigned n = 0;
      bool digits = !jobs->empty() && jobs->size() <= 3;
      for (char c : *jobs) digits = digits && c >= '0' && c <= '9';
      if (digits) n = static_cast<unsigned>(std::stoul(std::string(*jobs)));
      if (!digits || n < 1 || n > kMaxJobs) {
        return usage_error("invalid value for --jobs: a whole number from 1 to " +
                           std::to_string(kMaxJobs));
      }
      result.jobs = n;
      continue;
    }
    if (const auto spec = OptionValue(args, i, "--sweep", missing)) {
      if (missing) return usage_error("missing value for --sweep");
      sweep_specs.push_back(*spec);
      continue;
    }
    if (const auto spec = OptionValue(args, i, "--risk", missing)) {
      if (missing) return usage_error("missing value for --risk");
      risk_specs.push_back(*spec);
      continue;
    }
    if (const auto runs = OptionValue(args, i, "--runs", missing)) {
      const auto n = missing ? std::nullopt : WholeNumber(*runs, kMaxRiskRuns);
      if (!n || *n < 1) {
        return usage_error("invalid value for --runs: a whole number from 1 to " +
                           std::to_string(kMaxRiskRuns));
      }
      result.risk_runs = static_cast<std::int64_t>(*n);
      runs_given = true;
      continue;
    }
    if (const auto seed = OptionValue(args, i, "--seed", missing)) {
      const auto n = missing ? std::nullopt : WholeNumber(*seed, UINT64_MAX);
      if (!n)
        return usage_error("invalid value for --seed: a whole number from 0 to " +
                           std::to_string(UINT64_MAX));
      result.risk_seed = *n;
      seed_given = true;
      continue;
    }
    return usage_error("unknown argument: " + std::string(arg));
  }
  // The sweep's numbers are read once the decimal separator is known.
  if (sweep_specs.size() > kMaxSweeps) return usage_error("at most two --sweep options");
  std::int64_t points = 1;
  for (std::string_view spec : sweep_specs) {
    Sweep sweep;
    if (const auto problem = ReadSweep(spec, result.format, sweep)) {
      return usage_error("invalid value for --sweep: " + *problem);
    }
    for (const Sweep& other : result.sweeps) {
      if (other.field == sweep.field) return usage_error("--sweep names the same field twice");
    }
    points *= sweep.count;
    if (points > kMaxSweepPoints) {
      return usage_error("the sweeps have more than " + std::to_string(kMaxSweepPoints) +
                         " points together");
    }
    result.sweeps.push_back(sweep);
  }
  for (std::string_view spec : risk_specs) {
    RiskRange range;
    std::array<Money, 3> numbers;
    if (const auto problem = ReadFieldAndNumbers(spec, result.format, {"LOW", "MODE", "HIGH"},
                                                 range.field, numbers)) {
      return usage_error("invalid value for --risk: " + *problem);
    }
    std::tie(range.low, range.mode, range.high) = std::tuple{numbers[0], numbers[1], numbers[2]};
    result.risk.push_back(range);
  }
  if (const auto problem = RiskRangesProblem(result.risk)) {
    return usage_error("invalid value for --risk: " + *problem);
  }
  if ((runs_given || seed_given) && result.risk.empty()) {
    return usage_error("--runs and --seed need --risk");
  }
  if (!result.risk.empty() && !result.sweeps.empty()) {
    return usage_error("--risk and --sweep cannot be combined");
  }
  if (result.variants) {
    for (const auto& [given, name] :
         {std::pair{result.analysis, "--analysis"}, std::pair{!result.sweeps.empty(), "--sweep"},
          std::pair{!result.risk.empty(), "--risk"}, std::pair{result.csv, "--csv"}}) {
      if (given) return usage_error(std::string("--variants cannot be combined with ") + name);
    }
  }
  if (result.csv && (result.analysis || !result.risk.empty())) {
    return usage_error(std::string(result.analysis ? "--analysis" : "--risk") +
                       " cannot be written as CSV");
  }
  return result;
}

std::string EvalUsageText() {
  static_assert(kMaxLineBytes == 16 * 1024 * 1024, "the text below says 16 MiB");
  const std::string max = std::to_string(kMaxLineBytes);
  return "Usage: zeltano-eval [--decimal-separator SEP] [--analysis] [--jobs N]\n"
         "                   [--sweep FIELD=FROM:TO:STEP]... [--csv]\n"
         "                   [--risk FIELD=LOW:MODE:HIGH]... [--runs N] [--seed S]\n"
         "       zeltano-eval [--decimal-separator SEP] --variants\n"
         "       zeltano-eval --help | --version\n"
         "\n"
         "Reads JSON Lines from standard input. Each line is an object whose keys are\n"
         "input fields (Elettartam, Beruhazas, Tamogatas, Maradvanyertek, Kamatlab,\n"
         "Akoll, Qkoll, Karbkolts, Karbkoltsvalt, Villanyar, Uzemkolts, Uzemkoltsvalt,\n"
         "Egyebkolts, Egyebkoltsvalt, Energiaar, Energiaarvalt) and whose values are the\n"
         "box texts; a missing field takes its start-up text. For each line one JSON\n"
         "object is written: findings, texts, labels, fault and chart.\n"
         "\n"
         "A line that is not such an object (empty, not JSON, not an object, an unknown\n"
         "or repeated field, a value that is not a string, a NUL byte) or that is longer\n"
         "than " +
         max +
         " bytes (16 MiB, not counting the line break) gets\n"
         "{\"error\":\"...\"} instead, and the next lines go on.\n"
         "\n"
         "  --decimal-separator SEP, --decimal-separator=SEP\n"
         "                           regional decimal separator (default \",\"): one to\n"
         "                           four printable characters, no digits, signs or\n"
         "                           blanks\n"
         "  --analysis               add \"analysis\" to each output object: the break-even\n"
         "                           value of every field, the payback time and balance\n"
         "                           at -20/-10/+10/+20 % of each non-zero field, the net\n"
         "                           present value, the internal rate and the simple\n"
         "                           payback time\n"
         "  --jobs N                 evaluate on N threads (1 to 256; default: one per\n"
         "                           processor core); the output keeps the input order\n"
         "  --sweep FIELD=FROM:TO:STEP\n"
         "                           for each input line, one output per point FROM,\n"
         "                           FROM+STEP, ... up to TO of FIELD (numbers in the\n"
         "                           decimal format; the point goes under \"sweep\");\n"
         "                           twice for a grid of two fields, at most 1000000\n"
         "                           points; with a decimal separator that holds \":\"\n"
         "                           the parts are split at \";\" (FROM;TO;STEP)\n"
         "  --risk FIELD=LOW:MODE:HIGH\n"
         "                           add \"risk\": the line run --runs times (default\n"
         "                           10000, at most 1000000) with FIELD drawn from the\n"
         "                           triangular distribution LOW, MODE (most likely),\n"
         "                           HIGH; repeatable; --seed S (0 to 2^64-1, default 1)\n"
         "                           seeds the generator: runs, faults, the share that\n"
         "                           pays back, payback and balance percentiles, a\n"
         "                           payback histogram\n"
         "  --csv                    write the labels as CSV for spreadsheets instead of\n"
         "                           JSON: a header, then one row per output (line,\n"
         "                           sweep fields, the eleven labels, fault, error);\n"
         "                           separated by \";\" when the decimal separator is\n"
         "                           \",\", else by \",\"\n"
         "  --variants               compare the input lines as variants, 2 to 4 of them:\n"
         "                           one JSON object with names, rows (the sixteen\n"
         "                           inputs, the eleven labels, npv, internal_rate and\n"
         "                           verdict of each, differing inputs and the best\n"
         "                           balance and shortest payback marked) and one chart\n"
         "                           of every variant's curves\n"
         "  --help                   show this help\n"
         "  --version                show the version\n"
         "\n"
         "Exit status: 0 when every line was evaluated, 1 when a line had an error,\n"
         "2 on a usage error, 3 when the input could not be read or the output could\n"
         "not be written.\n";
}

std::string EvalVersionText() { return std::string("zeltano-eval ") + ZELTANO_VERSION + "\n"; }

}  // namespace zr
