#pragma once
// Scenarios for the core tests: the start-up texts with some boxes changed,
// the figures read from them, and the model the payback search and the
// chart evaluate.

#include <cctype>
#include <string>
#include <string_view>
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

// A readable, stable test name for a box text: "-0,5" gives "Minus0Comma5".
inline std::string TextTestName(std::string_view text) {
  if (text.empty()) return "Empty";
  std::string name;
  for (unsigned char c : text) {
    if (std::isalnum(c)) {
      name += static_cast<char>(c);
    } else {
      switch (c) {
        case ',':
          name += "Comma";
          break;
        case '.':
          name += "Dot";
          break;
        case ' ':
          name += "Blank";
          break;
        case '\t':
          name += "Tab";
          break;
        case '-':
          name += "Minus";
          break;
        case '+':
          name += "Plus";
          break;
        default:
          name += "x" + std::to_string(c);
          break;
      }
    }
  }
  return name;
}

// A number text in the Hungarian format as Money.
inline Money M(const std::string& text) { return TextToMoney(text, NumberFormat::Hungarian()); }

}  // namespace zr::test
