#pragma once
// One calculation run: the sixteen texts in, everything the window shows out.

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "chart_operation.h"
#include "economics.h"
#include "input_set.h"
#include "number_format.h"
#include "validation.h"

namespace zr {

inline constexpr std::string_view kFaultMessage =
    "A számítás eredménye túl nagy! Adjon meg kisebb értékeket!";
inline constexpr std::string_view kNoPaybackText = "nincs";

// A payback time as the search finds it.
struct PaybackTime {
  std::optional<Money> years;  // nullopt: none within 100 years
  friend bool operator==(const PaybackTime&, const PaybackTime&) = default;
};

// The text of the label L: "16,68", or "nincs".
std::string PaybackText(const PaybackTime& payback, const NumberFormat& format);

// The eleven value labels in the order the run writes them.
enum class ResultLabel : std::size_t {
  Valberuhazasb,
  Hozamb,
  Eveskoltsb,
  Karbeveskoltsb,
  Uzemeveskoltsb,
  Egyebeveskoltsb,
  Osszeskoltsb,
  Szolarhoarb,
  Megtakaritevesb,
  Egyenlegb,
  L,
};
inline constexpr std::size_t kResultLabelCount = static_cast<std::size_t>(ResultLabel::L) + 1;
std::string_view LabelName(ResultLabel label);

// Texts for the value labels; a label the run did not reach (it ended on an
// arithmetic fault) has none, and the window empties it.
using LabelTexts = std::array<std::optional<std::string>, kResultLabelCount>;

struct ResultSet {
  std::optional<Money> Valberuhazas;
  std::optional<YearlyFigures> yearly;
  std::optional<Money> Megterulesiido;  // absent when no payback was found
};

struct RunOutcome {
  std::vector<ValidationFinding> findings;
  InputTexts corrected;
  InputSet inputs;
  ResultSet results;
  LabelTexts labels;
  std::optional<std::string> fault;  // the fault message when the run ended early
  ChartOperations chart;             // starts with Cls and DrawWidth 2; empty when not drawn
};

// Whether anybody will draw the run's chart. A run whose chart is not drawn
// leaves `chart` empty and skips the chart's periods, unless one of them
// might fault: such a fault ends the run, and shows, either way.
enum class ChartUse { kDrawn, kNotDrawn };

RunOutcome CalculationRun(const InputTexts& texts, const NumberFormat& format,
                          ChartUse chart_use = ChartUse::kDrawn);

}  // namespace zr
