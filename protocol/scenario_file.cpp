#include "scenario_file.h"

#include <nlohmann/json.hpp>
#include <utility>

namespace zr {

namespace {

using Json = nlohmann::ordered_json;

enum CarrierKeyIndex { kCarrier, kUnitPrice, kEfficiency, kCo2Factor };

}  // namespace

std::string ScenarioText(const InputTexts& texts, const std::optional<CarrierChoice>& carrier) {
  Json object = Json::object();
  for (const Field field : kAllFields) object[std::string(FieldName(field))] = texts[Index(field)];
  if (carrier) {
    const CarrierTexts keys = CarrierTextsOf(*carrier);
    for (std::size_t i = 0; i < keys.size(); ++i) object[std::string(kCarrierKeys[i])] = *keys[i];
  }
  // Invalid UTF-8 from a box (it cannot come from typing) is replaced, not fatal.
  return object.dump(-1, ' ', false, Json::error_handler_t::replace) + "\n";
}

CarrierTexts CarrierTextsOf(const CarrierChoice& carrier) {
  return {std::string(CarrierOf(carrier.carrier).key), carrier.unit_price,
          carrier.efficiency_percent, carrier.co2_factor};
}

std::variant<std::optional<CarrierChoice>, std::string> CarrierOfTexts(const CarrierTexts& texts,
                                                                       const NumberFormat& format) {
  if (!texts[kCarrier]) {
    for (std::size_t i = 0; i < texts.size(); ++i) {
      if (texts[i]) {
        return "A(z) „" + std::string(kCarrierKeys[i]) + "” mező mellől hiányzik az „" +
               std::string(kCarrierKeys[kCarrier]) + "”.";
      }
    }
    return std::nullopt;
  }
  auto read = ReadCarrierChoice(*texts[kCarrier], texts[kUnitPrice].value_or(""),
                                texts[kEfficiency].value_or(""), texts[kCo2Factor], format);
  if (auto* reason = std::get_if<std::string>(&read)) return std::move(*reason);
  return std::optional(std::move(std::get<CarrierChoice>(read)));
}

std::optional<std::string> ScenarioTextOfLine(std::string_view line, const NumberFormat& format) {
  CarrierTexts carrier_texts;
  const auto read = ReadFieldTexts(line, InputTexts{}, &carrier_texts);
  const auto* texts = std::get_if<InputTexts>(&read);
  if (texts == nullptr) return std::nullopt;
  const auto carrier = CarrierOfTexts(carrier_texts, format);
  const auto* choice = std::get_if<std::optional<CarrierChoice>>(&carrier);
  if (choice == nullptr) return std::nullopt;
  return ScenarioText(*texts, *choice);
}

std::variant<Scenario, std::string> ParseScenario(std::string_view content,
                                                  const NumberFormat& format) {
  if (content.size() > kMaxScenarioBytes) {
    return std::string("A fájl túl nagy egy forgatókönyvhöz (legfeljebb 1 MiB lehet).");
  }
  CarrierTexts carrier_texts;
  auto read = ReadFieldTexts(content, StartupTexts(format), &carrier_texts);
  if (const auto* error = std::get_if<FieldTextsError>(&read)) {
    return ProblemText(*error, Wording::kScenarioFile);
  }
  auto carrier = CarrierOfTexts(carrier_texts, format);
  if (auto* reason = std::get_if<std::string>(&carrier)) return std::move(*reason);
  return Scenario{std::move(std::get<InputTexts>(read)),
                  std::move(std::get<std::optional<CarrierChoice>>(carrier))};
}

}  // namespace zr
