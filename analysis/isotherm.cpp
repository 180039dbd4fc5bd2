#include "analysis/exponential_integral.h"
#include "analysis/phase_analysis.h"
#include "analysis/quadrature.h"
#include "analysis/reduced_eos.h"
#include "models/eos_parameters.h"

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <numbers>

namespace analysis {
namespace {

constexpr double kR = state::R; // the models' float R widened: 83.1399993896484375
// η of the virial pressure maximum: 1 − 2η − η²/3 = 0.
const double kVirialEtaMax = std::sqrt(12.0) - 3;

bool positiveFinite(double x) { return std::isfinite(x) && x > 0; }

// Soave-type α for the four models that have one, in double from T/Tc.
double alphaOf(Model model, const Fluid& f, double tr)
{
    switch (model) {
    case Model::SRK:
        return models::soaveAlpha(models::srkM(f.omega), tr);
    case Model::PR:
        return models::soaveAlpha(models::prKappa(static_cast<float>(f.omega)), tr);
    case Model::PRSV1:
        return models::soaveAlpha(
            models::stryjekVera1Kappa(models::stryjekVeraKappa0(f.omega), f.k1, tr), tr);
    case Model::PRSV2:
        return models::soaveAlpha(
            models::stryjekVera2Kappa(models::stryjekVeraKappa0(f.omega), f.k1, f.k2, f.k3, tr),
            tr);
    default:
        return 1;
    }
}

} // namespace

Fluid fluidOf(const state::ComponentConstants& c, bool esdSpherical)
{
    return {c.CritTemp, c.CritPress, c.CritVol, c.AcentricF, c.K1, c.K2, c.K3, esdSpherical};
}

Isotherm makeIsotherm(Model model, const Fluid& f, double t_K)
{
    Isotherm iso;
    iso.model = model;
    iso.t_K = t_K;
    iso.rt = kR * t_K;
    const double tc = f.tc_K;
    const double pc = f.pc_bar;
    // The acentric factor meets a float conversion in the Peng-Robinson κ; a value no
    // component can have is refused before it gets there.
    if (!positiveFinite(t_K) || !std::isfinite(f.omega) || std::fabs(f.omega) > 100 ||
        !std::isfinite(f.k1 + f.k2 + f.k3) || !positiveFinite(iso.rt))
        return iso;
    if (model == Model::Vir) {
        iso.family = Family::Virial;
        iso.b = f.vc_cm3mol;
        iso.valid = positiveFinite(iso.b);
        return iso;
    }
    if (!positiveFinite(tc) || !positiveFinite(pc))
        return iso;
    const double tr = t_K / tc;
    double a = 0;
    switch (model) {
    case Model::VDW:
        a = models::vdwA(tc, pc);
        iso.b = models::vdwB(tc, pc);
        break;
    case Model::RK:
        a = models::rkA(tc, pc) / std::sqrt(t_K);
        iso.b = models::rkB(tc, pc);
        iso.delta1 = 1;
        break;
    case Model::SRK:
        a = models::srkAc(tc, pc) * alphaOf(model, f, tr);
        iso.b = models::rkB(tc, pc);
        iso.delta1 = 1;
        break;
    case Model::PR:
    case Model::PRSV1:
    case Model::PRSV2:
        a = models::prAc(tc, pc) * alphaOf(model, f, tr);
        iso.b = models::prB(tc, pc);
        iso.delta1 = 1 + std::numbers::sqrt2;
        iso.delta2 = 1 - std::numbers::sqrt2;
        break;
    case Model::ESD: {
        const models::EsdShape e = models::esdShape(f.omega, f.esdSpherical);
        iso.family = Family::Esd;
        iso.b = models::esdCoVolume(e, tc, pc);
        iso.tau = models::esdY(e, tc, t_K);
        iso.esdC = 4 * e.c;
        iso.esdZmQ = e.zm * e.q;
        iso.esdK1 = e.k1;
        // Far above Tc, Y turns negative; once k1·Y falls below −1.9 the attraction term has
        // a pole inside the packing limit (see etaMax): the model is singular there, but the
        // branch from the ideal gas up to the pole stays well defined.
        iso.valid = positiveFinite(iso.b) &&
                    std::isfinite(iso.tau + iso.esdC + iso.esdZmQ + iso.esdK1) &&
                    iso.esdK1 * iso.tau != -kEsdPacking;
        return iso;
    }
    case Model::DEOS:
        a = models::dietericiA(tc, pc);
        iso.b = models::dietericiB(a, tc);
        iso.family = Family::Dieterici;
        break;
    default:
        return iso;
    }
    if (model != Model::DEOS)
        iso.family = Family::Cubic;
    iso.tau = a / (iso.b * iso.rt);
    iso.valid = positiveFinite(iso.b) && std::isfinite(iso.tau) && iso.tau >= 0;
    return iso;
}

Isotherm withTau(const Isotherm& iso, double tau)
{
    Isotherm out = iso;
    out.tau = tau;
    return out;
}

double etaMax(const Isotherm& iso)
{
    switch (iso.family) {
    case Family::Virial:
        return kVirialEtaMax;
    case Family::Esd:
        return std::min(1 / kEsdPacking, esdPole(iso));
    default:
        return 1;
    }
}

double esdPole(const Isotherm& iso)
{
    const double l = iso.esdK1 * iso.tau;
    return l < 0 ? -1 / l : HUGE_VAL;
}

bool singularBelowPacking(const Isotherm& iso)
{
    return iso.family == Family::Esd && esdPole(iso) < 1 / kEsdPacking;
}

DietericiIntegrals dietericiIntegrals(double tau, double eta)
{
    // With a small η the difference of exponential integrals cancels; the integrands are
    // then smooth on [0, η] (the pole at 1 is ten widths away and e^(−τs) varies by at most
    // e^2), and one 15-point Kronrod panel is exact to rounding.
    constexpr double kPanelEta = 0.1;
    constexpr double kPanelTauEta = 2;
    if (eta <= kPanelEta && tau * eta <= kPanelTauEta) {
        const double half = eta / 2;
        DietericiIntegrals out{0, 0};
        for (int i = 0; i < 15; ++i) {
            const double node = i < 8 ? -kKronrodNodes[i] : kKronrodNodes[14 - i];
            const double w = kKronrodWeights[i < 8 ? i : 14 - i];
            const double s = half * (1 + node);
            const double f = w * std::exp(-tau * s) / (1 - s);
            out.d += f;
            out.d2 += f * s;
        }
        out.d *= half;
        out.d2 *= half;
        return out;
    }
    // ∫0^η e^(−τs)/(1 − s) ds = e^(−τ)·(Ei(τ) − Ei(τ·(1 − η))), written with e^(−x)·Ei(x)
    // so that neither factor overflows; s/(1 − s) = 1/(1 − s) − 1 gives the second.
    const double x = tau * eta;
    const double d = expIntEiScaled(tau) - std::exp(-x) * expIntEiScaled(tau * (1 - eta));
    return {d, d + std::expm1(-x) / tau};
}

double reducedH(const Isotherm& iso, double eta) { return reduced(iso, eta).h; }

double cubicAttraction(const Isotherm& iso, double eta)
{
    const double d1 = iso.delta1, d2 = iso.delta2;
    // van der Waals has δ1 = δ2 = 0.
    return d1 == d2 ? eta / (1 + d1 * eta)
                    : (std::log1p(d1 * eta) - std::log1p(d2 * eta)) / (d1 - d2);
}

double residualHelmholtz(const Isotherm& iso, double eta)
{
    switch (iso.family) {
    case Family::Virial:
        return -eta - eta * eta / 18;
    case Family::Cubic:
        return -std::log1p(-eta) - iso.tau * cubicAttraction(iso, eta);
    case Family::Esd: {
        const double L = iso.esdK1 * iso.tau;
        const double K = iso.esdZmQ * iso.tau;
        const double x = L * eta;
        // log1p(x)/L, with its series where L is too small to divide by.
        const double logTerm = std::fabs(x) < 1e-8 ? eta * (1 - x / 2) : std::log1p(x) / L;
        return -iso.esdC / kEsdPacking * std::log1p(-kEsdPacking * eta) - K * logTerm;
    }
    case Family::Dieterici:
        return -expIntEin(iso.tau * eta) + dietericiIntegrals(iso.tau, eta).d;
    }
    return 0;
}

double lnPhiAt(const Isotherm& iso, double eta, double pi)
{
    const double z = pi / eta;
    return residualHelmholtz(iso, eta) + z - 1 - std::log(z);
}

double minVolume(const Isotherm& iso)
{
    if (!iso.valid || iso.family == Family::Virial)
        return 0;
    return iso.b / etaMax(iso);
}

namespace {
// η for a volume inside the model's range, or NaN outside it.
double etaOf(const Isotherm& iso, double v)
{
    if (!iso.valid || !positiveFinite(v))
        return std::nan("");
    const double eta = iso.b / v;
    const double limit = iso.family == Family::Virial ? DBL_MAX : etaMax(iso);
    return eta < limit ? eta : std::nan("");
}
} // namespace

double pressure(const Isotherm& iso, double v)
{
    const double eta = etaOf(iso, v);
    if (std::isnan(eta))
        return 0;
    const double p = iso.rt / iso.b * reducedH(iso, eta);
    return std::isfinite(p) ? p : 0;
}

double pressureSlope(const Isotherm& iso, double v)
{
    const double eta = etaOf(iso, v);
    if (std::isnan(eta))
        return 0;
    const double s = -iso.rt * reduced(iso, eta).dh * eta * eta / (iso.b * iso.b);
    return std::isfinite(s) ? s : 0;
}

double lnPhi(const Isotherm& iso, double v)
{
    const double eta = etaOf(iso, v);
    if (std::isnan(eta))
        return 0;
    const double pi = reducedH(iso, eta);
    if (!(pi > 0))
        return 0;
    const double l = lnPhiAt(iso, eta, pi);
    return std::isfinite(l) ? l : 0;
}

double lnPhiAtPressure(const Isotherm& iso, double v, double p)
{
    const double eta = etaOf(iso, v);
    if (std::isnan(eta) || !(p > 0))
        return 0;
    const double l = lnPhiAt(iso, eta, p * iso.b / iso.rt);
    return std::isfinite(l) ? l : 0;
}

} // namespace analysis
