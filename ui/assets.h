#pragma once
// Resource paths of the pictures compiled into the program.

namespace zr {

inline constexpr const char* kIconPath = ":/zeltano/icon.svg";
inline constexpr const char* kBannerPath = ":/zeltano/banner.svg";
inline constexpr const char* kBackgroundPath = ":/zeltano/background.svg";

}  // namespace zr
