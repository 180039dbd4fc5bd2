// The browser build reads and writes numbers through state/portable_charconv.h; here, natively,
// its results are held against the standard library's std::to_chars / std::from_chars.
// TAVREL1_CHARCONV_VALUES sets how many random values the sweep takes (scripts/charconv_stress.sh
// runs ten million).
#include "state/portable_charconv.h"

#include <bit>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <gtest/gtest.h>
#include <limits>
#include <random>
#include <string>

namespace {

using Text = std::string;

Text stdShortest(double v)
{
    char buf[400];
    return {buf, std::to_chars(buf, buf + sizeof buf, v).ptr};
}
Text portableShortest(double v)
{
    char buf[400];
    return {buf, state::portable::toShortest(buf, buf + sizeof buf, v).ptr};
}
Text stdFixed(double v, int d)
{
    char buf[400];
    return {buf, std::to_chars(buf, buf + sizeof buf, v, std::chars_format::fixed, d).ptr};
}
Text portableFixed(double v, int d)
{
    char buf[400];
    return {buf, state::portable::toFixed(buf, buf + sizeof buf, v, d).ptr};
}
Text stdGeneral(double v, int d)
{
    char buf[400];
    return {buf, std::to_chars(buf, buf + sizeof buf, v, std::chars_format::general, d).ptr};
}
Text portableGeneral(double v, int d)
{
    char buf[400];
    return {buf, state::portable::toGeneral(buf, buf + sizeof buf, v, d).ptr};
}

/// Both readers agree on the error, the end and (on success) every bit of the value.
template <class T>::testing::AssertionResult sameParse(const std::string& text)
{
    T a{}, b{};
    const char* first = text.data();
    const char* last = first + text.size();
    const auto ra = std::from_chars(first, last, a);
    const auto rb = state::portable::fromChars(first, last, b);
    if (ra.ec != rb.ec || ra.ptr != rb.ptr)
        return ::testing::AssertionFailure() << "\"" << text << "\": error or end differs";
    if (ra.ec == std::errc{} && std::memcmp(&a, &b, sizeof a) != 0)
        return ::testing::AssertionFailure() << "\"" << text << "\": value differs";
    return ::testing::AssertionSuccess();
}

TEST(PortableCharconv, WritingEdgeCases)
{
    const double kMin = std::numeric_limits<double>::denorm_min();
    const double kMax = std::numeric_limits<double>::max();
    struct Case {
        const char* name;
        double value;
    };
    const Case cases[] = {
        {"zero", 0.0},
        {"negative zero keeps its sign", -0.0},
        {"a power of ten where fixed is longer", 1e10},
        {"a power of ten where both forms tie (fixed wins)", 1e4},
        {"small where scientific is shorter", 1e-5},
        {"small where fixed is shorter", 0.001},
        {"integer above 2^53: exact digits, not padded zeros", 12345678901234567890.0},
        {"three-digit exponent", 1.5e-300},
        {"smallest subnormal", kMin},
        {"largest double", kMax},
        {"at a power of two (asymmetric interval)", 9007199254740992.0},
        {"a sheet value", 87.024},
        {"negative", -24465.26},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(portableShortest(c.value), stdShortest(c.value));
        for (int d : {0, 1, 3, 6, 16}) {
            EXPECT_EQ(portableGeneral(c.value, d), stdGeneral(c.value, d)) << "digits " << d;
            if (std::fabs(c.value) < 1e20) {
                EXPECT_EQ(portableFixed(c.value, d), stdFixed(c.value, d)) << "decimals " << d;
            }
        }
    }
    // Exact ties of the binary value: round half to even on the exact value, as printf does.
    for (double tie : {0.125, 0.375, 2.5, 1e15 + 0.5})
        EXPECT_EQ(portableFixed(tie, tie < 1 ? 2 : 0), stdFixed(tie, tie < 1 ? 2 : 0)) << tie;
}

TEST(PortableCharconv, ReadingEdgeCases)
{
    // Range edges of both types, signed zeros, overflow and underflow to zero (out of range),
    // subnormals, long mantissas that round at the last digit, and what must not be read.
    const char* texts[] = {"0",
                           "-0",
                           "0e999999",
                           "1e-400",
                           "-1e-400",
                           "1e-46",
                           "1e-40",
                           "1.401298464324817e-45",
                           "7e-46",
                           "3.4028235e38",
                           "3.4028236e38",
                           "3.5e38",
                           "1e309",
                           "-1e309",
                           "1.7976931348623157e308",
                           "1.7976931348623159e308",
                           "4.9406564584124654e-324",
                           "2.4703282292062328e-324",
                           "2.4703282292062327e-324",
                           "9007199254740993",
                           "0.1000000000000000055511151231257827021181583404541015625",
                           "1.00000005960464477539062500000000000000000000000000000001",
                           "25",
                           "1e",
                           ".",
                           "",
                           "12abc",
                           "0x10"};
    for (const char* t : texts) {
        EXPECT_TRUE(sameParse<double>(t));
        EXPECT_TRUE(sameParse<float>(t));
    }
}

TEST(PortableCharconv, RandomValuesAgreeWithTheStandardLibrary)
{
    long count = 300'000;
    if (const char* env = std::getenv("TAVREL1_CHARCONV_VALUES"))
        count = std::atol(env);
    std::mt19937_64 rng(20240601);
    long mismatches = 0;
    for (long i = 0; i < count && mismatches < 10; ++i) {
        // Every bit pattern, wide-range mantissas, short decimals (the sheet's kind), and
        // moderate magnitudes with long fractions.
        double v = 0;
        switch (i % 4) {
        case 0:
            v = std::bit_cast<double>(rng());
            break;
        case 1:
            v = std::ldexp(static_cast<double>(rng() >> 11), static_cast<int>(rng() % 120) - 100);
            break;
        case 2:
            v = static_cast<double>(rng() % 100'000'000) / std::pow(10.0, rng() % 10);
            break;
        default:
            v = std::fmod(std::bit_cast<double>(rng() >> 2), 1e6);
        }
        if (!std::isfinite(v))
            continue;
        const int digits = static_cast<int>(rng() % 17);
        const Text shortest = stdShortest(v);
        bool ok = portableShortest(v) == shortest;
        ok = ok && portableGeneral(v, digits) == stdGeneral(v, digits);
        if (std::fabs(v) < 1e300)
            ok = ok && portableFixed(v, digits) == stdFixed(v, digits);
        ok = ok && sameParse<double>(shortest) && sameParse<float>(shortest);
        const Text general = stdGeneral(v, digits);
        ok = ok && sameParse<double>(general) && sameParse<float>(general);
        if (!ok) {
            ++mismatches;
            ADD_FAILURE() << "value " << shortest << ", digits " << digits;
        }
    }
    EXPECT_EQ(mismatches, 0);
}

} // namespace
