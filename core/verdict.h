#pragma once
// The verdict: one sentence that tells a household, in plain words, what a
// run's figures mean. The yearly balance (Egyenleg, over the whole studied
// period) decides; the payback time L is told as context.

#include <string>

#include "calculation_run.h"
#include "number_format.h"

namespace zr {

enum class VerdictKind {
  kPaysOff,        // the balance is positive
  kBreaksEven,     // the balance is 0 Ft
  kDoesNotPayOff,  // the balance is negative
  kNotComputed,    // the run ended on an arithmetic fault
};

struct Verdict {
  VerdictKind kind;
  std::string text;
};

Verdict VerdictOf(const RunOutcome& outcome, const NumberFormat& format);

}  // namespace zr
