#pragma once
// The one reader of an object of field texts ({"Beruhazas":"1000000",...}):
// an evaluator input line, a scenario file and the page's requests are all
// read by it, so all three take and refuse the same things. A field the
// object leaves out keeps the text it is given (the start-up text).

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <variant>

#include "input_set.h"

namespace zr {

enum class FieldTextsProblem {
  kNulByte,         // the JSON reader would take a NUL for the end
  kEmpty,           // nothing but blanks
  kNotJson,         // at `position`
  kNotAnObject,     // an array, a string, a number...
  kUnknownField,    // `key`
  kDuplicateField,  // `key`
  kNotAString,      // the value of `field` (of `key` when it is a carrier key)
};

struct FieldTextsError {
  FieldTextsProblem problem = FieldTextsProblem::kNotJson;
  std::string key;
  Field field = Field::Elettartam;
  std::size_t position = 0;  // the byte a JSON error is at, from 1
};

// The optional keys beside the sixteen fields: the energy carrier the solar
// heat replaces, as the energy price helper knew it (a scenario file keeps
// them). Every reader takes them as it takes a field: once each, a string.
inline constexpr std::array<std::string_view, 4> kCarrierKeys = {"Energiahordozo", "Egysegar",
                                                                 "Hatasfok", "Co2tenyezo"};
// Their texts in that order; nullopt where the object leaves a key out.
using CarrierTexts = std::array<std::optional<std::string>, kCarrierKeys.size()>;

// The texts of `text`, starting from `texts` for the fields it leaves out;
// the carrier keys' texts go to `carrier` when one is given, else nowhere.
// One pass over the bytes: reading stops at the first thing that is wrong.
std::variant<InputTexts, FieldTextsError> ReadFieldTexts(std::string_view text, InputTexts texts,
                                                         CarrierTexts* carrier = nullptr);

// What is wrong, for the evaluator (English, about "the line") or for the
// window and the page (Hungarian, about "the file"): one sentence each, from
// one table.
enum class Wording { kEvaluatorLine, kScenarioFile };
std::string ProblemText(const FieldTextsError& error, Wording wording);

}  // namespace zr
