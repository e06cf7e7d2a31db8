#pragma once
// How sure the payback is: the scenario run many times, each chosen input
// drawn from a triangular distribution (low, most likely, high), through the
// same calculation run as the window's, with the project's own generator,
// so that the same seed gives the same figures everywhere.

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "calculation_run.h"
#include "input_set.h"
#include "money.h"
#include "number_format.h"
#include "random.h"

namespace zr {

struct RiskRange {
  Field field = Field::Energiaarvalt;
  Money low;
  Money mode;  // the most likely value
  Money high;
};

inline constexpr std::int64_t kDefaultRiskRuns = 10000;
inline constexpr std::int64_t kMaxRiskRuns = 1000000;

// Why the ranges cannot be drawn from (a low above its mode, a mode above
// its high, a field given twice), or nullopt. English, for the evaluator.
std::optional<std::string> RiskRangesProblem(const std::vector<RiskRange>& ranges);

// The value at `unit` (in [0, 1)) of the inverse distribution function of
// the triangular distribution of `range`, to four decimals (ties to even).
Money TriangularDraw(const RiskRange& range, double unit);

struct HistogramBin {
  Money from;  // years; the bin holds from <= payback < to (the last one: <= to)
  Money to;
  std::int64_t runs = 0;
};

struct RiskResult {
  std::int64_t runs = 0;  // the runs made (fewer than asked when cancelled)
  std::uint64_t seed = 0;
  std::int64_t faults = 0;       // runs that ended on an arithmetic fault
  std::int64_t paying_back = 0;  // runs that pay back within their studied period
  // The 10th, 50th and 90th percentiles (nearest rank) over the runs without
  // a fault; absent when every run ended on one.
  std::optional<std::array<PaybackTime, 3>> payback;
  std::optional<std::array<std::int32_t, 3>> balance;  // Egyenleg, Ft a year
  Money bin_width;                                     // whole years
  std::vector<HistogramBin> histogram;                 // of the paybacks found
  std::int64_t no_payback = 0;                         // runs without one ("nincs")
};

// The runs of RunRisk made a stretch at a time, for a front end that must
// stay responsive between stretches (the page's worker, or the page itself
// where no worker can run). However the runs are split, the figures are
// those of RunRisk for the same count.
class RiskRunner {
 public:
  RiskRunner(InputTexts texts, std::vector<RiskRange> ranges, std::uint64_t seed,
             NumberFormat format);

  // Makes `count` more runs.
  void Run(std::int64_t count);
  std::int64_t Done() const { return done_; }
  // The figures of the runs made so far.
  RiskResult Result() const;

 private:
  InputTexts texts_;
  std::vector<RiskRange> ranges_;
  NumberFormat format_;
  Xoshiro256StarStar generator_;
  std::uint64_t seed_;
  std::int64_t done_ = 0;
  std::int64_t faults_ = 0;
  std::int64_t paying_back_ = 0;
  std::int64_t no_payback_ = 0;
  std::vector<Money> paybacks_;  // the ones found
  std::vector<std::int32_t> balances_;
};

// `runs` runs of `texts` with the ranged fields drawn, in the order of
// `ranges`, from one generator seeded with `seed`. `progress`, when given, is
// told the runs done now and then (every 256 runs) and stops the work by
// answering false.
RiskResult RunRisk(const InputTexts& texts, const std::vector<RiskRange>& ranges, std::int64_t runs,
                   std::uint64_t seed, const NumberFormat& format,
                   const std::function<bool(std::int64_t)>& progress = {});

// The nearest-rank percentile's place among `n` sorted values (n > 0): the
// smallest value with at least `percent` % of the values at or below it.
std::size_t NearestRankIndex(std::size_t n, int percent);

// The share of the runs without a fault that pay back, to four decimals
// (ties to even); absent when there are none.
std::optional<Money> PaysBackShare(const RiskResult& result);

}  // namespace zr
