#include "analysis/exponential_integral.h"

#include <cfloat>
#include <cmath>
#include <numbers>

namespace analysis {
namespace {

constexpr int kTermCap = 400; // far beyond what x ≤ kEiSeriesTop needs (about 3·x + 40 terms)
// Below 1 the alternating series of Ein loses no digit; above it E1's continued fraction
// converges in a few dozen steps.
constexpr double kSeriesTop = 1;
// Above 50 the asymptotic series of Ei reaches 1e-20 before it diverges; below, the power
// series sums positive terms (up to e^50, far inside the double range).
constexpr double kEiSeriesTop = 50;

// Σ (−1)^(k+1)·x^k/(k·k!), k ≥ 1 (A&S 5.1.11 less γ + ln x).
double einSeries(double x)
{
    double term = 1, sum = 0;
    for (int k = 1; k < kTermCap; ++k) {
        term *= -x / k;
        const double add = -term / k;
        sum += add;
        if (std::fabs(add) <= DBL_EPSILON * std::fabs(sum))
            break;
    }
    return sum;
}

// E1 by its continued fraction, evaluated by the modified Lentz method (A&S 5.1.22).
double e1Fraction(double x)
{
    constexpr double kTiny = 1e-300;
    double b = x + 1;
    double c = 1 / kTiny;
    double d = 1 / b;
    double h = d;
    for (int i = 1; i < kTermCap; ++i) {
        const double an = -static_cast<double>(i) * i;
        b += 2;
        d = 1 / (an * d + b);
        c = b + an / c;
        const double delta = c * d;
        h *= delta;
        if (std::fabs(delta - 1) <= DBL_EPSILON)
            break;
    }
    return h * std::exp(-x);
}

} // namespace

double expIntE1(double x)
{
    if (x <= kSeriesTop)
        return einSeries(x) - std::numbers::egamma - std::log(x);
    return e1Fraction(x);
}

double expIntEin(double x)
{
    if (x <= kSeriesTop)
        return einSeries(x);
    return std::numbers::egamma + std::log(x) + e1Fraction(x);
}

double expIntEiScaled(double x)
{
    if (x <= kEiSeriesTop) {
        // Ei(x) = γ + ln x + Σ x^k/(k·k!) (A&S 5.1.10): positive terms, no cancellation
        // except in γ + ln x near the zero of Ei at 0.3725, where only absolute accuracy
        // counts.
        double term = 1, sum = 0;
        for (int k = 1; k < kTermCap; ++k) {
            term *= x / k;
            const double add = term / k;
            sum += add;
            if (add <= DBL_EPSILON * sum)
                break;
        }
        return std::exp(-x) * (std::numbers::egamma + std::log(x) + sum);
    }
    // e^(−x)·Ei(x) ~ (1/x)·Σ k!/x^k (A&S 5.1.51), stopped at its smallest term.
    double term = 1, sum = 1;
    for (int k = 1; k < kTermCap; ++k) {
        const double next = term * k / x;
        if (next >= term || next <= DBL_EPSILON * sum)
            break;
        term = next;
        sum += term;
    }
    return sum / x;
}

} // namespace analysis
