#include "separator.h"

#include <cstdio>
#include <utility>

namespace zr {
namespace {

std::string CodePointName(char32_t c) {
  char buffer[16];
  std::snprintf(buffer, sizeof buffer, "U+%04X", static_cast<unsigned>(c));
  return buffer;
}

// The code point starting at text[at] and its length in bytes; nullopt when
// the bytes there are not well-formed UTF-8 (overlong forms and surrogates
// included).
std::optional<std::pair<char32_t, std::size_t>> DecodeUtf8(std::string_view text, std::size_t at) {
  const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
  const unsigned char lead = byte(at);
  if (lead < 0x80) return std::pair<char32_t, std::size_t>{lead, 1};
  std::size_t length = 0;
  char32_t c = 0;
  char32_t smallest = 0;
  if ((lead & 0xE0) == 0xC0) {
    length = 2, c = lead & 0x1F, smallest = 0x80;
  } else if ((lead & 0xF0) == 0xE0) {
    length = 3, c = lead & 0x0F, smallest = 0x800;
  } else if ((lead & 0xF8) == 0xF0) {
    length = 4, c = lead & 0x07, smallest = 0x10000;
  } else {
    return std::nullopt;
  }
  if (text.size() - at < length) return std::nullopt;
  for (std::size_t i = 1; i < length; ++i) {
    if ((byte(at + i) & 0xC0) != 0x80) return std::nullopt;
    c = (c << 6) | (byte(at + i) & 0x3F);
  }
  if (c < smallest || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) return std::nullopt;
  return std::pair<char32_t, std::size_t>{c, length};
}

bool IsBlank(char32_t c) {
  return c == 0x20 || c == 0xA0 || c == 0x1680 || (c >= 0x2000 && c <= 0x200A) || c == 0x202F ||
         c == 0x205F || c == 0x3000;
}

// Control characters, and the format and separator characters that print
// as nothing (soft hyphen, zero widths, direction marks, line and paragraph
// separators, the byte order mark).
bool IsControlOrInvisible(char32_t c) {
  return c < 0x20 || (c >= 0x7F && c <= 0x9F) || c == 0xAD || c == 0x61C || c == 0x180E ||
         (c >= 0x200B && c <= 0x200F) || (c >= 0x2028 && c <= 0x202E) ||
         (c >= 0x2060 && c <= 0x206F) || c == 0xFEFF || (c >= 0xFFF9 && c <= 0xFFFB);
}

}  // namespace

std::optional<std::string> SeparatorProblem(std::string_view separator) {
  if (separator.empty()) return "it is empty";
  std::size_t characters = 0;
  for (std::size_t at = 0; at < separator.size();) {
    const auto decoded = DecodeUtf8(separator, at);
    if (!decoded) return "it is not valid UTF-8 (at byte " + std::to_string(at + 1) + ")";
    const char32_t c = decoded->first;
    if (IsControlOrInvisible(c)) {
      return "it contains a control or invisible character (" + CodePointName(c) + ")";
    }
    if (IsBlank(c)) return "it contains a blank (" + CodePointName(c) + ")";
    if (c >= '0' && c <= '9') return "it contains a digit (" + std::string(1, char(c)) + ")";
    if (c == '+' || c == '-') return "it contains a sign (" + std::string(1, char(c)) + ")";
    at += decoded->second;
    ++characters;
  }
  if (characters > kMaxSeparatorCharacters) {
    return "it is longer than " + std::to_string(kMaxSeparatorCharacters) + " characters";
  }
  return std::nullopt;
}

NumberFormat FormatWithSeparator(std::string_view separator) {
  if (SeparatorProblem(separator)) return NumberFormat::Hungarian();
  return NumberFormat{std::string(separator)};
}

}  // namespace zr
