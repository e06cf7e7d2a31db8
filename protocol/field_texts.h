#pragma once
// The one reader of an object of field texts ({"Beruhazas":"1000000",...}):
// an evaluator input line, a scenario file and the page's requests are all
// read by it, so all three take and refuse the same things. A field the
// object leaves out keeps the text it is given (the start-up text).

#include <cstddef>
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
  kNotAString,      // the value of `field`
};

struct FieldTextsError {
  FieldTextsProblem problem = FieldTextsProblem::kNotJson;
  std::string key;
  Field field = Field::Elettartam;
  std::size_t position = 0;  // the byte a JSON error is at, from 1
};

// The texts of `text`, starting from `texts` for the fields it leaves out.
// One pass over the bytes: reading stops at the first thing that is wrong.
std::variant<InputTexts, FieldTextsError> ReadFieldTexts(std::string_view text, InputTexts texts);

// What is wrong, for the evaluator (English, about "the line") or for the
// window and the page (Hungarian, about "the file"): one sentence each, from
// one table.
enum class Wording { kEvaluatorLine, kScenarioFile };
std::string ProblemText(const FieldTextsError& error, Wording wording);

}  // namespace zr
