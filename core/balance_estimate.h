#pragma once
// A cheap and certain answer, for most periods of the payback grid, to "is
// this period still short of paying back?": the balance estimated in
// doubles, the powers carried from one period to the next by one
// multiplication each, with a bound on how far the exact evaluation's
// balance can lie from the estimate.

#include "economics.h"
#include "money.h"

namespace zr {

struct BalanceEstimate {
  double balance;  // levelised savings less total cost, Ft
  // |WidePeriodEvaluation's balance − balance| ≤ bound, whenever that
  // evaluation does not fault.
  double bound;

  // The exact balance is negative, or its evaluation faults: in either case
  // the period is not paid back. A NaN (nothing known) decides nothing.
  bool CertainlyShort() const { return balance + bound < 0; }
};

// Estimates the periods first, first + step, first + 2 step, ... of a model
// in turn. Each step costs a few multiplications and at most one division,
// no power.
class GridBalanceEstimator {
 public:
  GridBalanceEstimator(const PeriodModel& model, Money first, Money step);

  // The estimate of the next period of the walk, the first one first.
  BalanceEstimate Next();

 private:
  // base^T for the current period, and how far (relatively) it may be from
  // the exact evaluation's std::pow(base, T): `error0 + k error_per_step`
  // at the k-th step.
  struct CarriedPower {
    double value = 0;
    double factor = 0;  // base^step
    double error0 = 0;
    double error_per_step = 0;
  };
  static CarriedPower Carry(double base, double first, double step);

  const PeriodModel& m_;
  Money t_;
  Money step_;
  int k_ = 0;
  CarriedPower q_power_;
  CarriedPower growth_power_[4];
  double t_over_q_scale_ = 0;  // 0.0001 / q: T / q from t's count of 0.0001
  double inverse_q_less_1_ = 0;
  double inverse_q_less_g_[4] = {};
  // The amounts that share each growth factor: their first-year amounts
  // added up (savings less costs) and in absolute value, and their number.
  double weight_[4] = {};
  double absolute_weight_[4] = {};
  int amounts_[4] = {};
};

}  // namespace zr
