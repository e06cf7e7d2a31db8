#include "break_even.h"

#include <limits>

#include "arithmetic_fault.h"
#include "economics.h"
#include "validation.h"

namespace zr {
namespace {

constexpr std::string_view kAlwaysReached =
    "Az egyenleg a megengedett tartományban végig nemnegatív.";
constexpr std::string_view kNeverReached = "Az egyenleg a megengedett tartományban végig negatív.";
constexpr std::string_view kAsFarAsComputable = " (ameddig kiszámítható)";
constexpr std::string_view kNotComputable = "Az egyenleg a jelenlegi értékekkel nem számítható ki.";

enum class Sign { kReached, kShort, kFault };

// The balance's sign with `field` set to `raw`, the rest as in `base`.
class Probe {
 public:
  Probe(const InputSet& base, Field field) : in_(base), field_(field) {}
  Sign operator()(std::int64_t raw) {
    in_[field_] = Money::FromRaw(raw);
    const std::optional<std::int32_t> balance = BalanceOf(in_);
    if (!balance) return Sign::kFault;
    return *balance >= 0 ? Sign::kReached : Sign::kShort;
  }

 private:
  InputSet in_;
  Field field_;
};

// Two neighbouring grid values on either side of a change of sign.
struct Boundary {
  std::int64_t same;   // the sign of the current value
  std::int64_t other;  // the other sign
};

// `from` has sign `s`, `to` a different one: narrows them down to neighbours.
// A fault met on the way counts as "not s"; the result then ends at a fault.
std::int64_t Bisect(Probe& probe, Sign s, std::int64_t& from, std::int64_t to) {
  while (from - to > 1 || to - from > 1) {
    const std::int64_t mid = from + (to - from) / 2;
    if (probe(mid) == s) {
      from = mid;
    } else {
      to = mid;
    }
  }
  return to;
}

// The nearest change of sign from `start` (sign `s`) towards `end`, if any
// before the end of the range or of what can be computed.
struct SearchResult {
  std::optional<Boundary> boundary;
  bool arithmetic_gave_out = false;
};

SearchResult Search(Probe& probe, Sign s, std::int64_t start, std::int64_t end) {
  const int direction = end > start ? 1 : -1;
  std::int64_t last_same = start;
  std::uint64_t step = 1;
  while (last_same != end) {
    const std::uint64_t room = direction > 0 ? static_cast<std::uint64_t>(end - last_same)
                                             : static_cast<std::uint64_t>(last_same - end);
    const std::int64_t next =
        room <= step ? end : last_same + direction * static_cast<std::int64_t>(step);
    if (probe(next) == s) {
      last_same = next;
      step *= 2;
      continue;
    }
    std::int64_t same = last_same;
    const std::int64_t other = Bisect(probe, s, same, next);
    if (probe(other) == Sign::kFault) return {std::nullopt, true};
    return {Boundary{same, other}, false};
  }
  return {};
}

std::uint64_t Distance(std::int64_t a, std::int64_t b) {
  return a > b ? static_cast<std::uint64_t>(a) - static_cast<std::uint64_t>(b)
               : static_cast<std::uint64_t>(b) - static_cast<std::uint64_t>(a);
}

}  // namespace

std::optional<std::int32_t> BalanceOf(const InputSet& in) {
  try {
    return AnnualEconomics(in, SubsidisedInvestment(in.Beruhazas, in.Tamogatas)).Egyenleg;
  } catch (const ArithmeticFault&) {
    return std::nullopt;
  }
}

BreakEven BreakEvenValue(const InputSet& in, Field field) {
  const ValidationRule& rule = RuleFor(field);
  const std::int64_t low = Money::FromDouble(rule.lower).Raw();
  const std::int64_t high =
      rule.upper ? Money::FromDouble(*rule.upper).Raw() : std::numeric_limits<std::int64_t>::max();
  const std::int64_t current = in[field].Raw();

  Probe probe(in, field);
  const Sign s = probe(current);
  if (s == Sign::kFault) return {std::nullopt, std::string(kNotComputable)};

  std::optional<Boundary> nearest;
  bool gave_out = false;
  for (const std::int64_t end : {low, high}) {
    const SearchResult found = Search(probe, s, current, end);
    gave_out = gave_out || found.arithmetic_gave_out;
    const std::optional<Boundary>& b = found.boundary;
    if (b && (!nearest || Distance(b->same, current) < Distance(nearest->same, current))) {
      nearest = b;
    }
  }
  if (!nearest) {
    std::string why(s == Sign::kReached ? kAlwaysReached : kNeverReached);
    if (gave_out) why.insert(why.size() - 1, kAsFarAsComputable);
    return {std::nullopt, why};
  }
  // The value reported is the side where the balance is reached.
  const std::int64_t value = s == Sign::kReached ? nearest->same : nearest->other;
  return {Money::FromRaw(value), {}};
}

}  // namespace zr
