#include "variants.h"

#include <algorithm>
#include <optional>
#include <stdexcept>

#include "analysis.h"
#include "analysis_view.h"
#include "arithmetic_fault.h"
#include "break_even.h"
#include "economics.h"
#include "number_text.h"
#include "period_series.h"
#include "variants_plot.h"
#include "verdict.h"

namespace zr {

const std::array<VariantsTextEntry, static_cast<std::size_t>(VariantsText::kCount)> kVariantsTexts =
    {{
        {VariantsText::kTitle, "title", "Változatok"},
        {VariantsText::kIntro, "intro",
         "Két–négy forgatókönyv egymás mellett, mindegyik úgy számolva, ahogy a főablak "
         "számolná."},
        {VariantsText::kTooFew, "too_few",
         "Az összehasonlításhoz legalább két változat kell: adja hozzá a jelenlegi "
         "forgatókönyvet, vagy nyisson meg forgatókönyv-fájlt."},
        {VariantsText::kFull, "full",
         "Legfeljebb négy változat hasonlítható össze; újabbat egy változat eltávolítása után "
         "adhat hozzá."},
        {VariantsText::kCurrent, "current", "Jelenlegi"},
        {VariantsText::kUnnamed, "unnamed", "változat"},
        {VariantsText::kAddCurrent, "add_current", "A jelenlegi forgatókönyv hozzáadása"},
        {VariantsText::kAddFile, "add_file", "Forgatókönyv megnyitása…"},
        {VariantsText::kRemove, "remove", "Eltávolítás"},
        {VariantsText::kSave, "save", "Változatok mentése…"},
        {VariantsText::kInputsTitle, "inputs_title", "Bemenő adatok"},
        {VariantsText::kResultsTitle, "results_title", "Eredmények"},
        {VariantsText::kVerdictCaption, "verdict_caption", "Értékelés"},
        {VariantsText::kDiffers, "differs", "≠"},
        {VariantsText::kBestBalance, "best_balance", "★"},
        {VariantsText::kShortestPayback, "shortest_payback", "★"},
        {VariantsText::kMarksLegend, "marks_legend",
         "≠: a változatonként eltérő bemenő adat. ★: a legjobb egyenleg, illetve a legrövidebb "
         "megtérülési idő (egyenlőségnél mindegyik egyenlő változat megjelölve)."},
        {VariantsText::kChartTitle, "chart_title", "Költség és haszon változatonként"},
        {VariantsText::kSaved, "saved", "A változatok mentve:"},
    }};

std::string_view TextOf(VariantsText id) {
  return kVariantsTexts[static_cast<std::size_t>(id)].text;
}

namespace {

std::string Trimmed(const std::string& text) {
  const auto first = text.find_first_not_of(" \t\r\n");
  if (first == std::string::npos) return {};
  return text.substr(first, text.find_last_not_of(" \t\r\n") - first + 1);
}

// The figure the run reads from a validated text; a text that does not fit
// Money (the run faults on it) is compared as text.
struct ReadFigure {
  std::optional<Money> value;
  std::string text;
  bool operator==(const ReadFigure& other) const {
    return value || other.value ? value == other.value : text == other.text;
  }
};

ReadFigure FigureOf(const std::string& text, const NumberFormat& format) {
  const auto parsed = NumberText::Parse(text, format);
  return {parsed ? parsed->ToMoney() : std::nullopt, text};
}

// One variant's run and the figures the table adds to it.
struct VariantRun {
  RunOutcome outcome;
  std::string npv;
  std::string internal_rate;
  std::string verdict;
  bool computed = false;  // the run ended without a fault
};

VariantRun RunOf(const Variant& variant, const NumberFormat& format) {
  VariantRun run;
  run.outcome = CalculationRun(variant.texts, format, ChartUse::kNotDrawn);
  run.computed = !run.outcome.fault && run.outcome.results.yearly.has_value();
  run.verdict = VerdictOf(run.outcome, format).text;
  if (!run.computed) {
    run.npv = TextOf(AnalysisText::kFault);
    run.internal_rate = TextOf(AnalysisText::kFault);
    return run;
  }
  const InputSet& in = run.outcome.inputs;
  const std::optional<std::int64_t> npv = NetPresentValue(in);
  run.npv = npv ? WholeNumberText(*npv) : std::string(TextOf(AnalysisText::kNpvNotComputable));
  const BreakEven rate = BreakEvenValue(in, Field::Kamatlab);
  run.internal_rate = rate.value ? MoneyText(*rate.value, format) : rate.why;
  return run;
}

// Marks every computed variant whose key equals the best; `better(a, b)`
// says a is better than b; a variant without a key (nullopt) takes no part.
template <typename Key, typename Better>
std::vector<bool> MarkBest(const std::vector<std::optional<Key>>& keys, Better better) {
  std::vector<bool> marks(keys.size(), false);
  std::optional<Key> best;
  std::size_t taking_part = 0;
  for (const auto& key : keys) {
    if (!key) continue;
    ++taking_part;
    if (!best || better(*key, *best)) best = key;
  }
  if (taking_part < kMinVariants) return marks;
  for (std::size_t i = 0; i < keys.size(); ++i) {
    marks[i] = keys[i] && !better(*best, *keys[i]) && !better(*keys[i], *best);
  }
  return marks;
}

// The chart points of a computed run over `period` years, as many as could
// be evaluated.
std::vector<ChartPoint> PointsOver(const RunOutcome& outcome, Money period) {
  PeriodSeries series;
  if (!outcome.results.yearly || !outcome.results.Valberuhazas) return {};
  try {
    const Money V = *outcome.results.Valberuhazas;
    const PeriodModel model = MakePeriodModel(outcome.inputs, V, outcome.results.yearly->Hozam, V);
    EvaluatePeriodSeries(model, period, series);
  } catch (const ArithmeticFault&) {
    // The points before the fault are drawn.
  }
  return series.points;
}

}  // namespace

std::vector<std::string> VariantNames(std::span<const Variant> variants) {
  std::vector<std::string> names;
  for (std::size_t i = 0; i < variants.size(); ++i) {
    std::string name = Trimmed(variants[i].name);
    if (name.empty())
      name = std::to_string(i + 1) + ". " + std::string(TextOf(VariantsText::kUnnamed));
    const std::string base = name;
    for (int n = 2; std::find(names.begin(), names.end(), name) != names.end(); ++n) {
      name = base + " (" + std::to_string(n) + ")";
    }
    names.push_back(std::move(name));
  }
  return names;
}

VariantsTable CompareVariants(std::span<const Variant> variants, const NumberFormat& format) {
  if (variants.size() < kMinVariants || variants.size() > kMaxVariants) {
    throw std::invalid_argument("a comparison takes two to four variants");
  }
  VariantsTable table;
  table.names = VariantNames(variants);
  std::vector<VariantRun> runs;
  for (const Variant& variant : variants) runs.push_back(RunOf(variant, format));

  for (const Field field : kAllFields) {
    VariantRow row{VariantRow::Kind::kInput, std::string(FieldName(field)), {}, false, {}};
    for (const VariantRun& run : runs) row.cells.push_back(run.outcome.corrected[Index(field)]);
    const ReadFigure first = FigureOf(row.cells.front(), format);
    row.differs = std::any_of(row.cells.begin() + 1, row.cells.end(), [&](const std::string& cell) {
      return !(FigureOf(cell, format) == first);
    });
    table.rows.push_back(std::move(row));
  }

  std::vector<std::optional<std::int32_t>> balances;
  std::vector<std::optional<PaybackTime>> paybacks;
  for (const VariantRun& run : runs) {
    balances.push_back(run.computed ? std::optional(run.outcome.results.yearly->Egyenleg)
                                    : std::nullopt);
    paybacks.push_back(run.computed ? std::optional(PaybackTime{run.outcome.results.Megterulesiido})
                                    : std::nullopt);
  }
  table.best_balance = MarkBest(balances, [](std::int32_t a, std::int32_t b) { return a > b; });
  // "nincs" is longer than any time, and is never marked.
  table.shortest_payback = MarkBest(paybacks, [](const PaybackTime& a, const PaybackTime& b) {
    return a.years && (!b.years || *a.years < *b.years);
  });
  for (std::size_t i = 0; i < runs.size(); ++i) {
    if (paybacks[i] && !paybacks[i]->years) table.shortest_payback[i] = false;
  }

  for (std::size_t l = 0; l < kResultLabelCount; ++l) {
    const auto label = static_cast<ResultLabel>(l);
    VariantRow row{VariantRow::Kind::kResult, std::string(LabelName(label)), {}, false, {}};
    for (const VariantRun& run : runs) row.cells.push_back(run.outcome.labels[l].value_or(""));
    if (label == ResultLabel::Egyenlegb) row.marked = table.best_balance;
    if (label == ResultLabel::L) row.marked = table.shortest_payback;
    table.rows.push_back(std::move(row));
  }
  const auto add = [&](VariantRow::Kind kind, const char* key, std::string VariantRun::*cell) {
    VariantRow row{kind, key, {}, false, {}};
    for (const VariantRun& run : runs) row.cells.push_back(run.*cell);
    table.rows.push_back(std::move(row));
  };
  add(VariantRow::Kind::kNpv, "npv", &VariantRun::npv);
  add(VariantRow::Kind::kInternalRate, "internal_rate", &VariantRun::internal_rate);
  add(VariantRow::Kind::kVerdict, "verdict", &VariantRun::verdict);

  // One time axis for all: the longest period any variant studies.
  Money period = MoneyOf(1);
  for (const VariantRun& run : runs) {
    const ReadFigure read = FigureOf(run.outcome.corrected[Index(Field::Elettartam)], format);
    if (read.value && *read.value > period) period = *read.value;
  }
  std::vector<VariantCurves> curves;
  for (std::size_t i = 0; i < runs.size(); ++i) {
    curves.push_back({table.names[i], PointsOver(runs[i].outcome, period)});
  }
  table.chart = {Cls{}, DrawWidth{2}};
  const ChartOperations plot = PlotVariants(curves, Dbl(period));
  table.chart.insert(table.chart.end(), plot.begin(), plot.end());
  return table;
}

}  // namespace zr
