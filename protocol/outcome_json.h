#pragma once
// The evaluator's line protocol: one JSON object of box texts in, one JSON
// object with the run's findings, texts, labels, fault and chart out.

#include <cstddef>
#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <variant>
#include <vector>

#include "calculation_run.h"
#include "chart_json.h"
#include "chart_operation.h"
#include "number_format.h"
#include "risk.h"

namespace zr {

// The outcome's findings, texts, labels and fault (not its chart).
nlohmann::ordered_json OutcomeToJson(const RunOutcome& outcome);

struct LineResult {
  nlohmann::ordered_json output;  // the outcome, or {"error": "..."}
  bool error = false;
  // The outcome's chart operations, written into the line by LineText
  // (a document of hundreds of small objects would cost more than the rest
  // of the line); none on an error line.
  std::optional<ChartOperations> chart;
};

// The output line: `output`, with "chart" right after "fault".
std::string LineText(const LineResult& result);

// The longest line EvaluateLine takes, not counting its line break.
inline constexpr std::size_t kMaxLineBytes = std::size_t{16} << 20;

// What is asked of a line besides its run.
struct LineOptions {
  bool analysis = false;  // add "analysis": what would make it pay off
  // Box texts put in place of the line's own (a point of a sweep); the
  // output then names them under "sweep".
  std::vector<std::pair<Field, std::string>> overrides;
  // Add "risk": the line run `risk_runs` times with these fields drawn.
  std::vector<RiskRange> risk;
  std::int64_t risk_runs = kDefaultRiskRuns;
  std::uint64_t risk_seed = 1;
  // False when nobody reads the chart (CSV): the run skips the chart's
  // periods and the result has none.
  bool chart = true;
};

// Missing fields take their start-up texts. A line that is not an object of
// distinct input fields with string values, is longer than kMaxLineBytes or
// holds a NUL byte gets {"error": "..."}; so does one whose run fails in any
// other way (out of memory, say): the call itself never throws.
LineResult EvaluateLine(std::string_view line, const NumberFormat& format,
                        const LineOptions& options = {});

// The two halves of EvaluateLine: reading the line's texts (or its error
// line), and the run on them with the options.
std::variant<InputTexts, LineResult> ReadLine(std::string_view line, const NumberFormat& format);
LineResult EvaluateTexts(InputTexts texts, const NumberFormat& format, const LineOptions& options);

// The run alone, with the overrides in place and no JSON built (a CSV row
// needs only its labels and fault); the error line where EvaluateTexts would
// give one. The analysis and the risk are not made.
std::variant<RunOutcome, LineResult> RunTexts(InputTexts texts, const NumberFormat& format,
                                              const LineOptions& options);

// The error line for a line longer than kMaxLineBytes.
LineResult TooLongLineResult();

}  // namespace zr
