#pragma once
// What the analysis view shows, for the window and the web page alike: its
// words, the input captions split from their units, the three figures as
// texts and the tornado chart's model (which case each bar ends at, the
// order of the bars, the scale and its ticks, where each bar starts). The
// front ends only lay these out and draw them.

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "analysis.h"
#include "calculation_run.h"
#include "input_set.h"
#include "number_format.h"

namespace zr {

// --- Words -----------------------------------------------------------------

enum class AnalysisText : std::size_t {
  kTitle,
  kBusy,
  kDone,
  kFailed,
  kNoAnalysis,  // put before the fault message of a run that read no inputs
  kNpvCaption,
  kInternalRateCaption,
  kSimplePaybackCaption,
  kNpvNotComputable,
  kBreakEvenTitle,
  kBreakEvenIntro,
  kColumnInput,
  kColumnCurrent,
  kColumnBreakEven,
  kColumnUnit,
  kTornadoTitle,
  kTornadoIntro,
  kLegendMinus,
  kLegendPlus,
  kLegendBase,
  kAxisTitle,
  kOutOfRange,  // a changed value that validation would replace
  kFault,       // a run that ended on an arithmetic fault
  kCount
};

struct AnalysisTextEntry {
  AnalysisText id;
  std::string_view key;  // its name in JSON
  std::string_view text;
};

// Every text of the analysis view, by AnalysisText.
extern const std::array<AnalysisTextEntry, static_cast<std::size_t>(AnalysisText::kCount)>
    kAnalysisTexts;

std::string_view TextOf(AnalysisText id);

// --- Captions --------------------------------------------------------------

struct CaptionParts {
  std::string text;  // the caption without its unit and closing colon
  std::string unit;  // the text inside the last [..], empty when there is none
};

// "Referencia kamatláb, p [%]:" -> {"Referencia kamatláb, p", "%"}.
CaptionParts SplitCaption(std::string_view shown);

// --- Figures ---------------------------------------------------------------

struct AnalysisFigures {
  std::string npv;             // whole Ft, or why it cannot be computed
  std::string internal_rate;   // the rate, or why there is none
  std::string simple_payback;  // as the label L would show it
};

AnalysisFigures FiguresOf(const Analysis& analysis, const NumberFormat& format);

// --- The tornado chart -----------------------------------------------------

// Where something stands across the chart.
struct TornadoPlace {
  enum class Kind {
    kNowhere,  // no figure to show
    kTime,     // on the time scale, at `at`
    kBand,     // in the band for "nincs" beyond the scale
  };
  Kind kind = Kind::kNowhere;
  double at = 0;  // kTime: 0 at the scale's first tick, 1 at its last
  friend bool operator==(const TornadoPlace&, const TornadoPlace&) = default;
};

// One end of a bar: the payback when the input moves one way.
struct TornadoEnd {
  enum class Kind { kYears, kNoPayback, kOutOfRange, kFault };
  Kind kind = Kind::kFault;
  int percent = 0;           // ±20, or ±10 when only ±20 is out of range
  std::string percent_text;  // "−20 %"
  std::string text;          // the payback text, or why there is none
  TornadoPlace place;        // nowhere when out of range or on a fault
};

struct TornadoBar {
  Field field;
  TornadoEnd minus;     // the input lowered
  TornadoEnd plus;      // the input raised
  TornadoPlace anchor;  // where the bars of both ends start
};

struct TornadoTick {
  double at = 0;  // as TornadoPlace::at
  std::string text;
};

struct Tornado {
  std::string base_text;           // the scenario's own payback, or why there is none
  TornadoPlace base;               // the dashed line; nowhere on a fault
  std::vector<TornadoBar> bars;    // the widest first
  std::vector<TornadoTick> ticks;  // 1, 2 or 5 times a power of ten apart
  // The label of the band for "nincs", when some figure has no payback.
  std::optional<std::string> band;
};

// The bars for the inputs with a sensitivity. Reaching "nincs" from a payback
// counts wider than any time; ties keep the order of the boxes. A bar starts
// at the scenario's own payback; when the scenario's run ends on a fault, at
// its lower end, so that it covers just the range of its cases.
Tornado TornadoOf(const Analysis& analysis, const NumberFormat& format);

}  // namespace zr
