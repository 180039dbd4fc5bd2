#include "state/number_format.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>

#if TAVREL1_PORTABLE_CHARCONV
#include "state/portable_charconv.h"
#endif

namespace state {
namespace {

#if TAVREL1_PORTABLE_CHARCONV
namespace conv = portable;
#else
namespace conv {
std::to_chars_result toFixed(char* first, char* last, double value, int decimals)
{
    return std::to_chars(first, last, value, std::chars_format::fixed, decimals);
}
std::to_chars_result toGeneral(char* first, char* last, double value, int digits)
{
    return std::to_chars(first, last, value, std::chars_format::general, digits);
}
std::to_chars_result toShortest(char* first, char* last, double value)
{
    return std::to_chars(first, last, value);
}
template <class T> std::from_chars_result fromChars(const char* first, const char* last, T& value)
{
    return std::from_chars(first, last, value);
}
} // namespace conv
#endif

constexpr double kPow10[] = {1, 10, 100, 1e3, 1e4, 1e5, 1e6, 1e7, 1e8};
constexpr int kMaxScaledDecimals = 8;
/// Below this the scaled value and its integer part are exact in both double and uint64.
constexpr double kMaxScaled = 1e15;
/// Distance from a tie within which the fast path defers to exact decimal rounding.
constexpr double kTieMargin = 1e-6;

constexpr char kDigitPairs[] =
    "00010203040506070809101112131415161718192021222324252627282930313233"
    "34353637383940414243444546474849505152535455565758596061626364656667"
    "6869707172737475767778798081828384858687888990919293949596979899";

/// Writes the decimal digits of n backwards, ending before `p`, at least one; returns the
/// first.
char* writeInteger(char* p, std::uint64_t n)
{
    while (n >= 100) {
        p -= 2;
        std::memcpy(p, kDigitPairs + 2 * (n % 100), 2);
        n /= 100;
    }
    if (n >= 10) {
        p -= 2;
        std::memcpy(p, kDigitPairs + 2 * n, 2);
    } else {
        *--p = static_cast<char>('0' + n);
    }
    return p;
}

/// The fast path of formatFixed: value·10^decimals rounded to a whole number, when that
/// product lies well away from a tie (the product's own rounding error is far below the
/// margin), so the result is the one exact decimal rounding gives. Returns the first
/// character written backwards from `end`, or nullptr when the value needs the exact path.
char* formatScaled(double value, int decimals, char* end)
{
    if (decimals > kMaxScaledDecimals)
        return nullptr;
    const double scaled = std::fabs(value) * kPow10[decimals];
    if (!(scaled < kMaxScaled))
        return nullptr;
    // Truncation equals floor here: scaled is non-negative and below 2^53.
    const auto truncated = static_cast<std::uint64_t>(scaled);
    const double fraction = scaled - static_cast<double>(truncated);
    if (std::fabs(fraction - 0.5) < kTieMargin)
        return nullptr;
    const std::uint64_t digits = truncated + (fraction > 0.5 ? 1 : 0);
    char* p = end;
    std::uint64_t n = digits;
    for (int i = 0; i < decimals; ++i, n /= 10)
        *--p = static_cast<char>('0' + n % 10);
    if (decimals > 0)
        *--p = '.';
    p = writeInteger(p, n);
    if (value < 0 && digits != 0)
        *--p = '-';
    return p;
}

/// Near a tie, and for huge values: to_chars rounds the exact binary value, as printf does. A
/// finite double has at most 309 integer digits. Kept out of line so the fast path stays lean.
[[gnu::noinline]] int formatExact(double value, int decimals, char* end)
{
    std::array<char, NumberText::kCapacity> tmp;
    const auto res = conv::toFixed(tmp.data(), tmp.data() + tmp.size(), value, decimals);
    const char* first = tmp.data();
    if (*first == '-' && std::string_view(first, static_cast<std::size_t>(res.ptr - first))
                                 .find_first_not_of("-0.") == std::string_view::npos)
        ++first;
    const auto n = static_cast<std::size_t>(res.ptr - first);
    std::memcpy(end - n, first, n);
    return static_cast<int>(n);
}

} // namespace

bool formatFixed(double value, int decimals, NumberText& out)
{
    if (!std::isfinite(value) || decimals < 0 || decimals > NumberText::kMaxDecimals)
        return false;
    char* const end = out.m_buf.data() + NumberText::kCapacity;
    if (const char* p = formatScaled(value, decimals, end))
        out.m_begin = static_cast<int>(p - out.m_buf.data());
    else
        out.m_begin = NumberText::kCapacity - formatExact(value, decimals, end);
    return true;
}

std::optional<std::string> formatPattern(double value, std::string_view pattern)
{
    NumberText text;
    if (!formatFixed(value, decimalsOf(pattern), text))
        return std::nullopt;
    return std::string(text.view());
}

std::string formatSignificant(double value, int digits)
{
    if (!std::isfinite(value))
        return "0";
    char buf[64];
    const auto res = conv::toGeneral(buf, buf + sizeof buf, value, digits);
    std::string text(buf, res.ptr);
    if (text == "-0")
        text = "0";
    return text;
}

std::string formatShortest(double value)
{
    if (!std::isfinite(value))
        return "";
    char buf[64];
    const auto res = conv::toShortest(buf, buf + sizeof buf, value);
    return std::string(buf, res.ptr);
}

namespace {

bool isBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}
bool isDigit(char c) { return c >= '0' && c <= '9'; }

/// The numeric part of a text that passes the grammar of isNumeric, without the blanks and
/// without a leading '+' (which from_chars does not take), and the power of ten its value
/// lies near: positive for magnitudes from 1 up, negative below 0.1 (saturating).
struct NumericCore {
    std::string_view text;
    long magnitude;
};

std::optional<NumericCore> numericCore(std::string_view text)
{
    std::size_t b = 0, e = text.size();
    while (b < e && isBlank(text[b]))
        ++b;
    while (e > b && isBlank(text[e - 1]))
        --e;
    std::string_view s = text.substr(b, e - b);
    if (!s.empty() && s[0] == '+') {
        s.remove_prefix(1);
        if (!s.empty() && s[0] == '-')
            return std::nullopt;
    }
    std::size_t i = 0;
    if (i < s.size() && s[i] == '-')
        ++i;
    long intDigits = 0;    // integer digits after leading zeros
    long leadingZeros = 0; // zeros after the point before the first non-zero digit
    bool nonZeroSeen = false;
    std::size_t mantissa = 0;
    for (; i < s.size() && isDigit(s[i]); ++i, ++mantissa) {
        nonZeroSeen = nonZeroSeen || s[i] != '0';
        intDigits += nonZeroSeen ? 1 : 0;
    }
    if (i < s.size() && s[i] == '.') {
        for (++i; i < s.size() && isDigit(s[i]); ++i, ++mantissa) {
            if (!nonZeroSeen && s[i] == '0')
                ++leadingZeros;
            nonZeroSeen = nonZeroSeen || s[i] != '0';
        }
    }
    if (mantissa == 0)
        return std::nullopt;
    long exponent = 0;
    if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
        ++i;
        bool negative = false;
        if (i < s.size() && (s[i] == '+' || s[i] == '-'))
            negative = s[i++] == '-';
        const std::size_t start = i;
        constexpr long kSaturated = 1'000'000;
        for (; i < s.size() && isDigit(s[i]); ++i)
            exponent = std::min(kSaturated, exponent * 10 + (s[i] - '0'));
        if (i == start)
            return std::nullopt;
        if (negative)
            exponent = -exponent;
    }
    if (i != s.size())
        return std::nullopt;
    return NumericCore{s, (intDigits > 0 ? intDigits : -leadingZeros) + exponent};
}

