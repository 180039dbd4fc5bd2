#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

// Every number the program reads from text or writes as text passes through here, by
// std::from_chars and std::to_chars: the decimal separator is "." whatever locale the desktop
// has set for the process.
namespace state {

// The display patterns. "0" is a digit always printed, "#" one printed only when significant;
// every pattern here prints a fixed number of decimals and at least one integer digit.
inline constexpr std::string_view kFmtVolumeVap = "###0.0";  // vapour volume, cm3/mol
inline constexpr std::string_view kFmtVolumeLiq = "##0.000"; // liquid volume, cm3/mol
inline constexpr std::string_view kFmtDensity = "##0.00";    // SG g/cm3, vapour density kg/m3
inline constexpr std::string_view kFmtZ = "0.0000";          // compressibility factor
inline constexpr std::string_view kFmtPressBox = "#0.000";   // saturation pressure, bar
inline constexpr std::string_view kFmtTempBox = "#0.00";     // saturation temperature, °C
inline constexpr std::string_view kFmtPsatMessage = "##0.0"; // saturation pressure in a message

/// The number of decimals a pattern prints: the characters after its point.
constexpr int decimalsOf(std::string_view pattern)
{
    const std::size_t point = pattern.find('.');
    return point == std::string_view::npos ? 0 : static_cast<int>(pattern.size() - point - 1);
}

/// A formatted number held in place, so the result cells are written without allocating.
/// Room for any finite double in fixed form: 309 integer digits, sign, point, decimals.
class NumberText {
public:
    static constexpr int kMaxDecimals = 16;
    static constexpr int kCapacity = 336;
    std::string_view view() const
    {
        return {m_buf.data() + m_begin, static_cast<std::size_t>(kCapacity - m_begin)};
    }

private:
    friend bool formatFixed(double value, int decimals, NumberText& out);
    std::array<char, kCapacity> m_buf;
    int m_begin = kCapacity;
};

/// Formats a finite value with `decimals` fixed decimals (0 .. kMaxDecimals) into `out`: at
/// least one integer digit, a leading minus, no grouping, never "-0.0". Ties are rounded from
/// the exact binary value (as printf does). False, `out` untouched, for a non-finite value.
bool formatFixed(double value, int decimals, NumberText& out);

/// formatFixed with a pattern's decimals, as a string; std::nullopt for a non-finite value.
std::optional<std::string> formatPattern(double value, std::string_view pattern);

/// A value rounded to `digits` significant digits, trailing zeros and a trailing point
/// dropped (562.1 -> "562.1", 600 -> "600"); exponent form only outside 1e-5 .. 1e+digits.
std::string formatSignificant(double value, int digits);

/// The shortest text that reads back as the same double (98.954 -> "98.954"); empty for a
/// value that is not finite.
std::string formatShortest(double value);

/// Appends value as `digits` lower-case hexadecimal digits at least (an escape's code).
void appendHex(std::string& out, unsigned value, int digits);
/// Appends an integer in decimal.
void appendInteger(std::string& out, long long value);

/// The numeric test of the entry boxes: optional blanks around, an optional sign, digits
/// with an optional decimal point, an optional exponent; the value must fit a float.
/// The empty text is not numeric. The test and the conversions below always agree.
bool isNumeric(std::string_view text);
/// The text converted to a float, when it is numeric.
std::optional<float> toFloat(std::string_view text);
/// The text converted to a double, when it is numeric (same test as toFloat).
std::optional<double> toDouble(std::string_view text);
/// The number inside a text of the numeric grammar (blanks and a leading '+' removed, no
/// range test), for readers that keep every digit; std::nullopt outside the grammar.
std::optional<std::string_view> numericText(std::string_view text);

} // namespace state
