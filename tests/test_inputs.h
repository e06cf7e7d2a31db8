#pragma once
// Scenarios for the core tests: the start-up texts with some boxes changed,
// the figures read from them, and the model the payback search and the
// chart evaluate.

#include <string>
#include <utility>
#include <vector>

#include "economics.h"
#include "input_set.h"
#include "number_text.h"

namespace zr::test {

using TextChanges = std::vector<std::pair<Field, std::string>>;

inline InputTexts StartupTextsWith(TextChanges changes,
                                   const NumberFormat& format = NumberFormat::Hungarian()) {
  InputTexts texts = StartupTexts(format);
  for (const auto& [field, text] : changes) texts[Index(field)] = text;
  return texts;
}

// The figures of valid texts, read as the run reads them.
inline InputSet InputsWith(TextChanges changes) {
  const NumberFormat hu = NumberFormat::Hungarian();
  const InputTexts texts = StartupTextsWith(changes, hu);
  InputSet in;
  for (Field f : kAllFields) in[f] = TextToMoney(texts[Index(f)], hu);
  return in;
}

// The model of the payback search and the chart: maintenance and other
// costs charged on the subsidised investment.
inline PeriodModel ChartModel(const InputSet& in) {
  const Money V = SubsidisedInvestment(in.Beruhazas, in.Tamogatas);
  return MakePeriodModel(in, V, YieldOf(in), V);
}

// A number text in the Hungarian format as Money.
inline Money M(const std::string& text) { return TextToMoney(text, NumberFormat::Hungarian()); }

}  // namespace zr::test
