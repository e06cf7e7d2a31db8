#pragma once
// The core's texts are UTF-8; Qt's are QStrings.

#include <QString>
#include <string_view>

namespace zr {

inline QString FromUtf8(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace zr
