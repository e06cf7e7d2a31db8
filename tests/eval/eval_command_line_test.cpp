#include "eval_command_line.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace zr {
namespace {

using Action = EvalCommandLine::Action;

struct CommandLineCase {
  const char* name;
  std::vector<std::string_view> args;
  Action action;
  std::string separator_or_error;  // the separator, or with kUsageError the error
};

void PrintTo(const CommandLineCase& c, std::ostream* os) { *os << c.name; }

class CommandLineTest : public ::testing::TestWithParam<CommandLineCase> {};

TEST_P(CommandLineTest, Parses) {
  const CommandLineCase& c = GetParam();
  const EvalCommandLine parsed = ParseEvalCommandLine(c.args);
  EXPECT_EQ(parsed.action, c.action);
  EXPECT_EQ(c.action == Action::kUsageError ? parsed.error : parsed.format.decimal_separator,
            c.separator_or_error);
}

const std::string kInvalid = "invalid value for --decimal-separator: ";

INSTANTIATE_TEST_SUITE_P(
    Arguments, CommandLineTest,
    ::testing::Values(
        CommandLineCase{"None", {}, Action::kEvaluate, ","},
        CommandLineCase{"Help", {"--help"}, Action::kHelp, ","},
        CommandLineCase{"ShortHelp", {"-h"}, Action::kHelp, ","},
        CommandLineCase{"Version", {"--version"}, Action::kVersion, ","},
        CommandLineCase{"Dot", {"--decimal-separator", "."}, Action::kEvaluate, "."},
        CommandLineCase{"WithEquals", {"--decimal-separator=\u066B"}, Action::kEvaluate, "\u066B"},
        CommandLineCase{
            "FourCharacters", {"--decimal-separator", "a\u00B7bc"}, Action::kEvaluate, "a\u00B7bc"},
        CommandLineCase{"LastOneCounts",
                        {"--decimal-separator", ".", "--decimal-separator", "\u00B7"},
                        Action::kEvaluate,
                        "\u00B7"},
        CommandLineCase{"MissingValue",
                        {"--decimal-separator"},
                        Action::kUsageError,
                        "missing value for --decimal-separator"},
        CommandLineCase{"Unknown", {"--bogus"}, Action::kUsageError, "unknown argument: --bogus"},
        CommandLineCase{
            "Empty", {"--decimal-separator="}, Action::kUsageError, kInvalid + "it is empty"},
        CommandLineCase{"StrayByte",
                        {"--decimal-separator", ".\xFF"},
                        Action::kUsageError,
                        kInvalid + "it is not valid UTF-8 (at byte 2)"},
        CommandLineCase{"OverlongForm",
                        {"--decimal-separator", "\xC0\xAE"},
                        Action::kUsageError,
                        kInvalid + "it is not valid UTF-8 (at byte 1)"},
        CommandLineCase{"Surrogate",
                        {"--decimal-separator", "\xED\xA0\x80"},
                        Action::kUsageError,
                        kInvalid + "it is not valid UTF-8 (at byte 1)"},
        CommandLineCase{"CutCharacter",
                        {"--decimal-separator", "\xD9"},
                        Action::kUsageError,
                        kInvalid + "it is not valid UTF-8 (at byte 1)"},
        CommandLineCase{"Tab",
                        {"--decimal-separator", "\t"},
                        Action::kUsageError,
                        kInvalid + "it contains a control or invisible character (U+0009)"},
        CommandLineCase{"Escape",
                        {"--decimal-separator", ",\x1B"},
                        Action::kUsageError,
                        kInvalid + "it contains a control or invisible character (U+001B)"},
        CommandLineCase{"ZeroWidthSpace",
                        {"--decimal-separator", "\u200B"},
                        Action::kUsageError,
                        kInvalid + "it contains a control or invisible character (U+200B)"},
        CommandLineCase{"NoBreakSpace",
                        {"--decimal-separator", "\u00A0"},
                        Action::kUsageError,
                        kInvalid + "it contains a blank (U+00A0)"},
        CommandLineCase{"Digit",
                        {"--decimal-separator", "a1"},
                        Action::kUsageError,
                        kInvalid + "it contains a digit (1)"},
        CommandLineCase{"Sign",
                        {"--decimal-separator", "-"},
                        Action::kUsageError,
                        kInvalid + "it contains a sign (-)"},
        CommandLineCase{"FiveCharacters",
                        {"--decimal-separator", "abcde"},
                        Action::kUsageError,
                        kInvalid + "it is longer than 4 characters"}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace zr
