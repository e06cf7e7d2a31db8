#include "scenario_file.h"

#include <array>
#include <nlohmann/json.hpp>
#include <optional>

namespace zr {

namespace {

using Json = nlohmann::ordered_json;

// Ends the parse at the first thing that cannot be a scenario.
struct NotAScenario {
  std::string reason;
};

std::optional<Field> FieldNamed(std::string_view name) {
  for (const Field field : kAllFields) {
    if (FieldName(field) == name) return field;
  }
  return std::nullopt;
}

// A key as the message quotes it: at most 40 bytes, cut at a character.
std::string Quoted(const std::string& key) {
  constexpr std::size_t kShown = 40;
  if (key.size() <= kShown) return "„" + key + "”";
  std::size_t end = kShown;
  while (end > 0 && (static_cast<unsigned char>(key[end]) & 0xC0) == 0x80) --end;
  return "„" + key.substr(0, end) + "…”";
}

}  // namespace

std::string ScenarioText(const InputTexts& texts) {
  Json object = Json::object();
  for (const Field field : kAllFields) object[std::string(FieldName(field))] = texts[Index(field)];
  // Invalid UTF-8 from a box (it cannot come from typing) is replaced, not fatal.
  return object.dump(-1, ' ', false, Json::error_handler_t::replace) + "\n";
}

std::variant<InputTexts, std::string> ParseScenario(std::string_view content,
                                                    const NumberFormat& format) {
  if (content.size() > kMaxScenarioBytes) {
    return std::string("A fájl túl nagy egy forgatókönyvhöz (legfeljebb 1 MiB lehet).");
  }
  InputTexts texts = StartupTexts(format);
  std::array<bool, kFieldCount> seen{};
  std::optional<Field> pending;  // the field whose value comes next
  const auto check = [&](int depth, Json::parse_event_t event, Json& parsed) {
    using Event = Json::parse_event_t;
    if (depth == 0 && (event == Event::array_start || event == Event::value)) {
      throw NotAScenario{"A fájl nem JSON-objektum."};
    }
    if (depth == 1 && event == Event::key) {
      const std::string key = parsed.get<std::string>();
      pending = FieldNamed(key);
      if (!pending) throw NotAScenario{"Ismeretlen mező: " + Quoted(key) + "."};
      if (seen[Index(*pending)]) throw NotAScenario{"Kétszer szereplő mező: " + Quoted(key) + "."};
      seen[Index(*pending)] = true;
    } else if (depth == 1 && (event == Event::object_start || event == Event::array_start ||
                              (event == Event::value && !parsed.is_string()))) {
      throw NotAScenario{"Nem szöveg a mező értéke: " + Quoted(std::string(FieldName(*pending))) +
                         "."};
    } else if (depth == 1 && event == Event::value) {
      texts[Index(*pending)] = parsed.get<std::string>();
    }
    return true;
  };
  try {
    const Json parsed = Json::parse(content.begin(), content.end(), check);
    if (!parsed.is_object()) return std::string("A fájl nem JSON-objektum.");
  } catch (const NotAScenario& e) {
    return e.reason;
  } catch (const Json::exception&) {
    return std::string("A fájl nem érvényes JSON-objektum.");
  }
  return texts;
}

}  // namespace zr
