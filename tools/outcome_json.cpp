#include "outcome_json.h"

#include <fast_float/fast_float.h>
#include <fmt/format.h>

#include <cmath>
#include <string>

namespace zr {
namespace {

using json = nlohmann::ordered_json;

// Whole values as JSON integers, others as the shortest text that reads
// back as the same single-precision number.
json NumberJson(double value) {
  if (std::trunc(value) == value && std::fabs(value) < 9.0e15) {
    return static_cast<std::int64_t>(value);
  }
  return value;
}

json CoordinateJson(float value) {
  if (std::trunc(value) == value) return NumberJson(value);
  const std::string text = fmt::format(FMT_STRING("{}"), value);
  double shortest = value;
  fast_float::from_chars(text.data(), text.data() + text.size(), shortest);
  return shortest;
}

json ColorJson(const Color& c) { return json::array({c.red, c.green, c.blue}); }

}  // namespace

json ChartOperationToJson(const ChartOperation& op) {
  struct Visitor {
    json operator()(const Cls&) const { return {{"op", "Cls"}}; }
    json operator()(const DrawWidth& d) const { return {{"op", "DrawWidth"}, {"width", d.width}}; }
    json operator()(const Line& l) const {
      return {{"op", "Line"},
              {"x1", CoordinateJson(l.x1)},
              {"y1", CoordinateJson(l.y1)},
              {"x2", CoordinateJson(l.x2)},
              {"y2", CoordinateJson(l.y2)},
              {"color", ColorJson(l.color)}};
    }
    json operator()(const ForeColor& f) const {
      return {{"op", "ForeColor"}, {"color", ColorJson(f.color)}};
    }
    json operator()(const CurrentX& c) const {
      return {{"op", "CurrentX"}, {"x", CoordinateJson(c.x)}};
    }
    json operator()(const CurrentY& c) const {
      return {{"op", "CurrentY"}, {"y", CoordinateJson(c.y)}};
    }
    json operator()(const FontName& f) const { return {{"op", "FontName"}, {"name", f.name}}; }
    json operator()(const Print& p) const {
      if (const auto* text = std::get_if<std::string>(&p.value)) {
        return {{"op", "Print"}, {"text", *text}};
      }
      if (const auto* whole = std::get_if<std::int16_t>(&p.value)) {
        return {{"op", "Print"}, {"int", *whole}};
      }
      return {{"op", "Print"}, {"real", NumberJson(std::get<double>(p.value))}};
    }
  };
  return std::visit(Visitor{}, op);
}

json OutcomeToJson(const RunOutcome& outcome) {
  json findings = json::array();
  for (const ValidationFinding& f : outcome.findings) {
    findings.push_back(
        {{"field", FieldName(f.field)}, {"message", f.message}, {"replacement", f.replacement}});
  }
  json texts = json::object();
  for (Field f : kAllFields) texts[std::string(FieldName(f))] = outcome.corrected[Index(f)];

  json labels = json::object();
  for (std::size_t i = 0; i < kResultLabelCount; ++i) {
    const std::string name(LabelName(static_cast<ResultLabel>(i)));
    labels[name] = outcome.labels[i] ? json(*outcome.labels[i]) : json(nullptr);
  }
  json chart = json::array();
  for (const ChartOperation& op : outcome.chart) chart.push_back(ChartOperationToJson(op));

  json out = json::object();
  out["findings"] = std::move(findings);
  out["texts"] = std::move(texts);
  out["labels"] = std::move(labels);
  out["fault"] = outcome.fault ? json(*outcome.fault) : json(nullptr);
  out["chart"] = std::move(chart);
  return out;
}

LineResult EvaluateLine(std::string_view line, const NumberFormat& format) {
  const auto error = [](std::string message) {
    return LineResult{json{{"error", std::move(message)}}, true};
  };
  const json input = json::parse(line.begin(), line.end(), nullptr, /*allow_exceptions=*/false);
  if (!input.is_object()) return error("the line is not a JSON object");

  InputTexts texts = StartupTexts(format);
  for (const auto& [key, value] : input.items()) {
    std::size_t i = 0;
    while (i < kFieldCount && FieldName(kAllFields[i]) != key) ++i;
    if (i == kFieldCount) return error("unknown field: " + key);
    if (!value.is_string()) return error("the value of " + key + " is not a string");
    texts[i] = value.get<std::string>();
  }
  return LineResult{OutcomeToJson(CalculationRun(texts, format)), false};
}

}  // namespace zr
