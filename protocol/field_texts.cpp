#include "field_texts.h"

#include <algorithm>
#include <array>
#include <nlohmann/json.hpp>
#include <utility>

namespace zr {
namespace {

using json = nlohmann::ordered_json;

// Stops the parser at the first thing that is not an object of distinct
// input fields with string values.
class FieldTextsReader final : public json::json_sax_t {
 public:
  FieldTextsReader(InputTexts texts, CarrierTexts* carrier)
      : texts_(std::move(texts)), carrier_(carrier) {}

  InputTexts& Texts() { return texts_; }
  FieldTextsError& Error() { return error_; }

  bool start_object(std::size_t) override {
    if (in_object_) return NotAString();
    in_object_ = true;
    return true;
  }
  bool key(string_t& key) override {
    const auto found = std::find_if(kAllFields.begin(), kAllFields.end(),
                                    [&](Field f) { return FieldName(f) == key; });
    carrier_key_ = std::find(kCarrierKeys.begin(), kCarrierKeys.end(), key) - kCarrierKeys.begin();
    if (carrier_key_ < kCarrierKeys.size()) {
      if (carrier_seen_[carrier_key_]) {
        return Fail(FieldTextsProblem::kDuplicateField, std::move(key));
      }
      carrier_seen_[carrier_key_] = true;
      return true;
    }
    if (found == kAllFields.end()) return Fail(FieldTextsProblem::kUnknownField, std::move(key));
    if (seen_[Index(*found)]) return Fail(FieldTextsProblem::kDuplicateField, std::move(key));
    seen_[Index(*found)] = true;
    field_ = *found;
    return true;
  }
  bool string(string_t& value) override {
    if (!in_object_) return Fail(FieldTextsProblem::kNotAnObject);
    if (carrier_key_ < kCarrierKeys.size()) {
      if (carrier_ != nullptr) (*carrier_)[carrier_key_] = std::move(value);
      return true;
    }
    texts_[Index(field_)] = std::move(value);
    return true;
  }
  bool end_object() override { return true; }
  bool null() override { return NotAString(); }
  bool boolean(bool) override { return NotAString(); }
  bool number_integer(number_integer_t) override { return NotAString(); }
  bool number_unsigned(number_unsigned_t) override { return NotAString(); }
  bool number_float(number_float_t, const string_t&) override { return NotAString(); }
  bool binary(binary_t&) override { return NotAString(); }
  bool start_array(std::size_t) override { return NotAString(); }
  bool end_array() override { return true; }
  bool parse_error(std::size_t position, const std::string&,
                   const nlohmann::detail::exception&) override {
    error_.position = position;
    return Fail(FieldTextsProblem::kNotJson);
  }

 private:
  bool Fail(FieldTextsProblem problem, std::string key = {}) {
    error_.problem = problem;
    error_.key = std::move(key);
    error_.field = field_;
    return false;
  }
  // A value where a box text belongs, or anything but an object for the whole.
  bool NotAString() {
    if (!in_object_) return Fail(FieldTextsProblem::kNotAnObject);
    return Fail(FieldTextsProblem::kNotAString, carrier_key_ < kCarrierKeys.size()
                                                    ? std::string(kCarrierKeys[carrier_key_])
                                                    : std::string());
  }

  InputTexts texts_;
  CarrierTexts* carrier_;
  std::array<bool, kFieldCount> seen_{};
  std::array<bool, kCarrierKeys.size()> carrier_seen_{};
  std::size_t carrier_key_ = kCarrierKeys.size();  // the key being read, when a carrier key
  Field field_ = Field::Elettartam;
  bool in_object_ = false;
  FieldTextsError error_;
};

// A key as a message quotes it: at most `max` bytes, cut at a character.
std::string Shortened(std::string_view key, std::size_t max, std::string_view ellipsis) {
  if (key.size() <= max) return std::string(key);
  std::size_t cut = max;
  while (cut > 0 && (static_cast<unsigned char>(key[cut]) & 0xC0) == 0x80) --cut;
  return std::string(key.substr(0, cut)) + std::string(ellipsis);
}

struct Wordings {
  const char* line;  // the evaluator's; {} stands for the key, field or position
  const char* file;  // the window's and the page's
};

constexpr std::array<Wordings, 7> kWordings{{
    {"the line contains a NUL byte", "A fájl nem érvényes JSON-objektum."},
    {"the line is empty", "A fájl üres, így nem érvényes JSON-objektum."},
    {"the line is not valid JSON (error at byte {})", "A fájl nem érvényes JSON-objektum."},
    {"the line is not a JSON object", "A fájl nem JSON-objektum."},
    {"unknown field: {}", "Ismeretlen mező: {}."},
    {"duplicate field: {}", "Kétszer szereplő mező: {}."},
    {"the value of {} is not a string", "Nem szöveg a mező értéke: {}."},
}};

}  // namespace

std::variant<InputTexts, FieldTextsError> ReadFieldTexts(std::string_view text, InputTexts texts,
                                                         CarrierTexts* carrier) {
  if (text.find('\0') != std::string_view::npos) {
    return FieldTextsError{FieldTextsProblem::kNulByte, {}, Field::Elettartam, 0};
  }
  if (text.find_first_not_of(" \t\r\n") == std::string_view::npos) {
    return FieldTextsError{FieldTextsProblem::kEmpty, {}, Field::Elettartam, 0};
  }
  FieldTextsReader reader(std::move(texts), carrier);
  if (!json::sax_parse(text.begin(), text.end(), &reader)) return std::move(reader.Error());
  return std::move(reader.Texts());
}

std::string ProblemText(const FieldTextsError& error, Wording wording) {
  const bool line = wording == Wording::kEvaluatorLine;
  const Wordings& row = kWordings[static_cast<std::size_t>(error.problem)];
  std::string text = line ? row.line : row.file;
  std::string detail;
  switch (error.problem) {
    case FieldTextsProblem::kNotJson:
      detail = std::to_string(error.position);
      break;
    case FieldTextsProblem::kUnknownField:
      detail = line ? Shortened(error.key, 64, "...") : "„" + Shortened(error.key, 40, "…") + "”";
      break;
    case FieldTextsProblem::kDuplicateField:
      detail = line ? error.key : "„" + Shortened(error.key, 40, "…") + "”";
      break;
    case FieldTextsProblem::kNotAString: {
      const std::string name = error.key.empty() ? std::string(FieldName(error.field)) : error.key;
      detail = line ? name : "„" + name + "”";
      break;
    }
    default:
      break;
  }
  if (const auto at = text.find("{}"); at != std::string::npos) text.replace(at, 2, detail);
  return text;
}

}  // namespace zr
