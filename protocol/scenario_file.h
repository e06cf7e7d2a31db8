#pragma once
// A scenario file: the sixteen box texts as one JSON object on one line,
// keyed by the field names, exactly the shape of one zeltano-eval input
// line, so a saved file can be piped to the evaluator. A field the object
// leaves out takes its start-up text, as in the evaluator. When the energy
// carrier is known, the four carrier keys (field_texts.h) follow the fields;
// the evaluator reads and ignores them.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <variant>

#include "energy_price.h"
#include "field_texts.h"
#include "input_set.h"
#include "number_format.h"

namespace zr {

// The scenario file commands' words, the window's and the page's alike.
inline constexpr std::string_view kOpenScenarioTitle = "Forgatókönyv megnyitása";
inline constexpr std::string_view kSaveScenarioTitle = "Forgatókönyv mentése";
inline constexpr std::string_view kCannotOpenScenario =
    "Ez a fájl nem nyitható meg forgatókönyvként:";

// The name a saved scenario gets when the user gives none.
inline constexpr const char* kScenarioSuffix = ".zeltano.json";
// Box texts are short; anything larger is not a scenario.
inline constexpr std::size_t kMaxScenarioBytes = 1024 * 1024;

// What a scenario holds: the box texts and, when known, the energy carrier.
struct Scenario {
  InputTexts texts;
  std::optional<CarrierChoice> carrier;
  friend bool operator==(const Scenario&, const Scenario&) = default;
};

// The file's content for `texts` and `carrier`: one line, ending in a newline.
std::string ScenarioText(const InputTexts& texts,
                         const std::optional<CarrierChoice>& carrier = std::nullopt);

// The carrier keys' texts for `carrier`, as a file holds them.
CarrierTexts CarrierTextsOf(const CarrierChoice& carrier);

// The carrier the keys' texts name: nullopt when there are none, else the
// choice, or why the texts are no choice (a Hungarian sentence).
std::variant<std::optional<CarrierChoice>, std::string> CarrierOfTexts(const CarrierTexts& texts,
                                                                       const NumberFormat& format);

// The file the page saves for `line`, an object of box texts (a field it
// leaves out is empty) with the carrier keys when the carrier is known: byte
// for byte ScenarioText of what the line holds; nullopt for a line that is
// no such object or names a wrong carrier.
std::optional<std::string> ScenarioTextOfLine(std::string_view line, const NumberFormat& format);

// What a file holds, or why it is not a scenario (a Hungarian sentence).
std::variant<Scenario, std::string> ParseScenario(std::string_view content,
                                                  const NumberFormat& format);

}  // namespace zr
