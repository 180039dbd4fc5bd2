#pragma once

#include <optional>
#include <string>
#include <string_view>

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

/// Formats a finite value with a fixed-decimal pattern: the decimals after the pattern's
/// point, at least one integer digit, a leading minus, no grouping, never "-0.0". Ties are
/// rounded from the exact binary value (printf). A non-finite value gives std::nullopt.
std::optional<std::string> formatPattern(double value, std::string_view pattern);

/// A value rounded to `digits` significant digits, trailing zeros and a trailing point
/// dropped (562.1 -> "562.1", 600 -> "600"); exponent form only outside 1e-5 .. 1e+digits.
std::string formatSignificant(double value, int digits);

/// The numeric test of the entry boxes: optional blanks around, an optional sign, digits
/// with an optional decimal point, an optional exponent; the value must fit a float.
/// The empty text is not numeric. The test and the conversions below always agree.
bool isNumeric(std::string_view text);
/// The text converted to a float, when it is numeric.
std::optional<float> toFloat(std::string_view text);
/// The text converted to a double, when it is numeric (same test as toFloat).
std::optional<double> toDouble(std::string_view text);

} // namespace state
