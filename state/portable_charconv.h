#pragma once

// Floating-point text conversions with exactly the results of std::to_chars and
// std::from_chars, for a standard library that lacks them for double (the browser build's
// libc++). Reading is fast_float's (correctly rounded); writing takes fmt's correctly rounded
// fixed and general forms and its shortest round-trip digits, laid out as std::to_chars lays
// them out. Native builds use the standard library; tests compare the two on millions of
// values.

#define FMT_HEADER_ONLY
#include <charconv>
#include <cmath>
#include <cstring>
#include <fast_float/fast_float.h>
#include <fmt/format.h>
#include <string_view>
#include <system_error>

namespace state::portable {

namespace detail {

/// Copies text into [first, last); value_too_large when it does not fit.
inline std::to_chars_result put(char* first, char* last, std::string_view text)
{
    if (static_cast<std::size_t>(last - first) < text.size())
        return {last, std::errc::value_too_large};
    std::memcpy(first, text.data(), text.size());
    return {first + text.size(), std::errc{}};
}

} // namespace detail

/// std::to_chars(first, last, value, std::chars_format::fixed, decimals).
inline std::to_chars_result toFixed(char* first, char* last, double value, int decimals)
{
    fmt::memory_buffer buf;
    fmt::format_to(std::back_inserter(buf), "{:.{}f}", value, decimals);
    return detail::put(first, last, {buf.data(), buf.size()});
}

/// std::to_chars(first, last, value, std::chars_format::general, digits): printf's %.*g.
inline std::to_chars_result toGeneral(char* first, char* last, double value, int digits)
{
    fmt::memory_buffer buf;
    fmt::format_to(std::back_inserter(buf), "{:.{}g}", value, digits);
    return detail::put(first, last, {buf.data(), buf.size()});
}

namespace detail {

/// The shortest round-trip digits of a finite value ≥ 0 without trailing zeros, and the
/// decimal exponent: value = 0.DIGITS * 10^pointPos; no digits for zero.
struct ShortestDigits {
    char digits[24];
    int n = 0;
    int pointPos = 0; // digits before the point, counted from the first significant one
};

inline ShortestDigits shortestDigits(double absValue)
{
    // fmt's "{}" gives the shortest round-trip digits, in a layout of its own: take the
    // digits and the decimal exponent from it.
    char shortest[40];
    const auto res = fmt::format_to_n(shortest, sizeof shortest, "{}", absValue);
    const std::string_view text(shortest, res.size);
    const std::size_t ePos = text.find('e');
    const std::string_view mantissa = text.substr(0, ePos);
    int exponent = 0;
    if (ePos != std::string_view::npos) {
        const char* expFirst = text.data() + ePos + 1;
        if (*expFirst == '+')
            ++expFirst;
        std::from_chars(expFirst, text.data() + text.size(), exponent);
    }
    ShortestDigits d;
    char* digits = d.digits;
    int& n = d.n;
    int& pointPos = d.pointPos;
    bool seenPoint = false;
    for (const char ch : mantissa) {
        if (ch == '.') {
            seenPoint = true;
            continue;
        }
        if (n == 0 && ch == '0') {
            if (seenPoint)
                --pointPos;
            continue;
        }
        digits[n++] = ch;
        if (!seenPoint)
            ++pointPos;
    }
    if (n == 0)
        return d;
    while (n > 1 && digits[n - 1] == '0') // "{}" of 1e+21 writes no trailing zeros, but
        --n;                              // "100" writes them: either way they are padding
    pointPos += exponent;
    return d;
}

} // namespace detail

/// std::to_chars(first, last, value): the shortest digits that read back as the value, in
/// fixed or scientific form, whichever is shorter (fixed on a tie).
inline std::to_chars_result toShortest(char* first, char* last, double value)
{
    if (!std::isfinite(value)) {
        fmt::memory_buffer buf;
        fmt::format_to(std::back_inserter(buf), "{}", value);
        return detail::put(first, last, {buf.data(), buf.size()});
    }
    const detail::ShortestDigits d = detail::shortestDigits(std::fabs(value));
    const char* digits = d.digits;
    const int n = d.n;
    const int pointPos = d.pointPos;
    const bool negative = std::signbit(value);
    std::string out = negative ? "-" : "";
    if (n == 0) {
        out += '0';
        return detail::put(first, last, out);
    }
    const int sciExponent = pointPos - 1;
    const int absExp = sciExponent < 0 ? -sciExponent : sciExponent;
    const int sciLength = n + (n > 1 ? 1 : 0) + 2 + (absExp >= 100 ? 3 : 2);
    const int fixedLength = pointPos >= n ? pointPos : pointPos > 0 ? n + 1 : 2 - pointPos + n;
    if (fixedLength <= sciLength) {
        if (pointPos >= n) {
            // An integer: of the texts of this length the exact value is the closest.
            fmt::memory_buffer buf;
            fmt::format_to(std::back_inserter(buf), "{:.0f}", std::fabs(value));
            out.append(buf.data(), buf.size());
        } else if (pointPos > 0) {
            out.append(digits, static_cast<std::size_t>(pointPos));
            out += '.';
            out.append(digits + pointPos, static_cast<std::size_t>(n - pointPos));
        } else {
            out += "0.";
            out.append(static_cast<std::size_t>(-pointPos), '0');
            out.append(digits, static_cast<std::size_t>(n));
        }
    } else {
        out += digits[0];
        if (n > 1) {
            out += '.';
            out.append(digits + 1, static_cast<std::size_t>(n - 1));
        }
        out += sciExponent < 0 ? "e-" : "e+";
        if (absExp < 10)
            out += '0';
        char expText[8];
        const auto e = std::to_chars(expText, expText + sizeof expText, absExp);
        out.append(expText, e.ptr);
    }
    return detail::put(first, last, out);
}

/// std::from_chars(first, last, value) for float or double: a value beyond the type's range,
/// or one so small that it reads as zero, is result_out_of_range.
template <class T> std::from_chars_result fromChars(const char* first, const char* last, T& value)
{
    T parsed{};
    const auto r = fast_float::from_chars(first, last, parsed);
    if (r.ec != std::errc{})
        return {r.ptr, r.ec};
    const std::string_view text(first, static_cast<std::size_t>(r.ptr - first));
    if (std::isinf(parsed) && text.find_first_of("iInN") == std::string_view::npos)
        return {r.ptr, std::errc::result_out_of_range};
    if (parsed == T{0}) {
        const std::string_view mantissa = text.substr(0, text.find_first_of("eE"));
        if (mantissa.find_first_of("123456789") != std::string_view::npos)
            return {r.ptr, std::errc::result_out_of_range};
    }
    value = parsed;
    return {r.ptr, std::errc{}};
}

} // namespace state::portable
