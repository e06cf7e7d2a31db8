// libFuzzer target: arbitrary bytes as one zeltano-eval input line. Every
// output line must read back as a JSON object: an error line exactly when
// the line is not an object of distinct input fields (or a scenario file's
// carrier keys, which change nothing) with string values (or holds a NUL
// byte), otherwise the outcome with the line's texts.
//
// The verdict on the line comes from a second, independent reading: the
// JSON reader's document interface, counting the keys as they go by.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "field_texts.h"
#include "outcome_json.h"

namespace zr {
namespace {

using json = nlohmann::json;

[[noreturn]] void Fail(const char* what, std::string_view line) {
  std::fprintf(stderr, "evaluator line check failed: %s\nline: %.*s\n", what,
               static_cast<int>(line.size()), line.data());
  std::abort();
}

#define REQUIRE(cond)               \
  do {                              \
    if (!(cond)) Fail(#cond, line); \
  } while (false)

bool IsKey(const std::string& key) {
  for (Field f : kAllFields) {
    if (FieldName(f) == key) return true;
  }
  for (std::string_view carrier_key : kCarrierKeys) {
    if (carrier_key == key) return true;
  }
  return false;
}

// What zeltano-eval must say about `line`: nullopt when it is to be
// evaluated, else the start of its error message.
std::optional<std::string> ExpectedError(std::string_view line, json& input) {
  if (line.find('\0') != std::string_view::npos) return "the line contains a NUL byte";
  std::size_t keys = 0;
  const json::parser_callback_t count_keys = [&](int depth, json::parse_event_t event, json&) {
    if (depth == 1 && event == json::parse_event_t::key) ++keys;
    return true;
  };
  input = json::parse(line.begin(), line.end(), count_keys, /*allow_exceptions=*/false);
  if (input.is_discarded()) return "the line is not valid JSON";
  if (!input.is_object()) return "the line is not a JSON object";
  for (const auto& [key, value] : input.items()) {
    if (!IsKey(key)) return "unknown field: ";
    if (!value.is_string()) return "the value of ";
  }
  if (keys != input.size()) return "duplicate field: ";
  return std::nullopt;
}

}  // namespace
}  // namespace zr

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace zr;
  const std::string_view line(reinterpret_cast<const char*>(data), size);
  const NumberFormat format = NumberFormat::Hungarian();

  const LineResult result = EvaluateLine(line, format);
  const std::string text = LineText(result);
  const json output = json::parse(text, nullptr, /*allow_exceptions=*/false);
  REQUIRE(output.is_object());
  REQUIRE(text.find('\n') == std::string::npos);

  json input;
  const std::optional<std::string> expected_error = ExpectedError(line, input);
  REQUIRE(result.error == expected_error.has_value());
  if (result.error) {
    REQUIRE(output.size() == 1);
    REQUIRE(output.contains("error") && output["error"].is_string());
    // The evaluator names the first fault it reads; broken JSON may come
    // after an unknown field, a duplicate after a wrong value. A NUL byte
    // and a line that is no object are known at once.
    const std::string message = output["error"];
    if (*expected_error == "the line contains a NUL byte" ||
        *expected_error == "the line is not a JSON object") {
      REQUIRE(message == *expected_error);
    }
    return 0;
  }

  // findings, texts, labels, fault, chart and the verdict, a sentence.
  REQUIRE(output.size() == 6);
  REQUIRE(output["verdict"].is_string() && !output["verdict"].get<std::string>().empty());
  const InputTexts startup = StartupTexts(format);
  const json& texts = output["texts"];
  for (Field f : kAllFields) {
    const std::string name(FieldName(f));
    std::string typed = input.contains(name) ? input[name].get<std::string>() : startup[Index(f)];
    for (const json& finding : output["findings"]) {
      if (finding["field"] == name) typed = finding["replacement"];
    }
    REQUIRE(texts[name] == typed);
  }
  return 0;
}
