#pragma once
// Number texts in the regional format. One parser serves the numeric test,
// text to double and text to Money, so all three accept the same texts:
// optional blanks around, an optional sign, digits with at most one decimal
// separator and at least one digit. Nothing else (no grouping, no exponent).

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "money.h"
#include "number_format.h"

namespace zr {

class NumberText {
 public:
  // nullopt when `text` is not a number in the format.
  static std::optional<NumberText> Parse(std::string_view text, const NumberFormat& format);

  // Correctly rounded; ±infinity when the value is beyond the double range,
  // ±0 when it is too small to be represented.
  double ToDouble() const;
  // Exact, more than four decimals rounded to nearest, ties to even;
  // nullopt when the value does not fit in Money.
  std::optional<Money> ToMoney() const;

 private:
  NumberText(bool negative, std::int64_t digits, int scale);
  NumberText(bool negative, std::string_view whole, std::string_view fraction);
  // The digits from the first non-zero one as one integer, `scale_` of them
  // after the separator: every box text short enough to be typed. Longer ones keep
  // copies of their digits, so a parsed number never refers to its text.
  static constexpr std::size_t kShortDigits = 18;
  struct LongDigits {
    std::string whole;     // digits before the separator, no leading zeros
    std::string fraction;  // digits after it, no trailing zeros
  };
  bool negative_;
  int scale_ = 0;
  std::int64_t digits_ = 0;
  std::unique_ptr<const LongDigits> long_;  // none for a short text
};

bool IsNumberText(std::string_view text, const NumberFormat& format);

// Reads a text that validation has passed; a text that is not a number or
// does not fit in Money raises ArithmeticFault.
Money TextToMoney(std::string_view text, const NumberFormat& format);

// Output forms.
std::string WholeNumberText(std::int64_t n);                 // "-250"
std::string MoneyText(Money m, const NumberFormat& format);  // "499,5"
std::string RealText(double x, const NumberFormat& format);  // "19,27"
// A real text written with a point ("19.27"), in `format`: each point
// becomes the decimal separator.
std::string WithDecimalSeparator(std::string_view with_point, const NumberFormat& format);

}  // namespace zr
