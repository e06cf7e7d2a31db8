// --analysis, --jobs, --sweep and --csv: their parsing, the sweep's points,
// the order-keeping pool and the CSV rows.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <future>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "command_line.h"
#include "csv_output.h"
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
  const CommandLine parsed = ParseCommandLine(GetParam().args);
  if (GetParam().error.empty()) {
    EXPECT_EQ(parsed.action, CommandLine::Action::kEvaluate) << parsed.error;
  } else {
    EXPECT_EQ(parsed.action, CommandLine::Action::kUsageError);
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
        // Exactly the most points, alone and as a grid, and a single point.
        OptionCase{"SweepOfTheMostPoints", {"--sweep", "Akoll=1:1000000:1"}, ""},
        OptionCase{
            "GridOfTheMostPoints", {"--sweep", "Akoll=1:1000:1", "--sweep", "Qkoll=1:1000:1"}, ""},
        OptionCase{"SweepOfOnePoint", {"--sweep", "Akoll=5:5:1"}, ""},
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
        OptionCase{
            "AnalysisAsCsv", {"--analysis", "--csv"}, "--analysis cannot be written as CSV"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Sweep, PointsFromFromToToInSteps) {
  const CommandLine parsed = ParseCommandLine({"--sweep", "Tamogatas=0:100:12,5"});
  ASSERT_EQ(parsed.sweeps.size(), 1u);
  const Sweep& s = parsed.sweeps[0];
  EXPECT_EQ(s.field, Field::Tamogatas);
  ASSERT_EQ(s.count, 9);
  EXPECT_EQ(s.Point(1, parsed.format), "12,5");
  EXPECT_EQ(s.Point(8, parsed.format), "100");
  // A step that does not divide the span stops below TO.
  EXPECT_EQ(ParseCommandLine({"--sweep", "Akoll=1:2:0,3"}).sweeps[0].count, 4);
}

TEST(OrderedPool, HandsResultsOnInTaskOrder) {
  std::vector<std::string> seen;
  {
    OrderedPool pool(4, [&](const std::string& s) {
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
// result to arrive.
TEST(OrderedPool, HandsEachResultOnWithoutWaitingForLaterOnes) {
  std::promise<void> first_arrived;
  std::vector<std::string> seen;
  OrderedPool pool(2, [&](const std::string& s) {
    seen.push_back(s);
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

TEST(OrderedPool, AFailedSinkStopsIt) {
  std::atomic<int> delivered = 0;
  OrderedPool pool(2, [&](const std::string&) { return ++delivered < 3; });
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
  const nlohmann::ordered_json error = {{"error", "bad; \"line\""}};
  EXPECT_EQ(CsvRow(7, {}, error, ';'), "7;;;;;;;;;;;;;\"bad; \"\"line\"\"\"");
}

}  // namespace
}  // namespace zr
