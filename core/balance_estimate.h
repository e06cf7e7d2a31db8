#pragma once
// A cheap and certain answer, for whole stretches of the payback grid, to
// "is every period here still short of paying back?": a bound, in doubles,
// of the largest balance the exact evaluation can give at any period of an
// interval [T1, T2], from the factors at its two ends. The powers at the
// ends come from exp with each logarithm taken once, or are carried along
// the grid by multiplication.

#include <cstdint>
#include <limits>

#include "economics.h"
#include "money.h"

namespace zr {

// base^T, and a bound of its relative distance from the real base^T.
struct Power {
  double value = 0;
  double error = 0;
  double log_size = 0;  // at least |ln base| (0 for base 0, whose powers are exactly 0)
};

// The powers of one period: q^t for the annuity factor, (g/q)^t for each
// distinct growth factor (whatever the model does not need is left 0).
struct PeriodPowers {
  Power q;
  Power ratio[4];
};

class FactorBounds;

// Steps along the grid: the powers of 0.01 × 2^j years, j = 0 ... kMaxStep,
// by squaring. Carrying the powers of t by step j gives those of
// t + 0.01 × 2^j years.
class GridSteps {
 public:
  static constexpr int kMaxStep = 13;  // 81.92 years
  // The first step, 0.01 year, comes from the factors' powers when a carry
  // first needs it.
  GridSteps(const PeriodModel& model, const FactorBounds& factors);
  PeriodPowers Carry(const PeriodPowers& at, int j) const;

 private:
  // Step j, squared from the one before it when first asked for: a search
  // that starts near its answer needs only the shortest.
  const PeriodPowers& Step(int j) const;
  const PeriodModel& m_;
  // Left unwritten until squared: zeroing them all would cost more than
  // the few a search near its answer squares.
  union Slot {
    Slot() {}
    PeriodPowers powers;
  };
  mutable Slot steps_[kMaxStep + 1];
  const FactorBounds& factors_;
  mutable int squared_ = -1;  // steps_[0 ... squared_] are known
};

// One period's factors as computed here from its powers, unrounded: the
// annuity factor and each growth factor's present value.
struct PeriodFactors {
  Money t;
  double T = 0;
  PeriodPowers powers;
  double a = 0;
  double p[4] = {};
};

// Where the exact evaluation's factors lie, before their rounding to 4
// decimals, at every period t1 ≤ t ≤ t2 (not only those on the grid): the
// annuity factor in [a_lo, a_hi], the present value of growth factor i in
// [p_lo[i], p_hi[i]]; how far the evaluation's present value, or ours at
// the ends, may lie from the real one; and the least and greatest slope of
// the real present value over the interval. `known` is false when no range
// can be given (a factor that is not monotonic in t, or powers too far
// from exact).
struct FactorRange {
  bool known = false;
  double a_lo = 0, a_hi = 0;
  double p_lo[4] = {}, p_hi[4] = {};
  double p_error[4] = {};
  double slope_lo[4] = {}, slope_hi[4] = {};
};

class FactorBounds {
 public:
  explicit FactorBounds(const PeriodModel& model);
  PeriodFactors At(Money t, const PeriodPowers& powers) const;
  PeriodFactors At(Money t) const { return At(t, Powers(t)); }
  // The powers of period t, as exp(t ln base) with the logarithms taken
  // once: a third of std::pow's time.
  PeriodPowers Powers(Money t) const;
  double log_ratio(int i) const { return log_ratio_[i]; }
  double inverse_q_less_g(int i) const { return inverse_q_less_g_[i]; }
  FactorRange Over(const PeriodFactors& at_t1, const PeriodFactors& at_t2) const;

 private:
  const PeriodModel& m_;
  // a = q^t (q − 1) / (q^t − 1) falls with t whenever q > 0, and each
  // present value rises with t whenever g/q ≥ 0 lies on the side of 1 that
  // q − g says. Otherwise (a negative factor: every power faults) nothing
  // is bounded.
  bool monotonic_ = false;
  double inverse_q_less_1_ = 0;      // 1 / |q − 1|
  double inverse_q_less_g_[4] = {};  // 1 / (q − g)
  double slope_factor_[4] = {};      // ln(q/g) / (q − g): the slope over (g/q)^t
  double log_q_ = 0;                 // ln q
  double log_ratio_[4] = {};         // ln(g/q)
};

class IntervalBalanceBound {
 public:
  explicit IntervalBalanceBound(const PeriodModel& model);

  const FactorBounds& factors() const { return factors_; }

  // An upper bound of WidePeriodEvaluation's balance (savings less total
  // cost) at every period t1 ≤ t ≤ t2 whose evaluation does not fault; NaN
  // when none can be given.
  double Highest(const PeriodFactors& at_t1, const PeriodFactors& at_t2) const;
  double Highest(Money t1, Money t2) const { return Highest(factors_.At(t1), factors_.At(t2)); }

  // Every period of [t1, t2] is short of paying back, or its evaluation
  // faults: in either case none is paid back. A NaN decides nothing.
  bool CertainlyShort(const PeriodFactors& at_t1, const PeriodFactors& at_t2) const {
    return Highest(at_t1, at_t2) < 0;
  }

  // How the balance is expected to run between t1 and t2, from the sum of
  // the present values less the capital, in doubles and without any
  // allowance. Only a guess, to aim the search: nothing is decided by it.
  struct Expected {
    // Where, in years, the sum turns from below zero at t1 to above it at
    // t2; NaN when it does not cross there.
    double crossing = std::numeric_limits<double>::quiet_NaN();
    // Without a crossing: the sum rises at t1 and falls at t2, so that no
    // bound from the two ends of all of it is likely to settle it.
    bool peaks = false;
  };
  Expected ExpectedCourse(double t1, double t2) const;

 private:
  const PeriodModel& m_;
  FactorBounds factors_;
  // The amounts that share each growth factor: their first-year amounts
  // added up (savings less costs) and in absolute value, and their number.
  double weight_[4] = {};
  double absolute_weight_[4] = {};
  int amounts_[4] = {};
};

// The bound and the grid's steps of one model, built once for the payback
// search and the chart's range check.
struct ModelBounds {
  explicit ModelBounds(const PeriodModel& model)
      : balance(model), steps(model, balance.factors()) {}
  // The steps point into the bound: neither copied nor moved.
  ModelBounds(const ModelBounds&) = delete;
  ModelBounds& operator=(const ModelBounds&) = delete;
  IntervalBalanceBound balance;
  GridSteps steps;
};

}  // namespace zr
