#include "state/number_format.h"

#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace state {

namespace {

constexpr double kPow10[] = {1, 10, 100, 1e3, 1e4, 1e5, 1e6, 1e7, 1e8};

/// The fast path of formatPattern: value·10^decimals rounded to a whole number, when that
/// product lies well away from a tie (the product's own rounding error is far below the
/// margin), so the result is the one exact decimal rounding gives. Nothing otherwise.
std::optional<std::string> formatScaled(double value, int decimals)
{
    if (decimals < 0 || decimals > 8)
        return std::nullopt;
    const double scaled = std::fabs(value) * kPow10[decimals];
    if (!(scaled < 1e15))
        return std::nullopt;
    const double whole = std::floor(scaled);
    const double fraction = scaled - whole;
    if (std::fabs(fraction - 0.5) < 1e-6)
        return std::nullopt;
    auto digits = static_cast<unsigned long long>(whole) + (fraction > 0.5 ? 1 : 0);
    char buf[32];
    char* end = buf + sizeof buf;
    char* p = end;
    for (int i = 0; i < decimals; ++i, digits /= 10)
        *--p = static_cast<char>('0' + digits % 10);
    if (decimals > 0)
        *--p = '.';
    do {
        *--p = static_cast<char>('0' + digits % 10);
        digits /= 10;
    } while (digits != 0);
    if (value < 0 &&
        std::string_view(p, static_cast<std::size_t>(end - p)).find_first_not_of("0.") !=
            std::string_view::npos)
        *--p = '-';
    return std::string(p, end);
}

} // namespace

std::optional<std::string> formatPattern(double value, std::string_view pattern)
{
    if (!std::isfinite(value))
        return std::nullopt;
    const auto point = pattern.find('.');
    const int decimals =
        point == std::string_view::npos ? 0 : static_cast<int>(pattern.size() - point - 1);
    if (auto fast = formatScaled(value, decimals))
        return fast;
    // Near a tie, and for huge values: to_chars rounds the exact binary value, as printf
    // does. A finite double has at most 309 integer digits; the decimals are a handful.
    char buf[400];
    const auto res =
        std::to_chars(buf, buf + sizeof buf, value, std::chars_format::fixed, decimals);
    std::string text(buf, res.ptr);
    if (text.front() == '-' && text.find_first_not_of("-0.") == std::string::npos)
        text.erase(0, 1);
    return text;
}

std::string formatSignificant(double value, int digits)
{
    if (!std::isfinite(value))
        return "0";
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.*g", digits, value);
    std::string text(buf);
    if (text == "-0")
        text = "0";
    return text;
}

namespace {

// Reads the grammar of isNumeric; returns the numeric part between the blanks, or nothing.
std::optional<std::string> numericCore(std::string_view text)
{
    std::size_t b = 0, e = text.size();
    while (b < e && std::isspace(static_cast<unsigned char>(text[b])))
        ++b;
    while (e > b && std::isspace(static_cast<unsigned char>(text[e - 1])))
        --e;
    const std::string_view s = text.substr(b, e - b);
    std::size_t i = 0;
    auto digits = [&] {
        const std::size_t start = i;
        while (i < s.size() && std::isdigit(static_cast<unsigned char>(s[i])))
            ++i;
        return i - start;
    };
    if (i < s.size() && (s[i] == '+' || s[i] == '-'))
        ++i;
    std::size_t mantissa = digits();
    if (i < s.size() && s[i] == '.') {
        ++i;
        mantissa += digits();
    }
    if (mantissa == 0)
        return std::nullopt;
    if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
        ++i;
        if (i < s.size() && (s[i] == '+' || s[i] == '-'))
            ++i;
        if (digits() == 0)
            return std::nullopt;
    }
    if (i != s.size())
        return std::nullopt;
    return std::string(s);
}

} // namespace

std::optional<float> toFloat(std::string_view text)
{
    const auto core = numericCore(text);
    if (!core)
        return std::nullopt;
    const float value = std::strtof(core->c_str(), nullptr);
    if (!std::isfinite(value))
        return std::nullopt;
    return value;
}

std::optional<double> toDouble(std::string_view text)
{
    if (!toFloat(text))
        return std::nullopt;
    return std::strtod(numericCore(text)->c_str(), nullptr);
}

bool isNumeric(std::string_view text) { return toFloat(text).has_value(); }

} // namespace state
