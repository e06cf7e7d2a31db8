#include "risk_json.h"

#include <algorithm>
#include <string>

#include "calculation_run.h"
#include "number_text.h"

namespace zr {

nlohmann::ordered_json RiskToJson(const RiskResult& risk, const NumberFormat& format) {
  using json = nlohmann::ordered_json;
  const char* const kNames[] = {"p10", "p50", "p90"};
  json payback = nullptr;
  json balance = nullptr;
  if (risk.payback && risk.balance) {
    payback = json::object();
    balance = json::object();
    for (std::size_t i = 0; i < 3; ++i) {
      payback[kNames[i]] = PaybackText((*risk.payback)[i], format);
      balance[kNames[i]] = WholeNumberText((*risk.balance)[i]);
    }
  }
  json bins = json::array();
  for (const HistogramBin& bin : risk.histogram) {
    bins.push_back({{"from", MoneyText(bin.from, format)},
                    {"to", MoneyText(bin.to, format)},
                    {"runs", bin.runs}});
  }
  const auto share = PaysBackShare(risk);
  json out = json::object();
  out["runs"] = risk.runs;
  out["seed"] = risk.seed;
  out["faults"] = risk.faults;
  out["pays_back_share"] = share ? json(MoneyText(*share, format)) : json(nullptr);
  out["payback"] = std::move(payback);
  out["balance"] = std::move(balance);
  out["histogram"] = {{"bins", std::move(bins)}, {std::string(kNoPaybackText), risk.no_payback}};
  return out;
}

namespace {

using json = nlohmann::ordered_json;

json TickJson(const RiskTick& tick) { return {{"at", tick.at}, {"text", tick.text}}; }

}  // namespace

json RiskViewToJson(const RiskResult& risk, std::optional<Money> period,
                    const NumberFormat& format) {
  const RiskFigures f = FiguresOf(risk, format);
  const RiskHistogram h = HistogramOf(risk, period, format);
  static constexpr const char* kKinds[] = {"within", "beyond", "none"};
  json bars = json::array();
  for (const RiskBar& bar : h.bars) {
    bars.push_back({{"kind", kKinds[static_cast<int>(bar.kind)]},
                    {"runs", bar.runs},
                    {"label", bar.label},
                    {"left", bar.left},
                    {"right", bar.right},
                    {"height", bar.height}});
  }
  json year_ticks = json::array();
  for (const RiskTick& tick : h.year_ticks) year_ticks.push_back(TickJson(tick));
  json run_ticks = json::array();
  for (const RiskTick& tick : h.run_ticks) run_ticks.push_back(TickJson(tick));
  return {{"status", DoneText(risk)},
          {"figures",
           {{"share", f.share},
            {"summary", f.summary},
            {"payback", f.payback},
            {"balance", f.balance},
            {"faults", f.faults}}},
          {"histogram",
           {{"bars", std::move(bars)},
            {"year_ticks", std::move(year_ticks)},
            {"run_ticks", std::move(run_ticks)},
            {"period", h.period ? TickJson(*h.period) : json(nullptr)},
            {"description", h.description}}}};
}

json RiskTextsToJson() {
  json texts = json::object();
  for (const RiskTextEntry& entry : kRiskTexts) texts[std::string(entry.key)] = entry.text;
  return texts;
}

json RangeRowsToJson(const std::vector<RangeTexts>& rows) {
  json out = json::array();
  for (const RangeTexts& row : rows) {
    out.push_back({{"field", std::string(FieldName(row.field))},
                   {"low", row.low},
                   {"mode", row.mode},
                   {"high", row.high}});
  }
  return out;
}

std::optional<std::vector<RangeTexts>> RangeRowsFromJson(const nlohmann::json& rows) {
  if (!rows.is_array()) return std::nullopt;
  std::vector<RangeTexts> out;
  for (const auto& row : rows) {
    if (!row.is_object()) return std::nullopt;
    const auto text = [&](const char* key) -> std::optional<std::string> {
      const auto at = row.find(key);
      if (at == row.end() || !at->is_string()) return std::nullopt;
      return at->get<std::string>();
    };
    const auto name = text("field");
    const auto low = text("low");
    const auto mode = text("mode");
    const auto high = text("high");
    if (!name || !low || !mode || !high) return std::nullopt;
    const auto field = std::find_if(kAllFields.begin(), kAllFields.end(),
                                    [&](Field f) { return FieldName(f) == *name; });
    if (field == kAllFields.end()) return std::nullopt;
    out.push_back({*field, *low, *mode, *high});
  }
  return out;
}

}  // namespace zr
