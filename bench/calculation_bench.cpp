// Speed of one calculation run, against the floor of the std::pow calls the
// run cannot do without. Every run is reported at the end as a ratio to its
// floor.
//
//   build/bench/bench/zeltano_bench        # all cases, once each
//   build/bench/bench/zeltano_bench --benchmark_repetitions=5
//       --benchmark_report_aggregates_only=true   (medians, as in bench/README.md)
//   build/bench/bench/zeltano_bench --benchmark_filter='/startup'   (one case, its floor)

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "analysis.h"
#include "calculation_run.h"
#include "cash_flow_plot.h"
#include "economics.h"
#include "period_series.h"

namespace zr {
namespace {

const NumberFormat kHu = NumberFormat::Hungarian();

struct Scenario {
  const char* name;
  InputTexts texts;
};

InputTexts StartupWith(Field field, std::string text) {
  InputTexts texts = StartupTexts(kHu);
  texts[Index(field)] = std::move(text);
  return texts;
}

std::vector<Scenario> Scenarios() {
  return {
      {"startup", StartupTexts(kHu)},
      // No investment left to pay back: the search stops at its first period.
      {"full_subsidy", StartupWith(Field::Tamogatas, "100")},
      // Savings never catch up: the search runs the whole 0.10 ... 100.00 grid.
      {"no_payback", StartupWith(Field::Energiaarvalt, "0")},
  };
}

[[noreturn]] void Die(const std::string& what) {
  std::fprintf(stderr, "zeltano_bench: %s\n", what.c_str());
  std::exit(1);
}

// The powers a run must take: for every period it examines, the annuity
// factor's q^t and, per distinct growth factor g other than q, (g/q)^t
// (g == q needs no power). Periods: the shown one (Elettartam), the payback
// grid from 0.10 up to the payback found (all of it when none), and the
// hundred chart points.
struct Floor {
  std::vector<std::pair<double, double>> calls;  // base, exponent
  std::size_t periods = 0;
};

Floor FloorOf(const Scenario& s) {
  const RunOutcome out = CalculationRun(s.texts, kHu);
  if (out.fault || !out.findings.empty() || !out.results.Valberuhazas || !out.results.yearly) {
    Die(std::string("scenario ") + s.name + " does not run through");
  }
  const Money V = *out.results.Valberuhazas;
  const PeriodModel model = MakePeriodModel(out.inputs, V, out.results.yearly->Hozam, V);

  std::vector<Money> periods{out.inputs.Elettartam};
  const Money step = Money::FromRaw(100);
  const Money last_grid_point = out.results.Megterulesiido
                                    ? std::max(*out.results.Megterulesiido, Money::FromRaw(1000))
                                    : MoneyOf(100);
  for (Money t = Money::FromRaw(1000); t <= last_grid_point; t = t + step) periods.push_back(t);
  for (int k = 1; k <= kChartPointCount; ++k) {
    periods.push_back(PeriodLength(k, out.inputs.Elettartam));
  }

  std::set<Money> growth{model.gK, model.gU, model.gE, model.gS};
  growth.erase(model.q);
  const double Q = Dbl(model.q);
  Floor floor;
  floor.periods = periods.size();
  for (Money t : periods) {
    floor.calls.emplace_back(Q, Dbl(t));
    for (Money g : growth) floor.calls.emplace_back(Dbl(g) / Q, Dbl(t));
  }
  return floor;
}

void SetFloorCounters(benchmark::State& state, const Floor& floor) {
  state.counters["periods"] = static_cast<double>(floor.periods);
  state.counters["pow_calls"] = static_cast<double>(floor.calls.size());
}

// One exact evaluation of one period of the scenario (its shown period, as
// the payback search evaluates it): the unit a run without a chart is
// measured in.
void PeriodCase(benchmark::State& state, const InputTexts& texts) {
  const RunOutcome out = CalculationRun(texts, kHu);
  const Money V = *out.results.Valberuhazas;
  const PeriodModel model = MakePeriodModel(out.inputs, V, out.results.yearly->Hozam, V);
  const Money t = out.inputs.Elettartam;
  for (auto _ : state) {
    benchmark::DoNotOptimize(&model);
    WidePeriodFigures p = WidePeriodEvaluation(model, t);
    benchmark::DoNotOptimize(p);
  }
}

// A run whose chart nobody draws, as `zeltano-eval --csv` makes it.
void RunWithoutChartCase(benchmark::State& state, const InputTexts& texts) {
  for (auto _ : state) {
    RunOutcome out = CalculationRun(texts, kHu, ChartUse::kNotDrawn);
    benchmark::DoNotOptimize(out);
  }
}

void RunCase(benchmark::State& state, const InputTexts& texts, const Floor& floor) {
  for (auto _ : state) {
    RunOutcome out = CalculationRun(texts, kHu);
    benchmark::DoNotOptimize(out);
  }
  SetFloorCounters(state, floor);
}

// The arguments are read through volatile, so that every call is a real
// call with the real arguments. benchmark::DoNotOptimize(b) on a double
// does not do that with g++ 12 and Debian's Google Benchmark 1.7.1: its
// "+m,r" constraint let the compiler pass pow an unwritten stack slot (0
// when tried) instead of the base, and the floor then timed pow(0, t),
// which glibc answers on a fast path.
double Power(const std::pair<double, double>& call) {
  const volatile double& base = call.first;
  const volatile double& exponent = call.second;
  return std::pow(base, exponent);
}

void FloorCase(benchmark::State& state, const Floor& floor) {
  for (auto _ : state) {
    double sum = 0;
    for (const auto& call : floor.calls) sum += Power(call);
    benchmark::DoNotOptimize(sum);
  }
  SetFloorCounters(state, floor);
}

// The same calls one after another, each exponent waiting for the result
// before (adding 0 × sum leaves it unchanged but orders the calls): the
// powers' latency, where FloorCase lets the processor overlap them. Not a
// floor; it shows how much of the floor is overlap.
void ChainedFloorCase(benchmark::State& state, const Floor& floor) {
  for (auto _ : state) {
    double sum = 0;
    for (const auto& call : floor.calls) {
      const volatile double& base = call.first;
      sum += std::pow(base, call.second + 0.0 * sum);
    }
    benchmark::DoNotOptimize(sum);
  }
  SetFloorCounters(state, floor);
}

// The analysis of the start-up inputs: break-even values, sensitivity, NPV,
// internal rate and simple payback.
void AnalysisCase(benchmark::State& state) {
  const RunOutcome out = CalculationRun(StartupTexts(kHu), kHu);
  for (auto _ : state) {
    Analysis analysis = Analyse(out.inputs, kHu);
    benchmark::DoNotOptimize(analysis);
  }
}

void PlotCase(benchmark::State& state) {
  const InputTexts texts = StartupTexts(kHu);
  const RunOutcome out = CalculationRun(texts, kHu);
  const Money V = *out.results.Valberuhazas;
  PeriodSeries series;
  EvaluatePeriodSeries(MakePeriodModel(out.inputs, V, out.results.yearly->Hozam, V),
                       out.inputs.Elettartam, series);
  if (series.points.size() != static_cast<std::size_t>(kChartPointCount)) Die("short series");
  for (auto _ : state) {
    ChartOperations ops = PlotChart(series.points, series.ChartScale, Dbl(out.inputs.Elettartam));
    benchmark::DoNotOptimize(ops);
  }
}

// A megabyte in the investment box (no upper bound, so digits reach the
// too-large test), the other boxes at their start-up texts.
void LongTextCase(benchmark::State& state, char fill) {
  const InputTexts texts = StartupWith(Field::Beruhazas, std::string(1 << 20, fill));
  const RunOutcome check = CalculationRun(texts, kHu);
  if (check.findings.size() != 1) Die("a megabyte box must give exactly one finding");
  for (auto _ : state) {
    RunOutcome out = CalculationRun(texts, kHu);
    benchmark::DoNotOptimize(out);
  }
}

double Least(const std::vector<double>& v) { return *std::min_element(v.begin(), v.end()); }

// Prints the usual table, then each run against its floor.
class RatioReporter : public benchmark::ConsoleReporter {
 public:
  // Colours only on a terminal, so that saved output stays plain text.
  RatioReporter() : ConsoleReporter(isatty(fileno(stdout)) ? OO_ColorTabular : OO_Tabular) {}

