#include "economics.h"

#include <cmath>

#include "checked_math.h"

namespace zr {

Money GrowthFactor(Money rate) { return Money::FromDouble(Checked(Checked(Dbl(rate) / 100) + 1)); }

Money AnnuityFactor(Money t, Money q) {
  const double T = Dbl(t);
  const double Q = Dbl(q);
  // Without interest (the simple payback) the closed form is 0/0; its
  // limit spreads the capital evenly over the period.
  if (q == MoneyOf(1)) return Money::FromDouble(Checked(1 / T));
  const double qt = Checked(std::pow(Q, T));
  const double numerator = Checked(qt * Dbl(q - MoneyOf(1)));
  const double denominator = Checked(qt - 1);
  return Money::FromDouble(Checked(numerator / denominator));
}

Money PresentValueFactor(Money t, Money q, Money g) {
  const double T = Dbl(t);
  const double Q = Dbl(q);
  // Equal factors make the closed form 0/0; its limit is t/q. Comparing the
  // rounded factors also covers two rates a hair apart (6.001 against 6).
  if (g == q) return Money::FromDouble(Checked(T / Q));
  const double ratio = Checked(Dbl(g) / Q);
  const double numerator = Checked(1 - Checked(std::pow(ratio, T)));
  return Money::FromDouble(Checked(numerator / Dbl(q - g)));
}

Money SubsidisedInvestment(Money beruhazas, Money tamogatas) {
  const double remaining = Checked(1 - Checked(Dbl(tamogatas) / 100));
  return Money::FromDouble(Checked(Dbl(beruhazas) * remaining));
}

std::int32_t YieldOf(const InputSet& in) { return Int32(in.Akoll * in.Qkoll); }

PeriodModel MakePeriodModel(const InputSet& in, Money V, std::int32_t hozam, Money base) {
  PeriodModel m;
  m.V = V;
  m.q = GrowthFactor(in.Kamatlab);
  m.gK = GrowthFactor(in.Karbkoltsvalt);
  m.gU = GrowthFactor(in.Uzemkoltsvalt);
  m.gE = GrowthFactor(in.Egyebkoltsvalt);
  m.gS = GrowthFactor(in.Energiaarvalt);
  m.K1 = Money::FromDouble(Checked(Dbl(base * in.Karbkolts) / 100));
  m.U1 = Money::FromDouble(Checked(Dbl((MoneyOf(hozam) * in.Villanyar) * in.Uzemkolts) / 100));
  m.E1 = Money::FromDouble(Checked(Dbl(base * in.Egyebkolts) / 100));
  m.S1 = in.Energiaar * MoneyOf(hozam);
  m.capital_share = Checked(1 - Checked(Dbl(in.Maradvanyertek) / 100));
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
  p.a = AnnuityFactor(t, m.q);
  p.Eveskolts = Width::Whole(Checked(Checked(Dbl(m.V) * m.capital_share) * Dbl(p.a)));

  // The growth factors of the four amounts are often equal (3 % for all
  // costs by default): each distinct factor costs one power, not four.
  struct Known {
    Money g;
    Money f;
  };
  Known known[4];
  int known_count = 0;
  const auto f_times_a = [&](Money g) {
    for (int i = 0; i < known_count; ++i) {
      if (known[i].g == g) return known[i].f * p.a;
    }
    const Money f = PresentValueFactor(t, m.q, g);
    known[known_count++] = {g, f};
    return f * p.a;
  };

  p.Karbeveskolts = Width::Whole(m.K1 * f_times_a(m.gK));
  p.Uzemeveskolts = Width::Whole(m.U1 * f_times_a(m.gU));
  p.Egyebeveskolts = Width::Whole(m.E1 * f_times_a(m.gE));
  p.Osszeskolts = Width::Add(Width::Add(Width::Add(p.Eveskolts, p.Karbeveskolts), p.Uzemeveskolts),
                             p.Egyebeveskolts);
  p.Megtakariteves = Width::Whole(m.S1 * f_times_a(m.gS));
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
  YearlyFigures y;
  y.Hozam = YieldOf(in);
  // The shown maintenance and other costs are charged on the full investment.
  const PeriodFigures p =
      PeriodEvaluation(MakePeriodModel(in, V, y.Hozam, in.Beruhazas), in.Elettartam);
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
