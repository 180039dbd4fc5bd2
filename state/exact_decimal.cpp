#include "state/exact_decimal.h"

#include "state/number_format.h"

#include <algorithm>
#include <cassert>
#include <vector>

namespace state {
namespace {

// Beyond 1e±400 no double exists; a typed text that small is zero to the calculation, and
// one that large is no number to it.
constexpr long kMagnitudeLimit = 400;
// The typed exponent saturates here while its digits are read, as the numeric test does.
constexpr long kExponentSaturation = 1'000'000;

ExactDecimal normalized(ExactDecimal d)
{
    const std::size_t first = d.digits.find_first_not_of('0');
    if (first == std::string::npos)
        return {};
    const std::size_t last = d.digits.find_last_not_of('0');
    d.exponent += static_cast<long>(d.digits.size() - 1 - last);
    d.digits = d.digits.substr(first, last - first + 1);
    return d;
}

/// The parts of a numeric text: sign, mantissa digits without the point, digits after the
/// point, the exponent. std::nullopt for a text outside the grammar, which number_format
/// checks, so the scan here trusts it.
struct Parts {
    bool negative = false;
    std::string mantissa;
    long fraction = 0;
    long exponent = 0;
};

std::optional<Parts> split(std::string_view text)
{
    const std::optional<std::string_view> number = numericText(text);
    if (!number)
        return std::nullopt;
    std::string_view s = *number;
    Parts p;
    p.negative = s.front() == '-';
    if (p.negative)
        s.remove_prefix(1);
    std::size_t i = 0;
    bool afterPoint = false;
    for (; i < s.size() && s[i] != 'e' && s[i] != 'E'; ++i) {
        if (s[i] == '.') {
            afterPoint = true;
            continue;
        }
        p.mantissa += s[i];
        p.fraction += afterPoint ? 1 : 0;
    }
    if (i < s.size()) { // the grammar puts at least one digit after the exponent's sign
        const bool negative = s[++i] == '-';
        if (s[i] == '+' || s[i] == '-')
            ++i;
        for (; i < s.size(); ++i)
            p.exponent = std::min(kExponentSaturation, p.exponent * 10 + (s[i] - '0'));
        if (negative)
            p.exponent = -p.exponent;
    }
    return p;
}

/// Digit strings of equal length and place: |a| <=> |b|.
int compareDigits(const std::string& a, const std::string& b) { return a.compare(b); }

std::string withoutLeadingZeros(const std::string& s)
{
    const std::size_t first = s.find_first_not_of('0');
    return first == std::string::npos ? std::string() : s.substr(first);
}

/// Whole numbers as digit strings without leading zeros ("" is zero): a < b.
bool lessThan(const std::string& a, const std::string& b)
{
    return a.size() != b.size() ? a.size() < b.size() : a < b;
}

/// Sum of two digit strings of equal length (a carry may lengthen it).
std::string addDigits(const std::string& a, const std::string& b)
{
    std::string out(a.size(), '0');
    int carry = 0;
    for (std::size_t i = a.size(); i-- > 0;) {
        const int d = (a[i] - '0') + (b[i] - '0') + carry;
        out[i] = static_cast<char>('0' + d % 10);
        carry = d / 10;
    }
    return carry ? "1" + out : out;
}

/// a − b for digit strings of equal length with a >= b.
std::string subtractDigits(const std::string& a, const std::string& b)
{
    std::string out(a.size(), '0');
    int borrow = 0;
    for (std::size_t i = a.size(); i-- > 0;) {
        int d = (a[i] - '0') - (b[i] - '0') - borrow;
        borrow = d < 0 ? 1 : 0;
        out[i] = static_cast<char>('0' + d + 10 * borrow);
    }
    return out;
}

/// The digits of `d` written out down to the place 10^exponent (exponent <= d.exponent),
/// left-padded to `width`.
std::string alignedDigits(const ExactDecimal& d, long exponent, std::size_t width)
{
    std::string s = d.digits + std::string(static_cast<std::size_t>(d.exponent - exponent), '0');
    return std::string(width - s.size(), '0') + s;
}

} // namespace

std::optional<ExactDecimal> parseExactDecimal(std::string_view text)
{
    const auto p = split(text);
    if (!p)
        return std::nullopt;
    ExactDecimal d = normalized({p->negative, p->mantissa, p->exponent - p->fraction});
    const long magnitude = d.exponent + static_cast<long>(d.digits.size());
    if (d.isZero() || magnitude < -kMagnitudeLimit)
        return ExactDecimal{};
    if (magnitude > kMagnitudeLimit)
        return std::nullopt;
    return d;
}

ExactDecimal exactDecimal(std::string_view literal)
{
    const auto d = parseExactDecimal(literal);
    assert(d);
    return d.value_or(ExactDecimal{});
}

ExactDecimal operator+(const ExactDecimal& a, const ExactDecimal& b)
{
    if (a.isZero())
        return b;
    if (b.isZero())
        return a;
    const long exponent = std::min(a.exponent, b.exponent);
    const std::size_t width =
        std::max(a.digits.size() + static_cast<std::size_t>(a.exponent - exponent),
                 b.digits.size() + static_cast<std::size_t>(b.exponent - exponent));
    const std::string x = alignedDigits(a, exponent, width);
    const std::string y = alignedDigits(b, exponent, width);
    if (a.negative == b.negative)
        return normalized({a.negative, addDigits(x, y), exponent});
    if (compareDigits(x, y) >= 0)
        return normalized({a.negative, subtractDigits(x, y), exponent});
    return normalized({b.negative, subtractDigits(y, x), exponent});
}

ExactDecimal operator*(const ExactDecimal& a, const ExactDecimal& b)
{
    if (a.isZero() || b.isZero())
        return {};
    std::vector<int> acc(a.digits.size() + b.digits.size(), 0);
    for (std::size_t i = a.digits.size(); i-- > 0;)
        for (std::size_t j = b.digits.size(); j-- > 0;)
            acc[i + j + 1] += (a.digits[i] - '0') * (b.digits[j] - '0');
    for (std::size_t k = acc.size(); k-- > 1;) {
        acc[k - 1] += acc[k] / 10;
        acc[k] %= 10;
    }
    std::string digits;
    for (const int d : acc)
        digits += static_cast<char>('0' + d);
    return normalized({a.negative != b.negative, digits, a.exponent + b.exponent});
}

Quotient divide(const ExactDecimal& a, const ExactDecimal& divisor, int significant)
{
    assert(!divisor.isZero());
    if (a.isZero() || divisor.isZero())
        return {};
    // Long division of a's digits (then zeros) by the divisor's digits; the remainder stays
    // below the divisor, so each quotient digit takes at most nine subtractions.
    const std::string& d = divisor.digits;
    std::string digits, remainder;
    long exponent = a.exponent - divisor.exponent;
    int kept = 0; // significant digits of the quotient so far
    for (std::size_t i = 0; i < a.digits.size() || (!remainder.empty() && kept < significant);
         ++i) {
        if (i >= a.digits.size())
            --exponent;
        remainder += i < a.digits.size() ? a.digits[i] : '0';
        remainder = withoutLeadingZeros(remainder);
        int q = 0;
        for (; !lessThan(remainder, d); ++q)
            remainder = withoutLeadingZeros(
                subtractDigits(remainder, std::string(remainder.size() - d.size(), '0') + d));
        digits += static_cast<char>('0' + q);
        kept += (kept > 0 || q != 0) ? 1 : 0;
    }
    Quotient out;
    out.exact = remainder.empty();
    if (!out.exact) {
        digits += '1';
        --exponent;
    }
    out.value = normalized({a.negative != divisor.negative, digits, exponent});
    return out;
}

ExactDecimal roundToDecimals(const ExactDecimal& a, long decimals)
{
    const long cut = -decimals - a.exponent; // trailing digits to drop
    if (a.isZero() || cut <= 0)
        return a;
    const auto n = static_cast<long>(a.digits.size());
    if (cut > n)
        return {};
    std::string kept = a.digits.substr(0, static_cast<std::size_t>(n - cut));
    if (a.digits[static_cast<std::size_t>(n - cut)] >= '5') {
        if (kept.empty())
            kept = "0";
        std::string one(kept.size(), '0');
        one.back() = '1';
        kept = addDigits(kept, one);
    }
    return normalized({a.negative, kept, a.exponent + cut});
}

ExactDecimal roundToSignificant(const ExactDecimal& a, int digits)
{
    const long top = a.exponent + static_cast<long>(a.digits.size()); // places above the point
    return roundToDecimals(a, static_cast<long>(digits) - top);
}

std::string toText(const ExactDecimal& a) { return toText(a, 0); }

std::string toText(const ExactDecimal& a, long decimals)
{
    std::string s;
    if (a.isZero()) {
        s = "0";
    } else if (a.exponent >= 0) {
        s = a.digits + std::string(static_cast<std::size_t>(a.exponent), '0');
    } else {
        const long intLen = static_cast<long>(a.digits.size()) + a.exponent;
        if (intLen > 0)
            s = a.digits.substr(0, static_cast<std::size_t>(intLen)) + "." +
                a.digits.substr(static_cast<std::size_t>(intLen));
        else
            s = "0." + std::string(static_cast<std::size_t>(-intLen), '0') + a.digits;
    }
    const std::size_t point = s.find('.');
    const long have = point == std::string::npos ? 0 : static_cast<long>(s.size() - point - 1);
    if (have < decimals)
        s += (point == std::string::npos ? "." : "") +
             std::string(static_cast<std::size_t>(decimals - have), '0');
    return a.negative && !a.isZero() ? "-" + s : s;
}

long shownDecimals(std::string_view text)
{
    const auto p = split(text);
    return p ? std::max(0L, p->fraction - p->exponent) : 0;
}

int shownSignificant(std::string_view text)
{
    const auto p = split(text);
    if (!p)
        return 0;
    const std::size_t first = p->mantissa.find_first_not_of('0');
    return first == std::string::npos ? 0 : static_cast<int>(p->mantissa.size() - first);
}

} // namespace state
