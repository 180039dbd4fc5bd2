#include "analysis/phase_analysis.h"
#include "analysis/reduced_eos.h"
#include "analysis/roots_internal.h"

#include <algorithm>
#include <cmath>
#include <optional>

// The vapour pressure from equal fugacity. In reduced terms (π = P·b/(R·T)) the outer unknown
// is ln π: F = ln φL − ln φV falls with it, with dF/d ln π = ZL − ZV exactly, so Newton's
// step is F/(ZV − ZL). The liquid and vapour roots come from their own monotone branches,
// bounded by the spinodals, and the spinodal pressures bound π: below the liquid spinodal only
// the vapour exists, above the vapour spinodal only the liquid, so every trial keeps the
// bracket. Start: at low T the vapour is ideal and the liquid sits near its zero-pressure root,
// so equal chemical potential gives ln π ≈ A_res(ηL) + ZL + ln ηL − 1. Near the critical point
// that estimate leaves the (narrow) spinodal window; there the loop is to leading order an
// antisymmetric cubic about the critical point, whose equal-area pressure is the midpoint of
// the two spinodal pressures, and that is the start.
namespace analysis {
namespace {

constexpr int kIterationCap = 100;
constexpr double kFugacityTol = 1e-13;
constexpr double kRootTol = 1e-15;

Saturation fail(Saturation s, SaturationStatus status)
{
    s.status = status;
    return s;
}

/// Why no saturation is sought at all: the virial row has no phase split, T is no
/// temperature, or the model's critical point was not found.
std::optional<SaturationStatus> unsolvable(Model model, double t_K, const CriticalPoint& critical)
{
    if (model == Model::Vir)
        return SaturationStatus::NoPhaseSplit;
    if (!(t_K > 0) || !std::isfinite(t_K))
        return SaturationStatus::InvalidInput;
    switch (critical.status) {
    case CriticalStatus::Found:
        break;
    case CriticalStatus::NotConverged:
        return SaturationStatus::NotConverged;
    case CriticalStatus::InvalidInput:
        return SaturationStatus::InvalidInput;
    case CriticalStatus::NoCriticalPoint:
        return SaturationStatus::NoLiquidRoot;
    }
    return std::nullopt;
}

} // namespace

Saturation saturation(Model model, const Fluid& fluid, double t_K, const CriticalPoint& critical)
{
    Saturation out;
    out.t_K = t_K;
    if (const std::optional<SaturationStatus> refused = unsolvable(model, t_K, critical))
        return fail(out, *refused);
    // Above the critical temperature a Soave-type α that grows again far up (its root
    // 1 + m·(1 − √Tr) crosses zero) can raise a/(b·R·T) past its critical value once more:
    // the isotherm loops again and the model has a vapour pressure there. Only the loop
    // decides; where there is none, or the solve fails within rounding of Tc, T is above
    // critical.
    const bool aboveCritical = t_K >= critical.t_K;
    const SaturationStatus noLoop =
        aboveCritical ? SaturationStatus::AboveCritical : SaturationStatus::NoLiquidRoot;
    const Isotherm iso = makeIsotherm(model, fluid, t_K);
    if (!iso.valid)
        return fail(out, aboveCritical ? SaturationStatus::AboveCritical
                                       : SaturationStatus::InvalidInput);
    const ReducedSpinodals sp = reducedSpinodals(iso);
    if (!sp.exists)
        return fail(out, noLoop);

    const double top = etaMax(iso) * (1 - 1e-12);
    const double hLiquid = reducedH(iso, sp.etaLiquid);
    const double hVapour = reducedH(iso, sp.etaVapour);
    double lo = std::max(hLiquid, 0.0);
    double hi = hVapour;
    if (!(hi > lo))
        return fail(out, noLoop);
    const SaturationStatus notConverged =
        aboveCritical ? SaturationStatus::AboveCritical : SaturationStatus::NotConverged;

    double etaL = sp.etaLiquid;
    if (hLiquid < 0)
        etaL = branchRoot(iso, sp.etaLiquid, top, 0.0, (sp.etaLiquid + top) / 2, 1e-8);
    const double zL0 = reducedH(iso, etaL) / etaL;
    double pi = std::exp(residualHelmholtz(iso, etaL) + zL0 + std::log(etaL) - 1);
    if (!(pi > lo && pi < hi))
        pi = (lo + hi) / 2;
    double etaV = std::min(pi, sp.etaVapour / 2);

    double lastF = 1;
    for (int it = 1; it <= kIterationCap; ++it) {
        if (!(pi > 0) || !std::isfinite(pi))
            return fail(out, notConverged);
        // The roots need full precision only once the outer step is small: loosen them while
        // it is large (the last |F| bounds the next one quadratically).
        const double rootTol = std::clamp(lastF * lastF * 1e-3, kRootTol, 1e-8);
        etaL = branchRoot(iso, sp.etaLiquid, top, pi, etaL, rootTol);
        etaV = branchRoot(iso, 0, sp.etaVapour, pi, etaV, rootTol);
        const double lnPhiL = lnPhiAt(iso, etaL, pi);
        const double lnPhiV = lnPhiAt(iso, etaV, pi);
        const double f = lnPhiL - lnPhiV;
        const double zL = pi / etaL, zV = pi / etaV;
        if (!std::isfinite(f) || !(zV > zL))
            return fail(out, notConverged);
        const double step = f / (zV - zL);
        if (rootTol == kRootTol && (std::fabs(f) <= kFugacityTol || std::fabs(step) <= 1e-15)) {
            out.status = SaturationStatus::Converged;
            out.p_bar = pi * iso.rt / iso.b;
            out.vLiquid = iso.b / etaL;
            out.vVapour = iso.b / etaV;
            out.lnPhi = (lnPhiL + lnPhiV) / 2;
            out.iterations = it;
            return out;
        }
        lastF = std::fabs(f);
        if (f > 0)
            lo = pi;
        else
            hi = pi;
        double next = pi * std::exp(step);
        if (!(next > lo && next < hi))
            next = lo > 0 ? std::sqrt(lo * hi) : hi / 2;
        pi = next;
    }
    return fail(out, notConverged);
}

Saturation saturation(Model model, const Fluid& fluid, double t_K)
{
    return saturation(model, fluid, t_K, criticalPoint(model, fluid));
}

std::vector<Saturation> saturationCurve(Model model, const Fluid& fluid, double trFrom, int points)
{
    std::vector<Saturation> curve;
    const CriticalPoint cp = criticalPoint(model, fluid);
    if (!cp.found() || points < 2 || !(trFrom > 0 && trFrom < 1))
        return curve;
    curve.reserve(static_cast<std::size_t>(points));
    for (int i = 0; i + 1 < points; ++i) {
        // Quadratic spacing: closer points where the curve bends into the critical point.
        const double u = 1 - static_cast<double>(i) / (points - 1);
        const Saturation s = saturation(model, fluid, cp.t_K * (1 - (1 - trFrom) * u * u), cp);
        if (s.converged())
            curve.push_back(s);
    }
    Saturation top;
    top.status = SaturationStatus::Converged;
    top.t_K = cp.t_K;
    top.p_bar = cp.p_bar;
    top.vLiquid = top.vVapour = cp.v_cm3mol;
    top.lnPhi = lnPhi(makeIsotherm(model, fluid, cp.t_K), cp.v_cm3mol);
    curve.push_back(top);
    return curve;
}

} // namespace analysis
