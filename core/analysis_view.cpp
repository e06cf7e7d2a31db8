#include "analysis_view.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <initializer_list>

#include "number_text.h"

namespace zr {

const std::array<AnalysisTextEntry, static_cast<std::size_t>(AnalysisText::kCount)> kAnalysisTexts =
    {{
        {AnalysisText::kTitle, "title", "Elemzés"},
        {AnalysisText::kBusy, "busy", "Számítás…"},
        {AnalysisText::kDone, "done",
         "Az elemzés a legutóbb kiszámított adatokra vonatkozik (a javított szövegekre, ha volt "
         "hibás mező)."},
        {AnalysisText::kFailed, "failed", "Az elemzés nem sikerült."},
        {AnalysisText::kNoAnalysis, "no_analysis", "Nincs elemzés."},
        {AnalysisText::kNpvCaption, "npv_caption", "Nettó jelenérték, NPV [Ft]:"},
        {AnalysisText::kInternalRateCaption, "internal_rate_caption",
         "Belső megtérülési ráta [%]:"},
        {AnalysisText::kSimplePaybackCaption, "simple_payback_caption",
         "Egyszerű megtérülési idő [év]:"},
        {AnalysisText::kNpvNotComputable, "npv_not_computable", "nem számítható ki"},
        {AnalysisText::kBreakEvenTitle, "break_even_title", "Megtérülési küszöbértékek"},
        {AnalysisText::kBreakEvenIntro, "break_even_intro",
         "Az az érték, amelynél az egyenleg előjelet vált, a többi tizenöt adat változatlanul "
         "hagyásával:"},
        {AnalysisText::kColumnInput, "column_input", "Bemenő adat"},
        {AnalysisText::kColumnCurrent, "column_current", "Jelenlegi érték"},
        {AnalysisText::kColumnBreakEven, "column_break_even", "Küszöbérték"},
        {AnalysisText::kColumnUnit, "column_unit", "Mértékegység"},
        {AnalysisText::kTornadoTitle, "tornado_title", "Érzékenység (tornádó diagram)"},
        {AnalysisText::kTornadoIntro, "tornado_intro",
         "Megtérülési idő, ha egy adat 20 %-kal csökken vagy nő, a többi változatlan (a "
         "legnagyobb hatású adat felül):"},
        {AnalysisText::kLegendMinus, "legend_minus", "az adat −20 %-kal"},
        {AnalysisText::kLegendPlus, "legend_plus", "az adat +20 %-kal"},
        {AnalysisText::kLegendBase, "legend_base", "a jelenlegi megtérülési idő:"},
        {AnalysisText::kAxisTitle, "axis_title", "Megtérülési idő [év]"},
        {AnalysisText::kOutOfRange, "out_of_range", "tartományon kívül"},
        {AnalysisText::kFault, "fault", "nem számítható"},
    }};

std::string_view TextOf(AnalysisText id) {
  return kAnalysisTexts[static_cast<std::size_t>(id)].text;
}

namespace {

// Trailing blanks, colons and the comma before a removed unit.
std::string_view TrimEnd(std::string_view text) {
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t' || text.back() == '\n' ||
                           text.back() == ':' || text.back() == ',')) {
    text.remove_suffix(1);
  }
  return text;
}

}  // namespace

CaptionParts SplitCaption(std::string_view shown) {
  const std::string_view trimmed = TrimEnd(shown);
  const std::size_t open = trimmed.rfind('[');
  const std::size_t close = trimmed.rfind(']');
  if (open == std::string_view::npos || close == std::string_view::npos || close < open) {
    return {std::string(trimmed), {}};
  }
  return {std::string(TrimEnd(trimmed.substr(0, open))),
          std::string(trimmed.substr(open + 1, close - open - 1))};
}

AnalysisFigures FiguresOf(const Analysis& a, const NumberFormat& format) {
  return {a.npv ? WholeNumberText(*a.npv) : std::string(TextOf(AnalysisText::kNpvNotComputable)),
          a.internal_rate.value ? MoneyText(*a.internal_rate.value, format) : a.internal_rate.why,
          PaybackText({a.simple_payback}, format)};
}

