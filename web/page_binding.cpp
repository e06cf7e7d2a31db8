// The page's entry into the core: one calculation run per call, answered in
// the evaluator's JSON, so the page shows exactly the evaluator's figures,
// findings, replacements, fault and chart operations.
//
// No exception leaves a call: whatever fails inside (memory, say) is answered
// as {"error": ...}, which the page shows as a failed run.
#include <emscripten/emscripten.h>

#include <algorithm>
#include <memory>
#include <string>

#include "analysis.h"
#include "analysis_json.h"
#include "calculation_run.h"
#include "energy_price.h"
#include "field_texts.h"
#include "number_text.h"
#include "outcome_json.h"
#include "risk.h"
#include "risk_json.h"
#include "risk_view.h"
#include "scenario_file.h"
#include "sensitivity.h"
#include "separator.h"
#include "variants_json.h"

namespace {

// The answer lives until the next call; the page copies it at once.
std::string answer;

// The risk runs under way (zr_risk_start to zr_risk_result), with the
// scenario and ranges they were started with.
struct RiskWork {
  zr::RiskRunner runner;
  std::int64_t runs;
  std::optional<zr::Money> period;
};
std::unique_ptr<RiskWork> risk_work;

using json = nlohmann::ordered_json;

// The box texts of `value` (an object of field texts, missing ones taking
// their start-up text), or nullopt.
std::optional<zr::InputTexts> TextsOf(const nlohmann::json& value, const zr::NumberFormat& format) {
  if (!value.is_object()) return std::nullopt;
  const auto read = zr::ReadFieldTexts(value.dump(), zr::StartupTexts(format));
  if (const auto* texts = std::get_if<zr::InputTexts>(&read)) return *texts;
  return std::nullopt;
}

json ProblemJson(const zr::RangeProblem& p) {
  return {{"row", p.row}, {"column", p.column}, {"message", p.message}};
}

// What the risk view typed, read as the window reads it: {"ranges",
// "runs", "seed"}, or the first problem as {"problem": {"row", "column",
// "message"}} (row null for the runs and the seed).
struct RiskRequest {
  std::vector<zr::RiskRange> ranges;
  std::int64_t runs = 0;
  std::uint64_t seed = 0;
};
std::variant<RiskRequest, json> ReadRiskRequest(const nlohmann::json& in,
                                                const zr::NumberFormat& format) {
  const auto rows = zr::RangeRowsFromJson(in.value("rows", nlohmann::json()));
  if (!rows) return json{{"error", "the rows are not range rows"}};
  const auto ranges = zr::ReadRanges(*rows, format);
  if (const auto* p = std::get_if<zr::RangeProblem>(&ranges)) {
    json problem = ProblemJson(*p);
    if (p->row >= rows->size()) problem["row"] = nullptr;
    return json{{"problem", std::move(problem)}};
  }
  const auto runs = zr::ReadRuns(in.value("runs", std::string()));
  if (const auto* message = std::get_if<std::string>(&runs)) {
    return json{{"problem", {{"row", nullptr}, {"column", "runs"}, {"message", *message}}}};
  }
  const auto seed = zr::ReadSeed(in.value("seed", std::string()));
  if (const auto* message = std::get_if<std::string>(&seed)) {
    return json{{"problem", {{"row", nullptr}, {"column", "seed"}, {"message", *message}}}};
  }
  return RiskRequest{std::get<std::vector<zr::RiskRange>>(ranges), std::get<std::int64_t>(runs),
                     std::get<std::uint64_t>(seed)};
}

// The page's separator, checked as every other entry point checks one.
zr::NumberFormat FormatWith(const char* separator) {
  if (separator == nullptr || *separator == '\0') return zr::NumberFormat::Hungarian();
  return zr::FormatWithSeparator(separator);
}

// `make` fills `answer`; a failure inside gives the error answer instead. The
// error answer is a literal, so giving it needs no memory.
template <typename Make>
const char* Answer(Make make) noexcept {
  try {
    make();
    return answer.c_str();
  } catch (...) {
    answer.clear();
    return R"({"error":"the core failed"})";
  }
}

// As Answer, for a call about the risk runs started last: the error answer
// when none were started.
template <typename Make>
const char* RiskAnswer(Make make) noexcept {
  return Answer([&] {
    if (!risk_work) {
      answer = R"({"error":"no risk runs started"})";
      return;
    }
    make();
  });
}

}  // namespace

