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

// The search for τc. Every bound below only decides how fast a bracket is found or how
// tightly a root is closed; the point found does not depend on them beyond the tolerances.
//
// A first guess of 4 lies between van der Waals' τc = 27/8 and Peng-Robinson's Ωa/Ωb ≈ 5.88
// (Redlich-Kwong's is 4.93, Dieterici's 4), so a bracket of guess/1.5 .. guess·1.5 holds every
// cubic family and Dieterici at once; only ESD, whose τ is Y at the component's Tc, may need
// to widen it.
constexpr double kCubicTauGuess = 4.0;
constexpr double kEsdTauFallbackGuess = 1.0; // where Y at Tc is not positive
constexpr double kTauBracketFactor = 1.5;
// Halving or doubling 60 times spans 2^±60 ≈ 10^±18 around the guess, beyond any τ a real
// fluid has; a slope that has not changed sign by then never does (no critical point).
constexpr int kMaxTauWidenings = 60;
// The slope is stationary at the inflection, so while τ is searched an η good to 1e-9 puts
// only ~1e-18 into the slope; the final η and τ are closed to a few ulps of a double.
constexpr double kSearchInflectionTol = 1e-9;
constexpr double kFinalInflectionTol = 1e-15;
constexpr double kTauRelTol = 1e-15;

// The model's own Tc. Every α is 1 at Tc, so a cubic's own Tc differs from the component's
// only by the rounding of its Ωa and Ωb, and 0.9·Tc .. 1.1·Tc brackets it at once. Otherwise the
// ends step outwards by 0.7 and 1.4 (about 1/1.4), 40 steps reaching 0.7^40 ≈ 6e-7·Tc and 1.4^40 ≈
// 7e5·Tc; a model whose τ(T) does not cross τc there has no critical temperature.
constexpr double kTcBracketLow = 0.9;
constexpr double kTcBracketHigh = 1.1;
constexpr double kTcStepDown = 0.7;
constexpr double kTcStepUp = 1.4;
constexpr int kMaxTcWidenings = 40;
// 1e-14·Tc: about fifty times the rounding of a double, far below any digit the analysis
// prints.
constexpr double kTcRelTol = 1e-14;
// ln(τ/τc) where the model has no attraction or no isotherm at T (Soave's α reaches zero far
// above Tc): read as far above the critical temperature, τ/τc = e^−50 ≈ 2e−22, so that end
// brackets the root.
constexpr double kNoIsothermLogTau = -50.0;

struct ReducedCritical {
    bool found = false;
    double tau = 0, eta = 0, pi = 0;
};

// The smallest slope of h over η at this τ: 1 (at η = 0) when h has no loop. The slope is
// stationary at the inflection, so a loose η there costs only its square in the slope.
double minimalSlope(const Isotherm& iso)
{
    const double eta = inflection(iso, kSearchInflectionTol);
    return eta == 0 ? 1 : reduced(iso, eta).dh;
}

ReducedCritical findReducedCritical(const Isotherm& shape, double guess)
{
    ReducedCritical rc;
    const auto g = [&](double tau) { return minimalSlope(withTau(shape, tau)); };
    // The slope falls as the attraction τ grows; widen a bracket around the guess.
    double lo = guess / kTauBracketFactor, hi = guess * kTauBracketFactor;
    double glo = g(lo), ghi = g(hi);
    for (int i = 0; i < kMaxTauWidenings && !(glo > 0); ++i)
        glo = g(lo /= 2);
    for (int i = 0; i < kMaxTauWidenings && !(ghi < 0); ++i)
        ghi = g(hi *= 2);
    if (!(glo > 0) || !(ghi < 0))
        return rc;
    rc.tau = brent(g, lo, hi, glo, ghi, kTauRelTol * guess);
    const Isotherm at = withTau(shape, rc.tau);
    rc.eta = inflection(at, kFinalInflectionTol);
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
        return findReducedCritical(iso, kCubicTauGuess);
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
        return findReducedCritical(iso, kCubicTauGuess);
    }();
    return rc;
}

// T at which the model's τ(T) equals τc: ln τ(T) − ln τc falls with T; bracket around the
// component's Tc and close in with Brent's method.
double temperatureForTau(Model model, const Fluid& fluid, double tauC, bool& ok)
{
    const auto f = [&](double t) {
        const Isotherm iso = makeIsotherm(model, fluid, t);
        return iso.valid && iso.tau > 0 ? std::log(iso.tau / tauC) : kNoIsothermLogTau;
    };
    double lo = fluid.tc_K * kTcBracketLow, hi = fluid.tc_K * kTcBracketHigh;
    double flo = f(lo), fhi = f(hi);
    for (int i = 0; i < kMaxTcWidenings && !(flo > 0); ++i)
        flo = f(lo *= kTcStepDown);
    for (int i = 0; i < kMaxTcWidenings && !(fhi < 0); ++i)
        fhi = f(hi *= kTcStepUp);
    ok = flo > 0 && fhi < 0;
    if (!ok)
        return 0;
    return brent(f, lo, hi, flo, fhi, kTcRelTol * fluid.tc_K);
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
        rc = findReducedCritical(probe, probe.tau > 0 ? probe.tau : kEsdTauFallbackGuess);
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
