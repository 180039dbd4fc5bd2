#include "state/number_format.h"
#include "state/result_sheet.h"

#include <cmath>
#include <cstdio>
#include <gtest/gtest.h>
#include <limits>
#include <random>
#include <set>

namespace {

using state::Col;
using state::Row;

TEST(ResultSheet, HasThirtyNineUniquelyNamedCellsInRowOrder)
{
    std::set<std::string> names;
    for (state::CellId id : state::allCells())
        names.insert(state::cellName(id));
    EXPECT_EQ(names.size(), 39u);
    EXPECT_EQ(state::cellName(state::allCells().front()), "txtVapVir");
    EXPECT_EQ(state::cellName(state::allCells()[3]), "txtSGVDW");
    EXPECT_EQ(state::cellName(state::allCells().back()), "txtVDDEOS");
    EXPECT_TRUE(names.count("txtSGPRSV1"));
    EXPECT_FALSE(state::findCell("txtLiqESD").has_value());
    EXPECT_FALSE(state::hasCell(Row::DEOS, Col::SG));
}

TEST(ResultSheet, ClearEmptiesTextsAndKeepsColours)
{
    state::ResultSheet sheet;
    sheet.setText(Row::PR, Col::Vap, "23657.0");
    sheet.setColor(Row::PR, Col::Vap, state::kPaleRed);
    sheet.ClearResults();
    EXPECT_EQ(sheet.text(Row::PR, Col::Vap), "");
    EXPECT_EQ(sheet.color(Row::PR, Col::Vap), state::kPaleRed);
    EXPECT_EQ(state::rgbColor(255, 170, 170), state::kPaleRed);
    EXPECT_EQ(state::rgbColor(255, 204, 204), state::kLightPink);
}

TEST(ResultSheet, MissingCellIsAnErrorNotACorruption)
{
    state::ResultSheet sheet;
    EXPECT_THROW(sheet.setText(Row::Vir, Col::Liq, "1"), std::out_of_range);
}

TEST(NumberFormat, Patterns)
{
    struct Case {
        const char* name;
        double value;
        std::string_view pattern;
        const char* expected;
    };
    const Case cases[] = {
        {"vapour volume, five integer digits", 24465.26, state::kFmtVolumeVap, "24465.3"},
        {"Z", 0.98767, state::kFmtZ, "0.9877"},
        {"liquid volume padded", 89.4, state::kFmtVolumeLiq, "89.400"},
        {"density", 3.14159, state::kFmtDensity, "3.14"},
        {"leading zero kept", 0.07, state::kFmtDensity, "0.07"},
        {"negative", -336.54, state::kFmtVolumeVap, "-336.5"},
        {"no negative zero", -0.00001, state::kFmtVolumeVap, "0.0"},
        {"no grouping", 1234567.0, state::kFmtVolumeVap, "1234567.0"},
        {"pressure box", 0.126812, state::kFmtPressBox, "0.127"},
        {"temperature box", 80.0951, state::kFmtTempBox, "80.10"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(state::formatPattern(c.value, c.pattern).value_or("?"), c.expected);
    }
    EXPECT_FALSE(
        state::formatPattern(std::numeric_limits<double>::infinity(), state::kFmtZ).has_value());
}

TEST(NumberFormat, SignificantDigits)
{
    EXPECT_EQ(state::formatSignificant(562.1f, 7), "562.1");
    EXPECT_EQ(state::formatSignificant(600.0f, 7), "600");
    EXPECT_EQ(state::formatSignificant(190.564f, 7), "190.564");
}

TEST(NumberText, NumericTestAndConversionAgree)
{
    struct Case {
        const char* text;
        bool numeric;
        float value;
    };
    const Case cases[] = {
        {"25", true, 25.0f}, {" -5 ", true, -5.0f}, {"1e2", true, 100.0f}, {".5", true, 0.5f},
        {"5.", true, 5.0f},  {"+0", true, 0.0f},    {"", false, 0},        {"abc", false, 0},
        {"1,5", false, 0},   {"1e", false, 0},      {".", false, 0},       {"0x10", false, 0},
        {"inf", false, 0},   {"nan", false, 0},     {"1e39", false, 0},    {"25 C", false, 0},
        {"--1", false, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(state::isNumeric(c.text), c.numeric);
        EXPECT_EQ(state::toFloat(c.text).has_value(), c.numeric);
        EXPECT_EQ(state::toDouble(c.text).has_value(), c.numeric);
        if (c.numeric) {
            EXPECT_EQ(*state::toFloat(c.text), c.value);
        }
    }
}

} // namespace

namespace {

// The shown digits must be the exact decimal rounding of the binary value whatever path the
// formatter takes: compare with printf over magnitudes, signs, near-ties and exact ties.
TEST(NumberFormat, AgreesWithExactRoundingEverywhere)
{
    std::mt19937_64 rng(12345);
    std::uniform_real_distribution<double> mantissa(-1.0, 1.0);
    std::uniform_int_distribution<int> exponent(-12, 16);
    std::uniform_int_distribution<int> places(0, 4);
    for (int i = 0; i < 200000; ++i) {
        const int d = places(rng);
        double v = mantissa(rng) * std::pow(10.0, exponent(rng));
        if (i % 4 == 0) // on or next to a tie of the shown decimals
            v = (std::round(v * std::pow(10.0, d)) + 0.5) / std::pow(10.0, d);
        if (i % 8 == 0)
            v = std::nextafter(v, 0.0);
        char buf[400];
        std::snprintf(buf, sizeof buf, "%.*f", d, v);
        std::string expected(buf);
        if (expected.front() == '-' && expected.find_first_not_of("-0.") == std::string::npos)
            expected.erase(0, 1);
        const std::string pattern =
            d == 0 ? "0" : "0." + std::string(static_cast<std::size_t>(d), '0');
        ASSERT_EQ(state::formatPattern(v, pattern).value_or("?"), expected) << v << " with " << d;
    }
}

} // namespace
