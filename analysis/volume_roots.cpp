#include "analysis/phase_analysis.h"
#include "analysis/reduced_eos.h"
#include "analysis/roots_internal.h"
#include "analysis/solvers.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <utility>

namespace analysis {
namespace {

constexpr double kRelTol = 1e-15;

// At most three values: a sorting network, which the optimiser also sees stays in bounds.
void sortAscending(double* x, int n)
{
    const auto order = [x](int i, int j) {
        if (x[j] < x[i])
            std::swap(x[i], x[j]);
    };
    if (n >= 2)
        order(0, 1);
    if (n == 3) {
        order(1, 2);
        order(0, 1);
    }
}

// Real roots of x³ + a2·x² + a1·x + a0, ascending. The largest in magnitude comes from the
// trigonometric or Cardano form; the other two from Vieta's relations divided by it, which
// keeps them accurate when one root is many orders larger (a vapour at a tiny pressure).
int cubicRoots(double a2, double a1, double a0, double out[3])
{
    const double q = (a2 * a2 - 3 * a1) / 9;
    const double r = (2 * a2 * a2 * a2 - 9 * a2 * a1 + 27 * a0) / 54;
    double big;
    if (r * r < q * q * q) {
        const double sq = std::sqrt(q);
        const double th = std::acos(std::clamp(r / (q * sq), -1.0, 1.0));
        const double c0 = -2 * sq * std::cos(th / 3) - a2 / 3;
        const double c1 = -2 * sq * std::cos((th + 2 * std::numbers::pi) / 3) - a2 / 3;
        const double c2 = -2 * sq * std::cos((th - 2 * std::numbers::pi) / 3) - a2 / 3;
        big = c0;
        if (std::fabs(c1) > std::fabs(big))
            big = c1;
        if (std::fabs(c2) > std::fabs(big))
            big = c2;
    } else {
        const double A = -std::copysign(std::cbrt(std::fabs(r) + std::sqrt(r * r - q * q * q)), r);
        big = A + (A == 0 ? 0 : q / A) - a2 / 3;
    }
    if (big == 0 || !std::isfinite(big)) {
        out[0] = big;
        return std::isfinite(big) ? 1 : 0;
    }
    // (x − big)·(x² − s·x + p) = x³ − (s + big)·x² + (p + big·s)·x − big·p.
    const double p = -a0 / big;
    const double s = (a1 - p) / big;
    const double disc = s * s - 4 * p;
    int n = 0;
    out[n++] = big;
    if (disc >= 0) {
        const double t = 0.5 * (s + std::copysign(std::sqrt(disc), s));
        if (t != 0) {
            out[n++] = t;
            out[n++] = p / t;
        }
    }
    sortAscending(out, n);
    return n;
}

// Newton on h(η) = π from a closed-form estimate; a step that does not reduce the residual
// ends the polish (the estimate was already as good as double allows).
double polish(const Isotherm& iso, double eta, double pi)
{
    for (int i = 0; i < 8; ++i) {
        const Reduced r = reduced(iso, eta);
        const double f = r.h - pi;
        if (f == 0 || r.dh == 0)
            break;
        const double next = eta - f / r.dh;
        if (!(next > 0 && next < etaMax(iso)) ||
            !(std::fabs(reducedH(iso, next) - pi) < std::fabs(f)))
            break;
        const bool done = std::fabs(next - eta) <= kRelTol * eta;
        eta = next;
        if (done)
            break;
    }
    return eta;
}

void addRoot(StateRoots& out, const Isotherm& iso, double eta, double pi)
{
    if (out.count == 3 || !(eta > 0))
        return;
    VolumeRoot& r = out.roots[static_cast<std::size_t>(out.count++)];
    r.v_cm3mol = iso.b / eta;
    r.z = pi / eta;
    r.lnPhi = lnPhiAt(iso, eta, pi);
    r.mechanicallyStable = reduced(iso, eta).dh > 0;
}

// The virial row's root on the far side of its pressure maximum `top`, where h falls to its
// zero at η0 = (√117 − 9)/2; 0 when π is at or above the maximum.
double fallingBranchRoot(const Isotherm& iso, double top, double pi)
{
    static const double kZeroPressureEta = (std::sqrt(117.0) - 9) / 2;
    if (!(pi < reducedH(iso, top)))
        return 0;
    const auto fdf = [&](double eta) {
        const Reduced r = reduced(iso, eta);
        return std::pair{r.h - pi, r.dh};
    };
    return newtonBracketed(fdf, top, kZeroPressureEta, (top + kZeroPressureEta) / 2, kRelTol,
                           false);
}

} // namespace

int rootsInVolume(const Isotherm& iso, double pi, double xs[3])
{
    if (iso.family == Family::Virial) // π·x³ − x² + x + 1/9 = 0
        return cubicRoots(-1 / pi, 1 / pi, 1 / (9 * pi), xs);
    if (iso.family != Family::Cubic)
        return 0;
    // h(η) = π times the denominators, in x = 1/η = V/b:
    // −π·x³ + (1 − π·(s − 1))·x² + (s − τ − π·(p − s))·x + (p + τ + π·p) = 0.
    const double s = iso.delta1 + iso.delta2;
    const double p = iso.delta1 * iso.delta2;
    const double t = iso.tau;
    const double c1 = 1 - pi * (s - 1);
    const double c2 = s - t - pi * (p - s);
    const double c3 = p + t + pi * p;
    return cubicRoots(-c1 / pi, -c2 / pi, -c3 / pi, xs);
}

double branchRoot(const Isotherm& iso, double lo, double hi, double pi, double guess, double relTol)
{
    const auto fdf = [&](double eta) {
        const Reduced r = reduced(iso, eta);
        return std::pair{r.h - pi, r.dh};
    };
    return newtonBracketed(fdf, lo, hi, guess, relTol, true);
}

double inflection(const Isotherm& iso, double relTol)
{
    // With h'' ≥ 0 at η = 0 the slope only grows and P(V) has no loop.
    const double d2lo = reduced(iso, 0).d2h;
    if (!(d2lo < 0))
        return 0;
    const double hi = etaMax(iso) * (1 - 1e-9);
    const double d2hi = reduced(iso, hi).d2h;
    if (!(d2hi > 0))
        return 0;
    const auto d2 = [&](double eta) { return reduced(iso, eta).d2h; };
    return brent(d2, 0.0, hi, d2lo, d2hi, relTol * hi);
}

ReducedSpinodals reducedSpinodals(const Isotherm& iso)
{
    ReducedSpinodals sp;
    const double top = etaMax(iso);
    if (iso.family == Family::Virial) {
        sp.etaVapour = top;
        return sp;
    }
    // The inflection only splits the two spinodals apart, so a loose tolerance serves.
    sp.etaInflection = inflection(iso, 1e-7);
    if (sp.etaInflection == 0)
        return sp;
    sp.minSlope = reduced(iso, sp.etaInflection).dh;
    if (!(sp.minSlope < 0))
        return sp;
    const auto slope = [&](double eta) {
        const Reduced r = reduced(iso, eta);
        return std::pair{r.dh, r.d2h};
    };
    // The spinodals bound the branches and the saturation pressure; h is stationary there,
    // so 1e-11 in η is far below anything it moves.
    constexpr double kSpinodalTol = 1e-11;
    sp.etaVapour =
        newtonBracketed(slope, 0.0, sp.etaInflection, sp.etaInflection / 2, kSpinodalTol, false);
    sp.etaLiquid = newtonBracketed(slope, sp.etaInflection, top * (1 - 1e-9),
                                   (sp.etaInflection + top) / 2, kSpinodalTol, true);
    sp.exists = sp.etaVapour > 0 && sp.etaLiquid > sp.etaVapour;
    return sp;
}

Spinodals spinodals(const Isotherm& iso)
{
    Spinodals out;
    if (!iso.valid)
        return out;
    const ReducedSpinodals sp = reducedSpinodals(iso);
    const double scale = iso.rt / iso.b;
    if (iso.family == Family::Virial) {
        out.vVapour = iso.b / sp.etaVapour;
        out.pVapour = scale * reducedH(iso, sp.etaVapour);
        return out;
    }
    if (!sp.exists)
        return out;
    out.exists = true;
    out.vLiquid = iso.b / sp.etaLiquid;
    out.pLiquid = scale * reducedH(iso, sp.etaLiquid);
    out.vVapour = iso.b / sp.etaVapour;
    out.pVapour = scale * reducedH(iso, sp.etaVapour);
    return out;
}

StateRoots rootsAt(const Isotherm& iso, double p_bar) { return rootsAt(iso, p_bar, nullptr); }

StateRoots rootsAt(const Isotherm& iso, double p_bar, UnphysicalRoots* unphysical)
{
    StateRoots out;
    if (!iso.valid || !(p_bar > 0) || !std::isfinite(p_bar))
        return out;
    const double pi = p_bar * iso.b / iso.rt;
    if (!std::isfinite(pi) || !(pi > 0))
        return out;
    double etas[3];
    int n = 0;
    if (iso.family == Family::Virial) {
        const double top = etaMax(iso);
        if (pi > reducedH(iso, top)) {
            out.status = RootsStatus::NoRoot;
            return out;
        }
        etas[n++] = branchRoot(iso, 0, top, pi, pi);
        // Past its maximum h falls to zero at 1 − η − η²/9 = 0; the second crossing of π
        // lies on that falling, mechanically unstable part.
        const double fall = fallingBranchRoot(iso, top, pi);
        if (fall > top)
            etas[n++] = fall;
    } else if (iso.family == Family::Cubic) {
        double xs[3];
        const int m = rootsInVolume(iso, pi, xs);
        for (int i = m - 1; i >= 0; --i) // descending x: ascending η
            if (xs[i] > 1)
                etas[n++] = polish(iso, 1 / xs[i], pi);
            else if (unphysical)
                unphysical->x[unphysical->count++] = xs[i];
    } else {
        const double top = etaMax(iso) * (1 - 1e-12);
        const ReducedSpinodals sp = reducedSpinodals(iso);
        if (!sp.exists) {
            etas[n++] = branchRoot(iso, 0, top, pi, pi);
        } else {
            const double hV = reducedH(iso, sp.etaVapour);
            const double hL = reducedH(iso, sp.etaLiquid);
            if (pi < hV)
                etas[n++] = branchRoot(iso, 0, sp.etaVapour, pi, std::min(pi, sp.etaVapour / 2));
            if (pi > hL && pi < hV) {
                // The unstable branch falls: root of π − h, which rises there.
                const auto fdf = [&](double eta) {
                    const Reduced r = reduced(iso, eta);
                    return std::pair{pi - r.h, -r.dh};
                };
                etas[n++] = newtonBracketed(fdf, sp.etaVapour, sp.etaLiquid,
                                            (sp.etaVapour + sp.etaLiquid) / 2, kRelTol, true);
            }
            if (pi > hL)
                etas[n++] = branchRoot(iso, sp.etaLiquid, top, pi, (sp.etaLiquid + top) / 2);
        }
    }
    // Descending η is ascending V.
    sortAscending(etas, n);
    std::reverse(etas, etas + n);
    for (int i = 0; i < n; ++i)
        addRoot(out, iso, etas[i], pi);
    out.status = out.count > 0 ? RootsStatus::Found : RootsStatus::NoRoot;
    int stableCount = 0;
    for (int i = 0; i < out.count; ++i) {
        const VolumeRoot& r = out.roots[static_cast<std::size_t>(i)];
        if (!r.mechanicallyStable)
            continue;
        ++stableCount;
        if (out.stable < 0 || r.lnPhi < out.roots[static_cast<std::size_t>(out.stable)].lnPhi)
            out.stable = i;
    }
    out.phaseSplit = iso.family != Family::Virial && stableCount >= 2;
    if (out.count > 0 && singularBelowPacking(iso)) {
        out.status = RootsStatus::Singular;
        out.vSingular = iso.b / esdPole(iso);
    }
    return out;
}

StateRoots volumeRoots(Model model, const Fluid& fluid, double t_K, double p_bar)
{
    return rootsAt(makeIsotherm(model, fluid, t_K), p_bar);
}

} // namespace analysis
