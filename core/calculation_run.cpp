#include "calculation_run.h"

#include <iterator>

#include "arithmetic_fault.h"
#include "cash_flow_plot.h"
#include "chart_frame.h"
#include "number_text.h"
#include "payback.h"
#include "period_series.h"

namespace zr {
namespace {

constexpr auto kLabelNames = std::to_array<std::string_view>({
    "Valberuhazasb",
    "Hozamb",
    "Eveskoltsb",
    "Karbeveskoltsb",
    "Uzemeveskoltsb",
    "Egyebeveskoltsb",
    "Osszeskoltsb",
    "Szolarhoarb",
    "Megtakaritevesb",
    "Egyenlegb",
    "L",
});
static_assert(kLabelNames.size() == kResultLabelCount, "one name per value label");

void SetLabel(LabelTexts& labels, ResultLabel label, std::string text) {
  labels[static_cast<std::size_t>(label)] = std::move(text);
}

// Fields read before the subsidised investment is shown; the rest after it.
constexpr Field kFirstRead[] = {Field::Elettartam, Field::Beruhazas, Field::Tamogatas};

}  // namespace

std::string_view LabelName(ResultLabel label) {
  return kLabelNames[static_cast<std::size_t>(label)];
}

std::string PaybackText(const PaybackTime& payback, const NumberFormat& format) {
  return payback.years ? MoneyText(*payback.years, format) : std::string(kNoPaybackText);
}

RunOutcome CalculationRun(const InputTexts& texts, const NumberFormat& format, ChartUse chart_use) {
  RunOutcome out;
  const bool drawn = chart_use == ChartUse::kDrawn;
  if (drawn) out.chart = {Cls{}, DrawWidth{2}};

  out.corrected = texts;
  Corrections validated = CorrectInputs(out.corrected, format);
  out.findings = std::move(validated.findings);

  // The inputs a run has read: where the subsidised investment cannot be
  // computed, only the fields it is computed from.
  InputSet& in = out.inputs;
  PeriodSeries series;
  bool plotting = false;
  try {
    for (Field f : kFirstRead) in[f] = validated.values[f];
    const Money V = SubsidisedInvestment(in.Beruhazas, in.Tamogatas);
    out.results.Valberuhazas = V;
    SetLabel(out.labels, ResultLabel::Valberuhazasb, MoneyText(V, format));
    in = validated.values;

    const PeriodModel shown = MakePeriodModel(in, V, YieldOf(in), in.Beruhazas);
    const YearlyFigures y = AnnualEconomics(in, shown);
    out.results.yearly = y;
    const std::pair<ResultLabel, std::int32_t> yearly_labels[] = {
        {ResultLabel::Hozamb, y.Hozam},
        {ResultLabel::Eveskoltsb, y.Eveskolts},
        {ResultLabel::Karbeveskoltsb, y.Karbeveskolts},
        {ResultLabel::Uzemeveskoltsb, y.Uzemeveskolts},
        {ResultLabel::Egyebeveskoltsb, y.Egyebeveskolts},
        {ResultLabel::Osszeskoltsb, y.Osszeskolts},
        {ResultLabel::Szolarhoarb, y.Szolarhoar},
        {ResultLabel::Megtakaritevesb, y.Megtakariteves},
        {ResultLabel::Egyenlegb, y.Egyenleg},
    };
    for (const auto& [label, value] : yearly_labels) {
      SetLabel(out.labels, label, WholeNumberText(value));
    }

    // The payback search and the chart charge maintenance and other costs
    // on the subsidised investment.
    const PeriodModel model = ChargedOn(shown, in, V);
    const ModelBounds bounds(model);
    out.results.Megterulesiido = PaybackSearch(model, bounds);
    SetLabel(out.labels, ResultLabel::L, PaybackText({out.results.Megterulesiido}, format));

    plotting = true;
    if (drawn || !SeriesCertainlyFits(model, in.Elettartam, bounds)) {
      EvaluatePeriodSeries(model, in.Elettartam, series);
    }
  } catch (const ArithmeticFault&) {
    out.fault = std::string(kFaultMessage);
  }
  if (!drawn) return out;

  if (plotting) {
    // Also after a fault among the chart points: the curves so far, then the
    // frame, marks and caption.
    ChartOperations plot = PlotChart(series.points, series.ChartScale, Dbl(in.Elettartam));
    out.chart.reserve(out.chart.size() + plot.size());
    out.chart.insert(out.chart.end(), std::make_move_iterator(plot.begin()),
                     std::make_move_iterator(plot.end()));
  } else {
    AppendChartFrame(out.chart);
  }
  return out;
}

}  // namespace zr
