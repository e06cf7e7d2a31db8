// libFuzzer target: arbitrary bytes through one calculation run, with the
// checks every run must pass whatever the user typed.
//
// Input layout: the first byte picks the regional decimal separator, byte % 4:
// 0 ",", 1 "٫", 2 ".", 3 "·" (so a first line "," or "." means just that; "e"
// gives "٫", "c" gives "·"); the rest of the first line is ignored. Then up to
// sixteen lines, one per box in table order; a box without a line keeps its
// start-up text.

#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <variant>

#include "calculation_run.h"
#include "chart_frame.h"
#include "number_text.h"
#include "validation.h"

namespace zr {
namespace {

constexpr std::array<std::string_view, 4> kSeparators = {",", "\u066B", ".", "\u00B7"};

// The longest chart a run can draw: clear and pen width; two curves of 99
// segments; the frame; time marks every five years up to the 45th (the most
// an Elettartam of 50 leaves room for), 5 operations each; value marks up to
// a 32-bit chart scale with the largest step (10 million Ft), 214 of them, 5
// operations each; the unit caption, 5 operations.
std::size_t MaxChartLength() {
  static const std::size_t frame = DrawChartFrame().size();
  return 2 + 2 * 99 + frame + 5 * 9 + 5 * 214 + 5;
}

[[noreturn]] void Fail(const char* what) {
  std::fprintf(stderr, "calculation run check failed: %s\n", what);
  std::abort();
}

#define REQUIRE(cond)         \
  do {                        \
    if (!(cond)) Fail(#cond); \
  } while (false)

bool SameInputs(const InputSet& a, const InputSet& b) {
  return std::all_of(kAllFields.begin(), kAllFields.end(), [&](Field f) { return a[f] == b[f]; });
}

void CheckSameOutcome(const RunOutcome& a, const RunOutcome& b) {
  REQUIRE(a.findings == b.findings);
  REQUIRE(a.corrected == b.corrected);
  REQUIRE(SameInputs(a.inputs, b.inputs));
  REQUIRE(a.results.Valberuhazas == b.results.Valberuhazas);
  REQUIRE(a.results.yearly.has_value() == b.results.yearly.has_value());
  REQUIRE(a.results.Megterulesiido == b.results.Megterulesiido);
  REQUIRE(a.labels == b.labels);
  REQUIRE(a.fault == b.fault);
  REQUIRE(a.chart == b.chart);
}

void CheckFindings(const InputTexts& texts, const RunOutcome& out, const NumberFormat& format) {
  // At most one finding per box, in table order.
  for (std::size_t i = 1; i < out.findings.size(); ++i) {
    REQUIRE(Index(out.findings[i - 1].field) < Index(out.findings[i].field));
  }
  std::size_t next = 0;
  for (const ValidationRule& rule : ValidationRules()) {
    const std::size_t box = Index(rule.field);
    const auto message = CheckText(rule, texts[box], format);
    const bool has_finding = next < out.findings.size() && out.findings[next].field == rule.field;
    REQUIRE(has_finding == message.has_value());
    if (has_finding) {
      const ValidationFinding& finding = out.findings[next++];
      REQUIRE(finding.message == *message);
      REQUIRE(finding.replacement == ReplacementText(rule, format));
      REQUIRE(out.corrected[box] == finding.replacement);
    } else {
      REQUIRE(out.corrected[box] == texts[box]);
    }
    // Whatever the box ends up holding passes its own row's test.
    REQUIRE(!CheckText(rule, out.corrected[box], format));
  }
  REQUIRE(next == out.findings.size());
}

void CheckLabels(const RunOutcome& out, const NumberFormat& format) {
  // The labels the run reached form a prefix; a fault leaves the rest empty.
  const auto first_missing = std::find(out.labels.begin(), out.labels.end(), std::nullopt);
  REQUIRE(std::all_of(first_missing, out.labels.end(), [](const auto& l) { return !l; }));
  if (out.fault) {
    REQUIRE(*out.fault == kFaultMessage);
  } else {
    REQUIRE(first_missing == out.labels.end());
  }

  const auto& valberuhazas = out.labels[static_cast<std::size_t>(ResultLabel::Valberuhazasb)];
  if (valberuhazas) {
    REQUIRE(out.results.Valberuhazas);
    REQUIRE(*valberuhazas == MoneyText(*out.results.Valberuhazas, format));
  }

  const auto& payback_label = out.labels[static_cast<std::size_t>(ResultLabel::L)];
  if (!payback_label) return;
  const auto& payback = out.results.Megterulesiido;
  if (!payback) {
    REQUIRE(*payback_label == kNoPaybackText);
    return;
  }
  REQUIRE(*payback_label == MoneyText(*payback, format));
  // 0 (paid back within the first 0.10 year) or a point of the grid
  // 0.11 ... 100.00 in steps of 0.01.
  const std::int64_t raw = payback->Raw();
  REQUIRE(raw % 100 == 0);
  REQUIRE(raw == 0 || (raw >= 1100 && raw <= 1000000));
}

bool Finite(const ChartOperation& op) {
  if (const Line* l = std::get_if<Line>(&op)) {
    return std::isfinite(l->x1) && std::isfinite(l->y1) && std::isfinite(l->x2) &&
           std::isfinite(l->y2);
  }
  if (const CurrentX* x = std::get_if<CurrentX>(&op)) return std::isfinite(x->x);
  if (const CurrentY* y = std::get_if<CurrentY>(&op)) return std::isfinite(y->y);
  if (const Print* p = std::get_if<Print>(&op)) {
    const double* d = std::get_if<double>(&p->value);
    return !d || std::isfinite(*d);
  }
  return true;
}

std::size_t CurveSegments(const ChartOperations& ops, Color color) {
  return static_cast<std::size_t>(std::count_if(ops.begin(), ops.end(), [&](const auto& op) {
    const Line* l = std::get_if<Line>(&op);
    return l && l->color == color;
  }));
}

void CheckChart(const RunOutcome& out) {
  const ChartOperations& chart = out.chart;
  REQUIRE(chart.size() >= 2);
  REQUIRE(chart[0] == ChartOperation{Cls{}});
  REQUIRE(chart[1] == ChartOperation{DrawWidth{2}});
  REQUIRE(chart.size() <= MaxChartLength());
  REQUIRE(std::all_of(chart.begin(), chart.end(), Finite));

  // Two curves of equal length, then the frame.
  const std::size_t savings = CurveSegments(chart, kSavingsColor);
  REQUIRE(savings == CurveSegments(chart, kCostColor));
  REQUIRE(savings <= 99);
  const ChartOperations frame = DrawChartFrame();
  const std::size_t frame_at = 2 + 2 * savings;
  REQUIRE(chart.size() >= frame_at + frame.size());
  REQUIRE(std::equal(frame.begin(), frame.end(),
                     chart.begin() + static_cast<std::ptrdiff_t>(frame_at)));

  // A run that did not get to its payback label drew the frame alone.
  if (!out.labels[static_cast<std::size_t>(ResultLabel::L)]) {
    REQUIRE(chart.size() == 2 + frame.size());
  }
}

}  // namespace
}  // namespace zr

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace zr;
  if (size == 0) return 0;
  const NumberFormat format{std::string(kSeparators[data[0] % kSeparators.size()])};

  InputTexts texts = StartupTexts(format);
  std::string_view rest(reinterpret_cast<const char*>(data), size);
  const std::size_t first_line_end = rest.find('\n');
  rest = first_line_end == std::string_view::npos ? std::string_view{}
                                                  : rest.substr(first_line_end + 1);
  for (std::size_t box = 0; box < kFieldCount && !rest.empty(); ++box) {
    const std::size_t end = rest.find('\n');
    texts[box] = std::string(rest.substr(0, end));
    rest = end == std::string_view::npos ? std::string_view{} : rest.substr(end + 1);
  }

  const RunOutcome out = CalculationRun(texts, format);
  CheckFindings(texts, out, format);
  CheckLabels(out, format);
  CheckChart(out);

  // Deterministic: the same texts give the same outcome.
  CheckSameOutcome(out, CalculationRun(texts, format));

  // The corrected texts need no correction and compute the same.
  const RunOutcome again = CalculationRun(out.corrected, format);
  REQUIRE(again.findings.empty());
  REQUIRE(again.corrected == out.corrected);
  REQUIRE(again.labels == out.labels);
  REQUIRE(again.fault == out.fault);
  REQUIRE(again.chart == out.chart);
  return 0;
}
