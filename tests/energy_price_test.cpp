#include "energy_price.h"

#include <gtest/gtest.h>

#include <string>
#include <variant>

#include "test_inputs.h"

namespace zr {
namespace {

const NumberFormat kHu = NumberFormat::Hungarian();

EnergyPriceInput Single(Carrier carrier, std::string price, std::string heating_value,
                        std::string efficiency) {
  EnergyPriceInput in;
  in.carrier = carrier;
  in.unit_price = std::move(price);
  in.heating_value = std::move(heating_value);
  in.efficiency_percent = std::move(efficiency);
  return in;
}

struct UnitCase {
  const char* name;
  Carrier carrier;
  const char* price;
  const char* heating_value;
  const char* efficiency;
  const char* expected;  // Ft per kWh of useful heat
};
class EnergyPriceUnits : public ::testing::TestWithParam<UnitCase> {};

TEST_P(EnergyPriceUnits, PriceOverHeatingValueTimesEfficiency) {
  const UnitCase& c = GetParam();
  const EnergyPriceResult r =
      ConvertEnergyPrice(Single(c.carrier, c.price, c.heating_value, c.efficiency), kHu);
  ASSERT_TRUE(r.price_text.has_value()) << r.message;
  EXPECT_EQ(*r.price_text, c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, EnergyPriceUnits,
    ::testing::Values(
        // 120 / (9,5 × 0,9) = 14,03508…: four decimals at most.
        UnitCase{"GasPerCubicMetre", Carrier::NaturalGas, "120", "9,5", "90", "14,0351"},
        UnitCase{"ElectricityPerKwh", Carrier::Electricity, "70", "1", "100", "70"},
        UnitCase{"FirewoodPerQuintal", Carrier::Firewood, "4000", "400", "80", "12,5"},
        UnitCase{"DistrictHeatPerGj", Carrier::DistrictHeat, "5000", "277,7778", "100", "18"},
        // Once: 100 / (10 × 0,5) = 20; twice would give 40, never 10.
        UnitCase{"EfficiencyAppliedOnce", Carrier::HeatingOil, "100", "10", "50", "20"},
        UnitCase{"BlanksAroundNumbers", Carrier::Lpg, " 300 ", " 12,5 ", " 80 ", "30"}),
    [](const auto& info) { return std::string(info.param.name); });

// Gas at 10 kWh/m³ and 100 %: 5 m² × 600 kWh/m² = 3000 kWh saves 300 m³ a year.
EnergyPriceInput Band(std::string use, std::string band) {
  EnergyPriceInput in = Single(Carrier::NaturalGas, "100", "10", "100");
  in.yearly_use = std::move(use);
  in.band = std::move(band);
  in.price_above_band = "700";
  in.akoll = "5";
  in.qkoll = "600";
  return in;
}

struct BandCase {
  const char* name;
  const char* use;
  const char* band;
  const char* expected;
  const char* message_part;
};
class EnergyPriceBand : public ::testing::TestWithParam<BandCase> {};

TEST_P(EnergyPriceBand, SavingComesOffTheTopFirst) {
  const BandCase& c = GetParam();
  const EnergyPriceResult r = ConvertEnergyPrice(Band(c.use, c.band), kHu);
  ASSERT_TRUE(r.price_text.has_value()) << r.message;
  EXPECT_EQ(*r.price_text, c.expected);
  EXPECT_NE(r.message.find(c.message_part), std::string::npos) << r.message;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, EnergyPriceBand,
    ::testing::Values(
        // 300 m³ above the band: exactly the saving, all at 700 Ft/m³.
        BandCase{"SavingIsExactlyThePartAbove", "1300", "1000", "70", "sáv feletti egységár"},
        // 299 m³ above, 1 m³ off the band: (299 × 700 + 100) / 300 = 698.
        BandCase{"OneCubicMetreIntoTheBand", "1299", "1000", "69,8", "súlyozott egységár 698"},
        // 100 m³ above, 200 off the band: (70000 + 20000) / 300 = 300.
        BandCase{"Straddling", "1100", "1000", "30", "100 m³ a sáv feletti, 200 m³"},
        BandCase{"WithinTheBand", "800", "1000", "10", "kedvezményes egységár"}),
    [](const auto& info) { return std::string(info.param.name); });

struct RefusalCase {
  const char* name;
  EnergyPriceInput input;
  const char* message_part;
};
class EnergyPriceRefusal : public ::testing::TestWithParam<RefusalCase> {};

TEST_P(EnergyPriceRefusal, GivesAMessageAndNoValue) {
  const EnergyPriceResult r = ConvertEnergyPrice(GetParam().input, kHu);
  EXPECT_FALSE(r.price_text.has_value()) << *r.price_text;
  EXPECT_NE(r.message.find(GetParam().message_part), std::string::npos) << r.message;
}

EnergyPriceInput With(EnergyPriceInput in, std::string EnergyPriceInput::*field, std::string text) {
  in.*field = std::move(text);
  return in;
}

const EnergyPriceInput kGas = Single(Carrier::NaturalGas, "120", "9,5", "90");

INSTANTIATE_TEST_SUITE_P(
    Cases, EnergyPriceRefusal,
    ::testing::Values(
        RefusalCase{"ZeroEfficiency", With(kGas, &EnergyPriceInput::efficiency_percent, "0"),
                    "Hatásfok"},
        RefusalCase{"MissingEfficiency", With(kGas, &EnergyPriceInput::efficiency_percent, ""),
                    "Adja meg: Hatásfok"},
        RefusalCase{"EfficiencyOverHundred",
                    With(kGas, &EnergyPriceInput::efficiency_percent, "100,5"), "100 %"},
        RefusalCase{"ZeroHeatingValue", With(kGas, &EnergyPriceInput::heating_value, "0"),
                    "Fűtőérték"},
        RefusalCase{"NegativeHeatingValue", With(kGas, &EnergyPriceInput::heating_value, "-9,5"),
                    "Fűtőérték"},
        RefusalCase{"PriceNotANumber", With(kGas, &EnergyPriceInput::unit_price, "120 Ft"),
                    "Nem szám: Egységár"},
        RefusalCase{"BandWithoutPriceAbove",
                    With(Band("1300", "1000"), &EnergyPriceInput::price_above_band, ""),
                    "sáv feletti egységár is kell"},
        RefusalCase{"UseWithoutBand", With(kGas, &EnergyPriceInput::yearly_use, "1500"),
                    "kedvezményes sáv"},
        RefusalCase{"BandWithoutCollectorBoxes",
                    With(Band("1300", "1000"), &EnergyPriceInput::akoll, ""), "Akoll"},
        RefusalCase{"SavingOverTheConsumption", Band("250", "1000"), "több, mint az éves"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(EnergyPriceCo2, FuelHeatTimesFactorPerYearAndOverThePeriod) {
  EnergyPriceInput in = kGas;
  in.akoll = "5";
  in.qkoll = "600";
  in.elettartam = "20";
  in.co2_factor = "0,184";
  // 3000 kWh of heat at 90 % burns 3333,33 kWh of gas: 613,33 kg a year, 12,27 t in 20 years.
  const EnergyPriceResult r = ConvertEnergyPrice(in, kHu);
  EXPECT_EQ(r.co2_text, "Elkerült CO₂: évente 613,33 kg, 20 év alatt 12,27 t.");
  in.co2_factor.clear();
  EXPECT_EQ(ConvertEnergyPrice(in, kHu).co2_text, "");
}

TEST(EnergyPriceCarriers, EachEntryIsFoundByItsCarrier) {
  for (const CarrierInfo& info : Carriers()) EXPECT_EQ(&CarrierOf(info.carrier), &info);
}

TEST(EnergyPriceCarriers, EachEntryIsFoundByItsKey) {
  for (const CarrierInfo& info : Carriers()) EXPECT_EQ(CarrierByKey(info.key), info.carrier);
  EXPECT_EQ(CarrierByKey("Földgáz"), std::nullopt);  // the name is no key
  EXPECT_EQ(CarrierByKey(""), std::nullopt);
}

// The analysis's avoided CO₂: 5 m² × 600 kWh/m² a year over 20 years.
const InputSet kRun =
    test::InputsWith({{Field::Akoll, "5"}, {Field::Qkoll, "600"}, {Field::Elettartam, "20"}});
CarrierChoice Gas(std::string efficiency, std::string factor = "0,184") {
  return {Carrier::NaturalGas, "120", std::move(efficiency), std::move(factor)};
}

TEST(AvoidedCo2, SaysWhatTheHelperSaysForTheSameFigures) {
  EnergyPriceInput in = kGas;
  in.akoll = "5";
  in.qkoll = "600";
  in.elettartam = "20";
  in.co2_factor = "0,184";
  const AvoidedCo2 co2 = AvoidedCo2Of(ChoiceOf(in), kRun, kHu);
  EXPECT_EQ(co2.text, ConvertEnergyPrice(in, kHu).co2_text);
  EXPECT_EQ(co2.text, "Elkerült CO₂: évente 613,33 kg, 20 év alatt 12,27 t.");
  EXPECT_NE(co2.basis.find("Földgáz"), std::string::npos) << co2.basis;
  EXPECT_EQ(co2.basis, "Feltevés: Földgáz, 90 % hatásfok, 0,184 kg CO₂/kWh tüzelőanyag.");
}

TEST(AvoidedCo2, TheEfficiencyIsAppliedOnce) {
  // At 100 % the fuel is the heat itself: 3000 kWh × 0,184 = 552 kg.
  EXPECT_DOUBLE_EQ(*AvoidedCo2Of(Gas("100"), kRun, kHu).kg_per_year, 552);
  // Half the efficiency burns twice the fuel, not four times.
  EXPECT_DOUBLE_EQ(*AvoidedCo2Of(Gas("50"), kRun, kHu).kg_per_year, 1104);
}

TEST(AvoidedCo2, TheStudiedPeriodIsInTonnes) {
  const AvoidedCo2 co2 = AvoidedCo2Of(Gas("100"), kRun, kHu);
  EXPECT_DOUBLE_EQ(*co2.tonnes_over_period, 552.0 * 20 / 1000);
  EXPECT_EQ(co2.text, "Elkerült CO₂: évente 552 kg, 20 év alatt 11,04 t.");
}

TEST(AvoidedCo2, AMissingOrZeroEfficiencyOrFactorIsRefused) {
  for (const CarrierChoice& choice : {Gas(""), Gas(" "), Gas("0"), Gas("-90"), Gas("101"),
                                      Gas("abc"), Gas("90", ""), Gas("90", "-1")}) {
    const AvoidedCo2 co2 = AvoidedCo2Of(choice, kRun, kHu);
    EXPECT_FALSE(co2.kg_per_year.has_value()) << co2.text;
    EXPECT_FALSE(co2.tonnes_over_period.has_value());
    EXPECT_TRUE(co2.basis.empty());
    EXPECT_EQ(co2.text.find("Elkerült CO₂:"), std::string::npos) << co2.text;
  }
  EXPECT_NE(AvoidedCo2Of(Gas(""), kRun, kHu).text.find("hatásfok"), std::string::npos);
  EXPECT_NE(AvoidedCo2Of(Gas("0"), kRun, kHu).text.find("Hatásfok"), std::string::npos);
}

TEST(AvoidedCo2, WithoutACarrierSaysHowToGetIt) {
  const AvoidedCo2 co2 = AvoidedCo2Of(std::nullopt, kRun, kHu);
  EXPECT_FALSE(co2.kg_per_year.has_value());
  EXPECT_NE(co2.text.find("Energiaár átszámítása"), std::string::npos) << co2.text;
  EXPECT_NE(co2.text.find("„Beírás”"), std::string::npos) << co2.text;
}

TEST(ReadCarrierChoice, TakesTheTextsAsTheyAreAndTheDefaultFactorWhenMissing) {
  const auto read = ReadCarrierChoice("Foldgaz", "120", "90", std::nullopt, kHu);
  ASSERT_TRUE(std::holds_alternative<CarrierChoice>(read)) << std::get<std::string>(read);
  EXPECT_EQ(std::get<CarrierChoice>(read), Gas("90", "0,184"));
  // Given, even empty, the factor stays as it was written.
  const auto empty = ReadCarrierChoice("Tuzifa", "4500", "", "", kHu);
  ASSERT_TRUE(std::holds_alternative<CarrierChoice>(empty));
  EXPECT_EQ(std::get<CarrierChoice>(empty), (CarrierChoice{Carrier::Firewood, "4500", "", ""}));
}

TEST(ReadCarrierChoice, RefusesAnUnknownCarrierAndAWrongFigure) {
  const auto unknown = ReadCarrierChoice("Szen", "120", "90", std::nullopt, kHu);
  ASSERT_TRUE(std::holds_alternative<std::string>(unknown));
  EXPECT_NE(std::get<std::string>(unknown).find("Ismeretlen energiahordozó: „Szen”"),
            std::string::npos);
  EXPECT_NE(std::get<std::string>(unknown).find("Foldgaz"), std::string::npos);
  const std::pair<std::vector<std::string>, const char*> wrong[] = {
      {{"0", "90", "0,2"}, "Egységár"},       {{"120", "150", "0,2"}, "100 %"},
      {{"120", "90,5 %", "0,2"}, "Hatásfok"}, {{"120", "90", "-0,2"}, "negatív"},
      {{"120", "90.5", "0,2"}, "Hatásfok"},  // not the format's separator
  };
  for (const auto& [texts, part] : wrong) {
    const auto read = ReadCarrierChoice("Foldgaz", texts[0], texts[1], texts[2], kHu);
    ASSERT_TRUE(std::holds_alternative<std::string>(read)) << part;
    EXPECT_NE(std::get<std::string>(read).find(part), std::string::npos)
        << std::get<std::string>(read);
  }
}

}  // namespace
}  // namespace zr
