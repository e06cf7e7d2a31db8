#include "analysis_json.h"

#include <string>

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

}  // namespace

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
  return out;
}

}  // namespace zr
