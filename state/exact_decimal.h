#pragma once

#include <optional>
#include <string>
#include <string_view>

// Decimal numbers held exactly, digit by digit, for converting typed texts between units: a
// typed "300" K is 26.85 °C exactly, which no binary double says. Only what the conversions
// need: sums, products, division by a whole number, rounding, and fixed-point text. Sizes stay
// small (a typed number and a constant of at most twenty digits), so plain loops suffice.
namespace state {

struct ExactDecimal {
    bool negative = false;
    std::string digits; // most significant first; no leading or trailing zeros; empty for 0
    long exponent = 0;  // value = ±digits · 10^exponent

    bool isZero() const { return digits.empty(); }
    friend bool operator==(const ExactDecimal&, const ExactDecimal&) = default;
};

/// A text of the entry boxes' numeric grammar (blanks, sign, digits, point, exponent) as an
/// exact decimal; std::nullopt for any other text. A magnitude below 1e-400 reads as zero, as
/// it does when the calculation converts the text.
std::optional<ExactDecimal> parseExactDecimal(std::string_view text);

/// A decimal constant written in the source, e.g. "273.15"; the text must be valid.
ExactDecimal exactDecimal(std::string_view literal);

ExactDecimal operator+(const ExactDecimal& a, const ExactDecimal& b);
ExactDecimal operator*(const ExactDecimal& a, const ExactDecimal& b);

/// a / divisor (divisor not zero) to at least `significant` significant digits. When the
/// quotient does not end there, `exact` is false and a digit 1 is appended after the kept
/// ones: the text then lies, like the true value, strictly between two neighbours at the last
/// kept place, so any rounding to that place or a coarser one comes out as for the true value.
/// (A non-ending quotient is never a tie, and never a float's or double's rounding midpoint.)
struct Quotient {
    ExactDecimal value;
    bool exact = true;
};
Quotient divide(const ExactDecimal& a, const ExactDecimal& divisor, int significant);

/// Rounded half away from zero to `decimals` places after the point (may be negative).
ExactDecimal roundToDecimals(const ExactDecimal& a, long decimals);
/// Rounded half away from zero to `digits` (>= 1) significant digits.
ExactDecimal roundToSignificant(const ExactDecimal& a, int digits);

/// Fixed-point text: "-0.087024", "25", "300.15"; "0" for zero. No exponent, no trailing
/// zeros after the point.
std::string toText(const ExactDecimal& a);
/// As toText, padded with zeros to at least `decimals` places after the point.
std::string toText(const ExactDecimal& a, long decimals);

/// Digits after the point that a typed text shows ("87.020" -> 3, "1e-3" -> 3, "25" -> 0).
long shownDecimals(std::string_view text);
/// Significant digits a typed text shows, trailing zeros included ("0.08700" -> 4); 0 for
/// zero or a text that is not numeric.
int shownSignificant(std::string_view text);

} // namespace state
