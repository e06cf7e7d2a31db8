#pragma once
// The sixteen inputs: their fields in validation (and screen) order, the
// texts of one run and the figures read from them.

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

#include "money.h"
#include "number_format.h"

namespace zr {

enum class Field : std::size_t {
  Elettartam,
  Beruhazas,
  Tamogatas,
  Maradvanyertek,
  Kamatlab,
  Akoll,
  Qkoll,
  Karbkolts,
  Karbkoltsvalt,
  Villanyar,
  Uzemkolts,
  Uzemkoltsvalt,
  Egyebkolts,
  Egyebkoltsvalt,
  Energiaar,
  Energiaarvalt,
};

// Follows the enumeration; the tables indexed by field check their length
// against it when they are compiled.
inline constexpr std::size_t kFieldCount = static_cast<std::size_t>(Field::Energiaarvalt) + 1;

inline constexpr std::size_t Index(Field f) { return static_cast<std::size_t>(f); }

// All fields in order, for range-for loops.
inline constexpr std::array<Field, kFieldCount> kAllFields = [] {
  std::array<Field, kFieldCount> all{};
  for (std::size_t i = 0; i < kFieldCount; ++i) all[i] = static_cast<Field>(i);
  return all;
}();

// "Elettartam", ...; the input box is this name with a trailing "b".
std::string_view FieldName(Field f);

// One text per field, indexed by Index(field).
using InputTexts = std::array<std::string, kFieldCount>;

// The texts the boxes carry at start-up; "0,5" and "0,2" are written with
// the format's decimal separator.
InputTexts StartupTexts(const NumberFormat& format);

struct InputSet {
  Money Elettartam, Beruhazas, Tamogatas, Maradvanyertek, Kamatlab, Akoll, Qkoll, Karbkolts,
      Karbkoltsvalt, Villanyar, Uzemkolts, Uzemkoltsvalt, Egyebkolts, Egyebkoltsvalt, Energiaar,
      Energiaarvalt;

  Money& operator[](Field f);
  const Money& operator[](Field f) const;
};

}  // namespace zr
