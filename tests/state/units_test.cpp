#include "state/exact_decimal.h"
#include "state/number_format.h"
#include "state/units.h"

#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>
#include <string>

namespace {

using state::Quantity;
using state::unitBySymbol;

// Exact decimal arithmetic: each row is a slip a digit-string implementation makes.
TEST(Units, ExactDecimalArithmetic)
{
    using state::exactDecimal;
    struct Case {
        const char* name;
        state::ExactDecimal value;
        const char* expected;
    };
    const Case cases[] = {
        {"subtraction across the point", exactDecimal("300") + exactDecimal("-273.15"), "26.85"},
        {"sum that borrows to a smaller magnitude", exactDecimal("273.1") + exactDecimal("-273.15"),
         "-0.05"},
        {"sum to exactly zero drops the sign", exactDecimal("-32") + exactDecimal("32"), "0"},
        {"carry lengthens the digits", exactDecimal("99.95") + exactDecimal("0.05"), "100"},
        {"product places the point", exactDecimal("-0.25") * exactDecimal("0.004"), "-0.001"},
        {"exponent in the text", exactDecimal("1.5e-3") * exactDecimal("2E+4"), "30"},
        {"half rounds away from zero", state::roundToDecimals(exactDecimal("-2.345"), 2), "-2.35"},
        {"rounding carries into a new digit", state::roundToDecimals(exactDecimal("9.996"), 2),
         "10"},
        {"rounding below the first digit", state::roundToDecimals(exactDecimal("0.0004"), 3), "0"},
        {"rounding at the first digit", state::roundToDecimals(exactDecimal("0.0005"), 3), "0.001"},
        {"significant digits of a small value",
         state::roundToSignificant(exactDecimal("0.000123456"), 3), "0.000123"},
        {"significant digits left of the point",
         state::roundToSignificant(exactDecimal("87654"), 2), "88000"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(state::toText(c.value), c.expected);
    }

    const state::Quotient exact = state::divide(exactDecimal("225"), exactDecimal("9"), 20);
    EXPECT_TRUE(exact.exact);
    EXPECT_EQ(state::toText(exact.value), "25");
    // Two units' factors multiply into divisors longer than 64 bits (psia to inHg).
    const state::Quotient wide = state::divide(exactDecimal("246913578024691357802"),
                                               exactDecimal("1.23456789012345678901e20"), 5);
    EXPECT_TRUE(wide.exact);
    EXPECT_EQ(state::toText(wide.value), "2");
    // A third to 5 digits, then the sticky 1: 0.33333 < 0.333331 < 1/3.
    const state::Quotient third = state::divide(exactDecimal("1"), exactDecimal("3"), 5);
    EXPECT_FALSE(third.exact);
    EXPECT_EQ(state::toText(third.value), "0.333331");
    // A tie in the kept digits is no tie in the true value: 0.5 + 1/(9·10^6) rounds up.
    const state::Quotient nearHalf = state::divide(exactDecimal("4.5000001"), exactDecimal("9"), 6);
    EXPECT_EQ(state::toText(state::roundToDecimals(nearHalf.value, 0)), "1");
}

// Every pair of units of a quantity converts there and back (doubles), and the exact text
// route agrees with the double route to the digits the text shows.
TEST(Units, EveryPairRoundTrips)
{
    const double values[] = {-40, 0.5, 25, 1234.5};
    int pairs = 0;
    for (const state::Unit& a : state::allUnits()) {
        for (const state::Unit& b : state::allUnits()) {
            if (a.quantity != b.quantity)
                continue;
            ++pairs;
            SCOPED_TRACE(std::string(a.symbol) + " -> " + std::string(b.symbol));
            for (const double x : values) {
                const double there = state::convert(x, a, b);
                EXPECT_NEAR(state::convert(there, b, a), x, 1e-12 * (1 + std::fabs(x)));
            }
            // 1234.5 shows one decimal (temperatures keep it) and five significant digits.
            const auto shown = state::toDouble(state::convertShownText("1234.5", a, b));
            ASSERT_TRUE(shown.has_value());
            const double expected = state::convert(1234.5, a, b);
            const double halfDigit = a.quantity == Quantity::Temperature
                                         ? 0.05
                                         : 0.5e-4 * std::pow(10, std::floor(std::log10(expected)));
            EXPECT_NEAR(*shown, expected, halfDigit * (1 + 1e-12));
        }
    }
    EXPECT_GT(pairs, 100);
    EXPECT_TRUE(std::isnan(state::convert(1, unitBySymbol("K"), unitBySymbol("bar"))));
}

// Values from the definitions, worked by hand (1 ft3 = 28316.846592 cm3, 1 lb = 453.59237 g).
TEST(Units, DefiningValues)
{
    struct Case {
        const char* name;
        double value;
        const char* from;
        const char* to;
        double expected;
        double tolerance;
    };
    const Case cases[] = {
        {"77 F is 25 C exactly", 77, "F", "C", 25, 0},
        {"25 C is 77 F exactly", 25, "C", "F", 77, 0},
        {"-40 is the same on both scales", -40, "F", "C", -40, 0},
        {"absolute zero", 0, "K", "C", -273.15, 1e-13},
        {"ice point in Rankine", 491.67, "R", "K", 273.15, 1e-12},
        // 14.503773773 is 1 bar's 14.5037737730209 psi cut to 11 digits: 1.44e-12 bar short.
        {"one bar in psia", 14.503773773, "psia", "bar", 1, 1.5e-12},
        {"one atmosphere in torr", 760, "torr", "atm", 1, 1e-15},
        {"standard atmosphere", 1, "atm", "kPa", 101.325, 1e-13},
        {"molar volume in ft3/lbmol", 1, "ft3/lbmol", "cm3/mol", 62.427960576144606, 1e-12},
        {"density in lb/ft3", 1, "lb/ft3", "kg/m3", 16.018463373960138, 1e-12},
        {"L/mol and m3/kmol are one unit", 22.414, "L/mol", "m3/kmol", 22.414, 1e-14},
        {"Btu/(lbmol R) is 4.1868 J/(mol K)", 1, "Btu/(lbmol*R)", "J/(mol*K)", 4.1868, 1e-15},
        {"compressibility per psi", 1, "1/psi", "1/bar", 14.503773773020923, 1e-12},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const double got = state::convert(c.value, unitBySymbol(c.from), unitBySymbol(c.to));
        if (c.tolerance == 0)
            EXPECT_EQ(got, c.expected);
        else
            EXPECT_NEAR(got, c.expected, c.tolerance * std::fabs(c.expected));
    }
}

TEST(Units, CalculationText)
{
    struct Case {
        const char* name;
        const char* typed;
        const char* unit;
        const char* text;
        bool exact;
        const char* noteHas;
    };
    const Case cases[] = {
        {"base unit passes the bytes through", " 25.0 ", "C", " 25.0 ", true, ""},
        {"no number is left to the calculation", "abc", "F", "abc", true, ""},
        {"Fahrenheit ending exactly", "77", "F", "25", true, ""},
        {"kelvin in decimal, not binary", "300", "K", "26.85", true, ""},
        {"Rankine at absolute zero", "0", "R", "-273.15", true, ""},
        {"exact pressure", "1", "atm", "1.01325", true, ""},
        {"MPa keeps every digit", "2.5e-1", "MPa", "2.5", true, ""},
        {"repeating decimal shortened", "100", "F", "37.77778", false,
         "100 F = 37.777777777777778... C; taken as 37.77778 C"},
        {"psia within single precision of 1 bar", "14.5037738", "psia", "1", false,
         "= 1.000000001860142... bar"},
        {"torr to the digits a float holds", "1", "torr", "0.0013332237", false,
         "0.0013332236842105263..."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const state::CalculationText t = state::toCalculationText(c.typed, unitBySymbol(c.unit));
        EXPECT_EQ(t.text, c.text);
        EXPECT_EQ(t.exact, c.exact);
        EXPECT_EQ(t.note.empty(), c.exact);
        EXPECT_NE(t.note.find(c.noteHas), std::string::npos) << t.note;
    }
}

TEST(Units, ShownTextKeepsItsPrecision)
{
    struct Case {
        const char* name;
        const char* shown;
        const char* from;
        const char* to;
        const char* expected;
    };
    const Case cases[] = {
        {"liquid volume in L/mol", "87.024", "cm3/mol", "L/mol", "0.087024"},
        {"trailing zero is a shown digit", "87.020", "cm3/mol", "L/mol", "0.087020"},
        {"vapour volume in ft3/lbmol, six digits", "24851.6", "cm3/mol", "ft3/lbmol", "398.084"},
        {"density rounded to its three digits", "2.98", "kg/m3", "lb/ft3", "0.186"},
        {"temperature keeps its decimals", "80.09", "C", "K", "353.24"},
        {"Fahrenheit rounded to the shown decimals", "80.09", "C", "F", "176.16"},
        {"zero stays zero with its decimals", "0.000", "cm3/mol", "L/mol", "0.000"},
        {"not converged stays", "NC", "cm3/mol", "L/mol", "NC"},
        {"above critical stays", "NA->Tc", "cm3/mol", "L/mol", "NA->Tc"},
        {"same unit returns the bytes", "087.0", "cm3/mol", "cm3/mol", "087.0"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(state::convertShownText(c.shown, unitBySymbol(c.from), unitBySymbol(c.to)),
                  c.expected);
    }
}

TEST(Units, ParsingAndRefusals)
{
    // Every symbol, label and spelling finds its own unit: two units sharing a spelling would
    // leave the second unreachable.
    for (const state::Unit& u : state::allUnits()) {
        SCOPED_TRACE(u.symbol);
        EXPECT_EQ(state::parseUnit(u.symbol, u.quantity).unit, &u);
        EXPECT_EQ(state::parseUnit(u.label, u.quantity).unit, &u);
        for (std::size_t b = 0; b < u.spellings.size();) {
            const std::size_t e = std::min(u.spellings.find(' ', b), u.spellings.size());
            EXPECT_EQ(state::parseUnit(u.spellings.substr(b, e - b), u.quantity).unit, &u);
            b = e + 1;
        }
    }
    struct Case {
        const char* name;
        const char* text;
        Quantity quantity;
        const char* symbol; // nullptr: refused
        const char* errorHas;
    };
    const Case cases[] = {
        {"degree sign", "°C", Quantity::Temperature, "C", ""},
        {"upper case", "DEGF", Quantity::Temperature, "F", ""},
        {"full name", "Rankine", Quantity::Temperature, "R", ""},
        {"lower-case kelvin", "k", Quantity::Temperature, "K", ""},
        {"psi means absolute", "PSI", Quantity::Pressure, "psia", ""},
        {"absolute marked in parentheses", "bar(a)", Quantity::Pressure, "bar", ""},
        {"mega, not milli", "mPa", Quantity::Pressure, "MPa", ""},
        {"superscript three", "m³/kmol", Quantity::MolarVolume, "m3/kmol", ""},
        {"hyphenated pound-mole", "ft3/lb-mol", Quantity::MolarVolume, "ft3/lbmol", ""},
        {"entropy with a dot", "J/(mol·K)", Quantity::MolarEntropy, "J/(mol*K)", ""},
        {"entropy with slashes", "J/mol/K", Quantity::MolarEntropy, "J/(mol*K)", ""},
        {"psig is gauge", "psig", Quantity::Pressure, nullptr, "'psig' is a gauge pressure"},
        {"barg is gauge", "barg", Quantity::Pressure, nullptr, "absolute pressure"},
        {"gauge in parentheses", "kPa(g)", Quantity::Pressure, nullptr, "gauge"},
        {"mmHg is no gauge", "mmHg", Quantity::Pressure, "mmHg", ""},
        {"pressure unit for a temperature", "kPa", Quantity::Temperature, nullptr,
         "'kPa' is a unit of pressure, not of temperature"},
        {"mass density for a molar volume", "kg/m3", Quantity::MolarVolume, nullptr,
         "is a unit of density"},
        {"unknown names the known", "furlong", Quantity::Temperature, nullptr,
         "unknown temperature unit 'furlong' (known: C, K, F, R)"},
        {"empty", " ", Quantity::Pressure, nullptr, "no pressure unit given"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const state::UnitChoice u = state::parseUnit(c.text, c.quantity);
        if (c.symbol) {
            ASSERT_TRUE(u) << u.error;
            EXPECT_EQ(u.unit->symbol, c.symbol);
        } else {
            EXPECT_FALSE(u);
            EXPECT_NE(u.error.find(c.errorHas), std::string::npos) << u.error;
        }
    }
}

} // namespace
