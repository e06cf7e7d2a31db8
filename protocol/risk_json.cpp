#include "risk_json.h"

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

}  // namespace zr
