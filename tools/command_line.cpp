#include "command_line.h"

#include <cstdint>
#include <cstdio>

#include "outcome_json.h"

namespace zr {
namespace {

constexpr std::string_view kSeparatorOption = "--decimal-separator";
constexpr std::size_t kMaxSeparatorCharacters = 4;

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

CommandLine ParseCommandLine(const std::vector<std::string_view>& args) {
  CommandLine result;
  const auto usage_error = [&](std::string message) {
    result.action = CommandLine::Action::kUsageError;
    result.error = std::move(message);
    return result;
  };
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string_view arg = args[i];
    if (arg == "--help" || arg == "-h") {
      result.action = CommandLine::Action::kHelp;
      return result;
    }
    if (arg == "--version") {
      result.action = CommandLine::Action::kVersion;
      return result;
    }
    std::optional<std::string_view> separator;
    if (arg == kSeparatorOption) {
      if (i + 1 == args.size()) {
        return usage_error("missing value for " + std::string(kSeparatorOption));
      }
      separator = args[++i];
    } else if (arg.substr(0, kSeparatorOption.size() + 1) == std::string(kSeparatorOption) + "=") {
      separator = arg.substr(kSeparatorOption.size() + 1);
    } else {
      return usage_error("unknown argument: " + std::string(arg));
    }
    if (const auto problem = SeparatorProblem(*separator)) {
      return usage_error("invalid value for " + std::string(kSeparatorOption) + ": " + *problem);
    }
    result.format.decimal_separator = std::string(*separator);
  }
  return result;
}

std::string UsageText() {
  static_assert(kMaxLineBytes == 16 * 1024 * 1024, "the text below says 16 MiB");
  const std::string max = std::to_string(kMaxLineBytes);
  return "Usage: zeltano-eval [--decimal-separator SEP]\n"
         "       zeltano-eval --help | --version\n"
         "\n"
         "Reads JSON Lines from standard input. Each line is an object whose keys are\n"
         "input fields (Elettartam, Beruhazas, Tamogatas, Maradvanyertek, Kamatlab,\n"
         "Akoll, Qkoll, Karbkolts, Karbkoltsvalt, Villanyar, Uzemkolts, Uzemkoltsvalt,\n"
         "Egyebkolts, Egyebkoltsvalt, Energiaar, Energiaarvalt) and whose values are the\n"
         "box texts; a missing field takes its start-up text. For each line one JSON\n"
         "object is written: findings, texts, labels, fault and chart.\n"
         "\n"
         "A line that is not such an object (empty, not JSON, not an object, an unknown\n"
         "or repeated field, a value that is not a string, a NUL byte) or that is longer\n"
         "than " +
         max +
         " bytes (16 MiB, not counting the line break) gets\n"
         "{\"error\":\"...\"} instead, and the next lines go on.\n"
         "\n"
         "  --decimal-separator SEP, --decimal-separator=SEP\n"
         "                           regional decimal separator (default \",\"): one to\n"
         "                           four printable characters, no digits, signs or\n"
         "                           blanks\n"
         "  --help                   show this help\n"
         "  --version                show the version\n"
         "\n"
         "Exit status: 0 when every line was evaluated, 1 when a line had an error,\n"
         "2 on a usage error, 3 when the input could not be read or the output could\n"
         "not be written.\n";
}

std::string VersionText() { return std::string("zeltano-eval ") + ZELTANO_VERSION + "\n"; }

}  // namespace zr
