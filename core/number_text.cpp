#include "number_text.h"

#include <fast_float/fast_float.h>
#include <fmt/compile.h>

#include <array>
#include <cmath>
#include <limits>
#include <string>
#include <system_error>

#include "arithmetic_fault.h"
#include "rounding.h"

namespace zr {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Largest count of whole digits a Money value can have (922337203685477).
constexpr std::size_t kMoneyWholeDigits = 15;

// Up to this many whole digits, twice a value in units of its fifth decimal
// stays below 2 * 10^18 and fits 64 bits.
constexpr std::size_t kNarrowWholeDigits = 13;

// Twice the value in units of the fifth decimal, plus one when non-zero
// digits follow the fifth (`fraction` has no trailing zeros): halving that
// by the rounding rule rounds the whole text correctly.
template <typename Int>
Int RoundedRaw(std::string_view whole, std::string_view fraction) {
  Int fifths = 0;
  for (char c : whole) fifths = fifths * 10 + (c - '0');
  for (std::size_t i = 0; i < 5; ++i) {
    fifths = fifths * 10 + (i < fraction.size() ? fraction[i] - '0' : 0);
  }
  const Int sticky = fraction.size() > 5 ? 1 : 0;
  return DivideRoundHalfEven(fifths * 2 + sticky, Int{20});
}

// |value| in ten-thousandths, rounded half to even at the fifth decimal;
// nullopt when it cannot fit in Money (so it is never needed in 128 bits).
// Box texts are short: they take the 64-bit way, which spares the slow
// 128-bit division.
std::optional<WideInt> MagnitudeRaw(std::string_view whole, std::string_view fraction) {
  if (whole.size() > kMoneyWholeDigits) return std::nullopt;
  if (whole.size() <= kNarrowWholeDigits) return RoundedRaw<std::int64_t>(whole, fraction);
  return RoundedRaw<WideInt>(whole, fraction);
}

// 10^0 ... 10^22: every one of them a double exactly.
constexpr auto kExactPowersOfTen = [] {
  std::array<double, 23> p{};
  double x = 1;
  for (double& e : p) {
    e = x;
    x *= 10;
  }
  return p;
}();

constexpr auto kPowersOfTen = [] {
  std::array<std::int64_t, 19> p{};
  std::int64_t x = 1;
  for (std::int64_t& e : p) {
    e = x;
    if (x <= std::numeric_limits<std::int64_t>::max() / 10) x *= 10;
  }
  return p;
}();

}  // namespace

NumberText::NumberText(bool negative, std::int64_t digits, int scale)
    : negative_(negative), scale_(scale), digits_(digits) {}

NumberText::NumberText(bool negative, std::string_view whole, std::string_view fraction)
    : negative_(negative) {
  if (whole.size() + fraction.size() > kShortDigits) {
    long_ =
        std::make_unique<const LongDigits>(LongDigits{std::string(whole), std::string(fraction)});
    return;
  }
  for (char c : whole) digits_ = digits_ * 10 + (c - '0');
  for (char c : fraction) digits_ = digits_ * 10 + (c - '0');
  scale_ = static_cast<int>(fraction.size());
}

std::optional<NumberText> NumberText::Parse(std::string_view text, const NumberFormat& format) {
  const std::string_view sep = format.decimal_separator;
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);

  bool negative = false;
  if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
    negative = text.front() == '-';
    text.remove_prefix(1);
  }

  std::size_t digits = 0;
  std::size_t sep_at = std::string_view::npos;
  // On the way, the digits from the first non-zero one as one integer
  // (trailing zeros too), while there are few enough of them.
  std::int64_t value = 0;
  std::size_t significant = 0;
  std::size_t scale = 0;
  std::size_t i = 0;
  while (i < text.size()) {
    const char c = text[i];
    if (IsDigit(c)) {
      ++digits;
      ++i;
      if (sep_at != std::string_view::npos) ++scale;
      if ((significant != 0 || c != '0') && ++significant <= kShortDigits) {
        value = value * 10 + (c - '0');
      }
    } else if (sep_at == std::string_view::npos && !sep.empty() &&
               text.substr(i, sep.size()) == sep) {
      sep_at = i;
      i += sep.size();
    } else {
      return std::nullopt;
    }
  }
  if (digits == 0) return std::nullopt;
  if (significant <= kShortDigits && scale <= kShortDigits) {
    return NumberText(negative, value, static_cast<int>(scale));
  }

  std::string_view whole = text.substr(0, sep_at);
  std::string_view fraction =
      sep_at == std::string_view::npos ? std::string_view{} : text.substr(sep_at + sep.size());
  while (!whole.empty() && whole.front() == '0') whole.remove_prefix(1);
  while (!fraction.empty() && fraction.back() == '0') fraction.remove_suffix(1);
  return NumberText(negative, whole, fraction);
}

