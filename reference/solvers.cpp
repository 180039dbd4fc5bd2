// Densities at (T, p), saturation, the own critical point and the properties at a state.
//
// Along an isotherm everything is written in the reduced pressure j(δ) = p/(ρ_red·R·T) =
// δ(1 + δαʳ_δ). Below the critical temperature these equations have, besides the van der
// Waals loop, further loops between the spinodals whose rising parts give roots that are
// artefacts (their Gibbs energy can even be the lowest of all roots). So a phase is never
// "the root of lowest Gibbs energy": the vapour is the root on the dilute branch (from δ → 0
// up to the first maximum of j), the liquid the root on the densest rising branch, and the
// vapour pressure decides between them.
#include "reference/internal.h"
#include "state/number_format.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace reference {

double Ancillary::operator()(double t_K) const
{
    const double theta = std::max(0.0, 1 - t_K / tR);
    double sum = 0;
    for (std::size_t i = 0; i < n.size(); ++i)
        sum += n[i] * std::pow(theta, t[i]);
    switch (kind) {
    case Kind::LiquidDensity:
        return reducing * (1 + sum);
    case Kind::Pressure:
    case Kind::VapourDensity:
        break;
    }
    return reducing * std::exp(usingTauR ? tR / t_K * sum : sum);
}

std::string_view statusText(Status s)
{
    switch (s) {
    case Status::Ok:
        return "ok";
    case Status::TwoPhase:
        return "two-phase: the pressure is the vapour pressure";
    case Status::BelowTriple:
        return "below the triple-point temperature";
    case Status::AboveTmax:
        return "above the equation's temperature limit";
    case Status::AbovePmax:
        return "above the equation's pressure limit";
    case Status::AboveCritical:
        return "above the critical temperature";
    case Status::NotConverged:
        return "not converged";
    case Status::InvalidInput:
        return "invalid input";
    }
    return "";
}

std::string_view phaseText(Phase p)
{
    switch (p) {
    case Phase::Liquid:
        return "liquid";
    case Phase::Vapour:
        return "vapour";
    case Phase::Gas:
        return "gas";
    case Phase::Supercritical:
        return "supercritical";
    }
    return "";
}

