#include "sensitivity.h"

#include "arithmetic_fault.h"
#include "calculation_run.h"
#include "economics.h"
#include "number_text.h"
#include "payback.h"
#include "validation.h"

namespace zr {

PaybackAndBalance PaybackAndBalanceOf(const InputSet& in) {
  try {
    const Money V = SubsidisedInvestment(in.Beruhazas, in.Tamogatas);
    const YearlyFigures y = AnnualEconomics(in, V);
    return {PaybackTime{PaybackSearch(MakePeriodModel(in, V, y.Hozam, V))},
            WholeNumberText(y.Egyenleg)};
  } catch (const ArithmeticFault&) {
    return {};
  }
}

std::vector<Sensitivity> SensitivityOf(const InputSet& in, const NumberFormat& format) {
  std::vector<Sensitivity> all;
  for (Field field : kAllFields) {
    if (in[field] == MoneyOf(0)) continue;
    Sensitivity s{field, {}};
    for (std::size_t i = 0; i < kSensitivitySteps.size(); ++i) {
      SensitivityCase& c = s.cases[i];
      c.percent = kSensitivitySteps[i];
      try {
        // 0.8, 0.9, 1.1 and 1.2 are exact in Money.
        c.value = in[field] * Money::FromRaw(Money::kScale + c.percent * Money::kScale / 100);
        c.out_of_range = CheckText(RuleFor(field), MoneyText(c.value, format), format).has_value();
      } catch (const ArithmeticFault&) {
        // Too large for Money: typed in, validation would replace it too.
        c.value = Money();
        c.out_of_range = true;
      }
      if (c.out_of_range) continue;
      InputSet changed = in;
      changed[field] = c.value;
      PaybackAndBalance figures = PaybackAndBalanceOf(changed);
      c.payback = std::move(figures.payback);
      c.balance = std::move(figures.balance);
    }
    all.push_back(std::move(s));
  }
  return all;
}

}  // namespace zr
