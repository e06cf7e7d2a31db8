#pragma once
// Tests the sixteen texts in order; each wrong box yields one finding and
// is replaced by its row's fixed text before the next box is tested.

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "input_set.h"
#include "number_format.h"

namespace zr {

inline constexpr std::string_view kNumberMessage = "Adjon meg számot!";
inline constexpr std::string_view kTooLargeMessage = "A megadott szám túl nagy!";

struct ValidationRule {
  Field field;
  double lower;                 // inclusive
  std::optional<double> upper;  // inclusive; none for amounts and areas
  std::string_view range_message;
  double replacement;
  bool replacement_is_real;  // written as real text (0,5) or whole-number text
};

const std::array<ValidationRule, kFieldCount>& ValidationRules();
const ValidationRule& RuleFor(Field f);

std::string ReplacementText(const ValidationRule& rule, const NumberFormat& format);

struct ValidationFinding {
  Field field;
  std::string message;
  std::string replacement;
  friend bool operator==(const ValidationFinding&, const ValidationFinding&) = default;
};

// The message for `text` in its row, or nullopt when the text is valid.
std::optional<std::string_view> CheckText(const ValidationRule& rule, std::string_view text,
                                          const NumberFormat& format);

// The same test, and for a valid text the figure the calculation reads
// from it (read once, where the test has it at hand).
struct TextCheck {
  std::optional<std::string_view> message;
  Money value;  // when there is no message
};
TextCheck CheckTextValue(const ValidationRule& rule, std::string_view text,
                         const NumberFormat& format);

struct ValidationResult {
  InputTexts corrected;
  std::vector<ValidationFinding> findings;
};

ValidationResult ValidateInputs(const InputTexts& texts, const NumberFormat& format);

// The same on texts the caller keeps: each wrong one is replaced in place.
struct Corrections {
  std::vector<ValidationFinding> findings;
  InputSet values;  // read from the corrected texts
};
Corrections CorrectInputs(InputTexts& texts, const NumberFormat& format);

}  // namespace zr