namespace {

constexpr double kEps = std::numeric_limits<double>::epsilon();
// A Newton step this small (relative) leaves an error of about its square: done.
constexpr double kNewtonDone = 1e-10;

/// Root of j(δ) = π on [lo, hi] where j rises (j(lo) < π < j(hi)), Newton steps kept inside
/// the bracket, bisection otherwise.
double branchRoot(const Fluid& f, double tau, double pi, double lo, double hi, double x)
{
    if (!(x > lo && x < hi))
        x = (lo + hi) / 2;
    for (int i = 0; i < 200; ++i) {
        const ReducedPressure r = reducedPressure(f, tau, x);
        const double g = r.j - pi;
        if (g == 0)
            return x;
        (g < 0 ? lo : hi) = x;
        double next = x - g / r.dj;
        if (!(next > lo && next < hi) || !std::isfinite(next))
            next = (lo + hi) / 2;
        if (std::fabs(next - x) <= 4 * kEps * x || hi - lo <= 4 * kEps * x)
            return next;
        x = next;
    }
    return x;
}

/// An extremum of j between a and b where dj changes sign, by bisection on dj with secant
/// steps.
double extremum(const Fluid& f, double tau, double a, double b, double dja)
{
    for (int i = 0; i < 100; ++i) {
        const double m = (a + b) / 2;
        const double djm = reducedPressure(f, tau, m).dj;
        if ((djm > 0) == (dja > 0)) {
            a = m;
            dja = djm;
        } else {
            b = m;
        }
        if (b - a <= 1e-13 * b)
            break;
    }
    return (a + b) / 2;
}

/// The isotherm split at the extrema of j: the dilute branch ends at the first, the densest
/// rising branch starts at the last.
struct Isotherm {
    double tau = 0;
    double top = 0;               // the upper end of the densest branch searched
    std::vector<double> extrema;  // δ of each extremum, ascending
    std::vector<double> jExtrema; // j there
    bool loop() const { return extrema.size() >= 2; }
    /// The index of the extremum where the liquid branch starts: the densest minimum below
    /// the vapour spinodal (a wiggle further up, far above it, leaves the branch as it is).
    /// −1 without a loop.
    int liquidStart() const
    {
        for (int k = static_cast<int>(extrema.size()) - 1; k >= 1; --k)
            if (k % 2 == 1 && jExtrema[static_cast<std::size_t>(k)] < jExtrema[0])
                return k;
        return -1;
    }
    /// The upper end of the liquid branch: the next maximum, or the top.
    double liquidEnd() const
    {
        const auto k = static_cast<std::size_t>(liquidStart() + 1);
        return k < extrema.size() ? extrema[k] : top;
    }
};

/// The upper end of the search: from the liquid density up to where j passes both π and the
/// equation's pressure limit. Further up some equations bend over and rise again at absurd
/// densities; a branch there is no liquid.
double denseTop(const Fluid& f, double tau, double pi)
{
    const double t_K = f.tRed / tau;
    // Below the ancillary's range its value is no bound; the liquid there is denser than at
    // the range's start.
    const Ancillary& a = f.rhoLiquid;
    const double liquid = a(std::clamp(t_K, std::max(f.tTriple, a.tMin), f.tc)) / f.rhoRed;
    const double target = 1.1 * std::max(pi, f.pMax / (f.rhoRed * f.R * t_K));
    double x = std::max(1.0, 0.98 * liquid);
    double best = x, jBest = -HUGE_VAL;
    for (int i = 0; i < 400; ++i) {
        const ReducedPressure r = reducedPressure(f, tau, x);
        if (r.j >= target && r.dj > 0)
            return x;
        if (r.j > jBest) {
            best = x;
            jBest = r.j;
        }
        x *= 1.02;
    }
    return best;
}

/// Scans j(δ) on a geometric grid in the dilute range, a linear grid beyond and a finer one
/// around the critical density (where a loop just below Tc is narrow), and locates every
/// extremum.
Isotherm scan(const Fluid& f, double tau, double pi)
{
    Isotherm iso;
    iso.tau = tau;
    iso.top = denseTop(f, tau, pi);
    constexpr int kGeometric = 40, kLinear = 700, kFine = 300;
    constexpr double kFirst = 1e-5, kSplit = 0.05, kFineHalfWidth = 0.25;
    const double dc = f.rhoc / f.rhoRed;
    const double fineLo = std::max(kSplit, dc - kFineHalfWidth);
    const double fineHi = std::min(iso.top, dc + kFineHalfWidth);
    std::vector<double> grid;
    grid.reserve(kGeometric + kLinear + kFine);
    for (int i = 1; i <= kGeometric; ++i)
        grid.push_back(kFirst * std::pow(kSplit / kFirst, static_cast<double>(i) / kGeometric));
    for (int i = 1; i <= kLinear; ++i) {
        const double x = kSplit + (iso.top - kSplit) * i / kLinear;
        if (x < fineLo || x > fineHi)
            grid.push_back(x);
    }
    for (int i = 0; i <= kFine && fineHi > fineLo; ++i)
        grid.push_back(fineLo + (fineHi - fineLo) * i / kFine);
    std::sort(grid.begin(), grid.end());
    double prev = kFirst;
    double djPrev = reducedPressure(f, tau, prev).dj;
    for (const double x : grid) {
        const double dj = reducedPressure(f, tau, x).dj;
        if ((dj > 0) != (djPrev > 0)) {
            const double e = extremum(f, tau, prev, x, djPrev);
            iso.extrema.push_back(e);
            iso.jExtrema.push_back(reducedPressure(f, tau, e).j);
        }
        prev = x;
        djPrev = dj;
    }
    return iso;
}

/// Every root of j = π on the scanned isotherm, each on its segment between extrema.
DensityRoots rootsOn(const Fluid& f, const Isotherm& iso, double pi)
{
    DensityRoots out;
    out.status = Status::Ok;
    std::vector<double> bounds{0};
    bounds.insert(bounds.end(), iso.extrema.begin(), iso.extrema.end());
    bounds.push_back(iso.top);
    const std::size_t segments = bounds.size() - 1;
    // Segment s runs from extremum s − 1 to extremum s; the liquid ones follow liquidStart.
    const int start = iso.liquidStart();
    const std::size_t firstLiquid = start < 0 ? segments : static_cast<std::size_t>(start + 1);
    double jLo = 0;
    for (std::size_t s = 0; s < segments; ++s) {
        const double lo = bounds[s], hi = bounds[s + 1];
        const double jHi = s + 1 < segments ? iso.jExtrema[s] : reducedPressure(f, iso.tau, hi).j;
        const bool rising = jHi > jLo;
        if ((pi - jLo) * (pi - jHi) < 0) {
            double rho = 0;
            if (rising) {
                rho = branchRoot(f, iso.tau, pi, lo > 0 ? lo : pi * 1e-3, hi,
                                 s == 0 ? pi : (lo + hi) / 2);
            } else {
                // Falling: solve −j = −π on the same segment by bisection.
                double a = lo, b = hi;
                for (int i = 0; i < 200 && b - a > 4 * kEps * b; ++i) {
                    const double m = (a + b) / 2;
                    (reducedPressure(f, iso.tau, m).j > pi ? a : b) = m;
                }
                rho = (a + b) / 2;
            }
            Root::Kind kind = Root::Kind::Unstable;
            if (segments == 1)
                kind = Root::Kind::Single;
            else if (s == 0)
                kind = Root::Kind::Vapour;
            else if (rising && s >= firstLiquid && !out.liquid)
                kind = Root::Kind::Liquid;
            else if (rising)
                kind = Root::Kind::Spurious;
            out.roots.push_back({kind, rho * f.rhoRed});
            if (kind == Root::Kind::Vapour)
                out.vapour = rho * f.rhoRed;
            if (kind == Root::Kind::Liquid)
                out.liquid = rho * f.rhoRed;
        }
        jLo = jHi;
    }
    return out;
}

/// Gibbs-energy equality in Akasaka's form: J = δ(1 + δαʳ_δ) and K = δαʳ_δ + αʳ + ln δ equal
/// in both phases; K_δ = J_δ/δ.
struct Phase2 {
    double J, dJ, K;
};
Phase2 phase2(const Fluid& f, double tau, double delta)
{
    const Scaled s = residualScaled(f, tau, delta);
    return {delta * (1 + s.d1), 1 + 2 * s.d1 + s.d2, s.d1 + s.a + std::log(delta)};
}

/// Newton on (δL, δV) from a start, each kept inside (lo, hi) of its branch. False when it
/// does not converge or a phase leaves its branch.
bool saturationNewton(const Fluid& f, double tau, double& dL, double& dV, double lLo, double lHi,
                      double vHi)
{
    double lastStep = HUGE_VAL;
    for (int it = 0; it < 60; ++it) {
        const Phase2 L = phase2(f, tau, dL), V = phase2(f, tau, dV);
        if (!(L.dJ > 0 && V.dJ > 0) || !(dL > dV))
            return false;
        const double r1 = -(V.J - L.J), r2 = -(V.K - L.K);
        double stepV = (r1 - dL * r2) / (V.dJ * (1 - dL / dV));
        double stepL = -(r1 - dV * r2) / (L.dJ * (1 - dV / dL));
        // Halve a step that would leave a branch.
        for (int h = 0; h < 40 && (!(dL + stepL > lLo && dL + stepL < lHi) ||
                                   !(dV + stepV > 0 && dV + stepV < vHi));
             ++h) {
            stepL /= 2;
            stepV /= 2;
        }
        dL += stepL;
        dV += stepV;
        const double step = std::max(std::fabs(stepL / dL), std::fabs(stepV / dV));
        if (!std::isfinite(step))
            return false;
        // Near Tc the Jacobian is nearly singular and the steps stall at a noise floor a
        // little above the rounding: stop there rather than insist.
        if (step < 1e-14 || (step < 1e-9 && step >= lastStep / 2))
            return true;
        lastStep = step;
    }
    return lastStep < 1e-9;
}

Saturation finish(const Fluid& f, double t_K, double tau, double dL, double dV)
{
    Saturation s;
    s.status = Status::Ok;
    s.t_K = t_K;
    s.rhoLiquid = dL * f.rhoRed;
    s.rhoVapour = dV * f.rhoRed;
    // From the vapour side: the liquid's 1 + δαʳ_δ has lost digits.
    s.p_Pa = s.rhoVapour * f.R * t_K * (1 + residualScaled(f, tau, dV).d1);
    return s;
}

bool closeTo(double x, double ref, double relative)
{
    return std::fabs(std::log(x / ref)) < relative;
}

Saturation saturationFast(const Fluid& f, double t_K, double tau)
{
    double dL = f.rhoLiquid(t_K) / f.rhoRed, dV = f.rhoVapour(t_K) / f.rhoRed;
    const double dL0 = dL, dV0 = dV;
    if (!(dL > dV && dV > 0) ||
        !saturationNewton(f, tau, dL, dV, dV * 1.5, 10 * dL + 10, std::min(dL, 1.0)))
        return {};
    Saturation s = finish(f, t_K, tau, dL, dV);
    // A pair of artefact roots also satisfies both equalities: the density ancillaries' own
    // few per cent are the check (some vapour-pressure ancillaries are far worse).
    if (!closeTo(dL, dL0, 0.15) || !closeTo(dV, dV0, 0.3))
        return {};
    return s;
}

/// Saturation from the scanned isotherm: at each pressure between the spinodal pressures the
/// vapour root on the dilute branch and the liquid root on the densest one, and Newton in ln p
/// on their Gibbs-energy difference, d(g/RT)/dπ = 1/δ (exact for an ideal vapour, so it
/// converges in a few steps even where p_sat is many decades below the spinodals). A step that
/// leaves the bracket is a bisection in ln p.
Saturation saturationRobust(const Fluid& f, double t_K, double tau)
{
    const Isotherm iso = scan(f, tau, 0);
    Saturation fail;
    fail.status = Status::NotConverged;
    fail.t_K = t_K;
    if (!iso.loop())
        return fail;
    const int start = iso.liquidStart();
    if (start < 0)
        return fail;
    const double vHi = iso.extrema.front(), lLo = iso.extrema[static_cast<std::size_t>(start)];
    const double jV = iso.jExtrema.front(), jL = iso.jExtrema[static_cast<std::size_t>(start)];
    const double lHi = iso.liquidEnd();
    if (!(jV > 0) || !(jV > jL))
        return fail;
    // ln π bracket: below the vapour spinodal, above the liquid one (or far down when that
    // lies below zero: a liquid under tension).
    double yHi = std::log(jV);
    double yLo = jL > 0 ? std::log(jL) : yHi - 800;
    double y = jL > 0 ? (yLo + yHi) / 2 : std::log(jV / 2);
    double dV = 0, dL = (lLo + lHi) / 2;
    for (int it = 0; it < 200; ++it) {
        const double pi = std::exp(y);
        dV = branchRoot(f, tau, pi, std::min(pi * 1e-3, vHi / 2), vHi, dV > 0 ? dV : pi);
        dL = branchRoot(f, tau, pi, lLo, lHi, dL);
        const Phase2 L = phase2(f, tau, dL), V = phase2(f, tau, dV);
        const double g = L.K - V.K; // (gL − gV)/RT: falls as p rises
        (g > 0 ? yLo : yHi) = y;
        double next = y - g / (pi * (1 / dL - 1 / dV));
        if (!(next > yLo && next < yHi) || !std::isfinite(next))
            next = (yLo + yHi) / 2;
        const bool done = std::fabs(next - y) < 1e-14 || yHi - yLo < 1e-14;
        y = next;
        if (done)
            return finish(f, t_K, tau, dL, dV);
    }
    return fail;
}

bool validNumber(double x) { return std::isfinite(x) && x > 0; }

} // namespace