  void ReportRuns(const std::vector<Run>& runs) override {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs) {
      if (run.error_occurred) continue;
      // With repetitions the median stands for the case; otherwise the single run.
      if (run.run_type == Run::RT_Aggregate && run.aggregate_name == "min") {
        least_[run.run_name.function_name] = run.GetAdjustedRealTime();
      }
      if (run.run_type == Run::RT_Aggregate && run.aggregate_name != "median") continue;
      if (run.run_type == Run::RT_Iteration && run.repetitions > 1) continue;
      times_[run.run_name.function_name] = run.GetAdjustedRealTime();
    }
  }

  void Finalize() override {
    ConsoleReporter::Finalize();
    std::printf("\nRun against its floor (bare std::pow calls), real time in us:\n");
    for (const Scenario& s : Scenarios()) {
      const std::string name = s.name;
      const auto run = times_.find("run/" + name);
      const auto floor = times_.find("floor/" + name);
      if (run == times_.end() || floor == times_.end()) continue;
      std::printf("  %-13s run %9.1f  floor %9.1f  ratio %.2f", s.name, run->second, floor->second,
                  run->second / floor->second);
      const auto chained = times_.find("chained_floor/" + name);
      if (chained != times_.end()) std::printf("  (chained powers %9.1f)", chained->second);
      std::printf("\n");
    }
    std::printf("\nRun without a chart against one exact period evaluation, real time in ns:\n");
    for (const Scenario& s : Scenarios()) {
      const std::string name = s.name;
      const auto run = times_.find("run_without_chart/" + name);
      const auto period = times_.find("period/" + name);
      if (run == times_.end() || period == times_.end()) continue;
      std::printf("  %-13s run %9.1f  period %7.1f  ratio %.1f", s.name, run->second,
                  period->second, run->second / period->second);
      // On a shared virtual machine the medians mix quiet spells with
      // contended ones, which slow the run more than the period: the
      // fastest repetitions show the machine undisturbed.
      const auto least_run = least_.find("run_without_chart/" + name);
      const auto least_period = least_.find("period/" + name);
      if (least_run != least_.end() && least_period != least_.end()) {
        std::printf("  (fastest: %.1f / %.1f = %.1f)", least_run->second, least_period->second,
                    least_run->second / least_period->second);
      }
      std::printf("\n");
    }
  }

