// --analysis, --jobs, --sweep and --csv: their parsing, the sweep's points,
// the order-keeping pool and the CSV rows.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <future>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "csv_output.h"
#include "eval_command_line.h"
#include "ordered_pool.h"

namespace zr {
namespace {

struct OptionCase {
  const char* name;
  std::vector<std::string_view> args;
  std::string error;  // empty when the arguments are accepted
};

class EvalOptions : public ::testing::TestWithParam<OptionCase> {};

TEST_P(EvalOptions, AcceptedOrRefusedWithTheReason) {
  const EvalCommandLine parsed = ParseEvalCommandLine(GetParam().args);
  if (GetParam().error.empty()) {
    EXPECT_EQ(parsed.action, EvalCommandLine::Action::kEvaluate) << parsed.error;
  } else {
    EXPECT_EQ(parsed.action, EvalCommandLine::Action::kUsageError);
    EXPECT_EQ(parsed.error, GetParam().error);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Arguments, EvalOptions,
    ::testing::Values(
        OptionCase{"Jobs", {"--jobs", "4"}, ""}, OptionCase{"JobsEquals", {"--jobs=256"}, ""},
        OptionCase{
            "JobsZero", {"--jobs", "0"}, "invalid value for --jobs: a whole number from 1 to 256"},
        OptionCase{
            "JobsWord", {"--jobs=two"}, "invalid value for --jobs: a whole number from 1 to 256"},
        OptionCase{"JobsMissing", {"--jobs"}, "missing value for --jobs"},
        OptionCase{"Sweep", {"--sweep", "Tamogatas=0:100:12,5"}, ""},
        // The sweep's numbers follow the decimal separator, given before or after.
        OptionCase{"SweepDot", {"--sweep=Energiaar=1.5:2:0.1", "--decimal-separator", "."}, ""},
        OptionCase{"SweepCommaUnderDot",
                   {"--decimal-separator", ".", "--sweep=Energiaar=1,5:2:1"},
                   "invalid value for --sweep: not a number in the decimal format: \"1,5\""},
        OptionCase{"SweepUnknownField",
                   {"--sweep", "Gas=1:2:1"},
                   "invalid value for --sweep: unknown field: Gas"},
        OptionCase{"SweepNoStep",
                   {"--sweep", "Akoll=1:2"},
                   "invalid value for --sweep: expected FIELD=FROM:TO:STEP"},
        OptionCase{"SweepZeroStep",
                   {"--sweep", "Akoll=1:2:0"},
                   "invalid value for --sweep: the step must be positive"},
        OptionCase{"SweepBackwards",
                   {"--sweep", "Akoll=2:1:1"},
                   "invalid value for --sweep: TO is below FROM"},
        // A colon in the decimal separator: the parts are split at ';'.
        OptionCase{"SweepColonSeparator",
                   {"--decimal-separator", ":", "--sweep", "Kamatlab=1:5;6;0:5"},
                   ""},
        OptionCase{"SweepColonSeparatorColons",
                   {"--decimal-separator", ":", "--sweep", "Kamatlab=1:6:1"},
                   "invalid value for --sweep: expected FIELD=FROM;TO;STEP"},
        // Exactly the most points, alone and as a grid, and a single point.
        OptionCase{"SweepOfTheMostPoints", {"--sweep", "Akoll=1:1000000:1"}, ""},
        OptionCase{
            "GridOfTheMostPoints", {"--sweep", "Akoll=1:1000:1", "--sweep", "Qkoll=1:1000:1"}, ""},
        OptionCase{"SweepOfOnePoint", {"--sweep", "Akoll=5:5:1"}, ""},
        OptionCase{"Variants", {"--variants", "--decimal-separator", "."}, ""},
        OptionCase{"VariantsWithAnalysis",
                   {"--variants", "--analysis"},
                   "--variants cannot be combined with --analysis"},
        OptionCase{
            "VariantsWithCsv", {"--csv", "--variants"}, "--variants cannot be combined with --csv"},
        OptionCase{"SweepTooMany",
                   {"--sweep", "Akoll=1:2000000:1"},
                   "invalid value for --sweep: more than 1000000 points"},
        OptionCase{"GridTooLarge",
                   {"--sweep", "Akoll=1:2000:1", "--sweep", "Qkoll=1:1000:1"},
                   "the sweeps have more than 1000000 points together"},
        OptionCase{"SameFieldTwice",
                   {"--sweep", "Akoll=1:2:1", "--sweep", "Akoll=3:4:1"},
                   "--sweep names the same field twice"},
        OptionCase{
            "ThreeSweeps",
            {"--sweep", "Akoll=1:2:1", "--sweep", "Qkoll=1:2:1", "--sweep", "Kamatlab=1:2:1"},
            "at most two --sweep options"},
        OptionCase{"AnalysisAsCsv", {"--analysis", "--csv"}, "--analysis cannot be written as CSV"},
        OptionCase{"Risk",
                   {"--risk", "Energiaarvalt=2:6:9", "--risk=Qkoll=450:600:600", "--runs",
                    "1000000", "--seed", "18446744073709551615"},
                   ""},
        OptionCase{
            "RiskColonSeparator", {"--decimal-separator=:", "--risk", "Kamatlab=4:5;6;8"}, ""},
        OptionCase{"RiskModeBelowLow",
                   {"--risk", "Qkoll=500:400:600"},
                   "invalid value for --risk: the most likely value of Qkoll is below its low"},
        OptionCase{"RiskTwice",
                   {"--risk", "Qkoll=1:2:3", "--risk", "Qkoll=1:2:3"},
                   "invalid value for --risk: the range of Qkoll is given twice"},
        OptionCase{"RunsTooMany",
                   {"--risk", "Qkoll=1:2:3", "--runs", "1000001"},
                   "invalid value for --runs: a whole number from 1 to 1000000"},
        OptionCase{"SeedTooLarge",
                   {"--risk", "Qkoll=1:2:3", "--seed", "18446744073709551616"},
                   "invalid value for --seed: a whole number from 0 to 18446744073709551615"},
        OptionCase{"SeedWithoutRisk", {"--seed", "3"}, "--runs and --seed need --risk"},
        OptionCase{
            "RiskAsCsv", {"--risk", "Qkoll=1:2:3", "--csv"}, "--risk cannot be written as CSV"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Sweep, PointsFromFromToToInSteps) {
  const EvalCommandLine parsed = ParseEvalCommandLine({"--sweep", "Tamogatas=0:100:12,5"});
  ASSERT_EQ(parsed.sweeps.size(), 1u);
  const Sweep& s = parsed.sweeps[0];
  EXPECT_EQ(s.field, Field::Tamogatas);
  ASSERT_EQ(s.count, 9);
  EXPECT_EQ(s.Point(1, parsed.format), "12,5");
  EXPECT_EQ(s.Point(8, parsed.format), "100");
  // A step that does not divide the span stops below TO.
  EXPECT_EQ(ParseEvalCommandLine({"--sweep", "Akoll=1:2:0,3"}).sweeps[0].count, 4);
  const EvalCommandLine colon =
      ParseEvalCommandLine({"--decimal-separator=:", "--sweep=Kamatlab=1:5;6;0:5"});
  ASSERT_EQ(colon.sweeps.size(), 1u);
  EXPECT_EQ(colon.sweeps[0].count, 10);
  EXPECT_EQ(colon.sweeps[0].Point(1, colon.format), "2");
  EXPECT_EQ(colon.sweeps[0].Point(9, colon.format), "6");
  EXPECT_EQ(colon.sweeps[0].Point(0, colon.format), "1:5");
}

TEST(OrderedPool, HandsResultsOnInTaskOrder) {
  std::vector<std::string> seen;
  {
    OrderedPool pool(4, [&](const std::string& s, bool) {
      seen.push_back(s);
      return true;
    });
    std::mt19937 rng(7);
    for (int i = 0; i < 200; ++i) {
      const int pause = static_cast<int>(rng() % 300);
      ASSERT_TRUE(pool.Submit([i, pause] {
        std::this_thread::sleep_for(std::chrono::microseconds(pause));
        return std::to_string(i);
      }));
    }
    EXPECT_TRUE(pool.Finish());
  }
  ASSERT_EQ(seen.size(), 200u);
  for (int i = 0; i < 200; ++i) EXPECT_EQ(seen[static_cast<std::size_t>(i)], std::to_string(i));
}

// A result is handed on as soon as it and those before it are done, not
// held back for the ones after it: the second task waits for the first
// result to arrive. The sink hears that nothing is ready behind the first
// (a writer must not hold it back).
TEST(OrderedPool, HandsEachResultOnWithoutWaitingForLaterOnes) {
  std::promise<void> first_arrived;
  std::vector<std::string> seen;
  OrderedPool pool(2, [&](const std::string& s, bool more_ready) {
    seen.push_back(s + (more_ready ? "+" : ""));
    if (s == "0") first_arrived.set_value();
    return true;
  });
  ASSERT_TRUE(pool.Submit([] { return std::string("0"); }));
  ASSERT_TRUE(pool.Submit([arrived = first_arrived.get_future().share()] {
    return arrived.wait_for(std::chrono::seconds(20)) == std::future_status::ready ? "1" : "late";
  }));
  EXPECT_TRUE(pool.Finish());
  EXPECT_EQ(seen, (std::vector<std::string>{"0", "1"}));
}

// Heavy tasks do not pile up: no more than the bound's worth of them is
// between its start and its hand-on, and one heavier than the bound still runs.
TEST(OrderedPool, KeepsThePendingWeightWithinItsBound) {
  std::atomic<int> held = 0, most_held = 0;
  OrderedPool pool(
      4, [&](const std::string&, bool) { return --held, true; }, 3);
  for (int i = 0; i < 200; ++i) {
    ASSERT_TRUE(pool.Submit(
        [&] {
          const int now = ++held;
          for (int m = most_held; m < now && !most_held.compare_exchange_weak(m, now);) {
          }
          std::this_thread::sleep_for(std::chrono::microseconds(50));
          return std::string("x");
        },
        i == 100 ? 10 : 1));
  }
  EXPECT_TRUE(pool.Finish());
  EXPECT_LE(most_held, 3);
  EXPECT_GE(most_held, 2);  // and it did run tasks side by side
}

// With too little address space for every thread's stack, the pool goes on
// with the threads it could start instead of ending the program.
TEST(OrderedPool, GoesOnWithTheThreadsTheSystemAllows) {
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
  GTEST_SKIP() << "a sanitizer needs more address space than the limit leaves";
#else
  const pid_t child = fork();
  ASSERT_NE(child, -1);
  if (child == 0) {
    long pages = 0;
    std::FILE* statm = std::fopen("/proc/self/statm", "r");
    if (statm == nullptr || std::fscanf(statm, "%ld", &pages) != 1) _exit(10);
    // Room for a few 8 MiB stacks, not for 64.
    const rlim_t room = static_cast<rlim_t>(pages) * sysconf(_SC_PAGESIZE) + (48 << 20);
    const rlimit limit{room, room};
    if (setrlimit(RLIMIT_AS, &limit) != 0) _exit(11);
    std::atomic<int> delivered = 0;
    OrderedPool pool(64, [&](const std::string&, bool) { return ++delivered, true; });
    if (pool.threads() == 0 || pool.threads() >= 64) _exit(12);
    for (int i = 0; i < 100; ++i) {
      if (!pool.Submit([] { return std::string("x"); })) _exit(13);
    }
    _exit(pool.Finish() && delivered == 100 ? 0 : 14);
  }
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status)) << "ended by signal " << WTERMSIG(status);
  EXPECT_EQ(WEXITSTATUS(status), 0);
#endif
}

TEST(OrderedPool, AFailedSinkStopsIt) {
  std::atomic<int> delivered = 0;
  OrderedPool pool(2, [&](const std::string&, bool) { return ++delivered < 3; });
  bool accepted = true;
  for (int i = 0; i < 1000 && accepted; ++i)
    accepted = pool.Submit([] { return std::string("x"); });
  // Nothing more is handed on, so the queue fills and further work is refused.
  EXPECT_FALSE(accepted);
  EXPECT_FALSE(pool.Finish());
  EXPECT_FALSE(pool.Submit([] { return std::string("x"); }));
  EXPECT_EQ(delivered, 3);
}

TEST(Csv, DelimiterFollowsTheDecimalSeparatorAndCellsAreQuoted) {
  EXPECT_EQ(CsvDelimiter(NumberFormat::Hungarian()), ';');
  EXPECT_EQ(CsvDelimiter(NumberFormat{"."}), ',');
  EXPECT_EQ(CsvErrorRow(7, 0, "bad; \"line\"", ';'), "7;;;;;;;;;;;;;\"bad; \"\"line\"\"\"");
}

}  // namespace
}  // namespace zr
