#include "balance_estimate.h"

#include <cmath>
#include <limits>

namespace zr {

namespace {

constexpr double kU = 0x1p-53;  // the unit roundoff of a double
// A power of the C library may be off by up to 4 units in the last place
// (glibc and musl promise under 1); an ulp is at most 2 kU.
constexpr double kPowError = 8 * kU;
// Beyond this relative error the first-order reasoning below no longer holds.
constexpr double kLargestRelativeError = 1e-6;
constexpr double kHalfStep = 0.5e-4;  // the most a rounding to 4 decimals moves

}  // namespace

GridBalanceEstimator::CarriedPower GridBalanceEstimator::Carry(double base, double first,
                                                               double step) {
  // The exact evaluation takes pow(base, RN(T)): off from base^T by the
  // power's error and by |ln base| T kU for the rounding of T. The carried
  // value starts from pow(base, RN(first)), and each step multiplies by
  // pow(base, RN(step)), adding that power's error, its |ln base| step kU
  // and the product's rounding. Both errors together, T being first +
  // k step, with 1 % for their higher-order terms:
  const double L = std::fabs(std::log(base));
  CarriedPower p;
  p.value = std::pow(base, first);
  p.factor = std::pow(base, step);
  p.error0 = 1.01 * (2 * kPowError + 2 * L * first * kU) + 4 * kU;
  p.error_per_step = 1.01 * (kPowError + 2 * L * step * kU + kU);
  return p;
}

GridBalanceEstimator::GridBalanceEstimator(const PeriodModel& model, Money first, Money step)
    : m_(model), t_(first), step_(step) {
  const double T0 = Dbl(first);
  const double dT = Dbl(step);
  q_power_ = Carry(m_.Q, T0, dT);
  t_over_q_scale_ = 1e-4 / m_.Q;
  inverse_q_less_1_ = 1 / std::fabs(m_.q_less_1);
  for (int i = 0; i < m_.growth_count; ++i) {
    growth_power_[i] = Carry(m_.growth[i].ratio, T0, dT);
    inverse_q_less_g_[i] = 1 / m_.growth[i].q_less_g;
  }
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

BalanceEstimate GridBalanceEstimator::Next() {
  const double raw_t = static_cast<double>(t_.Raw());  // T = raw_t / 10000
  const int k = k_;
  t_ = t_ + step_;
  ++k_;

  // The annuity factor, and its relative distance rho_a from the double the
  // exact evaluation rounds to 4 decimals.
  double a;
  double rho_a;
  if (m_.q == MoneyOf(1)) {
    // That double is RN(1 / RN(raw_t / 10000)): within 3 kU of this one.
    a = 1e4 / raw_t;
    rho_a = 3 * kU;
  } else {
    const double qt = q_power_.value;
    const double error = q_power_.error0 + k * q_power_.error_per_step;
    a = qt * m_.q_less_1 / (qt - 1);
    // q^t − 1 cancels: its relative error is the power's times
    // q^t / (q^t − 1), which is a / (q − 1).
    rho_a = 1.01 * (error * (1 + std::fabs(a) * inverse_q_less_1_) + 10 * kU);
  }
  q_power_.value *= q_power_.factor;
  const double A = std::fabs(a);
  const double da = kHalfStep + A * (2 * kU + 1.01 * rho_a);  // ≥ |rounded a − a|
  bool known = rho_a <= kLargestRelativeError;

  // The exact evaluation rounds a and each present value to 4 decimals
  // (within da and dp of the doubles here), each product f ⊗ a to 4
  // decimals, each amount X1 (f ⊗ a) to 4 decimals and then to whole Ft,
  // and the yearly capital cost to whole Ft. With G the sum of the signed
  // first-year amounts w times their present values, less the capital, its
  // balance is the a-rounded times the pv-rounded G plus those roundings:
  //   |exact − G a| ≤ |G| da + (|a| + da) Σ |w| dp + Σ |w| h + Σ (h + ½) + ½
  // (and the capital cost's few kU). Amounts sharing a growth factor share
  // f ⊗ a, so their roundings of it cancel as their signed sum w says.
  double G = -m_.capital;
  double magnitude = std::fabs(m_.capital);
  double pv_rounding = 0;  // Σ |w| dp
  double product_rounding = 0.5 + std::fabs(m_.capital) * (A + da) * 3 * kU;
  for (int i = 0; i < m_.growth_count; ++i) {
    CarriedPower& power = growth_power_[i];
    // The present-value factor, and its relative distance rho_p from the
    // exact evaluation's double.
    double pv;
    double P_rho_p;  // |pv| rho_p
    if (m_.growth[i].g == m_.q) {
      pv = raw_t * t_over_q_scale_;  // the exact evaluation divides RN(T) by q: 6 kU apart
      P_rho_p = 8 * kU * std::fabs(pv);
    } else {
      const double r = power.value;
      const double error = power.error0 + k * power.error_per_step;
      pv = (1 - r) * inverse_q_less_g_[i];
      // 1 − r cancels like q^t − 1: P rho_p is the power's error times
      // |r / (q − g)|, and the roundings' 8 kU of P.
      P_rho_p = 1.01 * (error * std::fabs(r * inverse_q_less_g_[i]) + 8 * kU * std::fabs(pv));
    }
    power.value *= power.factor;
    const double P = std::fabs(pv);
    known = known && P_rho_p <= kLargestRelativeError * P;
    const double dp = kHalfStep + P * 2 * kU + 1.01 * P_rho_p;  // ≥ |rounded pv − pv|
    G += weight_[i] * pv;
    magnitude += absolute_weight_[i] * P;
    pv_rounding += std::fabs(weight_[i]) * dp;
    product_rounding += std::fabs(weight_[i]) * kHalfStep + amounts_[i] * (kHalfStep + 0.5);
  }
  const double balance = G * a;
  double bound = std::fabs(G) * da + (A + da) * pv_rounding + product_rounding;
  // The estimate's and the bound's own roundings, a dozen kU each, taken
  // far above that, and one Ft besides.
  bound = bound * (1 + 1e-12) + magnitude * A * 1e-12 + 1;
  if (!known) bound = std::numeric_limits<double>::quiet_NaN();
  return {balance, bound};
}

}  // namespace zr
