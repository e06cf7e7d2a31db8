#include "variants_json.h"

#include <variant>

#include "chart_json.h"
#include "outcome_json.h"

namespace zr {

namespace {

using json = nlohmann::ordered_json;

const char* KindName(VariantRow::Kind kind) {
  switch (kind) {
    case VariantRow::Kind::kInput:
      return "input";
    case VariantRow::Kind::kResult:
      return "result";
    case VariantRow::Kind::kNpv:
      return "npv";
    case VariantRow::Kind::kInternalRate:
      return "internal_rate";
    case VariantRow::Kind::kVerdict:
      break;
  }
  return "verdict";
}

}  // namespace

json VariantsToJson(const VariantsTable& table) {
  json rows = json::array();
  for (const VariantRow& row : table.rows) {
    rows.push_back({{"kind", KindName(row.kind)},
                    {"key", row.key},
                    {"cells", row.cells},
                    {"differs", row.differs},
                    {"marked", row.marked.empty() ? json(nullptr) : json(row.marked)}});
  }
  return {{"names", table.names},
          {"rows", std::move(rows)},
          {"best_balance", table.best_balance},
          {"shortest_payback", table.shortest_payback}};
}

std::string VariantsText(const VariantsTable& table) {
  std::string text = VariantsToJson(table).dump(-1, ' ', false, json::error_handler_t::replace);
  text.pop_back();  // the closing brace, to put the chart before it
  return text + R"(,"chart":)" + ChartJson(table.chart) + "}";
}

std::string EvaluateVariantLines(const std::vector<std::string>& lines, const NumberFormat& format,
                                 bool& error) {
  const auto error_line = [&](std::string message) {
    error = true;
    return json{{"error", std::move(message)}}.dump(-1, ' ', false, json::error_handler_t::replace);
  };
  if (lines.size() < kMinVariants || lines.size() > kMaxVariants) {
    return error_line("--variants takes 2 to 4 input lines, one per variant; got " +
                      std::to_string(lines.size()));
  }
  std::vector<Variant> variants;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    auto read = ReadLine(lines[i], format);
    if (const auto* problem = std::get_if<LineResult>(&read)) {
      return error_line("line " + std::to_string(i + 1) + ": " +
                        problem->output.value("error", std::string()));
    }
    variants.push_back({"", std::get<InputTexts>(std::move(read))});
  }
  error = false;
  return VariantsText(CompareVariants(variants, format));
}

json VariantsTextsToJson() {
  json texts = json::object();
  for (const VariantsTextEntry& entry : kVariantsTexts) texts[std::string(entry.key)] = entry.text;
  return texts;
}

}  // namespace zr
