#pragma once
// How the payback time and the yearly balance move when one input is
// changed by -20 %, -10 %, +10 % and +20 %.

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "calculation_run.h"
#include "input_set.h"
#include "money.h"
#include "number_format.h"

namespace zr {

inline constexpr std::array<int, 4> kSensitivitySteps = {-20, -10, 10, 20};

struct SensitivityCase {
  int percent = 0;
  Money value;                // the input × (1 + percent / 100), ties to even
  bool out_of_range = false;  // validation would replace the value: not computed
  // The payback time, and the text of Egyenlegb as the label would show it;
  // absent when the value is out of range or the run ends on a fault.
  std::optional<PaybackTime> payback;
  std::optional<std::string> balance;
};

struct Sensitivity {
  Field field;
  std::array<SensitivityCase, kSensitivitySteps.size()> cases;
};

// One entry per input whose value is not zero, in field order.
std::vector<Sensitivity> SensitivityOf(const InputSet& in, const NumberFormat& format);

// The payback time and the balance's text for these inputs, as a run finds
// them; both absent on a fault.
struct PaybackAndBalance {
  std::optional<PaybackTime> payback;
  std::optional<std::string> balance;
};
PaybackAndBalance PaybackAndBalanceOf(const InputSet& in);

}  // namespace zr