Saturation saturation(const Fluid& f, double t_K)
{
    Saturation s;
    s.t_K = t_K;
    if (!validNumber(t_K))
        return s;
    if (t_K < f.tTriple) {
        s.status = Status::BelowTriple;
        return s;
    }
    if (t_K >= f.saturationLimit()) {
        s.status = Status::AboveCritical;
        return s;
    }
    const double tau = f.tRed / t_K;
    const bool inRange = t_K >= f.rhoVapour.tMin && t_K <= f.rhoVapour.tMax &&
                         t_K >= f.rhoLiquid.tMin && t_K >= f.pSat.tMin;
    if (inRange && t_K < 0.99 * f.saturationLimit()) {
        s = saturationFast(f, t_K, tau);
        if (s.ok())
            return s;
    }
    return saturationRobust(f, t_K, tau);
}

CriticalPoint findCriticalPoint(const Fluid& f)
{
    // Newton on ∂j/∂δ = 0 and δ·∂²j/∂δ² = 0 in (τ, δ), the Jacobian by central differences;
    // from several starts, keeping the highest temperature (an isotherm can touch zero slope
    // more than once near Tc).
    const auto F = [&](double tau, double delta) {
        const Scaled s = residualScaled(f, tau, delta);
        return std::pair{1 + 2 * s.d1 + s.d2, 2 * s.d1 + 4 * s.d2 + s.d3};
    };
    CriticalPoint best;
    const double tau0 = f.tRed / f.tc, delta0 = f.rhoc / f.rhoRed;
    for (const double scale : {1.0, 0.9, 1.1, 0.8, 1.2}) {
        double tau = tau0, delta = delta0 * scale;
        bool ok = false;
        for (int it = 0; it < 50; ++it) {
            const auto [f1, f2] = F(tau, delta);
            const double ht = 1e-6 * tau, hd = 1e-6 * delta;
            const auto [a1, a2] = F(tau + ht, delta);
            const auto [b1, b2] = F(tau - ht, delta);
            const auto [c1, c2] = F(tau, delta + hd);
            const auto [d1, d2] = F(tau, delta - hd);
            const double j11 = (a1 - b1) / (2 * ht), j21 = (a2 - b2) / (2 * ht);
            const double j12 = (c1 - d1) / (2 * hd), j22 = (c2 - d2) / (2 * hd);
            const double det = j11 * j22 - j12 * j21;
            if (!std::isfinite(det) || det == 0)
                break;
            double sTau = -(f1 * j22 - f2 * j12) / det;
            double sDelta = -(j11 * f2 - j21 * f1) / det;
            // Damped: a start off the critical region must not jump into another loop.
            const double limit = 0.05;
            const double scaleStep =
                std::min(1.0, limit / std::max(std::fabs(sTau / tau), std::fabs(sDelta / delta)));
            tau += sTau * scaleStep;
            delta += sDelta * scaleStep;
            if (!(tau > 0 && delta > 0))
                break;
            if (std::fabs(sTau / tau) < 1e-13 && std::fabs(sDelta / delta) < 1e-11) {
                ok = true;
                break;
            }
        }
        if (!ok)
            continue;
        const double t_K = f.tRed / tau;
        if (std::fabs(t_K / f.tc - 1) > 0.05)
            continue;
        if (!best.found || t_K > best.t_K) {
            best.found = true;
            best.t_K = t_K;
            best.rho = delta * f.rhoRed;
            best.p_Pa = pressure(f, t_K, best.rho);
        }
    }
    return best;
}

