#include "analysis/model_parameters.h"

#include "models/eos_parameters.h"

#include <cmath>

namespace analysis {
namespace {

constexpr double kR = state::R;

/// A function of Tr with its first two Tr-derivatives.
struct OfTr {
    double f = 0, d1 = 0, d2 = 0;
};

// √Tr and its derivatives.
OfTr sqrtTr(double tr)
{
    const double s = std::sqrt(tr);
    return {s, 1 / (2 * s), -1 / (4 * s * s * s)};
}

// κ (Soave's m) of the four models with a Soave-type α, as isotherm.cpp forms it, and its
// Tr-derivatives: the Stryjek-Vera terms depend on Tr, the others do not.
OfTr kappaOf(Model model, const Fluid& f, double tr)
{
    const OfTr s = sqrtTr(tr);
    // (1 + √Tr)·(0.7 − Tr), the factor both Stryjek-Vera variants share.
    const double pivot = models::kSvTrPivot - tr;
    const OfTr shape{(1 + s.f) * pivot, s.d1 * pivot - (1 + s.f), s.d2 * pivot - 2 * s.d1};
    const double kappa0 = models::stryjekVeraKappa0(f.omega);
    switch (model) {
    case Model::SRK:
        return {models::srkM(f.omega)};
    case Model::PR:
        return {models::prKappa(static_cast<float>(f.omega))};
    case Model::PRSV1:
        return {models::stryjekVera1Kappa(kappa0, f.k1, tr), f.k1 * shape.d1, f.k1 * shape.d2};
    case Model::PRSV2: {
        // κ = κ0 + g·shape, g = K1 + K2·(K3 − Tr)·(1 − √Tr).
        const double k3 = f.k3 - tr;
        const OfTr g{f.k1 + f.k2 * k3 * (1 - s.f), f.k2 * (-(1 - s.f) - k3 * s.d1),
                     f.k2 * (2 * s.d1 - k3 * s.d2)};
        return {models::stryjekVera2Kappa(kappa0, f.k1, f.k2, f.k3, tr),
                g.d1 * shape.f + g.f * shape.d1,
                g.d2 * shape.f + 2 * g.d1 * shape.d1 + g.f * shape.d2};
    }
    default:
        return {};
    }
}

// α = [1 + κ·(1 − √Tr)]² and its Tr-derivatives.
OfTr soaveAlphaOf(const OfTr& kappa, double tr)
{
    const OfTr s = sqrtTr(tr);
    const double r = 1 + kappa.f * (1 - s.f);
    const double r1 = kappa.d1 * (1 - s.f) - kappa.f * s.d1;
    const double r2 = kappa.d2 * (1 - s.f) - 2 * kappa.d1 * s.d1 - kappa.f * s.d2;
    return {models::soaveAlpha(kappa.f, tr), 2 * r * r1, 2 * (r1 * r1 + r * r2)};
}

void add(ModelParameters& p, std::string_view key, double value)
{
    if (p.itemCount < static_cast<int>(p.items.size()))
        p.items[static_cast<std::size_t>(p.itemCount++)] = {key, value};
}

void addCubic(ModelParameters& p)
{
    add(p, "cubic_c2", p.cubic[0]);
    add(p, "cubic_c1", p.cubic[1]);
    add(p, "cubic_c0", p.cubic[2]);
}

// The six cubics: ac, α(T) with its T-derivatives, τ's derivatives, A, B and the cubic in Z.
void cubicParameters(ModelParameters& p, const Fluid& f, double t, double pi)
{
    const double tc = f.tc_K, pc = f.pc_bar;
    const double tr = t / tc;
    double ac = 0;
    OfTr alpha{1, 0, 0};
    OfTr kappa;
    switch (p.model) {
    case Model::VDW:
        ac = models::vdwA(tc, pc);
        break;
    case Model::RK: // a/√T = (a/√Tc)·Tr^(−1/2)
        ac = models::rkA(tc, pc) / std::sqrt(tc);
        alpha = {1 / std::sqrt(tr), -0.5 / (tr * std::sqrt(tr)), 0.75 / (tr * tr * std::sqrt(tr))};
        break;
    case Model::SRK:
        ac = models::srkAc(tc, pc);
        break;
    default:
        ac = models::prAc(tc, pc);
        break;
    }
    if (p.model != Model::VDW && p.model != Model::RK) {
        kappa = kappaOf(p.model, f, tr);
        alpha = soaveAlphaOf(kappa, tr);
    }
    p.a = ac * alpha.f;
    p.alpha = alpha.f;
    p.dAlpha = alpha.d1 / tc;
    p.d2Alpha = alpha.d2 / (tc * tc);
    // τ = ac·α/(b·R·T).
    const double k = ac / (p.b * kR);
    p.dTau = k * (p.dAlpha / t - p.alpha / (t * t));
    p.d2Tau = k * (p.d2Alpha / t - 2 * p.dAlpha / (t * t) + 2 * p.alpha / (t * t * t));
    p.bigB = pi;
    p.bigA = p.tau * pi;
    // (V + δ1·b)·(V + δ2·b) in Z: s = δ1 + δ2, q = δ1·δ2.
    const double s = p.isotherm.delta1 + p.isotherm.delta2;
    const double q = p.isotherm.delta1 * p.isotherm.delta2;
    const double A = p.bigA, B = p.bigB;
    p.hasCubic = true;
    p.cubic = {(s - 1) * B - 1, A + q * B * B - s * B * (B + 1), -(A * B + q * B * B * (B + 1))};
    add(p, "a_bar_cm6_mol2", p.a);
    add(p, "b_cm3_mol", p.b);
    if (p.model != Model::VDW)
        add(p, "ac_bar_cm6_mol2", ac);
    if (p.model != Model::VDW && p.model != Model::RK)
        add(p, "kappa", kappa.f);
    add(p, "alpha", p.alpha);
    add(p, "dalpha_dT_1_K", p.dAlpha);
    add(p, "d2alpha_dT2_1_K2", p.d2Alpha);
    add(p, "A", A);
    add(p, "B", B);
    addCubic(p);
}

void esdParameters(ModelParameters& p, const Fluid& f, double t)
{
    const models::EsdShape e = models::esdShape(f.omega, f.esdSpherical);
    // Y = exp(u) − k2, u = θ·Tc/T.
    const double u = e.theta * f.tc_K / t;
    const double ex = std::exp(u);
    p.dTau = -ex * u / t;
    p.d2Tau = ex * (u * u + 2 * u) / (t * t);
    add(p, "b_cm3_mol", p.b);
    add(p, "c", e.c);
    add(p, "q", e.q);
    add(p, "zm", e.zm);
    add(p, "k1", e.k1);
    add(p, "k2", e.k2);
    add(p, "theta", e.theta);
    add(p, "Y", p.tau);
    add(p, "dY_dT_1_K", p.dTau);
    add(p, "d2Y_dT2_1_K2", p.d2Tau);
}

} // namespace

ModelParameters modelParameters(Model model, const Fluid& fluid, double t_K, double p_bar)
{
    ModelParameters p;
    p.model = model;
    p.isotherm = makeIsotherm(model, fluid, t_K);
    const Isotherm& iso = p.isotherm;
    if (!iso.valid || !(p_bar > 0) || !std::isfinite(p_bar))
        return p;
    p.valid = true;
    p.b = iso.b;
    p.tau = iso.tau;
    const double pi = p_bar * iso.b / iso.rt; // b·P/(R·T)
    switch (iso.family) {
    case Family::Virial: {
        // B and C do not depend on T.
        const double vc = fluid.vc_cm3mol;
        p.bigB = models::virialB(vc) * p_bar / iso.rt;
        p.bigA = models::virialC(vc) * (p_bar / iso.rt) * (p_bar / iso.rt);
        p.hasCubic = true;
        p.cubic = {-1, -p.bigB, p.bigA};
        add(p, "B_cm3_mol", models::virialB(vc));
        add(p, "C_cm6_mol2", models::virialC(vc));
        add(p, "dB_dT_cm3_molK", 0);
        add(p, "BP_RT", p.bigB);
        add(p, "CP2_RT2", p.bigA);
        addCubic(p);
        break;
    }
    case Family::Cubic:
        cubicParameters(p, fluid, t_K, pi);
        break;
    case Family::Esd:
        esdParameters(p, fluid, t_K);
        break;
    case Family::Dieterici:
        // a is constant: τ ∝ 1/T.
        p.a = models::dietericiA(fluid.tc_K, fluid.pc_bar);
        p.dTau = -p.tau / t_K;
        p.d2Tau = 2 * p.tau / (t_K * t_K);
        add(p, "a_bar_cm6_mol2", p.a);
        add(p, "b_cm3_mol", p.b);
        add(p, "tau", p.tau);
        break;
    }
    return p;
}

} // namespace analysis
