#include "scenario_file.h"

#include <nlohmann/json.hpp>
#include <utility>

#include "field_texts.h"

namespace zr {

namespace {

using Json = nlohmann::ordered_json;

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
  auto read = ReadFieldTexts(content, StartupTexts(format));
  if (const auto* error = std::get_if<FieldTextsError>(&read)) {
    return ProblemText(*error, Wording::kScenarioFile);
  }
  return std::move(std::get<InputTexts>(read));
}

}  // namespace zr