double NumberText::ToDouble() const {
  constexpr std::int64_t kExactInteger = std::int64_t{1} << 53;
  if (!long_ && digits_ <= kExactInteger) {
    // Digits and power of ten are both doubles exactly, so the one division
    // rounds the value itself correctly (scale_ ≤ 18 < 23).
    const double value = static_cast<double>(digits_) / kExactPowersOfTen[scale_];
    return negative_ ? -value : value;
  }
  std::string plain;
  if (!long_) {
    plain = std::to_string(digits_);
    plain += "e-";
    plain += std::to_string(scale_);
  } else {
    const LongDigits& d = *long_;
    plain.reserve(d.whole.size() + d.fraction.size() + 3);
    plain.append(d.whole.empty() ? std::string_view{"0"} : d.whole);
    if (!d.fraction.empty()) {
      plain.push_back('.');
      plain.append(d.fraction);
    }
  }
  double value = 0.0;
  // fast_float reads exactly and ignores the C locale, in every build.
  const auto [end, ec] = fast_float::from_chars(plain.data(), plain.data() + plain.size(), value);
  if (ec == std::errc::result_out_of_range) {
    // Out of range either way: beyond the largest double when there are
    // whole digits, otherwise below the smallest one.
    // (Only a long text gets here.)
    value = long_->whole.empty() ? 0.0 : std::numeric_limits<double>::infinity();
  }
  return negative_ ? -value : value;
}

std::optional<Money> NumberText::ToMoney() const {
  if (!long_) {
    // In ten-thousandths: all the digits are here, so one division rounds.
    // (At most 18 digits never make 2^63 exactly, the one magnitude only a
    // negative value may have.)
    std::uint64_t magnitude = 0;
    if (scale_ <= 4) {
      if (__builtin_mul_overflow(static_cast<std::uint64_t>(digits_), kPowersOfTen[4 - scale_],
                                 &magnitude)) {
        return std::nullopt;
      }
    } else {
      magnitude =
          static_cast<std::uint64_t>(DivideRoundHalfEven(digits_, kPowersOfTen[scale_ - 4]));
    }
    if (magnitude > std::uint64_t{std::numeric_limits<std::int64_t>::max()}) return std::nullopt;
    const auto raw = static_cast<std::int64_t>(magnitude);
    return Money::FromRaw(negative_ ? -raw : raw);
  }
  const std::optional<WideInt> magnitude = MagnitudeRaw(long_->whole, long_->fraction);
  if (!magnitude) return std::nullopt;
  const WideInt raw = negative_ ? -*magnitude : *magnitude;
  if (raw < std::numeric_limits<std::int64_t>::min() ||
      raw > std::numeric_limits<std::int64_t>::max()) {
    return std::nullopt;
  }
  return Money::FromRaw(static_cast<std::int64_t>(raw));
}

bool IsNumberText(std::string_view text, const NumberFormat& format) {
  return NumberText::Parse(text, format).has_value();
}

Money TextToMoney(std::string_view text, const NumberFormat& format) {
  const std::optional<NumberText> number = NumberText::Parse(text, format);
  if (!number) throw ArithmeticFault("not a number text");
  const std::optional<Money> money = number->ToMoney();
  if (!money) throw ArithmeticFault("number text beyond the Money range");
  return *money;
}

std::string WholeNumberText(std::int64_t n) { return std::to_string(n); }

std::string MoneyText(Money m, const NumberFormat& format) {
  const std::int64_t raw = m.Raw();
  // Work on the magnitude in 128 bits: the most negative raw value has no
  // 64-bit opposite.
  const WideInt magnitude = raw < 0 ? -static_cast<WideInt>(raw) : raw;
  const auto whole = static_cast<std::uint64_t>(magnitude / Money::kScale);
  auto fraction = static_cast<int>(magnitude % Money::kScale);

  std::string text = raw < 0 ? "-" : "";
  text += std::to_string(whole);
  if (fraction != 0) {
    std::string digits = std::to_string(fraction + Money::kScale).substr(1);  // four digits
    while (digits.back() == '0') digits.pop_back();
    text += format.decimal_separator;
    text += digits;
  }
  return text;
}

std::string WithDecimalSeparator(std::string_view with_point, const NumberFormat& format) {
  std::string out;
  for (char c : with_point) {
    if (c == '.') {
      out += format.decimal_separator;
    } else {
      out += c;
    }
  }
  return out;
}

std::string RealText(double x, const NumberFormat& format) {
  // printf's %.15g, exact and independent of the C locale.
  std::string text = fmt::format(FMT_COMPILE("{:.15g}"), x);
  for (char& c : text) {
    if (c == 'e') c = 'E';
  }
  return WithDecimalSeparator(text, format);
}

}  // namespace zr