const CriticalPoint& Fluid::eosCritical() const
{
    std::call_once(cache->once, [&] { cache->point = findCriticalPoint(*this); });
    return cache->point;
}

double Fluid::saturationLimit() const
{
    const CriticalPoint& c = eosCritical();
    return c.found ? c.t_K : tc;
}

namespace {

Status rangeStatus(const Fluid& f, double t_K, double p_Pa)
{
    if (!validNumber(t_K) || !validNumber(p_Pa))
        return Status::InvalidInput;
    if (t_K < f.tTriple)
        return Status::BelowTriple;
    if (t_K > f.tMax)
        return Status::AboveTmax;
    if (p_Pa > f.pMax)
        return Status::AbovePmax;
    return Status::Ok;
}

/// The vapour root by Newton from the ideal gas: below the Boyle temperature j(δ) ≤ δ and the
/// branch is concave, so the steps rise to the root without passing it. Empty when a step
/// leaves that pattern.
std::optional<double> vapourFast(const Fluid& f, double tau, double pi)
{
    double x = pi;
    for (int i = 0; i < 60; ++i) {
        const ReducedPressure r = reducedPressure(f, tau, x);
        if (!(r.dj > 0))
            return std::nullopt;
        const double step = (pi - r.j) / r.dj;
        if (step < -1e-12 * x)
            return std::nullopt;
        x += step;
        if (std::fabs(step) <= kNewtonDone * x)
            return x;
    }
    return std::nullopt;
}

/// The liquid root by Newton from a δ on the densest branch (the saturated liquid): the branch
/// is convex, so the first step lands above the root and the others fall to it.
std::optional<double> liquidFast(const Fluid& f, double tau, double pi, double from)
{
    double x = from;
    for (int i = 0; i < 60; ++i) {
        const ReducedPressure r = reducedPressure(f, tau, x);
        if (!(r.dj > 0))
            return std::nullopt;
        const double step = (pi - r.j) / r.dj;
        if (i > 0 && step > 1e-12 * x)
            return std::nullopt;
        x += step;
        if (!(x > from * 0.9))
            return std::nullopt;
        if (std::fabs(step) <= kNewtonDone * x)
            return x;
    }
    return std::nullopt;
}

/// Above the critical temperature, well clear of it: one rising branch. Bracketed from the
/// ideal gas by doubling or halving, then Newton inside the bracket. Empty when a slope on
/// the way is not positive (then the scan decides).
std::optional<double> singleFast(const Fluid& f, double tau, double pi)
{
    double lo = pi, hi = pi;
    ReducedPressure r = reducedPressure(f, tau, pi);
    const bool below = r.j < pi;
    for (int i = 0; i < 80 && (below ? r.j < pi : r.j > pi); ++i) {
        if (!(r.dj > 0))
            return std::nullopt;
        (below ? lo : hi) = below ? hi : lo;
        if (below)
            hi *= 2;
        else
            lo /= 2;
        r = reducedPressure(f, tau, below ? hi : lo);
    }
    if (below ? r.j < pi : r.j > pi)
        return std::nullopt;
    const double x = branchRoot(f, tau, pi, lo, hi, (lo + hi) / 2);
    if (!(reducedPressure(f, tau, x).dj > 0))
        return std::nullopt;
    return x;
}

Phase supercriticalPhase(const Fluid& f, double p_Pa)
{
    const CriticalPoint& c = f.eosCritical();
    return p_Pa >= (c.found ? c.p_Pa : f.pc) ? Phase::Supercritical : Phase::Gas;
}

State stateAt(const Fluid& f, double t_K, double p_Pa, Phase phase, double rho)
{
    State st;
    st.status = Status::Ok;
    st.phase = phase;
    st.properties = properties(f, t_K, rho, p_Pa);
    return st;
}

} // namespace

