#include "analysis/phase_envelope.h"

#include "analysis/quadrature.h"
#include "analysis/reduced_eos.h"
#include "analysis/roots_internal.h"
#include "analysis/solvers.h"

#include <cmath>

namespace analysis {
namespace {

// The 7-point Gauss rule embedded in the 15-point Kronrod one (its nodes are the Kronrod nodes
// of odd index; QUADPACK qk15): their difference estimates the error of a panel.
constexpr double kGaussWeights[4] = {
    0.129484966168869693270611432679082, 0.279705391489276667901467771423780,
    0.381830050505118944950369775488975, 0.417959183673469387755102040816327};
// Panels are halved until the estimate is below 1e-12 of the whole area (the Kronrod value is
// far better than that estimate), at most 40 levels deep.
constexpr double kAreaRelTol = 1e-12;
constexpr int kMaxDepth = 40;

struct Panel {
    double kronrod, gauss;
};

template <class F> Panel panel(const F& f, double a, double b)
{
    const double half = (b - a) / 2, mid = (a + b) / 2;
    Panel out{0, 0};
    for (int i = 0; i < 8; ++i) {
        const double x = kKronrodNodes[i] * half;
        const double sum = i < 7 ? f(mid - x) + f(mid + x) : f(mid);
        out.kronrod += kKronrodWeights[i] * sum;
        if (i % 2 == 1)
            out.gauss += kGaussWeights[i / 2] * sum;
    }
    out.kronrod *= half;
    out.gauss *= half;
    return out;
}

template <class F> double integrate(const F& f, double a, double b, double tol, int depth)
{
    const Panel p = panel(f, a, b);
    if (std::fabs(p.kronrod - p.gauss) <= tol || depth == 0)
        return p.kronrod;
    const double mid = (a + b) / 2;
    return integrate(f, a, mid, tol / 2, depth - 1) + integrate(f, mid, b, tol / 2, depth - 1);
}

template <class F> double integrate(const F& f, double a, double b)
{
    const double whole = std::fabs(panel(f, a, b).kronrod);
    return integrate(f, a, b, kAreaRelTol * whole, kMaxDepth);
}

EnvelopePoint criticalTop(const CriticalPoint& cp)
{
    EnvelopePoint top;
    top.t_K = cp.t_K;
    top.pSat_bar = top.pSpinLiquid = top.pSpinVapour = cp.p_bar;
    top.vLiquid = top.vVapour = top.vSpinLiquid = top.vSpinVapour = cp.v_cm3mol;
    return top;
}

} // namespace

bool envelopePoint(Model model, const Fluid& fluid, double t_K, const CriticalPoint& critical,
                   EnvelopePoint& out)
{
    if (!critical.found() || !(t_K < critical.t_K))
        return false;
    const Saturation s = saturation(model, fluid, t_K, critical);
    if (!s.converged())
        return false;
    const Spinodals sp = spinodals(makeIsotherm(model, fluid, t_K));
    if (!sp.exists)
        return false;
    out.t_K = t_K;
    out.pSat_bar = s.p_bar;
    out.vLiquid = s.vLiquid;
    out.vVapour = s.vVapour;
    out.vSpinLiquid = sp.vLiquid;
    out.pSpinLiquid = sp.pLiquid;
    out.vSpinVapour = sp.vVapour;
    out.pSpinVapour = sp.pVapour;
    return true;
}

PhaseEnvelope phaseEnvelope(Model model, const Fluid& fluid, double trFrom, int points)
{
    PhaseEnvelope env;
    env.model = model;
    env.critical = criticalPoint(model, fluid);
    if (!env.critical.found() || points < 2 || !(trFrom > 0 && trFrom < 1))
        return env;
    env.points.reserve(static_cast<std::size_t>(points));
    for (int i = 0; i + 1 < points; ++i) {
        // Quadratic spacing: the dome's width goes as √(1 − Tr) near the top.
        const double u = 1 - static_cast<double>(i) / (points - 1);
        EnvelopePoint p;
        if (envelopePoint(model, fluid, env.critical.t_K * (1 - (1 - trFrom) * u * u), env.critical,
                          p))
            env.points.push_back(p);
    }
    env.points.push_back(criticalTop(env.critical));
    return env;
}

EqualAreas equalAreas(Model model, const Fluid& fluid, double t_K, const CriticalPoint& critical)
{
    EqualAreas out;
    out.t_K = t_K;
    EnvelopePoint e;
    if (!envelopePoint(model, fluid, t_K, critical, e))
        return out;
    const Isotherm iso = makeIsotherm(model, fluid, t_K);
    const ReducedSpinodals sp = reducedSpinodals(iso);
    const double pi = e.pSat_bar * iso.b / iso.rt;
    // Between the spinodals h(η) falls from above π to below it: one middle root.
    const auto g = [&](double eta) { return reducedH(iso, eta) - pi; };
    const double gV = g(sp.etaVapour), gL = g(sp.etaLiquid);
    if (!(gV > 0 && gL < 0))
        return out;
    const double etaM = brent(g, sp.etaVapour, sp.etaLiquid, gV, gL, 1e-16);
    out.vMiddle = iso.b / etaM;
    out.pSat_bar = e.pSat_bar;
    out.vLiquid = e.vLiquid;
    out.vVapour = e.vVapour;
    const auto below = [&](double v) { return e.pSat_bar - pressure(iso, v); };
    const auto above = [&](double v) { return pressure(iso, v) - e.pSat_bar; };
    out.areaLiquid = integrate(below, out.vLiquid, out.vMiddle);
    out.areaVapour = integrate(above, out.vMiddle, out.vVapour);
    out.found = out.areaLiquid > 0 && out.areaVapour > 0;
    return out;
}

} // namespace analysis
