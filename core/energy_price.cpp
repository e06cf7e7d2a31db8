#include "energy_price.h"

#include <algorithm>
#include <cmath>

#include "arithmetic_fault.h"
#include "number_text.h"

namespace zr {
namespace {

// Money from a decimal written as a whole count of ten-thousandths.
constexpr Money Fixed(std::int64_t ten_thousandths) { return Money::FromRaw(ten_thousandths); }

// The sources of these figures are listed in the user guide, section
// "Energiaár átszámítása". Empty where no published figure was found.
const std::array<CarrierInfo, 7> kCarriers = {{
    // 59 132 MJ for 1729 m³ in the household regulation: 34,2 MJ/m³ = 9,5 kWh/m³;
    // a conventional gas boiler: at most about 90 %.
    {Carrier::NaturalGas, "Foldgaz", "Földgáz", "m³", Fixed(95000), Fixed(900000), Fixed(1840)},
    {Carrier::Electricity, "Villamosenergia", "Villamos energia", "kWh", Fixed(10000), std::nullopt,
     std::nullopt},
    // 46,1 MJ/kg = 12,81 kWh/kg; 17,2 kg C per GJ × 44/12 = 0,227 kg CO₂/kWh.
    {Carrier::Lpg, "Pbgaz", "PB-gáz", "kg", Fixed(128100), Fixed(900000), Fixed(2270)},
    // Air-dried (15–20 % moisture): 4,0 kWh/kg, so 400 kWh per 100 kg.
    {Carrier::Firewood, "Tuzifa", "Tűzifa", "q", Fixed(4000000), std::nullopt, std::nullopt},
    {Carrier::Pellets, "Fapellet", "Fapellet", "kg", std::nullopt, std::nullopt, std::nullopt},
    // 44,4 MJ/kg × 0,835 kg/l = 10,30 kWh/l.
    {Carrier::HeatingOil, "Tuzeloolaj", "Tüzelőolaj", "l", Fixed(103000), std::nullopt,
     Fixed(2790)},
    // 1 GJ = 1000 MJ / 3,6 MJ per kWh.
    {Carrier::DistrictHeat, "Tavho", "Távhő", "GJ", Fixed(2777778), std::nullopt, std::nullopt},
}};

struct Refusal {
  std::string message;
};

// The number in `text`, or a refusal that names the field.
double Number(std::string_view text, std::string_view label, const NumberFormat& format) {
  const auto number = NumberText::Parse(text, format);
  if (!number) {
    if (text.find_first_not_of(" \t") == std::string_view::npos) {
      throw Refusal{"Adja meg: " + std::string(label) + "!"};
    }
    throw Refusal{"Nem szám: " + std::string(label) + "!"};
  }
  const double x = number->ToDouble();
  if (!std::isfinite(x)) throw Refusal{"Túl nagy szám: " + std::string(label) + "!"};
  return x;
}

double Positive(std::string_view text, std::string_view label, const NumberFormat& format) {
  const double x = Number(text, label, format);
  if (!(x > 0)) throw Refusal{"Pozitív szám kell: " + std::string(label) + "!"};
  return x;
}

// η as a fraction, 0 < η ≤ 1, from a percentage text.
double Efficiency(std::string_view percent_text, const NumberFormat& format) {
  const double percent = Positive(percent_text, "Hatásfok", format);
  if (percent > 100) throw Refusal{"A hatásfok legfeljebb 100 % lehet!"};
  return percent / 100;
}

// kg CO₂ per kWh of fuel, at least 0.
double Co2Factor(std::string_view text, const NumberFormat& format) {
  const double factor = Number(text, "CO₂-kibocsátási tényező", format);
  if (factor < 0) throw Refusal{"A CO₂-kibocsátási tényező nem lehet negatív!"};
  return factor;
}

bool Blank(std::string_view text) {
  return text.find_first_not_of(" \t") == std::string_view::npos;
}

// At most four decimals, as the "Energiaar" box takes it.
std::string Shown(double x, const NumberFormat& format) {
  return MoneyText(Money::FromDouble(x), format);
}
std::string ShownTwo(double x, const NumberFormat& format) {
  return Shown(std::round(x * 100) / 100, format);
}

// The collectors' useful heat per year, Akoll × Qkoll in kWh.
double UsefulHeat(const EnergyPriceInput& in, const NumberFormat& format) {
  return Positive(in.akoll, "Akoll (a kollektorok felülete)", format) *
         Positive(in.qkoll, "Qkoll (a fajlagos energiahozam)", format);
}

// The avoided CO₂ of `useful_heat_kwh` a year, made with efficiency η (a
// fraction) from a fuel of `factor` kg CO₂ per kWh, over `years`: the one
// formula and the one sentence of the helper, the analysis and the report.
AvoidedCo2 Co2Figures(double useful_heat_kwh, double efficiency, double factor, double years,
                      const NumberFormat& format) {
  AvoidedCo2 co2;
  const double kg_per_year = useful_heat_kwh / efficiency * factor;
  const double tonnes = kg_per_year * years / 1000;
  co2.kg_per_year = kg_per_year;
  co2.tonnes_over_period = tonnes;
  co2.text = "Elkerült CO₂: évente " + ShownTwo(kg_per_year, format) + " kg, " +
             Shown(years, format) + " év alatt " + ShownTwo(tonnes, format) + " t.";
  return co2;
}

EnergyPriceResult Convert(const EnergyPriceInput& in, const NumberFormat& format) {
  const CarrierInfo& info = CarrierOf(in.carrier);
  const std::string unit(info.unit);
  const double unit_price = Positive(in.unit_price, "Egységár", format);
  const double heating_value = Positive(in.heating_value, "Fűtőérték", format);
  const double efficiency = Efficiency(in.efficiency_percent, format);
  // kWh of useful heat that one unit of the carrier gives.
  const double useful_per_unit = heating_value * efficiency;

  const bool any_band = !Blank(in.yearly_use) || !Blank(in.band) || !Blank(in.price_above_band);
  const bool all_band = !Blank(in.yearly_use) && !Blank(in.band) && !Blank(in.price_above_band);
  if (any_band && !all_band) {
    throw Refusal{
        "A kétsávos árhoz az éves fogyasztás, a kedvezményes sáv és a sáv feletti egységár is "
        "kell!"};
  }

  EnergyPriceResult result;
  double price_per_unit = unit_price;
  if (all_band) {
    const double use = Positive(in.yearly_use, "Éves fogyasztás", format);
    const double band = Positive(in.band, "Kedvezményes sáv", format);
    const double price_above = Positive(in.price_above_band, "Sáv feletti egységár", format);
    const double saving = UsefulHeat(in, format) / useful_per_unit;
    if (saving > use) {
      throw Refusal{"A kollektorok évi megtakarítása (" + ShownTwo(saving, format) + " " + unit +
                    ") több, mint az éves fogyasztás!"};
    }
    const double above = std::max(0.0, use - band);
    const double off_above = std::min(saving, above);
    const double off_band = saving - off_above;
    price_per_unit = (off_above * price_above + off_band * unit_price) / saving;
    if (off_band <= 0) {
      result.message = "A megtakarítás (" + ShownTwo(saving, format) + " " + unit +
                       "/év) teljesen a sáv feletti fogyasztásból jön le: a sáv feletti egységár " +
                       "érvényes.";
    } else if (off_above <= 0) {
      result.message = "A fogyasztás nem lépi túl a kedvezményes sávot: a kedvezményes egységár " +
                       std::string("érvényes a teljes megtakarításra (") +
                       ShownTwo(saving, format) + " " + unit + "/év).";
    } else {
      result.message = "A megtakarításból (" + ShownTwo(saving, format) + " " + unit + "/év) " +
                       ShownTwo(off_above, format) + " " + unit + " a sáv feletti, " +
                       ShownTwo(off_band, format) + " " + unit +
                       " a kedvezményes részből jön le: a súlyozott egységár " +
                       Shown(price_per_unit, format) + " Ft/" + unit + ".";
    }
  } else {
    result.message = "Egységár / (fűtőérték × hatásfok): a számla egységára érvényes.";
  }

  result.price_text = Shown(price_per_unit / useful_per_unit, format);

  if (!Blank(in.co2_factor)) {
    const double factor = Co2Factor(in.co2_factor, format);
    const double years = Positive(in.elettartam, "Elettartam (a vizsgált időszak)", format);
    result.co2_text = Co2Figures(UsefulHeat(in, format), efficiency, factor, years, format).text;
  }
  return result;
}

// A choice read from a file, each given text checked as the helper checks it.
CarrierChoice Checked(CarrierChoice choice, const NumberFormat& format) {
  if (!Blank(choice.unit_price)) Positive(choice.unit_price, "Egységár", format);
  if (!Blank(choice.efficiency_percent)) Efficiency(choice.efficiency_percent, format);
  if (!Blank(choice.co2_factor)) Co2Factor(choice.co2_factor, format);
  return choice;
}

// A figure of the basis as the user gave it, without blanks around.
std::string Trimmed(std::string_view text) {
  const auto first = text.find_first_not_of(" \t");
  if (first == std::string_view::npos) return {};
  return std::string(text.substr(first, text.find_last_not_of(" \t") - first + 1));
}

// Where the helper is, for a message that sends the user there.
std::string InTheHelper() {
  return " az „" + std::string(WordOf(EnergyPriceWord::kTitle)) + "” ablakban";
}

AvoidedCo2 Avoided(const CarrierChoice& choice, const InputSet& inputs,
                   const NumberFormat& format) {
  const CarrierInfo& info = CarrierOf(choice.carrier);
  if (Blank(choice.efficiency_percent)) {
    throw Refusal{"Az elkerült CO₂-hoz adja meg a kiváltott berendezés hatásfokát" + InTheHelper() +
                  "!"};
  }
  if (Blank(choice.co2_factor)) {
    throw Refusal{"Az elkerült CO₂-hoz adja meg a(z) " + std::string(info.name) +
                  " CO₂-kibocsátási tényezőjét" + InTheHelper() + "!"};
  }
  const double efficiency = Efficiency(choice.efficiency_percent, format);
  const double factor = Co2Factor(choice.co2_factor, format);
  const double heat = inputs.Akoll.ToDouble() * inputs.Qkoll.ToDouble();
  AvoidedCo2 co2 = Co2Figures(heat, efficiency, factor, inputs.Elettartam.ToDouble(), format);
  co2.basis = "Feltevés: " + std::string(info.name) + ", " + Trimmed(choice.efficiency_percent) +
              " % hatásfok, " + Trimmed(choice.co2_factor) + " kg CO₂/kWh tüzelőanyag.";
  return co2;
}

}  // namespace

const std::array<CarrierInfo, 7>& Carriers() { return kCarriers; }

const CarrierInfo& CarrierOf(Carrier carrier) {
  return kCarriers[static_cast<std::size_t>(carrier)];
}

std::optional<Carrier> CarrierByKey(std::string_view key) {
  for (const CarrierInfo& info : kCarriers) {
    if (info.key == key) return info.carrier;
  }
  return std::nullopt;
}

EnergyPriceResult ConvertEnergyPrice(const EnergyPriceInput& input, const NumberFormat& format) {
  try {
    return Convert(input, format);
  } catch (const Refusal& refusal) {
    return EnergyPriceResult{std::nullopt, refusal.message, {}};
  } catch (const ArithmeticFault&) {
    return EnergyPriceResult{std::nullopt, "Az eredmény túl nagy, nem írható a mezőbe!", {}};
  }
}

CarrierChoice ChoiceOf(const EnergyPriceInput& input) {
  return {input.carrier, input.unit_price, input.efficiency_percent, input.co2_factor};
}

std::variant<CarrierChoice, std::string> ReadCarrierChoice(std::string_view carrier_key,
                                                           std::string unit_price,
                                                           std::string efficiency_percent,
                                                           std::optional<std::string> co2_factor,
                                                           const NumberFormat& format) {
  const std::optional<Carrier> carrier = CarrierByKey(carrier_key);
  if (!carrier) {
    std::string known;
    for (const CarrierInfo& info : kCarriers) {
      known += (known.empty() ? "" : ", ") + std::string(info.key);
    }
    // Cut at a character: a long key is quoted shortened.
    std::size_t cut = std::min<std::size_t>(carrier_key.size(), 40);
    while (cut < carrier_key.size() && cut > 0 &&
           (static_cast<unsigned char>(carrier_key[cut]) & 0xC0) == 0x80) {
      --cut;
    }
    return "Ismeretlen energiahordozó: „" + std::string(carrier_key.substr(0, cut)) +
           (cut < carrier_key.size() ? "…" : "") + "” (ismert: " + known + ").";
  }
  if (!co2_factor) {
    const auto& factor = CarrierOf(*carrier).co2_kg_per_fuel_kwh;
    co2_factor = factor ? MoneyText(*factor, format) : std::string();
  }
  try {
    return Checked(
        {*carrier, std::move(unit_price), std::move(efficiency_percent), std::move(*co2_factor)},
        format);
  } catch (const Refusal& refusal) {
    return refusal.message;
  }
}

AvoidedCo2 AvoidedCo2Of(const std::optional<CarrierChoice>& choice, const InputSet& inputs,
                        const NumberFormat& format) {
  if (!choice) {
    return {std::nullopt,
            std::nullopt,
            "Elkerült CO₂: ismeretlen a kiváltott energiahordozó. Válassza ki" + InTheHelper() +
                " (15. mező: F4 vagy jobb gomb; a weblapon: „Átszámítás”), és írja be az árat "
                "a „" +
                std::string(WordOf(EnergyPriceWord::kWrite)) + "” gombbal.",
            {}};
  }
  try {
    return Avoided(*choice, inputs, format);
  } catch (const Refusal& refusal) {
    return {std::nullopt, std::nullopt, refusal.message, {}};
  } catch (const ArithmeticFault&) {
    return {std::nullopt, std::nullopt, "Az elkerült CO₂ túl nagy, nem számítható ki.", {}};
  }
}

namespace {

struct Word {
  std::string_view key;
  std::string_view text;
};

constexpr std::array<Word, static_cast<std::size_t>(EnergyPriceWord::kCount)> kWords{{
    {"title", "Energiaár átszámítása"},
    {"carrier", "Energiahordozó"},
    {"unitPrice", "Egységár (Ft/%1)"},
    {"heatingValue", "Fűtőérték (kWh/%1)"},
    {"efficiency", "Hatásfok (%)"},
    {"bandTitle", "Kétsávos ár (ha a számla két árat ismer)"},
    {"yearlyUse", "Éves fogyasztás (%1/év, kollektor nélkül)"},
    {"band", "Kedvezményes sáv (%1/év)"},
    {"priceAboveBand", "Sáv feletti egységár (Ft/%1)"},
    {"co2Factor", "CO₂-kibocsátási tényező (kg/kWh tüzelőanyag)"},
    {"write", "Beírás"},
    {"result", "Energiaár: %1 Ft/kWh hasznos hő"},
}};

}  // namespace

std::string_view WordOf(EnergyPriceWord word) {
  return kWords[static_cast<std::size_t>(word)].text;
}
std::string_view WordKey(EnergyPriceWord word) {
  return kWords[static_cast<std::size_t>(word)].key;
}

}  // namespace zr