DensityRoots densityRoots(const Fluid& f, double t_K, double p_Pa)
{
    DensityRoots out;
    out.status = rangeStatus(f, t_K, p_Pa);
    if (out.status != Status::Ok)
        return out;
    const double tau = f.tRed / t_K;
    const double pi = p_Pa / (f.rhoRed * f.R * t_K);
    return rootsOn(f, scan(f, tau, pi), pi);
}

namespace {

/// At or above the temperature where saturation ends: one branch in principle; near Tc an
/// equation may wiggle, and then the scan's roots on the dilute and the densest branch are
/// compared by Gibbs energy.
State supercriticalState(const Fluid& f, double t_K, double p_Pa, double tau, double pi)
{
    const Phase phase = supercriticalPhase(f, p_Pa);
    constexpr double kClearOfCritical = 1.02;
    if (t_K > kClearOfCritical * f.saturationLimit())
        if (const std::optional<double> delta = singleFast(f, tau, pi))
            return stateAt(f, t_K, p_Pa, phase, *delta * f.rhoRed);
    const DensityRoots r = densityRoots(f, t_K, p_Pa);
    std::optional<double> rho;
    for (const Root& root : r.roots)
        if (root.kind == Root::Kind::Single)
            rho = root.rho;
    if (!rho && r.vapour && r.liquid) {
        const Properties v = properties(f, t_K, *r.vapour, p_Pa);
        const Properties l = properties(f, t_K, *r.liquid, p_Pa);
        rho = v.lnPhi <= l.lnPhi ? *r.vapour : *r.liquid;
    } else if (!rho) {
        rho = r.vapour ? r.vapour : r.liquid;
    }
    if (!rho) {
        State st;
        st.status = Status::NotConverged;
        return st;
    }
    return stateAt(f, t_K, p_Pa, phase, *rho);
}

} // namespace