 private:
  std::map<std::string, double> times_;
  std::map<std::string, double> least_;
};

}  // namespace
}  // namespace zr

int main(int argc, char** argv) {
  using namespace zr;
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;

  // Each registration keeps its own copy of the texts and the floor.
  for (const Scenario& s : Scenarios()) {
    const Floor floor = FloorOf(s);
    benchmark::RegisterBenchmark((std::string("run/") + s.name).c_str(), RunCase, s.texts, floor)
        ->Unit(benchmark::kMicrosecond);
    benchmark::RegisterBenchmark((std::string("floor/") + s.name).c_str(), FloorCase, floor)
        ->Unit(benchmark::kMicrosecond);
    benchmark::RegisterBenchmark((std::string("chained_floor/") + s.name).c_str(), ChainedFloorCase,
                                 floor)
        ->Unit(benchmark::kMicrosecond);
    if (std::string(s.name) == "full_subsidy") continue;
    benchmark::RegisterBenchmark((std::string("period/") + s.name).c_str(), PeriodCase, s.texts)
        ->Unit(benchmark::kNanosecond)
        ->ComputeStatistics("min", Least);
    benchmark::RegisterBenchmark((std::string("run_without_chart/") + s.name).c_str(),
                                 RunWithoutChartCase, s.texts)
        ->Unit(benchmark::kNanosecond)
        ->ComputeStatistics("min", Least);
  }
  benchmark::RegisterBenchmark("analysis/startup", AnalysisCase)->Unit(benchmark::kMillisecond);
  benchmark::RegisterBenchmark("plot/100_points", PlotCase)->Unit(benchmark::kMicrosecond);
  benchmark::RegisterBenchmark("long_text/digits", LongTextCase, '9')
      ->Unit(benchmark::kMicrosecond);
  benchmark::RegisterBenchmark("long_text/letters", LongTextCase, 'a')
      ->Unit(benchmark::kMicrosecond);
  benchmark::RegisterBenchmark("long_text/blanks", LongTextCase, ' ')
      ->Unit(benchmark::kMicrosecond);

  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  return 0;
}
