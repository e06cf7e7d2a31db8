#pragma once
// A scenario file: the sixteen box texts as one JSON object on one line,
// keyed by the field names, exactly the shape of one zeltano-eval input
// line, so a saved file can be piped to the evaluator. A field the object
// leaves out takes its start-up text, as in the evaluator.

#include <cstddef>
#include <string>
#include <string_view>
#include <variant>

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

// The file's content for `texts`: one line, ending in a newline.
std::string ScenarioText(const InputTexts& texts);

// The texts a file holds, or why it is not a scenario (a Hungarian sentence).
std::variant<InputTexts, std::string> ParseScenario(std::string_view content,
                                                    const NumberFormat& format);

}  // namespace zr
