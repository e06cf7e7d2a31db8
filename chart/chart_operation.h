#pragma once
// The drawing operations of the chart box, as plain values. The chart code
// produces ordered lists of them; the window performs them in order.

#include <cstdint>
#include <string>
#include <variant>
#include <vector>

namespace zr {

struct Color {
  std::uint8_t red = 0;
  std::uint8_t green = 0;
  std::uint8_t blue = 0;
  friend bool operator==(const Color&, const Color&) = default;
};

inline constexpr Color kBlack{0, 0, 0};
inline constexpr Color kCostColor{0, 0, 250};
inline constexpr Color kSavingsColor{250, 100, 30};

// Coordinates are twips (1/1440 inch) as single-precision numbers, origin at
// the top-left corner of the drawing area, y downwards. The window and the
// page draw them at 96 logical pixels per inch: 15 twips to a pixel.
inline constexpr double kTwipsPerPixel = 15.0;

struct Cls {
  friend bool operator==(const Cls&, const Cls&) = default;
};
struct DrawWidth {
  int width = 1;  // pen width in device-independent pixels
  friend bool operator==(const DrawWidth&, const DrawWidth&) = default;
};
struct Line {
  float x1 = 0, y1 = 0, x2 = 0, y2 = 0;
  Color color;
  friend bool operator==(const Line&, const Line&) = default;
};
struct ForeColor {
  Color color;
  friend bool operator==(const ForeColor&, const ForeColor&) = default;
};
struct CurrentX {
  float x = 0;
  friend bool operator==(const CurrentX&, const CurrentX&) = default;
};
struct CurrentY {
  float y = 0;
  friend bool operator==(const CurrentY&, const CurrentY&) = default;
};
struct FontName {
  std::string name;  // the chart always sets the empty name: the default face
  friend bool operator==(const FontName&, const FontName&) = default;
};
// Prints a text, a 16-bit whole number or a floating value with its top-left
// corner at the print position.
struct Print {
  std::variant<std::string, std::int16_t, double> value;
  friend bool operator==(const Print&, const Print&) = default;
};

// The dash pattern of the lines that follow: lengths in device-independent
// pixels, drawn and left out in turn; empty for a solid line, as every line
// is until the first LineDash and after a Cls. A line that starts where the line before it
// ended carries the pattern on from there, so a curve of short segments
// still shows its dashes.
struct LineDash {
  std::vector<float> pattern;
  friend bool operator==(const LineDash&, const LineDash&) = default;
};

using ChartOperation =
    std::variant<Cls, DrawWidth, Line, ForeColor, CurrentX, CurrentY, FontName, Print, LineDash>;
using ChartOperations = std::vector<ChartOperation>;

}  // namespace zr
