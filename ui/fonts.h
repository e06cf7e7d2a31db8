#pragma once
// The layout names Windows faces; these map them to free faces of the same
// metrics, so that every caption fits the width the layout gives it.

#include <QFont>
#include <QString>

namespace zr {

inline constexpr const char* kMsSansSerif = "MS Sans Serif";
inline constexpr const char* kArial = "Arial";
inline constexpr const char* kArialBlack = "Arial Black";

// Registers the substitutes with QFont; call once before any window exists.
void InstallFontSubstitutes();

// A font as the layout states it: a face name and a fractional point size.
QFont LayoutFont(const QString& family, qreal point_size, bool bold = false, bool italic = false);

}  // namespace zr
