#pragma once
// The comparison of two to four variants, each a scenario: for the window,
// the page, the report and zeltano-eval alike, the table as texts in the
// regional format (the sixteen inputs, the eleven results, the NPV, the
// internal rate and the verdict of each), which inputs differ, which variant
// has the best balance and which the shortest payback, the chart of all
// their curves and the view's words.

#include <array>
#include <cstddef>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "calculation_run.h"
#include "chart_operation.h"
#include "input_set.h"
#include "number_format.h"

namespace zr {

inline constexpr std::size_t kMinVariants = 2;
inline constexpr std::size_t kMaxVariants = 4;

// --- Words -----------------------------------------------------------------

enum class VariantsText : std::size_t {
  kTitle,
  kIntro,
  kTooFew,      // fewer than two variants: nothing to compare yet
  kFull,        // four variants: no more can be added
  kCurrent,     // the name of the main window's (the page's) scenario
  kUnnamed,     // "változat": "2. változat" for a variant without a name
  kAddCurrent,  // the commands
  kAddFile,
  kRemove,
  kSave,
  kInputsTitle,
  kResultsTitle,
  kVerdictCaption,
  kDiffers,          // the mark of an input that differs between variants
  kBestBalance,      // the mark of the best balance
  kShortestPayback,  // the mark of the shortest payback
  kMarksLegend,      // what the marks mean
  kChartTitle,
  kSaved,  // after saving: the files written
  kCount
};

struct VariantsTextEntry {
  VariantsText id;
  std::string_view key;  // its name in JSON
  std::string_view text;
};

extern const std::array<VariantsTextEntry, static_cast<std::size_t>(VariantsText::kCount)>
    kVariantsTexts;

std::string_view TextOf(VariantsText id);

// --- The table -------------------------------------------------------------

struct Variant {
  std::string name;  // shown in the column head and the legend
  InputTexts texts;  // the sixteen box texts, as a scenario file holds them
};

struct VariantRow {
  enum class Kind { kInput, kResult, kNpv, kInternalRate, kVerdict };
  Kind kind = Kind::kInput;
  // The field (kInput) or label (kResult) name; "npv", "internal_rate",
  // "verdict" for the rest. The front ends caption a row by it.
  std::string key;
  std::vector<std::string> cells;  // one per variant, as shown
  // An input: the variants do not all read the same figure from it.
  bool differs = false;
  // Per variant: the cell carries the row's mark (Egyenlegb: the best
  // balance, L: the shortest payback); empty for the other rows.
  std::vector<bool> marked;
};

struct VariantsTable {
  // Each variant's name, made unique ("Ajánlat", "Ajánlat (2)") and never
  // empty, as the columns and the legend show it.
  std::vector<std::string> names;
  std::vector<VariantRow> rows;  // 16 inputs, 11 results, NPV, internal rate, verdict
  std::vector<bool> best_balance;
  std::vector<bool> shortest_payback;
  // The common chart: every variant's curves over the longest period studied.
  ChartOperations chart;
};

// The table of 2 to 4 variants (std::invalid_argument otherwise). Each
// variant goes through the calculation run as the window's scenario does;
// where a box is wrong, its replacement is taken, as the window would.
//
// Differing inputs: two texts differ when the run reads different figures
// from them, so "5" and "5,0" do not (the calculation cannot tell them
// apart), "5" and "6" do.
//
// Marks: among the variants whose run ended without a fault, every one
// with the highest balance, and every one with the shortest payback time
// ("nincs" is longer than any time; when none pays back, none is marked).
// A tie marks each tied variant: the figures cannot tell them apart, so
// neither does the mark. A variant whose run ended on a fault is never
// marked, and no mark is given while fewer than two variants could be
// computed.
VariantsTable CompareVariants(std::span<const Variant> variants, const NumberFormat& format);

// The names the columns show: blanks trimmed, an empty one as "N. változat",
// a repeated one with " (2)", " (3)" after it.
std::vector<std::string> VariantNames(std::span<const Variant> variants);

}  // namespace zr
