// Speed of a risk run: 10 000 exact runs of the start-up scenario with the
// three inputs the risk view offers ranges for drawn from their triangles.
//
//   build/bench/bench/zeltano_risk_bench --benchmark_repetitions=5
//       --benchmark_report_aggregates_only=true
#include <benchmark/benchmark.h>

#include "risk.h"

namespace zr {
namespace {

void RiskCase(benchmark::State& state) {
  const NumberFormat hu = NumberFormat::Hungarian();
  const InputTexts texts = StartupTexts(hu);
  const std::vector<RiskRange> ranges{{Field::Energiaarvalt, MoneyOf(2), MoneyOf(6), MoneyOf(10)},
                                      {Field::Qkoll, MoneyOf(450), MoneyOf(600), MoneyOf(650)},
                                      {Field::Kamatlab, MoneyOf(3), MoneyOf(6), MoneyOf(8)}};
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