State solveState(const Fluid& f, double t_K, double p_Pa)
{
    State st;
    st.status = rangeStatus(f, t_K, p_Pa);
    if (st.status != Status::Ok)
        return st;
    const double tau = f.tRed / t_K;
    const double pi = p_Pa / (f.rhoRed * f.R * t_K);
    const double tLimit = f.saturationLimit();
    if (t_K >= tLimit)
        return supercriticalState(f, t_K, p_Pa, tau, pi);

    // Below Tc: far from the vapour pressure its side decides; near it, and where the
    // ancillaries are outside their range or close to Tc, the vapour pressure itself. Two
    // estimates bound it, the vapour-pressure ancillary and the pressure at the ancillary
    // vapour density: far below Tc either can be tens of per cent off (not both, in these
    // 122 fluids), and a state between them is decided by the vapour pressure itself.
    const bool ancillaryUsable = t_K >= f.rhoVapour.tMin && t_K >= f.pSat.tMin &&
                                 t_K >= f.rhoLiquid.tMin && t_K < 0.98 * tLimit;
    double pLow = 0, pHigh = HUGE_VAL;
    if (ancillaryUsable) {
        const double a = f.pSat(t_K), b = pressure(f, t_K, f.rhoVapour(t_K));
        constexpr double kBand = 0.03;
        pLow = std::min(a, b) * (1 - kBand);
        pHigh = std::max(a, b) * (1 + kBand);
    }
    std::optional<Saturation> sat;
    bool vapour = false;
    if (p_Pa < pLow) {
        vapour = true;
    } else if (p_Pa > pHigh) {
        vapour = false;
    } else {
        sat = saturation(f, t_K);
        if (!sat->ok()) {
            st.status = Status::NotConverged;
            st.saturation = sat;
            return st;
        }
        if (std::fabs(p_Pa / sat->p_Pa - 1) <= 1e-6) {
            st.status = Status::TwoPhase;
            st.saturation = sat;
            st.liquid = properties(f, t_K, sat->rhoLiquid, sat->p_Pa);
            st.vapour = properties(f, t_K, sat->rhoVapour, sat->p_Pa);
            st.phase = Phase::Liquid;
            return st;
        }
        vapour = p_Pa < sat->p_Pa;
    }
    std::optional<double> delta;
    if (vapour) {
        delta = vapourFast(f, tau, pi);
    } else {
        const double from = sat ? sat->rhoLiquid / f.rhoRed : f.rhoLiquid(t_K) / f.rhoRed;
        delta = liquidFast(f, tau, pi, from);
    }
    if (!delta) {
        const DensityRoots r = rootsOn(f, scan(f, tau, pi), pi);
        const std::optional<double> rho = vapour ? r.vapour : r.liquid;
        if (!rho) {
            st.status = Status::NotConverged;
            return st;
        }
        delta = *rho / f.rhoRed;
    }
    st = stateAt(f, t_K, p_Pa, vapour ? Phase::Vapour : Phase::Liquid, *delta * f.rhoRed);
    st.saturation = sat;
    return st;
}

