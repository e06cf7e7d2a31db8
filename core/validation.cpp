#include "validation.h"

#include <cmath>

#include "number_text.h"

namespace zr {
namespace {

constexpr std::string_view kOtherCostMessage = "Az egyéb üzemi költség 0 és 100 % között lehet!";

constexpr std::array<ValidationRule, kFieldCount> kRules = std::to_array<ValidationRule>({
    {Field::Elettartam, 1, 50, "Az élettartam 1 és 50 év között lehet!", 20, false},
    {Field::Beruhazas, 1, std::nullopt, "A beruházás értéke pozitív kell legyen!", 1000000, false},
    {Field::Tamogatas, 0, 100, "A támogatás 0 és 100 % között lehet!", 0, false},
    {Field::Maradvanyertek, 0, 100, "A maragványérték 0 és 100 % között lehet!", 0, false},
    {Field::Kamatlab, 1, 100, "A kamatláb 1 és 100 % között lehet!", 6, false},
    {Field::Akoll, 1, std::nullopt, "A napkollektor felület legalább 1 m2 kell legyen!", 6, false},
    {Field::Qkoll, 1, 1000,
     "A kollektorok fajlagos energiahozama 1 és 1000 kWh/m2.év között lehet!", 600, false},
    {Field::Karbkolts, 0, 100, "A karbantartási költség 0 és 100 % között lehet!", 0.5, true},
    {Field::Karbkoltsvalt, 0, 100,
     "A karbantartási költség éves változása 0 és 100 % között lehet!", 0.5, true},
    {Field::Villanyar, 1, std::nullopt, "A villamos energia ára legalább 1 Ft/kWh kell legyen!", 45,
     false},
    {Field::Uzemkolts, 0.1, 20,
     "Az éves üzemi költség a hasznos energia 0.1 és 20 %-a között lehet!", 2, false},
    {Field::Uzemkoltsvalt, 0, 100, "A üzemi költség éves változása 0 és 100 % között lehet!", 2,
     false},
    {Field::Egyebkolts, 0, 100, kOtherCostMessage, 0.2, true},
    // The yearly change of the other cost shares the other cost's message.
    {Field::Egyebkoltsvalt, 0, 100, kOtherCostMessage, 3, false},
    {Field::Energiaar, 1, std::nullopt,
     "A kiváltott energiahordozó ára legalább 1 Ft/kWh kell legyen!", 19.27, true},
    {Field::Energiaarvalt, 0, 100,
     "A kiváltott energiahordozó árának éves változása 0 és 100 % között lehet!", 8, false},
});

// One rule per field, in the order of the fields: validation order.
constexpr bool RulesFollowTheFields() {
  for (std::size_t i = 0; i < kFieldCount; ++i) {
    if (kRules[i].field != kAllFields[i]) return false;
  }
  return true;
}
static_assert(RulesFollowTheFields(), "the rules must follow the order of the fields");

}  // namespace

const std::array<ValidationRule, kFieldCount>& ValidationRules() { return kRules; }

const ValidationRule& RuleFor(Field f) { return kRules[Index(f)]; }

std::string ReplacementText(const ValidationRule& rule, const NumberFormat& format) {
  if (!rule.replacement_is_real) {
    return WholeNumberText(static_cast<std::int64_t>(rule.replacement));
  }
  // Writing a real exactly is slow, and every line of wrong texts asks for
  // the same few: each row's text is written once, with a point.
  static const std::array<std::string, kFieldCount> kWithPoint = [] {
    std::array<std::string, kFieldCount> texts;
    for (std::size_t i = 0; i < kFieldCount; ++i) {
      texts[i] = RealText(kRules[i].replacement, NumberFormat{"."});
    }
    return texts;
  }();
  const std::size_t i = Index(rule.field);
  if (rule.replacement != kRules[i].replacement) return RealText(rule.replacement, format);
  return WithDecimalSeparator(kWithPoint[i], format);
}

TextCheck CheckTextValue(const ValidationRule& rule, std::string_view text,
                         const NumberFormat& format) {
  const std::optional<NumberText> number = NumberText::Parse(text, format);
  if (!number) return {kNumberMessage, {}};

  // Compared at full precision; a value beyond the double range is ±inf
  // here and so fails whichever bound it overshoots.
  const double v = number->ToDouble();
  if (!(v >= rule.lower)) return {rule.range_message, {}};
  if (rule.upper && !(v <= *rule.upper)) return {rule.range_message, {}};

  // Only the rows without an upper bound can get here with a value that is
  // a number of the right range and still cannot be calculated with.
  const std::optional<Money> value = std::isfinite(v) ? number->ToMoney() : std::nullopt;
  if (!value) return {kTooLargeMessage, {}};
  return {std::nullopt, *value};
}

std::optional<std::string_view> CheckText(const ValidationRule& rule, std::string_view text,
                                          const NumberFormat& format) {
  return CheckTextValue(rule, text, format).message;
}

ValidationResult ValidateInputs(const InputTexts& texts, const NumberFormat& format) {
  ValidationResult result{texts, {}};
  result.findings = CorrectInputs(result.corrected, format).findings;
  return result;
}

Corrections CorrectInputs(InputTexts& texts, const NumberFormat& format) {
  Corrections result;
  for (const ValidationRule& rule : kRules) {
    std::string& text = texts[Index(rule.field)];
    const TextCheck check = CheckTextValue(rule, text, format);
    if (check.message) {
      std::string replacement = ReplacementText(rule, format);
      text = replacement;
      result.values[rule.field] = TextToMoney(text, format);
      result.findings.push_back({rule.field, std::string(*check.message), std::move(replacement)});
    } else {
      result.values[rule.field] = check.value;
    }
  }
  return result;
}

}  // namespace zr
