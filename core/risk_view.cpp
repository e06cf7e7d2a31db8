#include "risk_view.h"

#include <algorithm>
#include <limits>

#include "calculation_run.h"
#include "number_text.h"
#include "rounding.h"
#include "validation.h"

namespace zr {

const std::array<RiskTextEntry, static_cast<std::size_t>(RiskText::kCount)> kRiskTexts = {{
    {RiskText::kTitle, "title", "Kockázat"},
    {RiskText::kIntro, "intro",
     "A bizonytalan adatoknak adjon meg egy alsó, egy legvalószínűbb és egy felső értéket. A "
     "program a legutóbb kiszámított forgatókönyvet sokszor kiszámolja, minden futásban a "
     "tartományokból sorsolt értékekkel (háromszögeloszlás), és megmutatja, mennyire biztos a "
     "megtérülés."},
    {RiskText::kColumnInput, "column_input", "Bemenő adat"},
    {RiskText::kColumnLow, "column_low", "Alsó"},
    {RiskText::kColumnMode, "column_mode", "Legvalószínűbb"},
    {RiskText::kColumnHigh, "column_high", "Felső"},
    {RiskText::kColumnUnit, "column_unit", "Mértékegység"},
    {RiskText::kAddCaption, "add_caption", "Újabb adat:"},
    {RiskText::kAdd, "add", "Hozzáadás"},
    {RiskText::kRemove, "remove", "Eltávolítás"},
    {RiskText::kDefaults, "defaults", "Alapértékek"},
    {RiskText::kRunsCaption, "runs_caption", "Futások száma:"},
    {RiskText::kSeedCaption, "seed_caption", "Kezdőérték:"},
    {RiskText::kRun, "run", "Futtatás"},
    {RiskText::kCancel, "cancel", "Mégse"},
    {RiskText::kNotRun, "not_run", "Még nem futott: a Futtatás gomb indítja."},
    {RiskText::kCancelled, "cancelled", "A futtatás megszakítva; nincs eredmény."},
    {RiskText::kStale, "stale",
     "Új számítás történt: az eredmény a Futtatás gombbal készül el az új adatokra."},
    {RiskText::kFailed, "failed", "A kockázatszámítás nem sikerült."},
    {RiskText::kAllFaulted, "all_faulted",
     "Minden futás „A számítás eredménye túl nagy!” hibával végződött: nincs eredmény."},
    {RiskText::kShareCaption, "share_caption", "Megtérül a vizsgált időszakon belül:"},
    {RiskText::kColumnFigure, "column_figure", "Eredmény"},
    {RiskText::kP10, "p10", "10. percentilis"},
    {RiskText::kP50, "p50", "50. percentilis (medián)"},
    {RiskText::kP90, "p90", "90. percentilis"},
    {RiskText::kPaybackRow, "payback_row", "Megtérülési idő [év]"},
    {RiskText::kBalanceRow, "balance_row", "Egyenleg [Ft/év]"},
    {RiskText::kFaultsCaption, "faults_caption", "Hibával végződött futás:"},
    {RiskText::kFaultsNote, "faults_note",
     "(túl nagy értékek miatt; a többi eredménybe nem számít bele)"},
    {RiskText::kHistogramTitle, "histogram_title", "A megtérülési idő hisztogramja"},
    {RiskText::kAxisYears, "axis_years", "Megtérülési idő [év]"},
    {RiskText::kAxisRuns, "axis_runs", "Futások száma"},
    {RiskText::kPeriodEnd, "period_end", "a vizsgált időszak vége"},
    {RiskText::kLegendWithin, "legend_within", "megtérül a vizsgált időszakon belül"},
    {RiskText::kLegendBeyond, "legend_beyond", "később térül meg"},
    {RiskText::kLegendNone, "legend_none", "nincs: 100 év alatt sem térül meg"},
    {RiskText::kNoRanges, "no_ranges", "Legalább egy adatnak adjon meg tartományt!"},
    {RiskText::kModeBelowLow, "mode_below_low",
     "A legvalószínűbb érték nem lehet kisebb az alsó értéknél!"},
    {RiskText::kHighBelowMode, "high_below_mode",
     "A felső érték nem lehet kisebb a legvalószínűbb értéknél!"},
    {RiskText::kGivenTwice, "given_twice", "Ez az adat már szerepel a táblázatban!"},
    {RiskText::kRunsProblem, "runs_problem",
     "A futások száma 1 és 1000000 közötti egész szám lehet!"},
    {RiskText::kSeedProblem, "seed_problem",
     "A kezdőérték 0 és 18446744073709551615 közötti egész szám lehet!"},
}};

namespace {

std::string Whole(std::int64_t n) { return WholeNumberText(n); }

// Raw Money of a rule's bound.
std::int64_t RawOf(double bound) {
  return static_cast<std::int64_t>(RoundHalfEven(bound * Money::kScale));
}

// raw * numerator / 10, to four decimals (ties to even), kept within the
// field's allowed values.
Money Scaled(std::int64_t raw, int tenths, const ValidationRule& rule) {
  WideInt v = DivideRoundHalfEven<WideInt>(WideInt{raw} * tenths, 10);
  return Money::FromRaw(static_cast<std::int64_t>(std::clamp<WideInt>(
      v, RawOf(rule.lower),
      rule.upper ? RawOf(*rule.upper) : std::numeric_limits<std::int64_t>::max())));
}

// raw + points percentage points, within the field's allowed values.
Money Shifted(std::int64_t raw, int points, const ValidationRule& rule) {
  const WideInt v = WideInt{raw} + WideInt{points} * Money::kScale;
  return Money::FromRaw(static_cast<std::int64_t>(std::clamp<WideInt>(
      v, RawOf(rule.lower),
      rule.upper ? RawOf(*rule.upper) : std::numeric_limits<std::int64_t>::max())));
}

std::string_view Trimmed(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
  return text;
}

// The digits of a whole number without sign, at most `max` of them once
// leading zeros are dropped; nullopt otherwise (beyond `limit` too).
std::optional<std::uint64_t> WholeNumber(std::string_view text, std::uint64_t limit) {
  text = Trimmed(text);
  if (text.empty()) return std::nullopt;
  std::uint64_t value = 0;
  for (const char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    const auto digit = static_cast<std::uint64_t>(c - '0');
    if (value > (limit - digit) / 10) return std::nullopt;
    value = value * 10 + digit;
  }
  return value;
}

// The smallest of 1, 2 or 5 times a power of ten that is at least a fifth
// of `span` (> 0).
std::int64_t TickStep(std::int64_t span) {
  for (std::int64_t power = 1;; power *= 10) {
    for (const std::int64_t m : {1, 2, 5}) {
      if (5 * m * power >= span) return m * power;
    }
  }
}

}  // namespace

std::string_view TextOf(RiskText id) { return kRiskTexts[static_cast<std::size_t>(id)].text; }

std::string ProgressText(std::int64_t done, std::int64_t runs) {
  return "Számítás… " + Whole(done) + " / " + Whole(runs) + " futás";
}

std::string DoneText(const RiskResult& result) {
  return "Kész: " + Whole(result.runs) + " futás, kezdőérték: " + std::to_string(result.seed) + ".";
}

// --- The ranges offered ----------------------------------------------------

Money ScenarioValue(Field field, const InputTexts& scenario, const NumberFormat& format) {
  const ValidationRule& rule = RuleFor(field);
  const std::string& text = scenario[Index(field)];
  const TextCheck check = CheckTextValue(rule, text, format);
  return check.message ? Money::FromDouble(rule.replacement) : check.value;
}

RangeTexts OfferedRange(Field field, const InputTexts& scenario, const NumberFormat& format) {
  const ValidationRule& rule = RuleFor(field);
  const Money value = ScenarioValue(field, scenario, format);
  const std::int64_t raw = value.Raw();
  Money low, high;
  switch (field) {
    case Field::Energiaarvalt:
      low = Shifted(raw, -4, rule);
      high = Shifted(raw, 4, rule);
      break;
    case Field::Qkoll:
      low = Scaled(raw, 7, rule);
      high = Scaled(raw, 11, rule);
      break;
    case Field::Kamatlab:
      low = Shifted(raw, -2, rule);
      high = Shifted(raw, 2, rule);
      break;
    default:
      low = Scaled(raw, 8, rule);
      high = Scaled(raw, 12, rule);
      break;
  }
  return {field, MoneyText(low, format), MoneyText(value, format), MoneyText(high, format)};
}

std::vector<RangeTexts> DefaultRanges(const InputTexts& scenario, const NumberFormat& format) {
  std::vector<RangeTexts> rows;
  for (const Field field : kDefaultRiskFields)
    rows.push_back(OfferedRange(field, scenario, format));
  return rows;
}

void FollowScenario(std::vector<RangeTexts>& rows, const InputTexts& former,
                    const InputTexts& scenario, const NumberFormat& format) {
  for (RangeTexts& row : rows) {
    if (row == OfferedRange(row.field, former, format)) {
      row = OfferedRange(row.field, scenario, format);
    }
  }
}

// --- Reading what the user typed -------------------------------------------

std::variant<std::vector<RiskRange>, RangeProblem> ReadRanges(const std::vector<RangeTexts>& rows,
                                                              const NumberFormat& format) {
  if (rows.empty()) return RangeProblem{0, 0, std::string(TextOf(RiskText::kNoRanges))};
  std::vector<RiskRange> ranges;
  std::array<bool, kFieldCount> seen{};
  for (std::size_t r = 0; r < rows.size(); ++r) {
    const RangeTexts& row = rows[r];
    const ValidationRule& rule = RuleFor(row.field);
    const std::array<const std::string*, 3> texts = {&row.low, &row.mode, &row.high};
    std::array<Money, 3> values;
    for (int c = 0; c < 3; ++c) {
      const TextCheck check = CheckTextValue(rule, *texts[c], format);
      if (check.message) return RangeProblem{r, c, std::string(*check.message)};
      values[c] = check.value;
    }
    if (values[1] < values[0])
      return RangeProblem{r, 1, std::string(TextOf(RiskText::kModeBelowLow))};
    if (values[2] < values[1]) {
      return RangeProblem{r, 2, std::string(TextOf(RiskText::kHighBelowMode))};
    }
    if (seen[Index(row.field)])
      return RangeProblem{r, 0, std::string(TextOf(RiskText::kGivenTwice))};
    seen[Index(row.field)] = true;
    ranges.push_back({row.field, values[0], values[1], values[2]});
  }
  return ranges;
}

std::variant<std::int64_t, std::string> ReadRuns(std::string_view text) {
  const auto n = WholeNumber(text, static_cast<std::uint64_t>(kMaxRiskRuns));
  if (!n || *n == 0) return std::string(TextOf(RiskText::kRunsProblem));
  return static_cast<std::int64_t>(*n);
}

std::variant<std::uint64_t, std::string> ReadSeed(std::string_view text) {
  const auto n = WholeNumber(text, std::numeric_limits<std::uint64_t>::max());
  if (!n) return std::string(TextOf(RiskText::kSeedProblem));
  return *n;
}

std::optional<Money> FixedPeriod(const InputTexts& scenario, const std::vector<RiskRange>& ranges,
                                 const NumberFormat& format) {
  for (const RiskRange& range : ranges) {
    if (range.field == Field::Elettartam) return std::nullopt;
  }
  return ScenarioValue(Field::Elettartam, scenario, format);
}

// --- Figures ---------------------------------------------------------------

RiskFigures FiguresOf(const RiskResult& result, const NumberFormat& format) {
  RiskFigures figures;
  const std::string none = "–";
  const std::int64_t counted = result.runs - result.faults;
  figures.faults = Whole(result.faults);
  const auto share = PaysBackShare(result);
  if (!share || !result.payback || !result.balance) {
    figures.share = none;
    figures.payback = {none, none, none};
    figures.balance = {none, none, none};
    if (result.runs > 0) figures.summary = TextOf(RiskText::kAllFaulted);
    return figures;
  }
  const std::string percent = MoneyText(Money::FromRaw(share->Raw() * 100), format);
  figures.share = percent + " % (" + Whole(result.paying_back) + " / " + Whole(counted) + " futás)";
  for (std::size_t i = 0; i < 3; ++i) {
    figures.payback[i] = PaybackText((*result.payback)[i], format);
    figures.balance[i] = Whole((*result.balance)[i]);
  }
  figures.summary =
      "A futások " + percent + " %-ában a beruházás a vizsgált időszakon belül megtérül. ";
  if (const auto& p90 = (*result.payback)[2].years) {
    figures.summary += "A futások 90 %-ában legfeljebb " + MoneyText(*p90, format) +
                       " év alatt megtérül; ennél tovább legfeljebb minden tizedik futásban tart.";
  } else {
    figures.summary += "A futások legalább tizedében 100 év alatt sem térül meg.";
  }
  return figures;
}

// --- The histogram ---------------------------------------------------------

RiskHistogram HistogramOf(const RiskResult& result, std::optional<Money> period,
                          const NumberFormat& format) {
  RiskHistogram h;
  if (result.runs - result.faults <= 0) return h;
  const std::size_t n = result.histogram.size();
  // Slots of one unit: the bins side by side, half a slot apart from "nincs".
  const double slots = n > 0 ? static_cast<double>(n) + 1.5 : 1.0;
  const double none_slot = n > 0 ? static_cast<double>(n) + 0.5 : 0.0;
  constexpr double kInset = 0.06;  // a thin gap between neighbours

  std::int64_t highest = result.no_payback;
  for (const HistogramBin& bin : result.histogram) highest = std::max(highest, bin.runs);
  const std::int64_t step = TickStep(std::max<std::int64_t>(highest, 1));
  const std::int64_t top = (std::max<std::int64_t>(highest, 1) + step - 1) / step * step;
  for (std::int64_t v = 0; v <= top; v += step) {
    h.run_ticks.push_back({static_cast<double>(v) / static_cast<double>(top), Whole(v)});
  }
  const auto height = [&](std::int64_t runs) {
    return static_cast<double>(runs) / static_cast<double>(top);
  };

  std::string words = std::string(TextOf(RiskText::kHistogramTitle)) + ": ";
  for (std::size_t i = 0; i < n; ++i) {
    const HistogramBin& bin = result.histogram[i];
    RiskBar bar;
    bar.kind = period && !(*period < bin.to) ? RiskBar::Kind::kWithin
               : period                      ? RiskBar::Kind::kBeyond
                                             : RiskBar::Kind::kWithin;
    bar.runs = bin.runs;
    bar.label = MoneyText(bin.from, format) + "–" + MoneyText(bin.to, format) +
                " év: " + Whole(bin.runs) + " futás";
    bar.left = (static_cast<double>(i) + kInset) / slots;
    bar.right = (static_cast<double>(i) + 1 - kInset) / slots;
    bar.height = height(bin.runs);
    words += bar.label + "; ";
    h.bars.push_back(std::move(bar));
  }
  RiskBar none;
  none.kind = RiskBar::Kind::kNone;
  none.runs = result.no_payback;
  none.label = std::string(kNoPaybackText) + ": " + Whole(result.no_payback) + " futás";
  none.left = (none_slot + kInset) / slots;
  none.right = (none_slot + 1 - kInset) / slots;
  none.height = height(result.no_payback);
  words += none.label + ".";
  h.bars.push_back(std::move(none));
  h.description = std::move(words);

  if (n > 0) {
    // Bin edges, every first, second, fifth or tenth one labelled, on round years.
    const std::int64_t width = result.bin_width.Raw() / Money::kScale;
    const std::int64_t first = result.histogram.front().from.Raw() / Money::kScale / width;
    std::int64_t every = 1;
    for (const std::int64_t m : {1, 2, 5, 10, 20, 50}) {
      every = m;
      if ((static_cast<std::int64_t>(n) + 1 + m - 1) / m <= 13) break;
    }
    for (std::size_t k = 0; k <= n; ++k) {
      if ((first + static_cast<std::int64_t>(k)) % every != 0) continue;
      h.year_ticks.push_back(
          {static_cast<double>(k) / slots, Whole((first + static_cast<std::int64_t>(k)) * width)});
    }
    if (period) {
      const double at = (period->ToDouble() - result.histogram.front().from.ToDouble()) /
                        result.bin_width.ToDouble();
      if (at >= 0 && at <= static_cast<double>(n)) {
        h.period = RiskTick{at / slots, std::string(TextOf(RiskText::kPeriodEnd)) + " (" +
                                            MoneyText(*period, format) + " év)"};
      }
    }
  }
  h.year_ticks.push_back({(none_slot + 0.5) / slots, std::string(kNoPaybackText)});
  return h;
}

}  // namespace zr
