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
    {Carrier::NaturalGas, "Földgáz", "m³", Fixed(95000), Fixed(900000), Fixed(1840)},
    {Carrier::Electricity, "Villamos energia", "kWh", Fixed(10000), std::nullopt, std::nullopt},
    // 46,1 MJ/kg = 12,81 kWh/kg; 17,2 kg C per GJ × 44/12 = 0,227 kg CO₂/kWh.
    {Carrier::Lpg, "PB-gáz", "kg", Fixed(128100), Fixed(900000), Fixed(2270)},
    // Air-dried (15–20 % moisture): 4,0 kWh/kg, so 400 kWh per 100 kg.
    {Carrier::Firewood, "Tűzifa", "q", Fixed(4000000), std::nullopt, std::nullopt},
    {Carrier::Pellets, "Fapellet", "kg", std::nullopt, std::nullopt, std::nullopt},
    // 44,4 MJ/kg × 0,835 kg/l = 10,30 kWh/l.
    {Carrier::HeatingOil, "Tüzelőolaj", "l", Fixed(103000), std::nullopt, Fixed(2790)},
    // 1 GJ = 1000 MJ / 3,6 MJ per kWh.
    {Carrier::DistrictHeat, "Távhő", "GJ", Fixed(2777778), std::nullopt, std::nullopt},
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

EnergyPriceResult Convert(const EnergyPriceInput& in, const NumberFormat& format) {
  const CarrierInfo& info = CarrierOf(in.carrier);
  const std::string unit(info.unit);
  const double unit_price = Positive(in.unit_price, "Egységár", format);
  const double heating_value = Positive(in.heating_value, "Fűtőérték", format);
  const double efficiency_percent = Positive(in.efficiency_percent, "Hatásfok", format);
  if (efficiency_percent > 100) throw Refusal{"A hatásfok legfeljebb 100 % lehet!"};
  const double efficiency = efficiency_percent / 100;
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
    const double factor = Number(in.co2_factor, "CO₂-kibocsátási tényező", format);
    if (factor < 0) throw Refusal{"A CO₂-kibocsátási tényező nem lehet negatív!"};
    const double years = Positive(in.elettartam, "Elettartam (a vizsgált időszak)", format);
    const double kg_per_year = UsefulHeat(in, format) / efficiency * factor;
    result.co2_text = "Elkerült CO₂: évente " + ShownTwo(kg_per_year, format) + " kg, " +
                      Shown(years, format) + " év alatt " +
                      ShownTwo(kg_per_year * years / 1000, format) + " t.";
  }
  return result;
}

}  // namespace

const std::array<CarrierInfo, 7>& Carriers() { return kCarriers; }

const CarrierInfo& CarrierOf(Carrier carrier) {
  return kCarriers[static_cast<std::size_t>(carrier)];
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