namespace {

static_assert(kSensitivitySteps[0] == -20 && kSensitivitySteps[1] == -10 &&
              kSensitivitySteps[2] == 10 && kSensitivitySteps[3] == 20);

// "−20 %": the sign as the guide prints it.
std::string PercentText(int percent) {
  return (percent < 0 ? "\u2212" : "+") + std::to_string(std::abs(percent)) + " %";
}

// The ±20 % case, or the ±10 % one when ±20 % leaves the range and ±10 %
// does not.
const SensitivityCase& Chosen(const SensitivityCase& outer, const SensitivityCase& inner) {
  return outer.out_of_range && !inner.out_of_range ? inner : outer;
}

// A payback, a figure to place on the chart; absent when there is none to show.
using Figure = std::optional<PaybackTime>;

TornadoEnd EndOf(const SensitivityCase& c, const NumberFormat& format) {
  TornadoEnd end;
  end.percent = c.percent;
  end.percent_text = PercentText(c.percent);
  if (c.out_of_range) {
    end.kind = TornadoEnd::Kind::kOutOfRange;
    end.text = TextOf(AnalysisText::kOutOfRange);
  } else if (!c.payback) {
    end.kind = TornadoEnd::Kind::kFault;
    end.text = TextOf(AnalysisText::kFault);
  } else {
    end.kind = c.payback->years ? TornadoEnd::Kind::kYears : TornadoEnd::Kind::kNoPayback;
    end.text = PaybackText(*c.payback, format);
  }
  return end;
}

Figure FigureOf(const SensitivityCase& c) { return c.out_of_range ? Figure() : c.payback; }

// How far a bar reaches: "nincs" on one side of a time is wider than any
// time; nothing but "nincs" has no width.
struct Spread {
  bool to_none = false;
  Money years;
  // Bars that reach "nincs" are equally wide.
  friend bool operator>(const Spread& a, const Spread& b) {
    if (a.to_none != b.to_none) return a.to_none;
    return !a.to_none && a.years > b.years;
  }
};

Spread SpreadOf(std::initializer_list<Figure> figures) {
  std::optional<Money> lo;
  std::optional<Money> hi;
  bool any_none = false;
  for (const Figure& f : figures) {
    if (!f) continue;
    if (!f->years) {
      any_none = true;
      continue;
    }
    lo = lo ? std::min(*lo, *f->years) : *f->years;
    hi = hi ? std::max(*hi, *f->years) : *f->years;
  }
  if (!lo) return {};
  return {any_none, *hi - *lo};
}

std::int64_t FloorDiv(std::int64_t a, std::int64_t b) {
  return a / b - ((a % b != 0) && ((a < 0) != (b < 0)));
}

// The smallest of 1, 2 or 5 times a power of ten (in 0.0001 steps) that is
// at least a fifth of the span.
std::int64_t TickStep(std::int64_t span) {
  for (std::int64_t power = 1;; power *= 10) {
    for (const std::int64_t m : {1, 2, 5}) {
      if (5 * m * power >= span) return m * power;
    }
  }
}

// The time scale: its first and last ticks and their step, in 0.0001 years.
struct Scale {
  std::int64_t from = 0;
  std::int64_t to = 0;
  std::int64_t step = 1;
  double At(std::int64_t years) const {
    return static_cast<double>(years - from) / static_cast<double>(to - from);
  }
};

Scale ScaleOf(const std::vector<Money>& times) {
  std::int64_t lo = times.empty() ? 0 : std::min_element(times.begin(), times.end())->Raw();
  std::int64_t hi =
      times.empty() ? 100 * Money::kScale : std::max_element(times.begin(), times.end())->Raw();
  Scale s;
  s.step = TickStep(std::max<std::int64_t>(hi - lo, Money::kScale / 2));
  s.from = std::max<std::int64_t>(0, FloorDiv(lo, s.step) * s.step);
  s.to = -FloorDiv(-hi, s.step) * s.step;
  if (s.to <= s.from) s.to = s.from + s.step;
  return s;
}

TornadoPlace PlaceOf(const Figure& f, const Scale& scale) {
  if (!f) return {};
  if (!f->years) return {TornadoPlace::Kind::kBand, 0};
  return {TornadoPlace::Kind::kTime, scale.At(f->years->Raw())};
}

// The lower of two places: a time before the band, the band before nowhere.
TornadoPlace Lower(const TornadoPlace& a, const TornadoPlace& b) {
  if (a.kind == TornadoPlace::Kind::kNowhere) return b;
  if (b.kind == TornadoPlace::Kind::kNowhere) return a;
  if (a.kind == TornadoPlace::Kind::kBand) return b;
  if (b.kind == TornadoPlace::Kind::kBand) return a;
  return a.at <= b.at ? a : b;
}

}  // namespace

Tornado TornadoOf(const Analysis& a, const NumberFormat& format) {
  struct Row {
    Field field;
    const SensitivityCase* minus;
    const SensitivityCase* plus;
    Spread spread;
  };
  std::vector<Row> rows;
  for (const Sensitivity& s : a.sensitivity) {
    const SensitivityCase& minus = Chosen(s.cases[0], s.cases[1]);
    const SensitivityCase& plus = Chosen(s.cases[3], s.cases[2]);
    rows.push_back(
        {s.field, &minus, &plus, SpreadOf({FigureOf(minus), FigureOf(plus), a.payback})});
  }
  std::stable_sort(rows.begin(), rows.end(),
                   [](const Row& x, const Row& y) { return x.spread > y.spread; });

  Tornado t;
  std::vector<Money> times;
  const auto collect = [&](const Figure& f) {
    if (!f) return;
    if (f->years) {
      times.push_back(*f->years);
    } else {
      t.band = std::string(kNoPaybackText);
    }
  };
  collect(a.payback);
  for (const Row& r : rows) {
    collect(FigureOf(*r.minus));
    collect(FigureOf(*r.plus));
  }
  const Scale scale = ScaleOf(times);

  t.base_text =
      a.payback ? PaybackText(*a.payback, format) : std::string(TextOf(AnalysisText::kFault));
  t.base = PlaceOf(a.payback, scale);
  for (const Row& r : rows) {
    TornadoBar bar{r.field, EndOf(*r.minus, format), EndOf(*r.plus, format), {}};
    bar.minus.place = PlaceOf(FigureOf(*r.minus), scale);
    bar.plus.place = PlaceOf(FigureOf(*r.plus), scale);
    bar.anchor = a.payback ? t.base : Lower(bar.minus.place, bar.plus.place);
    t.bars.push_back(std::move(bar));
  }
  for (std::int64_t tick = scale.from; tick <= scale.to; tick += scale.step) {
    t.ticks.push_back({scale.At(tick), RealText(Money::FromRaw(tick).ToDouble(), format)});
  }
  return t;
}

}  // namespace zr
