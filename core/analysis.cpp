#include "analysis.h"

#include "arithmetic_fault.h"
#include "checked_math.h"
#include "economics.h"
#include "payback.h"

namespace zr {

std::optional<std::int64_t> NetPresentValue(const InputSet& in) {
  try {
    const Money V = SubsidisedInvestment(in.Beruhazas, in.Tamogatas);
    // The same amounts as the shown figures: costs on the full investment.
    const PeriodModel m = MakePeriodModel(in, V, YieldOf(in), in.Beruhazas);
    const Money t = in.Elettartam;
    const auto present = [&](Money first_year, Money g) {
      return first_year * PresentValueFactor(t, m.q, g);
    };
    const Money investment = Money::FromDouble(Checked(Dbl(V) * m.capital_share));
    const Money npv = present(m.S1, m.gS) - investment - present(m.K1, m.gK) - present(m.U1, m.gU) -
                      present(m.E1, m.gE);
    return Int64(npv);
  } catch (const ArithmeticFault&) {
    return std::nullopt;
  }
}

std::optional<Money> SimplePayback(const InputSet& in) {
  InputSet free_of_interest = in;
  free_of_interest.Kamatlab = MoneyOf(0);
  try {
    const Money V = SubsidisedInvestment(in.Beruhazas, in.Tamogatas);
    return PaybackSearch(MakePeriodModel(free_of_interest, V, YieldOf(in), V));
  } catch (const ArithmeticFault&) {
    return std::nullopt;
  }
}

Analysis Analyse(const InputSet& in, const NumberFormat& format) {
  Analysis a;
  a.payback = PaybackAndBalanceOf(in).payback;
  for (Field f : kAllFields) a.break_even[Index(f)] = BreakEvenValue(in, f);
  a.sensitivity = SensitivityOf(in, format);
  a.npv = NetPresentValue(in);
  a.internal_rate = a.break_even[Index(Field::Kamatlab)];
  a.simple_payback = SimplePayback(in);
  return a;
}

}  // namespace zr
