#include "balance_estimate.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <memory>

namespace zr {

namespace {

constexpr double kU = 0x1p-53;  // the unit roundoff of a double
// A power of the C library may be off by up to 4 units in the last place
// (glibc and musl promise under 1); an ulp is at most 2 kU.
constexpr double kPowError = 8 * kU;
// Beyond this relative error the first-order reasoning below no longer holds.
constexpr double kLargestRelativeError = 1e-6;
constexpr double kHalfStep = 0.5e-4;  // the most a rounding to 4 decimals moves
constexpr double kNothingKnown = std::numeric_limits<double>::quiet_NaN();

// How far, relatively, std::pow(base, RN(T)) may lie from the real base^T:
// the library's error, and |ln base| T kU for the rounding of T (with
// `log_size` ≥ |ln base|).
double PowError(double log_size, double T) { return 1.01 * (kPowError + log_size * T * kU) + kU; }

// At least |ln base|, without the library's logarithm: ln x ≤ x − 1, and
// for x < 1, |ln x| = ln(1/x) ≤ 1/x − 1; 1 % more for the roundings. NaN
// for a negative base, whose powers mean nothing here.
double LogSize(double base) {
  if (base == 0) return 0;  // its powers are exactly 0
  if (base < 0) return kNothingKnown;
  return 1.01 * (base >= 1 ? base - 1 : (1 - base) / base);
}

// How far, relatively, exp(RN(RN(T) RN(ln base))) may lie from the real
// base^T: the library's error as for a power, and |ln base| T times kU for
// the rounding of T, 4 kU for the logarithm's (2 ulp) and kU for the
// product.
double ExpError(double log_size, double T) {
  return 1.01 * (kPowError + 6 * log_size * T * kU) + kU;
}

// base^T as exp(T ln base): a third of a power's time.
Power ExpPowerOf(double base, double log_base, double T) {
  const double log_size = LogSize(base);
  const double value = T == 1 ? base : base == 0 ? 0 : std::exp(T * log_base);
  return {value, ExpError(log_size, T), log_size};
}

// The product of two powers of one base: their errors add, with the
// product's rounding and 1 % for the higher-order terms.
Power Product(const Power& a, const Power& b) {
  return {a.value * b.value, 1.01 * (a.error + b.error + kU), a.log_size};
}

}  // namespace

GridSteps::GridSteps(const PeriodModel& model, const FactorBounds& factors)
    : m_(model), factors_(factors) {}

const PeriodPowers& GridSteps::Step(int j) const {
  if (squared_ < 0) {
    std::construct_at(&steps_[0].powers, factors_.Powers(Money::FromRaw(100)));
    squared_ = 0;
  }
  for (; squared_ < j; ++squared_) {
    const PeriodPowers& half = steps_[squared_].powers;
    // Made as a copy and then squared: value-initialised, it would be
    // cleared with a slow block store every time.
    PeriodPowers& next = *std::construct_at(&steps_[squared_ + 1].powers, half);
    next.q = Product(half.q, half.q);
    for (int i = 0; i < m_.growth_count; ++i) next.ratio[i] = Product(half.ratio[i], half.ratio[i]);
  }
  return steps_[j].powers;
}

PeriodPowers GridSteps::Carry(const PeriodPowers& at, int j) const {
  const PeriodPowers& step = Step(j);
  PeriodPowers p = at;  // a copy rather than zeroed; the entries not in use go unread
  p.q = Product(at.q, step.q);
  for (int i = 0; i < m_.growth_count; ++i) p.ratio[i] = Product(at.ratio[i], step.ratio[i]);
  return p;
}

FactorBounds::FactorBounds(const PeriodModel& model) : m_(model) {
  monotonic_ = m_.Q > 0;
  inverse_q_less_1_ = 1 / std::fabs(m_.q_less_1);
  if (m_.q != MoneyOf(1)) log_q_ = std::log(m_.Q);
  for (int i = 0; i < m_.growth_count; ++i) {
    const PeriodModel::Growth& g = m_.growth[i];
    if (g.g == m_.q) {
      slope_factor_[i] = 1 / m_.Q;  // t / q
      continue;
    }
    monotonic_ = monotonic_ && g.ratio >= 0 && (g.ratio - 1) * g.q_less_g <= 0;
    inverse_q_less_g_[i] = 1 / g.q_less_g;
    log_ratio_[i] = std::log(g.ratio);
    slope_factor_[i] = g.ratio == 0 ? 0 : -log_ratio_[i] / g.q_less_g;
  }
}

PeriodPowers FactorBounds::Powers(Money t) const {
  const double T = Dbl(t);
  PeriodPowers p;
  if (m_.q != MoneyOf(1)) p.q = ExpPowerOf(m_.Q, log_q_, T);
  for (int i = 0; i < m_.growth_count; ++i) {
    if (m_.growth[i].g != m_.q) p.ratio[i] = ExpPowerOf(m_.growth[i].ratio, log_ratio_[i], T);
  }
  return p;
}

PeriodFactors FactorBounds::At(Money t, const PeriodPowers& powers) const {
  PeriodFactors f{t, Dbl(t), powers};
  if (m_.q == MoneyOf(1)) {
    f.a = 1 / f.T;
  } else {
    const double x = powers.q.value;
    f.a = x * m_.q_less_1 / (x - 1);
  }
  for (int i = 0; i < m_.growth_count; ++i) {
    f.p[i] =
        m_.growth[i].g == m_.q ? f.T / m_.Q : (1 - powers.ratio[i].value) * inverse_q_less_g_[i];
  }
  return f;
}

FactorRange FactorBounds::Over(const PeriodFactors& at_t1, const PeriodFactors& at_t2) const {
  FactorRange range;
  if (!monotonic_) return range;
  const double T2 = at_t2.T;
  // The powers' error: ours at either end, or the exact evaluation's at
  // any period of the interval, largest at T2.
  const auto power_error = [T2](const Power& p1, const Power& p2) {
    return std::max({PowError(p2.log_size, T2), p1.error, p2.error});
  };

  // The real a falls with t, and the evaluation's a at any period and ours
  // at the ends are each within a relative rho of it.
  if (m_.q == MoneyOf(1)) {
    // RN(1 / RN(T)) is within 3 kU of 1 / T.
    range.a_hi = at_t1.a * (1 + 8 * kU);
    range.a_lo = at_t2.a * (1 - 8 * kU);
  } else {
    // q^t − 1 cancels: the power's relative error grows by q^t / (q^t − 1),
    // which is a / (q − 1), largest at T1; and 10 kU for the roundings.
    const double rho = 1.01 * (power_error(at_t1.powers.q, at_t2.powers.q) *
                                   (1 + 1.01 * std::fabs(at_t1.a) * inverse_q_less_1_) +
                               10 * kU);
    if (!(rho <= kLargestRelativeError)) return range;
    range.a_hi = at_t1.a * (1 + 2.01 * rho);
    range.a_lo = at_t2.a * (1 - 2.01 * rho);
  }

  // Each present value rises with t; the evaluation's and ours at the ends
  // are each within `error` of the real one. Its slope is (g/q)^t times
  // ln(q/g) / (q − g), or 1 / q for g equal to q.
  constexpr double kSlopeMargin = 1e-9;
  for (int i = 0; i < m_.growth_count; ++i) {
    const double p1 = at_t1.p[i];
    const double p2 = at_t2.p[i];
    double error;
    double r_lo = 1;
    double r_hi = 1;
    double margin = kSlopeMargin;
    if (m_.growth[i].g == m_.q) {
      // RN(RN(T) / q) is within 3 kU of T / q, and so is ours.
      error = 8 * kU * std::fabs(p2);
    } else {
      const Power& at1 = at_t1.powers.ratio[i];
      const Power& at2 = at_t2.powers.ratio[i];
      r_lo = std::min(at1.value, at2.value);
      r_hi = std::max(at1.value, at2.value);
      // 1 − r cancels: the absolute error is the power's relative one times
      // |r / (q − g)|, r largest at one of the ends, and 8 kU of the present
      // value, largest at T2.
      const double e = power_error(at1, at2);
      error = 1.01 *
              (e * 1.01 * r_hi * std::fabs(inverse_q_less_g_[i]) + 8 * kU * 1.01 * std::fabs(p2));
      margin += 2.01 * e;
    }
    if (!(error <= kLargestRelativeError * std::fabs(p1))) return range;
    range.p_error[i] = error;
    range.p_lo[i] = p1 - 2.01 * error;
    range.p_hi[i] = p2 + 2.01 * error;
    range.slope_lo[i] = slope_factor_[i] * r_lo * (1 - margin);
    range.slope_hi[i] = slope_factor_[i] * r_hi * (1 + margin);
  }
  range.known = true;
  return range;
}

IntervalBalanceBound::IntervalBalanceBound(const PeriodModel& model) : m_(model), factors_(model) {
  const auto add = [this](Money first_year, int growth, double sign) {
    weight_[growth] += sign * Dbl(first_year);
    absolute_weight_[growth] += std::fabs(Dbl(first_year));
    ++amounts_[growth];
  };
  add(m_.K1, m_.K_growth, -1);
  add(m_.U1, m_.U_growth, -1);
  add(m_.E1, m_.E_growth, -1);
  add(m_.S1, m_.S_growth, 1);
}

double IntervalBalanceBound::Highest(const PeriodFactors& at_t1, const PeriodFactors& at_t2) const {
  const FactorRange range = factors_.Over(at_t1, at_t2);
  if (!range.known) return kNothingKnown;
  const double a_lo = range.a_lo;
  const double a_hi = range.a_hi;
  const double da = kHalfStep + a_hi * 2 * kU;  // ≥ |a rounded to 4 decimals − a|

  // The exact evaluation rounds a and each present value to 4 decimals,
  // each product f ⊗ a to 4 decimals, each amount X1 (f ⊗ a) to 4 decimals
  // and then to whole Ft, and the yearly capital cost to whole Ft. With G
  // the sum of the signed first-year amounts w times the evaluation's
  // present values, less the capital, its balance is at most
  //   G a + |G| da + (|a| + da) Σ |w| dp + Σ |w| h + Σ (h + ½) + ½
  // (and the capital cost's few kU). G a is largest at the present values'
  // ends that raise G, and at a_hi or a_lo as G's bound is positive or not.
  double G_hi = -m_.capital;
  double G_lo = -m_.capital;
  double magnitude = std::fabs(m_.capital);
  double pv_rounding = 0;  // Σ |w| dp
  double product_rounding = 0.5;
  // G's slope lies in [slope_lo, slope_hi]; G's values at the ends (ours),
  // and how far the real ones may lie from them.
  double slope_lo = 0;
  double slope_hi = 0;
  double slope_size = 0;
  double G_t1 = -m_.capital;
  double G_t2 = -m_.capital;
  double G_spread = 0;
  for (int i = 0; i < m_.growth_count; ++i) {
    const double p_lo = range.p_lo[i];
    const double p_hi = range.p_hi[i];
    const double w = weight_[i];
    const double P = std::max(std::fabs(p_lo), std::fabs(p_hi));
    G_hi += w >= 0 ? w * p_hi : w * p_lo;
    G_lo += w >= 0 ? w * p_lo : w * p_hi;
    slope_lo += w >= 0 ? w * range.slope_lo[i] : w * range.slope_hi[i];
    slope_hi += w >= 0 ? w * range.slope_hi[i] : w * range.slope_lo[i];
    slope_size += std::fabs(w) * range.slope_hi[i];
    G_t1 += w * at_t1.p[i];
    G_t2 += w * at_t2.p[i];
    G_spread += std::fabs(w) * range.p_error[i];
    magnitude += absolute_weight_[i] * P;
    pv_rounding += std::fabs(w) * (kHalfStep + P * 2 * kU);
    product_rounding += std::fabs(w) * kHalfStep + amounts_[i] * (kHalfStep + 0.5);
  }
  product_rounding += std::fabs(m_.capital) * (a_hi + da) * 3 * kU;
  // Where the real G certainly rises (falls) over the whole interval, it is
  // largest at T2 (T1), and the evaluation's G lies within G_spread of it:
  // a far closer bound than the ends mixed, near the crossing.
  const double slope_rounding = slope_size * 1e-12;
  if (slope_lo > slope_rounding) {
    G_hi = std::min(G_hi, G_t2 + 2.01 * G_spread);
  } else if (slope_hi < -slope_rounding) {
    G_hi = std::min(G_hi, G_t1 + 2.01 * G_spread);
  }
  // The evaluation's rounded a lies in [a_lo − da, a_hi + da], and its G,
  // from the rounded present values, at most pv_rounding above G_hi. Where
  // that a is certainly positive their product is at most G's bound times
  // the a at the end its sign says: near the crossing, where G is small,
  // far closer than the terms taken apart.
  double highest;
  const double rounded_a_lo = a_lo - da;
  if (rounded_a_lo > 0) {
    const double G_top = G_hi + pv_rounding;
    highest = (G_top >= 0 ? G_top * (a_hi + da) : G_top * rounded_a_lo) + product_rounding;
  } else {
    const double Ga = G_hi >= 0 ? G_hi * a_hi : G_hi * a_lo;
    const double G_abs = std::max(std::fabs(G_lo), std::fabs(G_hi));  // ≥ |G|
    highest = Ga + G_abs * da + (a_hi + da) * pv_rounding + product_rounding;
  }
  // This bound's own roundings, a dozen kU each, taken far above that, and
  // one Ft besides.
  return highest + std::fabs(highest) * 1e-12 + magnitude * a_hi * 1e-12 + 1;
}

IntervalBalanceBound::Expected IntervalBalanceBound::ExpectedCourse(double t1, double t2) const {
  Expected expected;
  if (!(m_.Q > 0)) return expected;
  for (int i = 0; i < m_.growth_count; ++i) {
    if (m_.growth[i].g != m_.q && !(m_.growth[i].ratio > 0)) return expected;
  }
  // The sum at t, and its slope.
  const auto sum_at = [&](double t, double& slope) {
    double G = -m_.capital;
    slope = 0;
    for (int i = 0; i < m_.growth_count; ++i) {
      if (m_.growth[i].g == m_.q) {
        G += weight_[i] * t / m_.Q;
        slope += weight_[i] / m_.Q;
      } else {
        const double r = std::exp(t * factors_.log_ratio(i));
        G += weight_[i] * (1 - r) * factors_.inverse_q_less_g(i);
        slope -= weight_[i] * factors_.log_ratio(i) * r * factors_.inverse_q_less_g(i);
      }
    }
    return G;
  };
  double slope = 0;
  const double G_t2 = sum_at(t2, slope);
  const double slope_t2 = slope;
  double t = t1;
  double G = sum_at(t, slope);
  if (!(G_t2 > 0)) {
    expected.peaks = slope > 0 && slope_t2 < 0;
    return expected;
  }
  if (!(G < 0)) return expected;
  // Newton's steps from the near end, kept inside the bracket (halving it
  // where a step would leave it), to a thousandth of a year.
  double lo = t1;
  double hi = t2;
  for (int step = 0; step < 60; ++step) {
    double next = t - G / slope;
    if (!(next > lo && next < hi)) next = lo + (hi - lo) / 2;
    const bool settled = std::fabs(next - t) < 1e-3;
    t = next;
    G = sum_at(t, slope);
    if (G < 0) {
      lo = t;
    } else {
      hi = t;
    }
    if (settled || hi - lo < 1e-3) break;
  }
  expected.crossing = t;
  return expected;
}

}  // namespace zr
