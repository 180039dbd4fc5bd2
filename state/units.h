#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

// Units of the quantities the program reads and writes, and their conversions. The program
// itself works in °C (typed temperature) and K, bar, cm3/mol, kg/m3, J/mol and J/(mol·K); other
// units are converted at the edges: a typed value into the °C or bar text the calculation
// takes, a result from the program's unit into the one the user chose.
//
// Each unit is defined exactly by decimal constants from its definition (1 atm = 101325 Pa,
// 1 lb = 0.45359237 kg, 1 ft = 0.3048 m, T/°F = 1.8·t/°C + 32, ...), so texts convert exactly
// where the decimal result ends, and doubles convert from the same constants.
namespace state {

enum class Quantity : std::uint8_t {
    Temperature,        // base °C (K is a unit with an offset)
    Pressure,           // base bar, absolute
    MolarVolume,        // base cm3/mol
    SpecificVolume,     // base cm3/g
    Density,            // base kg/m3
    MolarDensity,       // base mol/L
    MolarEnergy,        // base J/mol
    MolarEntropy,       // base J/(mol·K), also heat capacity
    InverseTemperature, // base 1/K (expansivity)
    InversePressure,    // base 1/bar (compressibility)
};

/// A unit: value in the quantity's base unit = (value + offset) · scale / divisor, the three
/// written as exact decimals.
struct Unit {
    Quantity quantity;
    std::string_view symbol;    // ASCII, for options, CSV and JSON: "F", "psia", "cm3/mol"
    std::string_view label;     // UTF-8, for tables and axes: "°F", "psia", "cm³/mol"
    std::string_view spellings; // further accepted names, blank-separated, as normalised
    std::string_view offset;
    std::string_view scale;
    std::string_view divisor;
};

/// "temperature", "pressure", "molar volume", ...
std::string_view quantityName(Quantity q);

/// Every unit, grouped by quantity, each group's base unit first.
std::span<const Unit> allUnits();
/// °C, bar, cm3/mol, cm3/g, kg/m3, mol/L, J/mol, J/(mol·K), 1/K, 1/bar.
const Unit& baseUnit(Quantity q);
/// The unit with this exact ASCII symbol ("K", "bar"); the symbol must exist.
const Unit& unitBySymbol(std::string_view symbol);

/// A unit name as a person types it, or the reason it is refused.
struct UnitChoice {
    const Unit* unit = nullptr; // null when refused
    std::string error;          // why, naming the text: unknown, another quantity, gauge
    explicit operator bool() const { return unit != nullptr; }
};
/// Reads a unit name of the expected quantity: case-insensitive, blanks, °, parentheses,
/// "·", "*", "-", "^" and "." ignored, "³" read as 3 ("degC", "°C", "C"; "psia", "PSI";
/// "m3/kmol"; "J/(mol·K)"). Gauge pressures (psig, barg, "kPa(g)") are refused: the
/// calculation needs absolute pressure.
UnitChoice parseUnit(std::string_view name, Quantity expected);

/// Double conversions from the same constants; from and to must be of one quantity (NaN
/// otherwise). Exact where the arithmetic is: 77 °F gives 25 °C.
double toBase(double value, const Unit& from);
double fromBase(double valueInBase, const Unit& to);
double convert(double value, const Unit& from, const Unit& to);

/// The text the calculation takes for a value typed in `typed`'s unit: °C for a temperature,
/// bar for a pressure (the quantity's base unit).
struct CalculationText {
    std::string text; // the typed text itself when no conversion is needed
    bool exact = true;
    std::string note; // empty when exact; else the exact value and what was taken instead
};
/// The typed text unchanged when `unit` is its quantity's base unit, or when the text is no
/// number to the calculation (which then refuses it as it refuses it typed in °C or bar).
/// Otherwise the converted value, exactly when its decimal text reads back as the value the
/// calculation holds (300 K -> "26.85", 77 F -> "25"); when it does not (100 F is
/// 37.777... °C), the shortest text that reads back as the same single-precision value as
/// the exact result, so the sheet is the one the exact value gives, and a note saying so.
CalculationText toCalculationText(std::string_view typed, const Unit& unit);

/// A shown number converted between units of one quantity, keeping what the text shows: the
/// same decimals for a temperature (80.09 °C -> "353.24" K), the same significant digits
/// otherwise ("87.024" cm3/mol -> "0.087024" L/mol), rounded half away from zero. A text
/// that is no number ("NC", "NA->Tc", "") and a conversion to the same unit return it
/// unchanged.
std::string convertShownText(std::string_view shown, const Unit& from, const Unit& to);

} // namespace state
