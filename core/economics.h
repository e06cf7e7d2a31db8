#pragma once
// The levelised yearly economics of the installation: the annuity and
// present-value factors and one period's yearly costs and savings.

#include <array>
#include <cstdint>

#include "input_set.h"
#include "money.h"

namespace zr {

// Money(rate / 100 + 1): 6 % gives 1.06, 3.333 % gives 1.0333.
Money GrowthFactor(Money rate);

// Capital recovery factor for t years at discount factor q (1/t when q is 1).
Money AnnuityFactor(Money t, Money q);

// Present value at q of a yearly 1 growing by g, over t years. When g
// equals q (after rounding) the closed form is 0/0 and t/q is taken.
Money PresentValueFactor(Money t, Money q, Money g);

// Investment reduced by the subsidy.
Money SubsidisedInvestment(Money beruhazas, Money tamogatas);

// Yearly energy yield in kWh.
std::int32_t YieldOf(const InputSet& in);

// Everything a period evaluation needs that does not depend on the period:
// the growth factors and the first-year amounts on base B.
struct PeriodModel {
  Money V;  // subsidised investment
  Money q;  // discount factor
  Money gK, gU, gE, gS;
  Money K1, U1, E1, S1;
  double capital_share;  // 1 - residual value / 100

  // What every period evaluation would otherwise work out again: the same
  // double steps, taken once. Stored unchecked; each evaluation checks them
  // where the closed forms use them, so a fault comes where it always did.
  double Q;         // Dbl(q)
  double q_less_1;  // Dbl(q - 1)
  double capital;   // Dbl(V) × capital_share
  // The distinct growth factors among gK, gU, gE, gS (each costs one power
  // per period, however many amounts share it), and which one each amount
  // takes.
  struct Growth {
    Money g;
    double ratio;     // Dbl(g) / Q
    double q_less_g;  // Dbl(q - g)
  };
  Growth growth[4];
  int growth_count = 0;
  int K_growth = 0, U_growth = 0, E_growth = 0, S_growth = 0;
};

// `base` is the amount on which the maintenance and other percentages are
// charged: the full investment for the shown figures, the subsidised one
// for the payback search and the chart.
PeriodModel MakePeriodModel(const InputSet& in, Money V, std::int32_t hozam, Money base);
// The same model with the maintenance and other costs charged on `base`.
PeriodModel ChargedOn(PeriodModel model, const InputSet& in, Money base);

// One period's levelised yearly figures in whole Ft. The shown figures and
// the chart are 32-bit; the payback search uses the same computation and
// roundings 64 bits wide, so that a large plant, whose figures leave 32
// bits at very short or very long periods, still finds its payback time.
template <class Whole>
struct PeriodFiguresOf {
  Money a;
  Whole Eveskolts = 0;
  Whole Karbeveskolts = 0;
  Whole Uzemeveskolts = 0;
  Whole Egyebeveskolts = 0;
  Whole Osszeskolts = 0;
  Whole Megtakariteves = 0;
};
using PeriodFigures = PeriodFiguresOf<std::int32_t>;
using WidePeriodFigures = PeriodFiguresOf<std::int64_t>;

PeriodFigures PeriodEvaluation(const PeriodModel& model, Money t);
WidePeriodFigures WidePeriodEvaluation(const PeriodModel& model, Money t);

// The nine shown yearly figures for the full period.
struct YearlyFigures {
  std::int32_t Hozam = 0;
  std::int32_t Eveskolts = 0;
  std::int32_t Karbeveskolts = 0;
  std::int32_t Uzemeveskolts = 0;
  std::int32_t Egyebeveskolts = 0;
  std::int32_t Osszeskolts = 0;
  std::int32_t Szolarhoar = 0;
  std::int32_t Megtakariteves = 0;
  std::int32_t Egyenleg = 0;
};

YearlyFigures AnnualEconomics(const InputSet& in, Money V);
// The same from the model of the shown figures, MakePeriodModel(in, V,
// YieldOf(in), in.Beruhazas), for a caller that goes on to use it.
YearlyFigures AnnualEconomics(const InputSet& in, const PeriodModel& shown);

}  // namespace zr
