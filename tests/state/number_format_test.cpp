#include "../decimal_comma_locale.h"
#include "state/number_format.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <gtest/gtest.h>
#include <limits>
#include <random>
#include <string>

namespace {

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

TEST(NumberFormat, NumericTestAndConversionAgree)
{
    struct Case {
        const char* text;
        bool numeric;
        float value;
    };
    const Case cases[] = {
        {"25", true, 25.0f},   {" -5 ", true, -5.0f},   {"1e2", true, 100.0f},
        {".5", true, 0.5f},    {"5.", true, 5.0f},      {"+0", true, 0.0f},
        {"", false, 0},        {"abc", false, 0},       {"1,5", false, 0},
        {"1e", false, 0},      {".", false, 0},         {"0x10", false, 0},
        {"inf", false, 0},     {"nan", false, 0},       {"1e39", false, 0},
        {"25 C", false, 0},    {"--1", false, 0},       {"+-1", false, 0},
        {"1e-50", true, 0.0f}, {"-1e-50", true, -0.0f}, {"1e-40", true, 1e-40f},
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

TEST(NumberFormat, DoubleConversionKeepsDoublePrecision)
{
    EXPECT_EQ(state::toDouble("0.1"), 0.1);
    EXPECT_EQ(state::toDouble(" 98.954 "), 98.954);
    EXPECT_EQ(state::toDouble("1e-50"), 1e-50) << "fits a float as zero, so it is numeric";
    EXPECT_FALSE(state::toDouble("1e39").has_value()) << "beyond the float range";
}

TEST(NumberFormat, ShortestTextThatReadsBack)
{
    struct Case {
        double value;
        const char* text;
    };
    const Case cases[] = {{0.212, "0.212"},      {562.1, "562.1"},       {48.9, "48.9"},
                          {259, "259"},          {-0.06635, "-0.06635"}, {1e-05, "1e-05"},
                          {3885.698, "3885.698"}};
    for (const Case& c : cases)
        EXPECT_EQ(state::formatShortest(c.value), c.text);
    EXPECT_EQ(state::formatShortest(std::numeric_limits<double>::quiet_NaN()), "");
}

// A German desktop: the C conversions read "25.5" as 25 and write "25,5". Every number path
// here must read and write "." regardless.
TEST(NumberFormat, DecimalCommaLocaleChangesNothing)
{
    test::DecimalCommaLocale german;
    if (!german.active())
        GTEST_SKIP() << test::DecimalCommaLocale::kSkipMessage;
    ASSERT_EQ(std::strtod("25.5", nullptr), 25.0) << "the locale is not a decimal-comma one";

    EXPECT_TRUE(state::isNumeric("25.5"));
    EXPECT_FALSE(state::isNumeric("25,5"));
    EXPECT_EQ(state::toFloat("25.5"), 25.5f);
    EXPECT_EQ(state::toDouble("-0.00984"), -0.00984);
    EXPECT_EQ(state::formatPattern(24465.26, state::kFmtVolumeVap), "24465.3");
    EXPECT_EQ(state::formatPattern(0.125, state::kFmtDensity), "0.12") << "exact tie path";
    EXPECT_EQ(state::formatPattern(1e20, state::kFmtZ), "100000000000000000000.0000");
    EXPECT_EQ(state::formatSignificant(562.1f, 7), "562.1");
    EXPECT_EQ(state::formatSignificant(1.5e-7, 7), "1.5e-07");
    EXPECT_EQ(state::formatShortest(98.954), "98.954");
}

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
