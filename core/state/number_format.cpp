#include "core/state/number_format.h"

#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace core {

std::optional<std::string> formatPattern(double value, std::string_view pattern)
{
    if (!std::isfinite(value))
        return std::nullopt;
    const auto point = pattern.find('.');
    const int decimals =
        point == std::string_view::npos ? 0 : static_cast<int>(pattern.size() - point - 1);
    // A finite double has at most 309 integer digits; the decimals are at most a handful.
    // to_chars rounds the exact binary value, as printf does, and is several times faster.
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

} // namespace core
