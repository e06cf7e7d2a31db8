#pragma once
// The one check of a decimal separator, for every way one comes in: the
// evaluator's option, the window's locale, the page's browser language and
// its links.

#include <optional>
#include <string>
#include <string_view>

#include "number_format.h"

namespace zr {

inline constexpr std::size_t kMaxSeparatorCharacters = 4;

// Why `separator` cannot be the decimal separator, or nullopt when it can:
// one to four printable characters of valid UTF-8, none of them a digit, a
// sign or a blank. In English, for the evaluator's usage errors.
std::optional<std::string> SeparatorProblem(std::string_view separator);

// `separator` as the number format when it can be one, else the Hungarian
// comma.
NumberFormat FormatWithSeparator(std::string_view separator);

}  // namespace zr