State solveTyped(const Fluid& f, std::string_view tempC, std::string_view pressBar)
{
    const std::optional<double> t = state::toDouble(tempC), p = state::toDouble(pressBar);
    if (!t || !p)
        return {};
    return solveState(f, *t + state::kCelsiusToKelvin, *p * kPaPerBar);
}

Properties properties(const Fluid& f, double t_K, double rho, std::optional<double> p_Pa)
{
    const double tau = f.tRed / t_K, delta = rho / f.rhoRed;
    const Scaled r = residualScaled(f, tau, delta);
    const Derivatives o = ideal(f, tau, delta);
    const double R = f.R, RT = R * t_K;
    Properties out;
    out.t_K = t_K;
    out.rho = rho;
    const double zEos = 1 + r.d1;
    out.p_Pa = p_Pa ? *p_Pa : rho * RT * zEos;
    out.z = p_Pa ? *p_Pa / (rho * RT) : zEos;
    out.v_m3mol = 1 / rho;
    out.density_kg_m3 = rho * f.M;
    const double tauA = tau * o.t + r.t1;         // τ(α⁰_τ + αʳ_τ)
    const double tau2A = tau * tau * o.tt + r.t2; // τ²(α⁰_ττ + αʳ_ττ)
    out.u = RT * tauA;
    out.h = RT * (tauA + zEos);
    out.s = R * (tauA - o.a - r.a);
    out.g = RT * (1 + o.a + r.a + r.d1);
    out.cv = -R * tau2A;
    const double dj = 1 + 2 * r.d1 + r.d2; // (∂p/∂ρ)_T/(RT)
    const double x = 1 + r.d1 - r.dt;      // (∂p/∂T)_ρ/(ρR)
    out.cp = out.cv + R * x * x / dj;
    const double w2 = RT / f.M * (dj - x * x / tau2A);
    out.w = w2 > 0 ? std::sqrt(w2) : 0;
    out.muJT = -(r.d1 + r.d2 + r.dt) / ((x * x - tau2A * dj) * rho * R);
    out.dpdrho = RT * dj;
    out.lnPhi = r.a + out.z - 1 - std::log(out.z);
    out.gRes = RT * out.lnPhi;
    out.hRes = RT * (r.t1 + out.z - 1);
    out.sRes = R * (r.t1 - r.a + std::log(out.z));
    return out;
}

} // namespace reference
