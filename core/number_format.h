#pragma once
#include <string>

namespace zr {

// The user's regional number format, as far as the calculator needs it.
// The core never reads the locale itself: the window passes this in.
struct NumberFormat {
  std::string decimal_separator = ",";  // UTF-8, never empty

  static NumberFormat Hungarian() { return NumberFormat{","}; }
};

}  // namespace zr
