#pragma once
// What would make it pay off: the break-even value of every input, the
// sensitivity of the result to each, the net present value, the internal
// rate and the simple payback time, for the inputs of one run.

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

#include "break_even.h"
#include "input_set.h"
#include "number_format.h"
#include "sensitivity.h"

namespace zr {

// The balance of the studied period discounted to the start, whole Ft:
// the present values of the savings less the investment (reduced by the
// subsidy and the residual value) and the present values of the costs.
// nullopt when it leaves the range of the arithmetic.
std::optional<std::int64_t> NetPresentValue(const InputSet& in);

// The payback time found by the same search at 0 % interest; nullopt when
// there is none within 100 years.
std::optional<Money> SimplePayback(const InputSet& in);

struct Analysis {
  std::optional<PaybackTime> payback;             // the scenario's own; absent on a fault
  std::array<BreakEven, kFieldCount> break_even;  // by Index(field)
  std::vector<Sensitivity> sensitivity;
  std::optional<std::int64_t> npv;
  BreakEven internal_rate;  // the break-even value of Kamatlab
  std::optional<Money> simple_payback;
};

Analysis Analyse(const InputSet& in, const NumberFormat& format);

}  // namespace zr
