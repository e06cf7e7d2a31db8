// How long zeltano-eval takes over one hostile input line: many keys, and
// 10 MB lines of several shapes. Each case checks that it got the outcome or
// the error line it should, so a fast wrong answer cannot pass.
//
//   build/bench/bench/zeltano_eval_bench --benchmark_repetitions=5
//       --benchmark_report_aggregates_only=true

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "outcome_json.h"

namespace zr {
namespace {

constexpr std::size_t kTenMegabytes = 10'000'000;

struct Case {
  const char* name;
  std::string line;
  std::string expected;  // a fragment of the output line
};

std::string Repeat(const std::string& piece, std::size_t times) {
  std::string out;
  out.reserve(piece.size() * times);
  for (std::size_t i = 0; i < times; ++i) out += piece;
  return out;
}

std::string ManyKeys(std::size_t count) {
  std::string line = "{";
  for (std::size_t i = 0; i < count; ++i) {
    if (i > 0) line += ',';
    line += "\"k" + std::to_string(i) + "\":\"1\"";
  }
  return line + "}";
}

std::vector<Case> Cases() {
  const std::size_t half = kTenMegabytes / 2;
  return {
      {"keys_320000", ManyKeys(320'000), "unknown field: k0"},
      {"10MB_keys", ManyKeys(800'000), "unknown field: k0"},
      {"10MB_duplicate_keys", "{" + Repeat("\"Beruhazas\":\"1\",", 625'000) + "\"Akoll\":\"6\"}",
       "duplicate field: Beruhazas"},
      {"10MB_string", "{\"Beruhazas\":\"" + std::string(kTenMegabytes, '9') + "\"}",
       "A megadott szám túl nagy!"},
      {"10MB_small_number", "{\"Kamatlab\":\"" + std::string(kTenMegabytes, '0') + "6\"}",
       "\"L\":\"16,68\""},
      {"10MB_escapes", "{\"Beruhazas\":\"" + Repeat("\\u0039", kTenMegabytes / 6) + "\"}",
       "A megadott szám túl nagy!"},
      {"10MB_blanks", "{" + std::string(kTenMegabytes, ' ') + "}", "\"L\":\"16,68\""},
      {"10MB_deep_nesting", std::string(half, '[') + std::string(half, ']'),
       "the line is not a JSON object"},
      {"10MB_deep_value", "{\"Beruhazas\":" + std::string(half, '[') + std::string(half, ']') + "}",
       "the value of Beruhazas is not a string"},
      {"10MB_array_elements", "{\"Beruhazas\":[" + Repeat("1,", half) + "1]}",
       "the value of Beruhazas is not a string"},
  };
}

void EvaluateHostileLine(benchmark::State& state, const Case& c) {
  const NumberFormat format = NumberFormat::Hungarian();
  std::string out;
  for (auto _ : state) {
    out = EvaluateLine(c.line, format)
              .output.dump(-1, ' ', false, nlohmann::ordered_json::error_handler_t::replace);
    benchmark::DoNotOptimize(out.data());
  }
  if (out.find(c.expected) == std::string::npos) {
    std::fprintf(stderr, "zeltano_eval_bench: %s: \"%s\" not in %.200s\n", c.name,
                 c.expected.c_str(), out.c_str());
    std::exit(1);
  }
  state.counters["MB"] = static_cast<double>(c.line.size()) / 1e6;
}

}  // namespace
}  // namespace zr

int main(int argc, char** argv) {
  static const std::vector<zr::Case> cases = zr::Cases();
  for (const zr::Case& c : cases) {
    benchmark::RegisterBenchmark(c.name, zr::EvaluateHostileLine, c)
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime();
  }
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
