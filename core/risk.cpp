#include "risk.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <utility>

#include "number_text.h"

namespace zr {
namespace {

template <typename T>
T Percentile(const std::vector<T>& sorted, int percent) {
  return sorted[NearestRankIndex(sorted.size(), percent)];
}

// q / d to four decimals, ties to even, for 0 <= q <= d.
Money Ratio(std::int64_t q, std::int64_t d) {
  const std::int64_t scaled = q * 10000;
  std::int64_t whole = scaled / d;
  const std::int64_t rest = scaled % d;
  if (2 * rest > d || (2 * rest == d && whole % 2 != 0)) ++whole;
  return Money::FromRaw(whole);
}

}  // namespace

std::size_t NearestRankIndex(std::size_t n, int percent) {
  const std::size_t rank = (static_cast<std::size_t>(percent) * n + 99) / 100;  // ceil(p n / 100)
  return std::max<std::size_t>(rank, 1) - 1;
}

std::optional<std::string> RiskRangesProblem(const std::vector<RiskRange>& ranges) {
  std::array<bool, kFieldCount> seen{};
  for (const RiskRange& r : ranges) {
    const std::string name(FieldName(r.field));
    if (seen[Index(r.field)]) return "the range of " + name + " is given twice";
    seen[Index(r.field)] = true;
    if (r.mode < r.low) return "the most likely value of " + name + " is below its low";
    if (r.high < r.mode) return "the high of " + name + " is below its most likely value";
  }
  return std::nullopt;
}

Money TriangularDraw(const RiskRange& range, double unit) {
  const double a = range.low.ToDouble();
  const double c = range.mode.ToDouble();
  const double b = range.high.ToDouble();
  if (!(a < b)) return range.low;  // a single value
  const double below = c - a;
  const double above = b - c;
  const double x = unit * (b - a) < below ? a + std::sqrt(unit * (b - a) * below)
                                          : b - std::sqrt((1 - unit) * (b - a) * above);
  // Rounding cannot leave the range, but the square roots' last bits might.
  return std::clamp(Money::FromDouble(x), range.low, range.high);
}

RiskRunner::RiskRunner(InputTexts texts, std::vector<RiskRange> ranges, std::uint64_t seed,
                       NumberFormat format)
    : texts_(std::move(texts)),
      ranges_(std::move(ranges)),
      format_(std::move(format)),
      generator_(seed),
      seed_(seed) {}

void RiskRunner::Run(std::int64_t count) {
  for (std::int64_t i = 0; i < count; ++i, ++done_) {
    InputTexts drawn = texts_;
    for (const RiskRange& range : ranges_) {
      drawn[Index(range.field)] = MoneyText(TriangularDraw(range, generator_.NextUnit()), format_);
    }
    const RunOutcome outcome = CalculationRun(drawn, format_, ChartUse::kNotDrawn);
    if (outcome.fault || !outcome.results.yearly) {
      ++faults_;
      continue;
    }
    balances_.push_back(outcome.results.yearly->Egyenleg);
    if (const auto& years = outcome.results.Megterulesiido) {
      paybacks_.push_back(*years);
      if (!(outcome.inputs.Elettartam < *years)) ++paying_back_;
    } else {
      ++no_payback_;
    }
  }
}

RiskResult RiskRunner::Result() const {
  RiskResult result;
  result.seed = seed_;
  result.runs = done_;
  result.faults = faults_;
  result.paying_back = paying_back_;
  result.no_payback = no_payback_;
  std::vector<Money> paybacks = paybacks_;
  std::vector<std::int32_t> balances = balances_;

  if (!balances.empty()) {
    std::sort(balances.begin(), balances.end());
    std::sort(paybacks.begin(), paybacks.end());
    result.balance = {Percentile(balances, 10), Percentile(balances, 50), Percentile(balances, 90)};
    // "nincs" ranks above every payback found.
    const auto payback_at = [&](int percent) {
      const std::size_t at = NearestRankIndex(balances.size(), percent);
      return at < paybacks.size() ? PaybackTime{paybacks[at]} : PaybackTime{};
    };
    result.payback = {payback_at(10), payback_at(50), payback_at(90)};
  }

  // Whole-year bins, at most 25 of them, from the shortest payback found to
  // the longest.
  if (!paybacks.empty()) {
    const double shortest = paybacks.front().ToDouble();
    const double longest = paybacks.back().ToDouble();
    const auto width =
        static_cast<std::int32_t>(std::max(1.0, std::ceil((longest - shortest) / 25)));
    const auto first = static_cast<std::int32_t>(std::floor(shortest / width));
    const auto last = std::max(first + 1, static_cast<std::int32_t>(std::ceil(longest / width)));
    result.bin_width = MoneyOf(width);
    for (std::int32_t i = first; i < last; ++i) {
      result.histogram.push_back({MoneyOf(i * width), MoneyOf((i + 1) * width), 0});
    }
    for (const Money years : paybacks) {
      const auto bin = static_cast<std::size_t>(years.Raw() / result.bin_width.Raw() - first);
      ++result.histogram[std::min(bin, result.histogram.size() - 1)].runs;
    }
  }
  return result;
}

RiskResult RunRisk(const InputTexts& texts, const std::vector<RiskRange>& ranges, std::int64_t runs,
                   std::uint64_t seed, const NumberFormat& format,
                   const std::function<bool(std::int64_t)>& progress) {
  RiskRunner runner(texts, ranges, seed, format);
  while (runner.Done() < runs) {
    if (progress && runner.Done() > 0 && !progress(runner.Done())) break;
    runner.Run(std::min<std::int64_t>(256, runs - runner.Done()));
  }
  return runner.Result();
}

std::optional<Money> PaysBackShare(const RiskResult& result) {
  const std::int64_t counted = result.runs - result.faults;
  if (counted <= 0) return std::nullopt;
  return Ratio(result.paying_back, counted);
}

}  // namespace zr
