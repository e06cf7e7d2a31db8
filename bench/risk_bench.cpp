// Speed of a risk run: 10 000 exact runs of the start-up scenario with the
// three ranges the risk view offers for it (2/6/10, 420/600/660, 4/6/8), as
// bench/web_risk_bench.mjs runs them in the page's worker.
//
//   build/bench/bench/zeltano_risk_bench --benchmark_repetitions=5
//       --benchmark_report_aggregates_only=true
#include <benchmark/benchmark.h>

#include <variant>

#include "risk.h"
#include "risk_view.h"

namespace zr {
namespace {

void RiskCase(benchmark::State& state) {
  const NumberFormat hu = NumberFormat::Hungarian();
  const InputTexts texts = StartupTexts(hu);
  const std::vector<RiskRange> ranges =
      std::get<std::vector<RiskRange>>(ReadRanges(DefaultRanges(texts, hu), hu));
  for (auto _ : state) {
    benchmark::DoNotOptimize(RunRisk(texts, ranges, state.range(0), 1, hu));
  }
  state.counters["per_run_us"] = benchmark::Counter(
      static_cast<double>(state.range(0)) * static_cast<double>(state.iterations()),
      benchmark::Counter::kIsRate | benchmark::Counter::kInvert, benchmark::Counter::kIs1000);
}

}  // namespace
}  // namespace zr

BENCHMARK(zr::RiskCase)->Name("risk/startup")->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
