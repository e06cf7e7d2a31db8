#pragma once
// What the risk view ("Kockázat") shows, for the window and the web page
// alike: its words, the ranges it offers for a scenario, how it reads the
// ranges, the number of runs and the seed the user typed, the figures of a
// result as texts and the payback histogram's drawing model (bars, the
// "nincs" bar, scales, ticks, labels). The front ends only lay these out
// and draw them.

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "chart_operation.h"
#include "input_set.h"
#include "money.h"
#include "number_format.h"
#include "risk.h"

namespace zr {

// --- Words -----------------------------------------------------------------

enum class RiskText : std::size_t {
  kTitle,
  kIntro,
  kColumnInput,
  kColumnLow,
  kColumnMode,
  kColumnHigh,
  kColumnUnit,
  kAddCaption,
  kAdd,
  kRemove,
  kDefaults,
  kRunsCaption,
  kSeedCaption,
  kRun,
  kCancel,
  kNotRun,
  kCancelled,
  kStale,
  kFailed,
  kAllFaulted,
  kShareCaption,
  kColumnFigure,
  kP10,
  kP50,
  kP90,
  kPaybackRow,
  kBalanceRow,
  kFaultsCaption,
  kFaultsNote,
  kHistogramTitle,
  kAxisYears,
  kAxisRuns,
  kPeriodEnd,
  kLegendWithin,
  kLegendBeyond,
  kLegendNone,
  kNoRanges,
  kModeBelowLow,
  kHighBelowMode,
  kGivenTwice,
  kRunsProblem,
  kSeedProblem,
  kCount
};

struct RiskTextEntry {
  RiskText id;
  std::string_view key;  // its name in JSON
  std::string_view text;
};

// Every text of the risk view, by RiskText.
extern const std::array<RiskTextEntry, static_cast<std::size_t>(RiskText::kCount)> kRiskTexts;

std::string_view TextOf(RiskText id);

// "Számítás… 2560 / 10000 futás"
std::string ProgressText(std::int64_t done, std::int64_t runs);
// "Kész: 10000 futás, kezdőérték: 1."
std::string DoneText(const RiskResult& result);

// --- The ranges offered ----------------------------------------------------

// One row of the range table as the user sees and edits it.
struct RangeTexts {
  Field field = Field::Energiaarvalt;
  std::string low;
  std::string mode;
  std::string high;
  friend bool operator==(const RangeTexts&, const RangeTexts&) = default;
};

// The fields the view offers a range for when it opens: the replaced
// energy's yearly price change, the collectors' yield, the interest rate.
inline constexpr std::array<Field, 3> kDefaultRiskFields = {Field::Energiaarvalt, Field::Qkoll,
                                                            Field::Kamatlab};

// The value the scenario's text for `field` stands for, as a run reads it:
// a text that validation would replace counts as its replacement.
Money ScenarioValue(Field field, const InputTexts& scenario, const NumberFormat& format);

// The range offered for `field` around the scenario's value v, always within
// the field's allowed values (docs/felhasznaloi-utmutato.md explains why):
//   Energiaarvalt: v - 4 ... v ... v + 4 percentage points;
//   Qkoll:         0.7 v ... v ... 1.1 v;
//   Kamatlab:      v - 2 ... v ... v + 2 percentage points;
//   any other:     0.8 v ... v ... 1.2 v, as the analysis' ±20 %.
RangeTexts OfferedRange(Field field, const InputTexts& scenario, const NumberFormat& format);

// The rows the view opens with: kDefaultRiskFields, offered for `scenario`.
std::vector<RangeTexts> DefaultRanges(const InputTexts& scenario, const NumberFormat& format);

// After a new calculation: each row that still holds what was offered for
// the former scenario is offered anew for the new one; a row the user
// changed stays as it is.
void FollowScenario(std::vector<RangeTexts>& rows, const InputTexts& former,
                    const InputTexts& scenario, const NumberFormat& format);

// --- Reading what the user typed -------------------------------------------

struct RangeProblem {
  std::size_t row = 0;  // the row of the wrong text; rows.size() when none in particular
  int column = 0;       // 0 low, 1 most likely, 2 high
  std::string message;  // Hungarian, as a validation message
};

// The ranges the rows hold, or the first wrong text: not a number, outside
// the field's allowed values (its validation message), a most likely value
// below the low or a high below the most likely value, a field given twice,
// or no row at all.
std::variant<std::vector<RiskRange>, RangeProblem> ReadRanges(const std::vector<RangeTexts>& rows,
                                                              const NumberFormat& format);

// A whole number of runs, 1 ... kMaxRiskRuns, blanks around allowed; else
// the message.
std::variant<std::int64_t, std::string> ReadRuns(std::string_view text);
// A seed, 0 ... 2^64 - 1, blanks around allowed; else the message.
std::variant<std::uint64_t, std::string> ReadSeed(std::string_view text);

// The studied period when every run has the same one (Elettartam has no
// range), for the histogram's mark.
std::optional<Money> FixedPeriod(const InputTexts& scenario, const std::vector<RiskRange>& ranges,
                                 const NumberFormat& format);

// --- Figures ---------------------------------------------------------------

struct RiskFigures {
  std::string share;                   // "87,34 % (8734 / 10000 futás)"; "–" without runs
  std::string summary;                 // what it means for the household, one or two sentences
  std::array<std::string, 3> payback;  // P10, P50, P90: "16,68" or "nincs"; "–" without runs
  std::array<std::string, 3> balance;  // whole Ft a year
  std::string faults;                  // "0", or the count
};

RiskFigures FiguresOf(const RiskResult& result, const NumberFormat& format);

// --- The histogram ---------------------------------------------------------

struct RiskBar {
  enum class Kind {
    kWithin,  // pays back within the studied period
    kBeyond,  // pays back, but after the period (or the bin straddles its end)
    kNone,    // no payback within 100 years: "nincs"
  };
  Kind kind = Kind::kWithin;
  std::int64_t runs = 0;
  std::string label;  // "16–17 év: 1234 futás", for a reader
  double left = 0;    // across the plot: 0 its left, 1 its right
  double right = 0;
  double height = 0;  // of the count scale: 0 nothing, 1 its top tick
};

struct RiskTick {
  double at = 0;  // across (or up) the plot, as RiskBar::left
  std::string text;
};

struct RiskHistogram {
  std::vector<RiskBar> bars;         // the year bins left to right, then "nincs"
  std::vector<RiskTick> year_ticks;  // at bin edges, at most 13 labelled; "nincs" under its bar
  std::vector<RiskTick> run_ticks;   // 0 up to the top, 1, 2 or 5 times a power of ten apart
  std::optional<RiskTick> period;    // the studied period's end, when it is fixed and in view
  std::string description;           // every bar in words, for a screen reader
};

// The bars' colours: the chart's savings colour for a payback within the
// period, a pale one for a later payback, grey for "nincs".
inline constexpr Color kWithinColor = kSavingsColor;
inline constexpr Color kBeyondColor{250, 200, 160};
inline constexpr Color kNoneColor{150, 150, 150};

// Empty (no bars) when no run ended without a fault.
RiskHistogram HistogramOf(const RiskResult& result, std::optional<Money> period,
                          const NumberFormat& format);

}  // namespace zr
