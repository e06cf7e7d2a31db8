#include "analysis_json.h"

#include <string>

#include "analysis_view.h"
#include "calculation_run.h"
#include "number_text.h"

namespace zr {
namespace {

using json = nlohmann::ordered_json;

json TextOrNull(const std::optional<std::string>& text) {
  return text ? json(*text) : json(nullptr);
}

json BreakEvenJson(const BreakEven& b, const NumberFormat& format) {
  return {{"value", b.value ? json(MoneyText(*b.value, format)) : json(nullptr)},
          {"why", b.value ? json(nullptr) : json(b.why)}};
}

// A place on the tornado chart: a fraction of the time scale, "band" or null.
json PlaceJson(const TornadoPlace& place) {
  switch (place.kind) {
    case TornadoPlace::Kind::kTime:
      return place.at;
    case TornadoPlace::Kind::kBand:
      return "band";
    case TornadoPlace::Kind::kNowhere:
      break;
  }
  return nullptr;
}

json EndJson(const TornadoEnd& end) {
  static constexpr const char* kKinds[] = {"years", "no_payback", "out_of_range", "fault"};
  return {{"kind", kKinds[static_cast<int>(end.kind)]},
          {"percent", end.percent},
          {"percent_text", end.percent_text},
          {"text", end.text},
          {"at", PlaceJson(end.place)}};
}

json TornadoJson(const Tornado& t) {
  json bars = json::array();
  for (const TornadoBar& bar : t.bars) {
    bars.push_back({{"field", std::string(FieldName(bar.field))},
                    {"minus", EndJson(bar.minus)},
                    {"plus", EndJson(bar.plus)},
                    {"anchor", PlaceJson(bar.anchor)}});
  }
  json ticks = json::array();
  for (const TornadoTick& tick : t.ticks) ticks.push_back({{"at", tick.at}, {"text", tick.text}});
  return {{"base", {{"text", t.base_text}, {"at", PlaceJson(t.base)}}},
          {"band", t.band ? json(*t.band) : json(nullptr)},
          {"ticks", std::move(ticks)},
          {"bars", std::move(bars)}};
}

json ViewJson(const Analysis& a, const NumberFormat& format) {
  const AnalysisFigures figures = FiguresOf(a, format);
  return {{"figures",
           {{"npv", figures.npv},
            {"internal_rate", figures.internal_rate},
            {"simple_payback", figures.simple_payback}}},
          {"tornado", TornadoJson(TornadoOf(a, format))}};
}

}  // namespace

json AnalysisTextsToJson() {
  json texts = json::object();
  for (const AnalysisTextEntry& entry : kAnalysisTexts) texts[std::string(entry.key)] = entry.text;
  return texts;
}

json AnalysisToJson(const Analysis& a, const NumberFormat& format) {
  json break_even = json::object();
  for (Field f : kAllFields) {
    break_even[std::string(FieldName(f))] = BreakEvenJson(a.break_even[Index(f)], format);
  }
  json sensitivity = json::object();
  for (const Sensitivity& s : a.sensitivity) {
    json cases = json::array();
    for (const SensitivityCase& c : s.cases) {
      cases.push_back({{"percent", c.percent},
                       {"value", MoneyText(c.value, format)},
                       {"out_of_range", c.out_of_range},
                       {"fault", !c.out_of_range && !c.payback},
                       {"L", c.payback ? json(PaybackText(*c.payback, format)) : json(nullptr)},
                       {"Egyenleg", TextOrNull(c.balance)}});
    }
    sensitivity[std::string(FieldName(s.field))] = std::move(cases);
  }
  json out = json::object();
  out["break_even"] = std::move(break_even);
  out["sensitivity"] = std::move(sensitivity);
  out["npv"] = a.npv ? json(WholeNumberText(*a.npv)) : json(nullptr);
  out["internal_rate"] = BreakEvenJson(a.internal_rate, format);
  out["simple_payback"] = PaybackText({a.simple_payback}, format);
  out["view"] = ViewJson(a, format);
  return out;
}

}  // namespace zr
