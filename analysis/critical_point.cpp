#include "analysis/phase_analysis.h"
#include "analysis/reduced_eos.h"
#include "analysis/roots_internal.h"
#include "analysis/solvers.h"
#include "models/eos_parameters.h"

#include <cmath>

// The critical point in reduced form. Each model's h(η; τ) has one temperature parameter τ
// (a/(b·R·T) for the cubics and Dieterici, Y for ESD); the critical τc is where the smallest
// slope of h, at the inflection h'' = 0, just reaches zero. The cubics' τc depends only on
// δ1 and δ2 and Dieterici's is 4, so those are found once; ESD's depends on the shape factor.
// The model's own Tc is then the temperature at which its τ(T) equals τc, which differs from
// the component's Tc where the published constants are rounded (0.42748 for Ωa, e² for
// Dieterici's b) or where the model has no such link at all (ESD).
namespace analysis {
namespace {

constexpr double kR = state::R;

struct ReducedCritical {
    bool found = false;
    double tau = 0, eta = 0, pi = 0;
};

// The smallest slope of h over η at this τ: 1 (at η = 0) when h has no loop. The slope is
// stationary at the inflection, so a loose η there costs only its square in the slope.
double minimalSlope(const Isotherm& iso)
{
    const double eta = inflection(iso, 1e-9);
    return eta == 0 ? 1 : reduced(iso, eta).dh;
}

ReducedCritical findReducedCritical(const Isotherm& shape, double guess)
{
    ReducedCritical rc;
    const auto g = [&](double tau) { return minimalSlope(withTau(shape, tau)); };
    // The slope falls as the attraction τ grows; widen a bracket around the guess.
    double lo = guess / 1.5, hi = guess * 1.5;
    double glo = g(lo), ghi = g(hi);
    for (int i = 0; i < 60 && !(glo > 0); ++i)
        glo = g(lo /= 2);
    for (int i = 0; i < 60 && !(ghi < 0); ++i)
        ghi = g(hi *= 2);
    if (!(glo > 0) || !(ghi < 0))
        return rc;
    rc.tau = brent(g, lo, hi, glo, ghi, 1e-15 * guess);
    const Isotherm at = withTau(shape, rc.tau);
    rc.eta = inflection(at, 1e-15);
    if (!(rc.eta > 0))
        return rc;
    rc.pi = reducedH(at, rc.eta);
    rc.found = std::isfinite(rc.pi) && rc.pi > 0;
    return rc;
}

// The three cubic families and Dieterici, once each, by the same search (τc is 27/8 for van
// der Waals and 4 for Dieterici; the tests hold the search to those).
const ReducedCritical& cubicCritical(double delta1)
{
    const auto make = [](double d1, double d2) {
        Isotherm iso;
        iso.family = Family::Cubic;
        iso.delta1 = d1;
        iso.delta2 = d2;
        iso.valid = true;
        return findReducedCritical(iso, 4.0);
    };
    static const ReducedCritical vdw = make(0, 0);
    static const ReducedCritical rk = make(1, 0);
    static const ReducedCritical pr = make(1 + std::sqrt(2.0), 1 - std::sqrt(2.0));
    if (delta1 == 0)
        return vdw;
    if (delta1 == 1)
        return rk;
    return pr;
}

const ReducedCritical& dietericiCritical()
{
    static const ReducedCritical rc = [] {
        Isotherm iso;
        iso.family = Family::Dieterici;
        iso.valid = true;
        return findReducedCritical(iso, 4.0);
    }();
    return rc;
}

// T at which the model's τ(T) equals τc: ln τ(T) − ln τc falls with T; bracket around the
// component's Tc and close in with Brent's method.
double temperatureForTau(Model model, const Fluid& fluid, double tauC, bool& ok)
{
    const auto f = [&](double t) {
        const Isotherm iso = makeIsotherm(model, fluid, t);
        return iso.valid && iso.tau > 0 ? std::log(iso.tau / tauC) : -50.0;
    };
    double lo = fluid.tc_K * 0.9, hi = fluid.tc_K * 1.1;
    double flo = f(lo), fhi = f(hi);
    for (int i = 0; i < 40 && !(flo > 0); ++i)
        flo = f(lo *= 0.7);
    for (int i = 0; i < 40 && !(fhi < 0); ++i)
        fhi = f(hi *= 1.4);
    ok = flo > 0 && fhi < 0;
    if (!ok)
        return 0;
    return brent(f, lo, hi, flo, fhi, 1e-14 * fluid.tc_K);
}

} // namespace

CriticalPoint criticalPoint(Model model, const Fluid& fluid)
{
    CriticalPoint cp;
    Isotherm probe = makeIsotherm(model, fluid, fluid.tc_K);
    // A long-chain ESD fluid has its critical point far below Tc, where Y is still positive;
    // at Tc itself Y may already be out of range. Its shape constants do not depend on T.
    if (probe.family == Family::Esd && !probe.valid && probe.b > 0 &&
        std::isfinite(probe.esdC + probe.esdZmQ + probe.esdK1)) {
        probe.tau = 1;
        probe.valid = true;
    }
    if (!probe.valid)
        return cp;
    if (probe.family == Family::Virial) {
        // B and C do not depend on T, so T only scales P(V): no isotherm has a critical point.
        cp.status = CriticalStatus::NoCriticalPoint;
        return cp;
    }
    ReducedCritical rc;
    double t = 0;
    bool ok = true;
    switch (probe.family) {
    case Family::Cubic:
        rc = cubicCritical(probe.delta1);
        if (rc.found) {
            if (model == Model::VDW) // τ ∝ 1/T
                t = probe.tau * probe.rt / (kR * rc.tau);
            else if (model == Model::RK) // τ ∝ T^(−3/2)
                t = fluid.tc_K * std::pow(probe.tau / rc.tau, 2.0 / 3);
            else
                t = temperatureForTau(model, fluid, rc.tau, ok);
        }
        break;
    case Family::Dieterici:
        rc = dietericiCritical();
        if (rc.found)
            t = probe.tau * probe.rt / (kR * rc.tau);
        break;
    case Family::Esd:
        rc = findReducedCritical(probe, probe.tau > 0 ? probe.tau : 1.0);
        if (rc.found) {
            // Y = exp(θ·Tc/T) − k2, so T = θ·Tc/ln(Yc + k2).
            const models::EsdShape e = models::esdShape(fluid.omega, fluid.esdSpherical);
            t = e.theta * fluid.tc_K / std::log(rc.tau + e.k2);
        }
        break;
    default:
        break;
    }
    if (!rc.found || !ok || !(t > 0) || !std::isfinite(t)) {
        cp.status = rc.found ? CriticalStatus::NotConverged : CriticalStatus::NoCriticalPoint;
        return cp;
    }
    const Isotherm at = makeIsotherm(model, fluid, t);
    cp.status = CriticalStatus::Found;
    cp.t_K = t;
    cp.v_cm3mol = at.b / rc.eta;
    cp.p_bar = at.rt / at.b * rc.pi;
    return cp;
}

} // namespace analysis
