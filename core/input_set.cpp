#include "input_set.h"

namespace zr {
namespace {

constexpr std::array<std::string_view, kFieldCount> kFieldNames = {
    "Elettartam", "Beruhazas",      "Tamogatas",     "Maradvanyertek", "Kamatlab",  "Akoll",
    "Qkoll",      "Karbkolts",      "Karbkoltsvalt", "Villanyar",      "Uzemkolts", "Uzemkoltsvalt",
    "Egyebkolts", "Egyebkoltsvalt", "Energiaar",     "Energiaarvalt",
};

constexpr std::array<Money InputSet::*, kFieldCount> kMembers = {
    &InputSet::Elettartam,     &InputSet::Beruhazas,      &InputSet::Tamogatas,
    &InputSet::Maradvanyertek, &InputSet::Kamatlab,       &InputSet::Akoll,
    &InputSet::Qkoll,          &InputSet::Karbkolts,      &InputSet::Karbkoltsvalt,
    &InputSet::Villanyar,      &InputSet::Uzemkolts,      &InputSet::Uzemkoltsvalt,
    &InputSet::Egyebkolts,     &InputSet::Egyebkoltsvalt, &InputSet::Energiaar,
    &InputSet::Energiaarvalt,
};

}  // namespace

std::string_view FieldName(Field f) { return kFieldNames[Index(f)]; }

InputTexts StartupTexts(const NumberFormat& format) {
  const std::string& sep = format.decimal_separator;
  return {"25", "1000000",       "0", "0",  "6", "6", "600", "0" + sep + "5", "3", "48", "2",
          "3",  "0" + sep + "2", "3", "20", "6"};
}

Money& InputSet::operator[](Field f) { return this->*kMembers[Index(f)]; }
const Money& InputSet::operator[](Field f) const { return this->*kMembers[Index(f)]; }

}  // namespace zr
