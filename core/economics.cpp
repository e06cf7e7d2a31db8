#include "economics.h"

#include <cmath>

#include "checked_math.h"

namespace zr {

Money GrowthFactor(Money rate) { return Money::FromDouble(Checked(Checked(Dbl(rate) / 100) + 1)); }

namespace {

// The closed forms on their double inputs, shared by the factors of one
// call and by the period evaluations, which take Q, q - 1, g / q and q - g
// from their model.
Money Annuity(double T, bool q_is_1, double Q, double q_less_1) {
  // Without interest (the simple payback) the closed form is 0/0; its
  // limit spreads the capital evenly over the period.
  if (q_is_1) return Money::FromDouble(Checked(1 / T));
  const double qt = Checked(std::pow(Q, T));
  const double numerator = Checked(qt * q_less_1);
  const double denominator = Checked(qt - 1);
  return Money::FromDouble(Checked(numerator / denominator));
}

Money PresentValue(double T, bool g_is_q, double Q, double ratio, double q_less_g) {
  // Equal factors make the closed form 0/0; its limit is t/q. Comparing the
  // rounded factors also covers two rates a hair apart (6.001 against 6).
  if (g_is_q) return Money::FromDouble(Checked(T / Q));
  const double numerator = Checked(1 - Checked(std::pow(Checked(ratio), T)));
  return Money::FromDouble(Checked(numerator / q_less_g));
}

}  // namespace

Money AnnuityFactor(Money t, Money q) {
  const bool q_is_1 = q == MoneyOf(1);
  return Annuity(Dbl(t), q_is_1, Dbl(q), q_is_1 ? 0 : Dbl(q - MoneyOf(1)));
}

Money PresentValueFactor(Money t, Money q, Money g) {
  const double Q = Dbl(q);
  if (g == q) return PresentValue(Dbl(t), true, Q, 0, 0);
  return PresentValue(Dbl(t), false, Q, Dbl(g) / Q, Dbl(q - g));
}

Money SubsidisedInvestment(Money beruhazas, Money tamogatas) {
  const double remaining = Checked(1 - Checked(Dbl(tamogatas) / 100));
  return Money::FromDouble(Checked(Dbl(beruhazas) * remaining));
}

std::int32_t YieldOf(const InputSet& in) { return Int32(in.Akoll * in.Qkoll); }

namespace {

// The first-year maintenance and other costs, charged on `base`.
Money MaintenanceOn(Money base, const InputSet& in) {
  return Money::FromDouble(Checked(Dbl(base * in.Karbkolts) / 100));
}
Money OtherCostOn(Money base, const InputSet& in) {
  return Money::FromDouble(Checked(Dbl(base * in.Egyebkolts) / 100));
}

}  // namespace

PeriodModel ChargedOn(PeriodModel model, const InputSet& in, Money base) {
  model.K1 = MaintenanceOn(base, in);
  model.E1 = OtherCostOn(base, in);
  return model;
}

PeriodModel MakePeriodModel(const InputSet& in, Money V, std::int32_t hozam, Money base) {
  PeriodModel m;
  m.V = V;
  m.q = GrowthFactor(in.Kamatlab);
  m.gK = GrowthFactor(in.Karbkoltsvalt);
  m.gU = GrowthFactor(in.Uzemkoltsvalt);
  m.gE = GrowthFactor(in.Egyebkoltsvalt);
  m.gS = GrowthFactor(in.Energiaarvalt);
  m.K1 = MaintenanceOn(base, in);
  m.U1 = Money::FromDouble(Checked(Dbl((MoneyOf(hozam) * in.Villanyar) * in.Uzemkolts) / 100));
  m.E1 = OtherCostOn(base, in);
  m.S1 = in.Energiaar * MoneyOf(hozam);
  m.capital_share = Checked(1 - Checked(Dbl(in.Maradvanyertek) / 100));

  m.Q = Dbl(m.q);
  // Growth factors come from GrowthFactor, so |q| and |g| stay below 10^17
  // raw: q - 1 and q - g cannot leave the Money range.
  m.q_less_1 = Dbl(m.q - MoneyOf(1));
  m.capital = Dbl(m.V) * m.capital_share;
  const auto growth_of = [&m](Money g) {
    for (int i = 0; i < m.growth_count; ++i) {
      if (m.growth[i].g == g) return i;
    }
    m.growth[m.growth_count] = {g, Dbl(g) / m.Q, Dbl(m.q - g)};
    return m.growth_count++;
  };
  m.K_growth = growth_of(m.gK);
  m.U_growth = growth_of(m.gU);
  m.E_growth = growth_of(m.gE);
  m.S_growth = growth_of(m.gS);
  return m;
}

namespace {

// The whole-number steps of a period evaluation, 32 or 64 bits wide.
struct Narrow {
  static std::int32_t Whole(double x) { return Int32(x); }
  static std::int32_t Whole(Money m) { return Int32(m); }
  static std::int32_t Add(std::int32_t a, std::int32_t b) { return Add32(a, b); }
};
struct Wide {
  static std::int64_t Whole(double x) { return Int64(x); }
  static std::int64_t Whole(Money m) { return Int64(m); }
  static std::int64_t Add(std::int64_t a, std::int64_t b) { return Add64(a, b); }
};

template <class Width, class Figures>
Figures Evaluate(const PeriodModel& m, Money t) {
  Figures p;
  const double T = Dbl(t);
  p.a = Annuity(T, m.q == MoneyOf(1), m.Q, m.q_less_1);
  p.Eveskolts = Width::Whole(Checked(Checked(m.capital) * Dbl(p.a)));

  // f ⊗ a once per distinct growth factor: with the default 3 % for all
  // costs one power serves three amounts.
  Money f_times_a[4];
  for (int i = 0; i < m.growth_count; ++i) {
    const PeriodModel::Growth& g = m.growth[i];
    f_times_a[i] = PresentValue(T, g.g == m.q, m.Q, g.ratio, g.q_less_g) * p.a;
  }

  p.Karbeveskolts = Width::Whole(m.K1 * f_times_a[m.K_growth]);
  p.Uzemeveskolts = Width::Whole(m.U1 * f_times_a[m.U_growth]);
  p.Egyebeveskolts = Width::Whole(m.E1 * f_times_a[m.E_growth]);
  p.Osszeskolts = Width::Add(Width::Add(Width::Add(p.Eveskolts, p.Karbeveskolts), p.Uzemeveskolts),
                             p.Egyebeveskolts);
  p.Megtakariteves = Width::Whole(m.S1 * f_times_a[m.S_growth]);
  return p;
}

}  // namespace

PeriodFigures PeriodEvaluation(const PeriodModel& m, Money t) {
  return Evaluate<Narrow, PeriodFigures>(m, t);
}

WidePeriodFigures WidePeriodEvaluation(const PeriodModel& m, Money t) {
  return Evaluate<Wide, WidePeriodFigures>(m, t);
}

YearlyFigures AnnualEconomics(const InputSet& in, Money V) {
  // The shown maintenance and other costs are charged on the full investment.
  return AnnualEconomics(in, MakePeriodModel(in, V, YieldOf(in), in.Beruhazas));
}

YearlyFigures AnnualEconomics(const InputSet& in, const PeriodModel& shown) {
  YearlyFigures y;
  y.Hozam = YieldOf(in);
  const PeriodFigures p = PeriodEvaluation(shown, in.Elettartam);
  y.Eveskolts = p.Eveskolts;
  y.Karbeveskolts = p.Karbeveskolts;
  y.Uzemeveskolts = p.Uzemeveskolts;
  y.Egyebeveskolts = p.Egyebeveskolts;
  y.Osszeskolts = p.Osszeskolts;
  y.Szolarhoar = Int32(Checked(static_cast<double>(y.Osszeskolts) / y.Hozam));
  y.Megtakariteves = p.Megtakariteves;
  y.Egyenleg = Sub32(y.Megtakariteves, y.Osszeskolts);
  return y;
}

}  // namespace zr
