#pragma once
// From the price on the bill to forints per kWh of useful heat, the value the
// "Energiaar" box takes. Every carrier has a default heating value and the
// default efficiency of the appliance the collectors relieve; a default that
// has no published figure behind it is left empty and the user must give it.
// The user guide names the source of every default.
//
// The two-tier household price: the collectors' yearly saving comes off the
// top of the consumption, first off the part above the discounted band, then
// off the band; the price of the saving is the weighted price of those parts.

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <variant>

#include "input_set.h"
#include "money.h"
#include "number_format.h"

namespace zr {

enum class Carrier {
  NaturalGas,
  Electricity,
  Lpg,
  Firewood,
  Pellets,
  HeatingOil,
  DistrictHeat,
};

struct CarrierInfo {
  Carrier carrier;
  std::string_view key;   // "Foldgaz": its name in a scenario file
  std::string_view name;  // "Földgáz"
  std::string_view unit;  // "m³": what the bill counts
  // Defaults; nullopt where the user must give the figure.
  std::optional<Money> heating_value_kwh;    // kWh per unit
  std::optional<Money> efficiency_percent;   // of the appliance replaced
  std::optional<Money> co2_kg_per_fuel_kwh;  // kg CO₂ per kWh of fuel
};

// In the order the dialog lists them.
const std::array<CarrierInfo, 7>& Carriers();
const CarrierInfo& CarrierOf(Carrier carrier);
// The carrier a scenario file names by `key`; nullopt for an unknown one.
std::optional<Carrier> CarrierByKey(std::string_view key);

// The texts as the user typed them. The three band fields are all empty
// (one price) or all given (two-tier price). An empty CO₂ factor asks for no
// CO₂ figures.
struct EnergyPriceInput {
  Carrier carrier = Carrier::NaturalGas;
  std::string unit_price;          // Ft per unit; the band's price when there is a band
  std::string heating_value;       // kWh per unit
  std::string efficiency_percent;  // 0 < η ≤ 100
  std::string yearly_use;          // units per year without the collectors
  std::string band;                // units per year at the discounted price
  std::string price_above_band;    // Ft per unit
  std::string co2_factor;          // kg CO₂ per kWh of fuel
  // The scenario's boxes: Akoll (m²), Qkoll (kWh/m²·év), Elettartam (év).
  std::string akoll, qkoll, elettartam;
};

struct EnergyPriceResult {
  // Ft per kWh of useful heat in the regional format, at most 4 decimals;
  // nullopt when the input was wrong.
  std::optional<std::string> price_text;
  // Which price applies, or what is wrong with the input: Hungarian.
  std::string message;
  // Avoided CO₂ per year and over the period; empty when not asked for.
  std::string co2_text;
};

EnergyPriceResult ConvertEnergyPrice(const EnergyPriceInput& input, const NumberFormat& format);

// --- The carrier the solar heat replaces, and the CO₂ it avoids -------------

// What the helper knew when "Beírás" wrote box 15, as a scenario file keeps
// it: the texts of its fields in the regional format. An empty text was not
// given.
struct CarrierChoice {
  Carrier carrier = Carrier::NaturalGas;
  std::string unit_price;          // Ft per unit (the band's price when there is a band)
  std::string efficiency_percent;  // of the appliance replaced
  std::string co2_factor;          // kg CO₂ per kWh of fuel
  friend bool operator==(const CarrierChoice&, const CarrierChoice&) = default;
};

// The choice in the helper's fields.
CarrierChoice ChoiceOf(const EnergyPriceInput& input);

// A choice read from a file: the carrier by its key, each given text checked
// as the helper checks it (a positive price, 0 < η ≤ 100, a factor of at
// least 0). A missing factor (nullopt) takes the carrier's default. The
// choice, or what is wrong (Hungarian).
std::variant<CarrierChoice, std::string> ReadCarrierChoice(std::string_view carrier_key,
                                                           std::string unit_price,
                                                           std::string efficiency_percent,
                                                           std::optional<std::string> co2_factor,
                                                           const NumberFormat& format);

// The avoided CO₂ of a run: the fuel the collectors' useful heat (Akoll ×
// Qkoll) replaces, heat / η, times the carrier's factor; per year and over
// the studied period (Elettartam).
struct AvoidedCo2 {
  // Both nullopt when there is no figure; `text` then says why, or (without
  // a carrier) how to get one.
  std::optional<double> kg_per_year;
  std::optional<double> tonnes_over_period;
  std::string text;   // "Elkerült CO₂: évente 613,33 kg, 20 év alatt 12,27 t."
  std::string basis;  // "Feltevés: Földgáz, 90 % hatásfok, ...": empty without a figure
};

AvoidedCo2 AvoidedCo2Of(const std::optional<CarrierChoice>& choice, const InputSet& inputs,
                        const NumberFormat& format);

// The helper's words, the window's and the page's alike; in a label "%1"
// stands for the chosen carrier's unit.
enum class EnergyPriceWord {
  kTitle,
  kCarrier,
  kUnitPrice,
  kHeatingValue,
  kEfficiency,
  kBandTitle,
  kYearlyUse,
  kBand,
  kPriceAboveBand,
  kCo2Factor,
  kWrite,
  kResult,  // "%1" is the price
  kCount
};
std::string_view WordOf(EnergyPriceWord word);
// The word's name in the page's table of words ("unitPrice", ...).
std::string_view WordKey(EnergyPriceWord word);

}  // namespace zr