extern "C" {

// `line` is an evaluator input line: an object of box texts, where a missing
// field takes its start-up text ("{}" is the start-up run).
EMSCRIPTEN_KEEPALIVE const char* zr_evaluate(const char* line, const char* separator) {
  return Answer([&] { answer = zr::LineText(zr::EvaluateLine(line, FormatWith(separator))); });
}

// The text the window prints for a floating value in the chart.
EMSCRIPTEN_KEEPALIVE const char* zr_real_text(double value, const char* separator) {
  return Answer([&] { answer = zr::RealText(value, FormatWith(separator)); });
}

// Why the evaluator would refuse `separator` as its decimal separator (a
// digit, a sign, a blank, ...), or "" when it can be one.
EMSCRIPTEN_KEEPALIVE const char* zr_separator_problem(const char* separator) {
  return Answer([&] { answer = zr::SeparatorProblem(separator).value_or(""); });
}

// The analysis of a scenario: `line` holds the texts a run left in the boxes
// (its corrected texts). Answers {"inputs": field -> the value used,
// "L": the payback text, "analysis": the evaluator's analysis member}, or
// {"error": ...} for a line that is not an object of field texts.
EMSCRIPTEN_KEEPALIVE const char* zr_analyse(const char* line, const char* separator) {
  return Answer([&] {
    using json = nlohmann::ordered_json;
    const zr::NumberFormat format = FormatWith(separator);
    json out = json::object();
    // Read as the evaluator reads a line: what it refuses is refused here.
    const auto read = zr::ReadFieldTexts(line, zr::StartupTexts(format));
    if (const auto* error = std::get_if<zr::FieldTextsError>(&read)) {
      out["error"] = zr::ProblemText(*error, zr::Wording::kEvaluatorLine);
    } else {
      const zr::InputTexts& texts = std::get<zr::InputTexts>(read);
      const zr::InputSet inputs = zr::CalculationRun(texts, format).inputs;
      json values = json::object();
      for (zr::Field f : zr::kAllFields) {
        values[std::string(zr::FieldName(f))] = zr::MoneyText(inputs[f], format);
      }
      const auto base = zr::PaybackAndBalanceOf(inputs);
      out["inputs"] = std::move(values);
      out["L"] = base.payback ? json(zr::PaybackText(*base.payback, format)) : json(nullptr);
      out["analysis"] = zr::AnalysisToJson(zr::Analyse(inputs, format), format);
    }
    answer = out.dump(-1, ' ', false, json::error_handler_t::replace);
  });
}

// The scenario file the window saves for the box texts and the carrier keys
// of `line` (an object of box texts, as zr_evaluate takes, with the carrier
// keys of the file when the carrier is known), byte for byte; "" for a line
// that is not one.
EMSCRIPTEN_KEEPALIVE const char* zr_scenario_text(const char* line, const char* separator) {
  return Answer([&] {
    answer = zr::ScenarioTextOfLine(line, FormatWith(separator)).value_or(std::string());
  });
}

// A scenario file as the window opens it: {"texts": field -> text,
// "carrier": carrier key -> text, or null when the file names no carrier},
// or {"error": why it is no scenario, a Hungarian sentence}.
EMSCRIPTEN_KEEPALIVE const char* zr_parse_scenario(const char* content, const char* separator) {
  return Answer([&] {
    using json = nlohmann::ordered_json;
    json out = json::object();
    const auto parsed = zr::ParseScenario(content, FormatWith(separator));
    if (const auto* reason = std::get_if<std::string>(&parsed)) {
      out["error"] = *reason;
    } else {
      const zr::Scenario& scenario = std::get<zr::Scenario>(parsed);
      json texts = json::object();
      for (zr::Field f : zr::kAllFields) {
        texts[std::string(zr::FieldName(f))] = scenario.texts[zr::Index(f)];
      }
      out["texts"] = std::move(texts);
      json carrier = nullptr;
      if (scenario.carrier) {
        const zr::CarrierTexts keys = zr::CarrierTextsOf(*scenario.carrier);
        carrier = json::object();
        for (std::size_t i = 0; i < keys.size(); ++i) {
          carrier[std::string(zr::kCarrierKeys[i])] = *keys[i];
        }
      }
      out["carrier"] = std::move(carrier);
    }
    answer = out.dump(-1, ' ', false, json::error_handler_t::replace);
  });
}

// The avoided CO₂ of a run: `line` holds the texts the run left in the boxes
// and the carrier keys when the carrier is known. Answers {"text", "basis"}:
// the figures and what they assume, or why there are none (without a
// carrier, how to get them), both Hungarian; {"error": ...} for a line that
// is not an object of field texts or names a wrong carrier.
EMSCRIPTEN_KEEPALIVE const char* zr_avoided_co2(const char* line, const char* separator) {
  return Answer([&] {
    using json = nlohmann::ordered_json;
    const zr::NumberFormat format = FormatWith(separator);
    json out = json::object();
    zr::CarrierTexts carrier_texts;
    const auto read = zr::ReadFieldTexts(line, zr::StartupTexts(format), &carrier_texts);
    const auto carrier = zr::CarrierOfTexts(carrier_texts, format);
    if (const auto* error = std::get_if<zr::FieldTextsError>(&read)) {
      out["error"] = zr::ProblemText(*error, zr::Wording::kEvaluatorLine);
    } else if (const auto* reason = std::get_if<std::string>(&carrier)) {
      out["error"] = *reason;
    } else {
      const zr::InputSet inputs =
          zr::CalculationRun(std::get<zr::InputTexts>(read), format, zr::ChartUse::kNotDrawn)
              .inputs;
      const zr::AvoidedCo2 co2 =
          zr::AvoidedCo2Of(std::get<std::optional<zr::CarrierChoice>>(carrier), inputs, format);
      out["text"] = co2.text;
      out["basis"] = co2.basis;
    }
    answer = out.dump(-1, ' ', false, json::error_handler_t::replace);
  });
}

// The comparison of variants: `request` is {"variants": [{"name", "texts":
// field -> text}, ...]}, 2 to 4 of them, a missing text taking its start-up
// one. Answers the evaluator's --variants object (names, rows, marks,
// chart), or {"error": ...}.
EMSCRIPTEN_KEEPALIVE const char* zr_compare(const char* request, const char* separator) {
  return Answer([&] {
    using json = nlohmann::ordered_json;
    const zr::NumberFormat format = FormatWith(separator);
    const json in = json::parse(request, nullptr, /*allow_exceptions=*/false);
    std::vector<zr::Variant> variants;
    std::string error;
    if (!in.is_object() || !in.contains("variants") || !in["variants"].is_array()) {
      error = "the request has no list of variants";
    } else {
      for (const json& entry : in["variants"]) {
        const json texts = entry.is_object() ? entry.value("texts", json::object()) : json();
        const auto read = zr::ReadFieldTexts(texts.dump(), zr::StartupTexts(format));
        if (const auto* problem = std::get_if<zr::FieldTextsError>(&read)) {
          error = zr::ProblemText(*problem, zr::Wording::kEvaluatorLine);
          break;
        }
        const json name = entry.value("name", json(""));
        variants.push_back({name.is_string() ? name.get<std::string>() : std::string(),
                            std::get<zr::InputTexts>(read)});
      }
      if (error.empty() &&
          (variants.size() < zr::kMinVariants || variants.size() > zr::kMaxVariants)) {
        error = "a comparison takes 2 to 4 variants";
      }
    }
    answer = error.empty()
                 ? zr::VariantsText(zr::CompareVariants(variants, format))
                 : json{{"error", error}}.dump(-1, ' ', false, json::error_handler_t::replace);
  });
}

// The energy price helper's carriers: [{"key", "name", "unit", "heating_value",
// "efficiency", "co2"}], the defaults as texts ("" where the user must give one).
EMSCRIPTEN_KEEPALIVE const char* zr_energy_carriers(const char* separator) {
  return Answer([&] {
    const zr::NumberFormat format = FormatWith(separator);
    const auto text = [&](const std::optional<zr::Money>& value) {
      return value ? zr::MoneyText(*value, format) : std::string();
    };
    nlohmann::ordered_json out = nlohmann::ordered_json::array();
    for (const zr::CarrierInfo& info : zr::Carriers()) {
      out.push_back({{"key", info.key},
                     {"name", info.name},
                     {"unit", info.unit},
                     {"heating_value", text(info.heating_value_kwh)},
                     {"efficiency", text(info.efficiency_percent)},
                     {"co2", text(info.co2_kg_per_fuel_kwh)}});
    }
    answer = out.dump();
  });
}

// The conversion of the energy price helper. `request` holds "carrier" (its
// index in zr_energy_carriers) and the texts "unit_price", "heating_value",
// "efficiency", "yearly_use", "band", "price_above_band", "co2", "Akoll",
// "Qkoll", "Elettartam"; a missing text is empty. Answers {"price": the text
// for box 15 or null, "message", "co2"}.
EMSCRIPTEN_KEEPALIVE const char* zr_energy_price(const char* request, const char* separator) {
  return Answer([&] {
    const auto in = nlohmann::json::parse(request);
    const auto text = [&](const char* key) { return in.value(key, std::string()); };
    zr::EnergyPriceInput input;
    const auto index = in.value("carrier", std::size_t{0});
    input.carrier = zr::Carriers().at(index).carrier;
    input.unit_price = text("unit_price");
    input.heating_value = text("heating_value");
    input.efficiency_percent = text("efficiency");
    input.yearly_use = text("yearly_use");
    input.band = text("band");
    input.price_above_band = text("price_above_band");
    input.co2_factor = text("co2");
    input.akoll = text("Akoll");
    input.qkoll = text("Qkoll");
    input.elettartam = text("Elettartam");
    const zr::EnergyPriceResult r = zr::ConvertEnergyPrice(input, FormatWith(separator));
    nlohmann::ordered_json out = {{"price", r.price_text ? nlohmann::ordered_json(*r.price_text)
                                                         : nlohmann::ordered_json(nullptr)},
                                  {"message", r.message},
                                  {"co2", r.co2_text}};
    answer = out.dump();
  });
}

// The risk view's range rows. `request` holds "scenario" (box texts, as
// zr_evaluate takes them) and optionally "rows" (the rows shown), "former"
// (the scenario they were offered for: rows left as offered follow the new
// one), "add" (a field whose offered row goes last) or "reset": true (the
// defaults again). Answers {"rows": [...], "addable": [field names not in
// the rows]}, or {"error": ...}.
EMSCRIPTEN_KEEPALIVE const char* zr_risk_rows(const char* request, const char* separator) {
  return Answer([&] {
    const zr::NumberFormat format = FormatWith(separator);
    const auto in = nlohmann::json::parse(request, nullptr, false);
    const auto scenario =
        in.is_object() ? TextsOf(in.value("scenario", nlohmann::json()), format) : std::nullopt;
    if (!scenario) {
      answer = R"({"error":"no scenario"})";
      return;
    }
    std::vector<zr::RangeTexts> rows;
    if (in.contains("rows") && !in.value("reset", false)) {
      const auto given = zr::RangeRowsFromJson(in["rows"]);
      if (!given) {
        answer = R"({"error":"the rows are not range rows"})";
        return;
      }
      rows = *given;
      if (const auto former = TextsOf(in.value("former", nlohmann::json()), format)) {
        zr::FollowScenario(rows, *former, *scenario, format);
      }
    } else {
      rows = zr::DefaultRanges(*scenario, format);
    }
    if (in.contains("add") && in["add"].is_string()) {
      const std::string name = in["add"];
      for (const zr::Field f : zr::kAllFields) {
        const bool listed = std::any_of(rows.begin(), rows.end(),
                                        [&](const zr::RangeTexts& r) { return r.field == f; });
        if (zr::FieldName(f) == name && !listed)
          rows.push_back(zr::OfferedRange(f, *scenario, format));
      }
    }
    json addable = json::array();
    for (const zr::Field f : zr::kAllFields) {
      if (std::none_of(rows.begin(), rows.end(),
                       [&](const zr::RangeTexts& r) { return r.field == f; })) {
        addable.push_back(std::string(zr::FieldName(f)));
      }
    }
    answer = json{{"rows", zr::RangeRowsToJson(rows)}, {"addable", std::move(addable)}}.dump(
        -1, ' ', false, json::error_handler_t::replace);
  });
}

// Starts risk runs: `request` holds "scenario" (box texts), "rows" (range
// rows), "runs" and "seed" (texts). Answers {"runs": N} when they can
// start, else {"problem": {"row", "column", "message"}} for the first wrong
// text (row null for the runs, "column" then "runs" or "seed").
EMSCRIPTEN_KEEPALIVE const char* zr_risk_start(const char* request, const char* separator) {
  return Answer([&] {
    risk_work.reset();
    const zr::NumberFormat format = FormatWith(separator);
    const auto in = nlohmann::json::parse(request, nullptr, false);
    const auto scenario =
        in.is_object() ? TextsOf(in.value("scenario", nlohmann::json()), format) : std::nullopt;
    if (!scenario) {
      answer = R"({"error":"no scenario"})";
      return;
    }
    auto read = ReadRiskRequest(in, format);
    if (auto* problem = std::get_if<json>(&read)) {
      answer = problem->dump(-1, ' ', false, json::error_handler_t::replace);
      return;
    }
    RiskRequest& r = std::get<RiskRequest>(read);
    const auto period = zr::FixedPeriod(*scenario, r.ranges, format);
    risk_work = std::make_unique<RiskWork>(
        RiskWork{zr::RiskRunner(*scenario, std::move(r.ranges), r.seed, format), r.runs, period});
    answer = json{{"runs", r.runs}, {"status", zr::ProgressText(0, r.runs)}}.dump();
  });
}

// Makes up to `count` more of the runs started; answers {"done": N,
// "status": the progress text}.
EMSCRIPTEN_KEEPALIVE const char* zr_risk_step(double count) {
  return RiskAnswer([&] {
    const auto n =
        std::min(static_cast<std::int64_t>(count), risk_work->runs - risk_work->runner.Done());
    if (n > 0) risk_work->runner.Run(n);
    answer = json{{"done", risk_work->runner.Done()},
                  {"status", zr::ProgressText(risk_work->runner.Done(), risk_work->runs)}}
                 .dump(-1, ' ', false, json::error_handler_t::replace);
  });
}

// The figures of the runs made: what the risk view shows (RiskViewToJson).
EMSCRIPTEN_KEEPALIVE const char* zr_risk_result(const char* separator) {
  return RiskAnswer([&] {
    const zr::NumberFormat format = FormatWith(separator);
    const zr::RiskResult result = risk_work->runner.Result();
    answer = zr::RiskViewToJson(result, risk_work->period, format)
                 .dump(-1, ' ', false, json::error_handler_t::replace);
  });
}

// The "risk" member the evaluator writes for the runs made, byte for byte.
EMSCRIPTEN_KEEPALIVE const char* zr_risk_json(const char* separator) {
  return RiskAnswer([&] {
    answer = zr::RiskToJson(risk_work->runner.Result(), FormatWith(separator))
                 .dump(-1, ' ', false, json::error_handler_t::replace);
  });
}

}  // extern "C"
