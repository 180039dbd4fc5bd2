#pragma once

#include <algorithm>
#include <cmath>
#include <utility>

// Scalar root finders with a bracket that never lets go: every step that a fast method
// proposes outside the bracket, or that does not shrink it enough, becomes a bisection.
namespace analysis {

/// Root of a monotone f on [lo, hi] that changes sign there (rising or falling, as the caller
/// knows), by Newton steps (fdf returns {f, f'}) kept inside the bracket. Stops at a relative
/// step of `relTol`.
template <class FDF>
double newtonBracketed(const FDF& fdf, double lo, double hi, double x, double relTol, bool rising,
                       int maxIter = 100)
{
    if (!(x > lo && x < hi))
        x = (lo + hi) / 2;
    for (int i = 0; i < maxIter; ++i) {
        const auto [f, df] = fdf(x);
        if (f == 0)
            return x;
        if ((f < 0) == rising)
            lo = x;
        else
            hi = x;
        double next = x - f / df;
        if (!(next > lo && next < hi) || !std::isfinite(next))
            next = (lo + hi) / 2;
        if (std::fabs(next - x) <= relTol * std::fabs(x) || hi - lo <= relTol * std::fabs(x))
            return next;
        x = next;
    }
    return x;
}

/// Root of f on [lo, hi] (f(lo), f(hi) of opposite sign) by Brent's method: inverse
/// quadratic interpolation and secant steps guarded by bisection (Brent 1973, ch. 4).
template <class F> double brent(const F& f, double a, double b, double fa, double fb, double tol)
{
    if (fa == 0)
        return a;
    if (fb == 0)
        return b;
    double c = a, fc = fa, d = b - a, e = d;
    for (int i = 0; i < 200; ++i) {
        if ((fb > 0) == (fc > 0)) {
            c = a;
            fc = fa;
            d = e = b - a;
        }
        if (std::fabs(fc) < std::fabs(fb)) {
            a = b;
            b = c;
            c = a;
            fa = fb;
            fb = fc;
            fc = fa;
        }
        const double t = 2 * 2.2e-16 * std::fabs(b) + tol / 2;
        const double m = (c - b) / 2;
        if (std::fabs(m) <= t || fb == 0)
            return b;
        if (std::fabs(e) >= t && std::fabs(fa) > std::fabs(fb)) {
            double p, q;
            const double s = fb / fa;
            if (a == c) {
                p = 2 * m * s;
                q = 1 - s;
            } else {
                const double qq = fa / fc;
                const double r = fb / fc;
                p = s * (2 * m * qq * (qq - r) - (b - a) * (r - 1));
                q = (qq - 1) * (r - 1) * (s - 1);
            }
            if (p > 0)
                q = -q;
            else
                p = -p;
            if (2 * p < std::min(3 * m * q - std::fabs(t * q), std::fabs(e * q))) {
                e = d;
                d = p / q;
            } else {
                d = m;
                e = m;
            }
        } else {
            d = m;
            e = m;
        }
        a = b;
        fa = fb;
        b += std::fabs(d) > t ? d : (m > 0 ? t : -t);
        fb = f(b);
    }
    return b;
}

} // namespace analysis