/// from_chars over the whole core; a value too small for T reads as a signed zero, as the
/// C conversions give it; a value too large is no number.
template <class T> std::optional<T> convert(const NumericCore& core)
{
    T value{};
    const char* first = core.text.data();
    const char* last = first + core.text.size();
    const auto res = conv::fromChars(first, last, value);
    if (res.ec == std::errc::result_out_of_range && core.magnitude <= 0)
        return *first == '-' ? -T{0} : T{0};
    if (res.ec != std::errc{} || res.ptr != last || !std::isfinite(value))
        return std::nullopt;
    return value;
}

} // namespace

std::optional<float> toFloat(std::string_view text)
{
    const auto core = numericCore(text);
    if (!core)
        return std::nullopt;
    return convert<float>(*core);
}

std::optional<double> toDouble(std::string_view text)
{
    const auto core = numericCore(text);
    if (!core || !convert<float>(*core))
        return std::nullopt;
    return convert<double>(*core);
}

bool isNumeric(std::string_view text) { return toFloat(text).has_value(); }

std::optional<std::string_view> numericText(std::string_view text)
{
    const auto core = numericCore(text);
    return core ? std::optional<std::string_view>(core->text) : std::nullopt;
}

void appendHex(std::string& out, unsigned value, int digits)
{
    char buf[8];
    const auto r = std::to_chars(buf, buf + sizeof buf, value, 16);
    out.append(static_cast<std::size_t>(std::max<std::ptrdiff_t>(digits - (r.ptr - buf), 0)), '0');
    out.append(buf, r.ptr);
}

void appendInteger(std::string& out, long long value)
{
    char buf[24];
    const auto r = std::to_chars(buf, buf + sizeof buf, value);
    out.append(buf, r.ptr);
}

} // namespace state
