#include "input_set.h"

namespace zr {
namespace {

constexpr auto kFieldNames = std::to_array<std::string_view>({
    "Elettartam",
    "Beruhazas",
    "Tamogatas",
    "Maradvanyertek",
    "Kamatlab",
    "Akoll",
    "Qkoll",
    "Karbkolts",
    "Karbkoltsvalt",
    "Villanyar",
    "Uzemkolts",
    "Uzemkoltsvalt",
    "Egyebkolts",
    "Egyebkoltsvalt",
    "Energiaar",
    "Energiaarvalt",
});
static_assert(kFieldNames.size() == kFieldCount, "one name per field");

constexpr auto kMembers = std::to_array<Money InputSet::*>({
    &InputSet::Elettartam,
    &InputSet::Beruhazas,
    &InputSet::Tamogatas,
    &InputSet::Maradvanyertek,
    &InputSet::Kamatlab,
    &InputSet::Akoll,
    &InputSet::Qkoll,
    &InputSet::Karbkolts,
    &InputSet::Karbkoltsvalt,
    &InputSet::Villanyar,
    &InputSet::Uzemkolts,
    &InputSet::Uzemkoltsvalt,
    &InputSet::Egyebkolts,
    &InputSet::Egyebkoltsvalt,
    &InputSet::Energiaar,
    &InputSet::Energiaarvalt,
});
static_assert(kMembers.size() == kFieldCount, "one member per field");

// Written with a decimal comma; the format's own separator replaces it.
constexpr auto kStartupTexts = std::to_array<std::string_view>({
    "25",
    "1000000",
    "0",
    "0",
    "6",
    "6",
    "600",
    "0,5",
    "3",
    "48",
    "2",
    "3",
    "0,2",
    "3",
    "20",
    "6",
});
static_assert(kStartupTexts.size() == kFieldCount, "one start-up text per field");

}  // namespace

std::string_view FieldName(Field f) { return kFieldNames[Index(f)]; }

InputTexts StartupTexts(const NumberFormat& format) {
  InputTexts texts;
  for (std::size_t i = 0; i < kFieldCount; ++i) {
    const std::string_view text = kStartupTexts[i];
    const std::size_t comma = text.find(',');
    texts[i] = comma == std::string_view::npos
                   ? std::string(text)
                   : std::string(text.substr(0, comma)) + format.decimal_separator +
                         std::string(text.substr(comma + 1));
  }
  return texts;
}

Money& InputSet::operator[](Field f) { return this->*kMembers[Index(f)]; }
const Money& InputSet::operator[](Field f) const { return this->*kMembers[Index(f)]; }

}  // namespace zr
