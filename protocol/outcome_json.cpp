#include "outcome_json.h"

#include <exception>
#include <new>
#include <string>
#include <utility>
#include <variant>

#include "analysis_json.h"
#include "field_texts.h"
#include "risk_json.h"
#include "verdict.h"

namespace zr {
namespace {

using json = nlohmann::ordered_json;

LineResult ErrorResult(std::string message) {
  return LineResult{json{{"error", std::move(message)}}, true, std::nullopt};
}

// What `make` returns, or the error line for what it throws.
template <typename Result, typename Make>
Result Guarded(Make make) {
  try {
    return make();
  } catch (const std::bad_alloc&) {
    return ErrorResult("not enough memory to evaluate the line");
  } catch (const std::exception& e) {
    return ErrorResult(std::string("the line could not be evaluated: ") + e.what());
  }
}

RunOutcome RunWithOverrides(InputTexts& texts, const NumberFormat& format,
                            const LineOptions& options) {
  for (const auto& [field, text] : options.overrides) texts[Index(field)] = text;
  return CalculationRun(texts, format, options.chart ? ChartUse::kDrawn : ChartUse::kNotDrawn);
}

}  // namespace

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

  json out = json::object();
  out["findings"] = std::move(findings);
  out["texts"] = std::move(texts);
  out["labels"] = std::move(labels);
  out["fault"] = outcome.fault ? json(*outcome.fault) : json(nullptr);
  return out;
}

std::string LineText(const LineResult& result) {
  constexpr auto kReplace = json::error_handler_t::replace;
  if (!result.chart) return result.output.dump(-1, ' ', false, kReplace);
  // The members in order, the chart right after the fault.
  std::string text = "{";
  for (const auto& [key, value] : result.output.items()) {
    if (text.size() > 1) text += ',';
    text += json(key).dump(-1, ' ', false, kReplace);
    text += ':';
    text += value.dump(-1, ' ', false, kReplace);
    if (key == "fault") {
      text += R"(,"chart":)";
      text += ChartJson(*result.chart);
    }
  }
  text += '}';
  return text;
}

LineResult TooLongLineResult() {
  return ErrorResult("the line is longer than " + std::to_string(kMaxLineBytes) + " bytes");
}

std::variant<InputTexts, LineResult> ReadLine(std::string_view line, const NumberFormat& format) {
  using Read = std::variant<InputTexts, LineResult>;
  return Guarded<Read>([&]() -> Read {
    if (line.size() > kMaxLineBytes) return TooLongLineResult();
    auto read = ReadFieldTexts(line, StartupTexts(format));
    if (const auto* error = std::get_if<FieldTextsError>(&read)) {
      return ErrorResult(ProblemText(*error, Wording::kEvaluatorLine));
    }
    return std::move(std::get<InputTexts>(read));
  });
}

std::variant<RunOutcome, LineResult> RunTexts(InputTexts texts, const NumberFormat& format,
                                              const LineOptions& options) {
  return Guarded<std::variant<RunOutcome, LineResult>>(
      [&] { return RunWithOverrides(texts, format, options); });
}

LineResult EvaluateTexts(InputTexts texts, const NumberFormat& format, const LineOptions& options) {
  return Guarded<LineResult>([&] {
    RunOutcome outcome = RunWithOverrides(texts, format, options);
    json out = OutcomeToJson(outcome);
    if (!options.overrides.empty()) {
      json sweep = json::object();
      for (const auto& [field, text] : options.overrides)
        sweep[std::string(FieldName(field))] = text;
      out["sweep"] = std::move(sweep);
    }
    if (options.analysis) out["analysis"] = AnalysisToJson(Analyse(outcome.inputs, format), format);
    if (!options.risk.empty()) {
      out["risk"] = RiskToJson(
          RunRisk(texts, options.risk, options.risk_runs, options.risk_seed, format), format);
    }
    // Last, so the members before it stay as readers of earlier versions know them.
    out["verdict"] = VerdictOf(outcome, format).text;
    if (!options.chart) return LineResult{std::move(out), false, std::nullopt};
    return LineResult{std::move(out), false, std::move(outcome.chart)};
  });
}

LineResult EvaluateLine(std::string_view line, const NumberFormat& format,
                        const LineOptions& options) {
  std::variant<InputTexts, LineResult> read = ReadLine(line, format);
  if (auto* error = std::get_if<LineResult>(&read)) return std::move(*error);
  return EvaluateTexts(std::move(std::get<InputTexts>(read)), format, options);
}

}  // namespace zr
