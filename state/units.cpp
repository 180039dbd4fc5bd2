#include "state/units.h"

#include "state/exact_decimal.h"
#include "state/number_format.h"

#include <array>
#include <cassert>
#include <limits>
#include <optional>

namespace state {
namespace {

using Q = Quantity;

// The defining constants (exact by definition, so every digit here is exact):
//   0 °C = 273.15 K; T/°F = 1.8·t/°C + 32; T/R = 1.8·T/K, so 0 °C = 491.67 R.
//   1 bar = 10^5 Pa; 1 atm = 101325 Pa; 1 torr = 101325/760 Pa; 1 at = 1 kgf/cm2 = 98066.5 Pa.
//   1 psi = 1 lbf/in2 = 0.45359237 kg · 9.80665 m/s2 / (0.0254 m)^2 = 4.4482216152605 N /
//     0.00064516 m2, kept as that quotient (6894.757293168361... Pa; the often quoted
//     6894.757293168 Pa is its truncation).
//   1 mmHg = 13.5951 g/cm3 · 9.80665 m/s2 · 1 mm = 133.322387415 Pa; 1 inHg = 25.4 mmHg.
//   1 lb = 0.45359237 kg; 1 ft = 0.3048 m, so 1 ft3 = 0.028316846592 m3.
//   1 cal (thermochemical) = 4.184 J; 1 Btu(IT)/lb = 2.326 kJ/kg, so 1 Btu/lbmol = 2.326 J/mol
//     and 1 Btu/(lbmol·R) = 2.326 · 1.8 = 4.1868 J/(mol·K).
// Gauge units are not here: they need the barometer's reading, which nothing here knows.
constexpr Unit kUnits[] = {
    {Q::Temperature, "C", "°C", "degc celsius centigrade", "0", "1", "1"},
    {Q::Temperature, "K", "K", "kelvin", "-273.15", "1", "1"},
    {Q::Temperature, "F", "°F", "degf fahrenheit", "-32", "5", "9"},
    {Q::Temperature, "R", "R", "degr ra rankine", "-491.67", "5", "9"},

    {Q::Pressure, "bar", "bar", "", "0", "1", "1"},
    {Q::Pressure, "Pa", "Pa", "pascal", "0", "0.00001", "1"},
    {Q::Pressure, "hPa", "hPa", "", "0", "0.001", "1"},
    {Q::Pressure, "kPa", "kPa", "", "0", "0.01", "1"},
    {Q::Pressure, "MPa", "MPa", "", "0", "10", "1"},
    {Q::Pressure, "mbar", "mbar", "millibar", "0", "0.001", "1"},
    {Q::Pressure, "atm", "atm", "", "0", "1.01325", "1"},
    {Q::Pressure, "at", "at", "kgf/cm2 kg/cm2", "0", "0.980665", "1"},
    {Q::Pressure, "psia", "psia", "psi lbf/in2", "0", "4.4482216152605", "64.516"},
    {Q::Pressure, "mmHg", "mmHg", "", "0", "0.00133322387415", "1"},
    {Q::Pressure, "inHg", "inHg", "", "0", "0.03386388640341", "1"},
    {Q::Pressure, "torr", "Torr", "", "0", "1.01325", "760"},

    {Q::MolarVolume, "cm3/mol", "cm³/mol", "cc/mol ml/mol", "0", "1", "1"},
    {Q::MolarVolume, "L/mol", "L/mol", "dm3/mol liter/mol litre/mol", "0", "1000", "1"},
    {Q::MolarVolume, "m3/kmol", "m³/kmol", "", "0", "1000", "1"},
    {Q::MolarVolume, "m3/mol", "m³/mol", "", "0", "1000000", "1"},
    {Q::MolarVolume, "ft3/lbmol", "ft³/lbmol", "cuft/lbmol", "0", "28316.846592", "453.59237"},

    {Q::SpecificVolume, "cm3/g", "cm³/g", "cc/g ml/g", "0", "1", "1"},
    {Q::SpecificVolume, "L/kg", "L/kg", "dm3/kg", "0", "1", "1"},
    {Q::SpecificVolume, "m3/kg", "m³/kg", "", "0", "1000", "1"},
    {Q::SpecificVolume, "ft3/lb", "ft³/lb", "ft3/lbm cuft/lb", "0", "28316.846592", "453.59237"},

    {Q::Density, "kg/m3", "kg/m³", "", "0", "1", "1"},
    {Q::Density, "g/L", "g/L", "g/dm3", "0", "1", "1"},
    {Q::Density, "g/cm3", "g/cm³", "g/cc g/ml kg/l kg/dm3", "0", "1000", "1"},
    {Q::Density, "lb/ft3", "lb/ft³", "lbm/ft3", "0", "0.45359237", "0.028316846592"},

    {Q::MolarDensity, "mol/L", "mol/L", "mol/dm3 kmol/m3", "0", "1", "1"},
    {Q::MolarDensity, "mol/m3", "mol/m³", "", "0", "0.001", "1"},
    {Q::MolarDensity, "mol/cm3", "mol/cm³", "mol/cc mol/ml", "0", "1000", "1"},
    {Q::MolarDensity, "lbmol/ft3", "lbmol/ft³", "", "0", "453.59237", "28.316846592"},

    {Q::MolarEnergy, "J/mol", "J/mol", "", "0", "1", "1"},
    {Q::MolarEnergy, "kJ/mol", "kJ/mol", "", "0", "1000", "1"},
    {Q::MolarEnergy, "cal/mol", "cal/mol", "", "0", "4.184", "1"},
    {Q::MolarEnergy, "kcal/mol", "kcal/mol", "", "0", "4184", "1"},
    {Q::MolarEnergy, "Btu/lbmol", "Btu/lbmol", "", "0", "2.326", "1"},

    {Q::MolarEntropy, "J/(mol*K)", "J/(mol·K)", "j/mol/k", "0", "1", "1"},
    {Q::MolarEntropy, "kJ/(mol*K)", "kJ/(mol·K)", "kj/mol/k", "0", "1000", "1"},
    {Q::MolarEntropy, "cal/(mol*K)", "cal/(mol·K)", "cal/mol/k", "0", "4.184", "1"},
    {Q::MolarEntropy, "Btu/(lbmol*R)", "Btu/(lbmol·R)", "btu/lbmol/r btu/lbmolf btu/lbmol/f", "0",
     "4.1868", "1"},

    {Q::InverseTemperature, "1/K", "1/K", "1/c", "0", "1", "1"},
    {Q::InverseTemperature, "1/R", "1/R", "1/f", "0", "9", "5"},

    {Q::InversePressure, "1/bar", "1/bar", "", "0", "1", "1"},
    {Q::InversePressure, "1/Pa", "1/Pa", "", "0", "100000", "1"},
    {Q::InversePressure, "1/kPa", "1/kPa", "", "0", "100", "1"},
    {Q::InversePressure, "1/MPa", "1/MPa", "", "0", "0.1", "1"},
    {Q::InversePressure, "1/atm", "1/atm", "", "0", "1", "1.01325"},
    {Q::InversePressure, "1/psi", "1/psi", "1/psia", "0", "64.516", "4.4482216152605"},
};
constexpr std::size_t kUnitCount = std::size(kUnits);

constexpr std::string_view kQuantityNames[] = {
    "temperature",   "pressure",     "molar volume",  "specific volume",     "density",
    "molar density", "molar energy", "molar entropy", "inverse temperature", "inverse pressure"};
static_assert(std::size(kQuantityNames) == static_cast<std::size_t>(Q::InversePressure) + 1,
              "one name per quantity");

std::size_t indexOf(const Unit& u) { return static_cast<std::size_t>(&u - kUnits); }

/// A unit's constants, read once: as exact decimals for texts, as the nearest doubles
/// (through the one number reader) for values.
struct Factors {
    ExactDecimal offset, scale, divisor;
    double offsetValue, scaleValue, divisorValue;
};

const std::array<Factors, kUnitCount>& factors()
{
    static const auto table = [] {
        std::array<Factors, kUnitCount> t{};
        for (std::size_t i = 0; i < kUnitCount; ++i) {
            const Unit& u = kUnits[i];
            t[i] = {exactDecimal(u.offset),        exactDecimal(u.scale),
                    exactDecimal(u.divisor),       toDouble(u.offset).value_or(0),
                    toDouble(u.scale).value_or(1), toDouble(u.divisor).value_or(1)};
        }
        return t;
    }();
    return table;
}

const Factors& factorsOf(const Unit& u) { return factors()[indexOf(u)]; }

bool isBase(const Unit& u) { return &u == &baseUnit(u.quantity); }

/// What a conversion needs of the exact value: the nearest float, rounding at a place
/// (10^value), or rounding to a number of significant digits.
struct Precision {
    enum Kind { Float, Place, Significant } kind;
    long value = 0;
};

/// The exact value of `x` given in `from`, expressed in `to` (one quantity), with the digits
/// the rounding that follows needs (see divide for what the kept digits guarantee).
Quotient convertExact(const ExactDecimal& x, const Unit& from, const Unit& to, Precision p)
{
    const Factors& f = factorsOf(from);
    const Factors& t = factorsOf(to);
    const ExactDecimal numerator = (x + f.offset) * f.scale * t.divisor;
    const ExactDecimal divisor = f.divisor * t.scale;
    const auto top = [](const ExactDecimal& d) {
        return d.exponent + static_cast<long>(d.digits.size());
    };
    // The quotient lies below 10^(top(numerator) − top(divisor) + 1). Digits are kept one
    // place finer than the rounding and than the offset added after, so that neither moves the
    // kept value across a rounding boundary the true value does not cross.
    const long above = top(numerator) - top(divisor) + 1;
    long significant = 0;
    if (p.kind == Precision::Float) // 60 digits beyond the operands' keep any midpoint clear
        significant = static_cast<long>(numerator.digits.size()) + 60;
    else if (p.kind == Precision::Significant) // offsets are zero outside temperature
        significant = p.value + 2;
    else
        significant =
            above - (std::min(p.value, t.offset.isZero() ? p.value : t.offset.exponent) - 1);
    Quotient q = divide(numerator, divisor, static_cast<int>(std::max(1L, significant)));
    ExactDecimal offsetTo = t.offset;
    offsetTo.negative = !offsetTo.negative;
    q.value = q.value + offsetTo;
    return q;
}

/// Up to 17 significant digits of an exact value, "..." where more follow.
std::string shownExact(const Quotient& q)
{
    constexpr int kDigits = 17;
    if (q.exact && static_cast<int>(q.value.digits.size()) <= kDigits)
        return toText(q.value);
    return toText(roundToSignificant(q.value, kDigits)) + "...";
}

/// Drops what people type around a unit name and folds case: "°C" -> "c", "J/(mol·K)" ->
/// "j/molk", "m³/kmol" -> "m3/kmol".
std::string normalised(std::string_view name)
{
    std::string out;
    for (std::size_t i = 0; i < name.size(); ++i) {
        const auto c = static_cast<unsigned char>(name[i]);
        if (c == 0xC2 && i + 1 < name.size()) { // two-byte UTF-8 signs of the Latin-1 block
            const auto next = static_cast<unsigned char>(name[++i]);
            if (next == 0xB3) // ³
                out += '3';
            else if (next == 0xB2) // ²
                out += '2';
            else if (next != 0xB0 && next != 0xBA && next != 0xB7) { // °, º and · dropped
                out += '\xC2';
                out += static_cast<char>(next);
            }
            continue;
        }
        if (c == ' ' || c == '\t' || c == '(' || c == ')' || c == '*' || c == '-' || c == '^' ||
            c == '.' || c == '_')
            continue;
        out += (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : static_cast<char>(c);
    }
    return out;
}

bool spells(const Unit& u, std::string_view n)
{
    if (normalised(u.symbol) == n || normalised(u.label) == n)
        return true;
    for (std::size_t b = 0; b < u.spellings.size();) {
        std::size_t e = u.spellings.find(' ', b);
        if (e == std::string_view::npos)
            e = u.spellings.size();
        if (u.spellings.substr(b, e - b) == n)
            return true;
        b = e + 1;
    }
    return false;
}

const Unit* find(std::string_view normalisedName)
{
    for (const Unit& u : kUnits)
        if (spells(u, normalisedName))
            return &u;
    return nullptr;
}

const Unit* findPressure(std::string_view n)
{
    const Unit* u = find(n);
    return u && u->quantity == Q::Pressure ? u : nullptr;
}

std::string knownSymbols(Quantity q)
{
    std::string list;
    for (const Unit& u : kUnits)
        if (u.quantity == q)
            list += (list.empty() ? "" : ", ") + std::string(u.symbol);
    return list;
}

} // namespace

std::string_view quantityName(Quantity q) { return kQuantityNames[static_cast<std::size_t>(q)]; }

std::span<const Unit> allUnits() { return kUnits; }

const Unit& baseUnit(Quantity q)
{
    for (const Unit& u : kUnits)
        if (u.quantity == q)
            return u;
    assert(false && "every quantity has units");
    return kUnits[0];
}

const Unit& unitBySymbol(std::string_view symbol)
{
    for (const Unit& u : kUnits)
        if (u.symbol == symbol)
            return u;
    assert(false && "no unit has this symbol");
    return kUnits[0];
}

UnitChoice parseUnit(std::string_view name, Quantity expected)
{
    const std::string n = normalised(name);
    const std::string quoted = "'" + std::string(name) + "'";
    if (n.empty())
        return {nullptr, "no " + std::string(quantityName(expected)) + " unit given"};
    const Unit* u = find(n);
    // A trailing "a" marks absolute pressure (psia, bara, "kPa(a)"), a trailing "g" gauge.
    const std::string_view stem = std::string_view(n).substr(0, n.size() - 1);
    if (!u && n.back() == 'a')
        u = findPressure(stem);
    if (!u && n.back() == 'g' && findPressure(stem))
        return {nullptr, quoted + " is a gauge pressure; the calculation needs absolute "
                                  "pressure (e.g. psia, bar, kPa)"};
    if (!u)
        return {nullptr, "unknown " + std::string(quantityName(expected)) + " unit " + quoted +
                             " (known: " + knownSymbols(expected) + ")"};
    if (u->quantity != expected)
        return {nullptr, quoted + " is a unit of " + std::string(quantityName(u->quantity)) +
                             ", not of " + std::string(quantityName(expected))};
    return {u, {}};
}

double toBase(double value, const Unit& from)
{
    const Factors& f = factorsOf(from);
    return (value + f.offsetValue) * f.scaleValue / f.divisorValue;
}

double fromBase(double valueInBase, const Unit& to)
{
    const Factors& f = factorsOf(to);
    return valueInBase * f.divisorValue / f.scaleValue - f.offsetValue;
}

double convert(double value, const Unit& from, const Unit& to)
{
    if (from.quantity != to.quantity)
        return std::numeric_limits<double>::quiet_NaN();
    return &from == &to ? value : fromBase(toBase(value, from), to);
}

CalculationText toCalculationText(std::string_view typed, const Unit& unit)
{
    const std::optional<float> typedValue = toFloat(typed);
    const std::optional<ExactDecimal> x = parseExactDecimal(typed);
    if (isBase(unit) || !typedValue || !x)
        return {std::string(typed), true, {}};
    const Unit& base = baseUnit(unit.quantity);
    const Quotient q = convertExact(*x, unit, base, {Precision::Float, 0});
    const std::string exactText = toText(q.value);
    const std::optional<float> held = toFloat(exactText);
    CalculationText out{held ? exactText : toText(roundToSignificant(q.value, 17)), q.exact, {}};
    if (held) {
        // The fewest significant digits that the calculation reads as the value it would hold
        // for the exact result; the exact text itself ends the search at the latest.
        for (int digits = 1; digits < static_cast<int>(q.value.digits.size()); ++digits) {
            const ExactDecimal r = roundToSignificant(q.value, digits);
            if (toFloat(toText(r)) == held) {
                out.text = toText(r);
                out.exact = q.exact && r == q.value;
                break;
            }
        }
    }
    if (!out.exact) {
        const std::string typedTrimmed = toText(*x);
        out.note = typedTrimmed + " " + std::string(unit.symbol) + " = " + shownExact(q) + " " +
                   std::string(base.symbol) + "; taken as " + out.text + " " +
                   std::string(base.symbol) +
                   (held ? " (the same value in the calculation's single precision)"
                         : ", beyond what the calculation holds");
    }
    return out;
}

std::string convertShownText(std::string_view shown, const Unit& from, const Unit& to)
{
    const std::optional<ExactDecimal> x = parseExactDecimal(shown);
    if (&from == &to || !x || from.quantity != to.quantity)
        return std::string(shown);
    if (from.quantity == Q::Temperature) {
        const long decimals = shownDecimals(shown);
        const Quotient q = convertExact(*x, from, to, {Precision::Place, -decimals});
        return toText(roundToDecimals(q.value, decimals), decimals);
    }
    const int digits = shownSignificant(shown);
    if (digits == 0)
        return toText(ExactDecimal{}, shownDecimals(shown));
    const Quotient q = convertExact(*x, from, to, {Precision::Significant, digits});
    const ExactDecimal r = roundToSignificant(q.value, digits);
    const long top = r.exponent + static_cast<long>(r.digits.size()); // places above the point
    return toText(r, std::max(0L, static_cast<long>(digits) - top));
}

} // namespace state
