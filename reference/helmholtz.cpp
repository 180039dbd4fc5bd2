// α⁰ and αʳ with their derivatives.
//
// Power, exponential and Gaussian terms are separable, f(δ)·g(τ), and every derivative
// follows from the log-derivatives of f and g: with F = ln f, A_k = δ^k·d^kF/dδ^k,
//   δf' = f·A1,  δ²f'' = f·(A2 + A1²),  δ³f''' = f·(A3 + 3·A1·A2 + A1³),
// and the same in τ with B1, B2. Each term then costs one exp.
//
// The non-analytic terms n·Δ^b·δ·ψ (water, carbon dioxide) are written with |δ − 1|^k instead
// of the printed ((δ − 1)²)^(k/2)/(δ − 1) forms, which are 0/0 at δ = 1; every exponent left
// is ≥ 0.33 for the published β = 0.3 and a ≥ 3. At Δ = 0 (τ = δ = 1, the critical point) the
// terms with Δ^(b−k) vanish in the limit and are taken as 0; only ∂²/∂τ² diverges there.
#include "reference/internal.h"

#include <array>
#include <cmath>

namespace reference {
namespace {

// Below this Δ the Δ^(b−k) products are taken at their limit 0 (their other factors vanish
// faster); Δ^(b−3) stays inside the double range above it.
constexpr double kDeltaZero = 1e-100;
// exp(−600) ≈ 1e-261: ψ times polynomial factors of the term stays below 1e-200.
constexpr double kPsiNegligible = -600;

void addNonAnalytic(const NonAnalyticTerm& q, double tau, double delta, Scaled& s)
{
    const double u = delta - 1;
    const double tm = tau - 1;
    // Away from the critical point ψ underflows: the term and its derivatives are below any
    // other term's rounding.
    const double lnPsi = -q.C * u * u - q.D * tm * tm;
    if (lnPsi < kPsiNegligible)
        return;
    const double au = std::fabs(u);
    const double sg = u < 0 ? -1.0 : 1.0;
    const double k = 1 / q.beta;
    // θ and its δ-derivatives (θ_τ = −1, the others in τ vanish).
    const double sk1 = au == 0 ? 0 : std::pow(au, k - 1);
    const double sk2 = au == 0 ? 0 : std::pow(au, k - 2);
    const double sk3 = au == 0 ? 0 : std::pow(au, k - 3);
    const double th = -tm + q.A * sk1 * au;
    const double th1 = q.A * k * sk1 * sg;
    const double th2 = q.A * k * (k - 1) * sk2;
    const double th3 = q.A * k * (k - 1) * (k - 2) * sk3 * sg;
    // B·|u|^(2a) and its δ-derivatives.
    const double a2 = 2 * q.a;
    const double e1 = au == 0 ? 0 : std::pow(au, a2 - 1);
    const double e2 = au == 0 ? 0 : std::pow(au, a2 - 2);
    const double e3 = au == 0 ? 0 : std::pow(au, a2 - 3);
    const double D = th * th + q.B * e1 * au;
    const double D1 = 2 * th * th1 + q.B * a2 * e1 * sg;
    const double D2 = 2 * th1 * th1 + 2 * th * th2 + q.B * a2 * (a2 - 1) * e2;
    const double D3 = 6 * th1 * th2 + 2 * th * th3 + q.B * a2 * (a2 - 1) * (a2 - 2) * e3 * sg;
    const double Dt = -2 * th, Dtt = 2, Ddt = -2 * th1;
    // F = Δ^b and its derivatives.
    const double b = q.b;
    double F = 0, Fd = 0, Fdd = 0, Fddd = 0, Ft = 0, Ftt = 0, Fdt = 0;
    if (D > kDeltaZero) {
        const double p0 = std::pow(D, b);
        const double p1 = b * p0 / D;       // bΔ^(b−1)
        const double p2 = (b - 1) * p1 / D; // b(b−1)Δ^(b−2)
        const double p3 = (b - 2) * p2 / D; // b(b−1)(b−2)Δ^(b−3)
        F = p0;
        Fd = p1 * D1;
        Fdd = p2 * D1 * D1 + p1 * D2;
        Fddd = p3 * D1 * D1 * D1 + 3 * p2 * D1 * D2 + p1 * D3;
        Ft = p1 * Dt;
        Ftt = p2 * Dt * Dt + p1 * Dtt;
        Fdt = p2 * D1 * Dt + p1 * Ddt;
    } else {
        Ftt = HUGE_VAL; // c_v diverges at the critical point
    }
    // ψ and its derivatives.
    const double psi = std::exp(lnPsi);
    const double pd = -2 * q.C * u * psi;
    const double pdd = (4 * q.C * q.C * u * u - 2 * q.C) * psi;
    const double pddd = (-8 * q.C * q.C * q.C * u * u * u + 12 * q.C * q.C * u) * psi;
    const double pt = -2 * q.D * tm * psi;
    const double ptt = (4 * q.D * q.D * tm * tm - 2 * q.D) * psi;
    const double pdt = 4 * q.C * q.D * u * tm * psi;
    // G = F·ψ; the term is n·δ·G.
    const double G = F * psi;
    const double Gd = Fd * psi + F * pd;
    const double Gdd = Fdd * psi + 2 * Fd * pd + F * pdd;
    const double Gddd = Fddd * psi + 3 * Fdd * pd + 3 * Fd * pdd + F * pddd;
    const double Gt = Ft * psi + F * pt;
    const double Gtt = (Ftt == HUGE_VAL ? HUGE_VAL : Ftt * psi) + 2 * Ft * pt + F * ptt;
    const double Gdt = Fdt * psi + Fd * pt + Ft * pd + F * pdt;
    const double n = q.n;
    s.a += n * delta * G;
    s.d1 += n * delta * (G + delta * Gd);
    s.d2 += n * delta * delta * (2 * Gd + delta * Gdd);
    s.d3 += n * delta * delta * delta * (3 * Gdd + delta * Gddd);
    s.t1 += n * delta * tau * Gt;
    s.t2 += n * delta * tau * tau * Gtt;
    s.dt += n * delta * tau * (Gt + delta * Gdt);
}

} // namespace

Scaled residualScaled(const Fluid& f, double tau, double delta)
{
    Scaled s;
    const double lnd = std::log(delta), lnt = std::log(tau);
    // δ^l for the small whole l the power terms use.
    std::array<double, 9> dl{};
    dl[0] = 1;
    for (std::size_t i = 1; i < dl.size(); ++i)
        dl[i] = dl[i - 1] * delta;
    for (const PowerTerm& p : f.power) {
        double cdl = 0; // c·δ^l
        if (p.g != 0) {
            const auto li = static_cast<std::size_t>(p.l);
            cdl = p.g * (static_cast<double>(li) == p.l && li < dl.size() ? dl[li]
                                                                          : std::pow(delta, p.l));
        }
        const double v = p.n * std::exp(p.d * lnd + p.t * lnt - cdl);
        const double A1 = p.d - p.l * cdl;
        const double A2 = -p.d - p.l * (p.l - 1) * cdl;
        const double A3 = 2 * p.d - p.l * (p.l - 1) * (p.l - 2) * cdl;
        s.a += v;
        s.d1 += v * A1;
        s.d2 += v * (A2 + A1 * A1);
        s.d3 += v * (A3 + 3 * A1 * A2 + A1 * A1 * A1);
        s.t1 += v * p.t;
        s.t2 += v * (p.t * p.t - p.t);
        s.dt += v * A1 * p.t;
    }
    for (const GaussianTerm& q : f.gaussian) {
        const double de = delta - q.epsilon, tg = tau - q.gamma;
        const double v = q.n * std::exp(q.d * lnd + q.t * lnt - q.eta * de * de - q.beta * tg * tg);
        const double A1 = q.d - 2 * q.eta * delta * de;
        const double A2 = -q.d - 2 * q.eta * delta * delta;
        const double A3 = 2 * q.d;
        const double B1 = q.t - 2 * q.beta * tau * tg;
        const double B2 = -q.t - 2 * q.beta * tau * tau;
        s.a += v;
        s.d1 += v * A1;
        s.d2 += v * (A2 + A1 * A1);
        s.d3 += v * (A3 + 3 * A1 * A2 + A1 * A1 * A1);
        s.t1 += v * B1;
        s.t2 += v * (B2 + B1 * B1);
        s.dt += v * A1 * B1;
    }
    for (const NonAnalyticTerm& q : f.nonAnalytic)
        addNonAnalytic(q, tau, delta, s);
    return s;
}

Derivatives residual(const Fluid& f, double tau, double delta)
{
    const Scaled s = residualScaled(f, tau, delta);
    Derivatives r;
    r.a = s.a;
    r.d = s.d1 / delta;
    r.dd = s.d2 / (delta * delta);
    r.ddd = s.d3 / (delta * delta * delta);
    r.t = s.t1 / tau;
    r.tt = s.t2 / (tau * tau);
    r.dt = s.dt / (delta * tau);
    return r;
}

namespace {

/// ∫cp/R dT and ∫cp/(R·T) dT of cp/R = c·T^t, as antiderivatives.
void polyAntiderivatives(double c, double t, double T, double& H, double& S)
{
    if (t == -1) {
        H = c * std::log(T);
        S = -c / T;
    } else if (t == 0) {
        H = c * T;
        S = c * std::log(T);
    } else {
        H = c * std::pow(T, t + 1) / (t + 1);
        S = c * std::pow(T, t) / t;
    }
}

/// The same for cp/R = c0 + c1·[x/sinh x]² + c3·[y/cosh y]², x = c2/T, y = c4/T.
void alyLeeAntiderivatives(const std::vector<double>& c, double T, double& H, double& S, double& cp)
{
    const double x = c[2] / T, y = c[4] / T;
    const double shx = std::sinh(x), chy = std::cosh(y);
    const double cothx = std::cosh(x) / shx, tanhy = std::tanh(y);
    H = c[0] * T + c[1] * c[2] * cothx - c[3] * c[4] * tanhy;
    S = c[0] * std::log(T) + c[1] * (x * cothx - std::log(shx)) +
        c[3] * (std::log(chy) - y * tanhy);
    cp = c[0] + c[1] * (x / shx) * (x / shx) + c[3] * (y / chy) * (y / chy);
}

} // namespace

Derivatives ideal(const Fluid& f, double tau, double delta)
{
    using K = IdealTerm::Kind;
    Derivatives r;
    r.d = 1 / delta;
    r.dd = -1 / (delta * delta);
    r.ddd = 2 / (delta * delta * delta);
    r.a = std::log(delta);
    const double T = f.tRed / tau;
    for (const IdealTerm& it : f.ideal) {
        switch (it.kind) {
        case K::Lead:
        case K::Offset:
            r.a += it.a1 + it.a2 * tau;
            r.t += it.a2;
            break;
        case K::LogTau:
            r.a += it.a1 * std::log(tau);
            r.t += it.a1 / tau;
            r.tt -= it.a1 / (tau * tau);
            break;
        case K::Power:
            for (std::size_t i = 0; i < it.n.size(); ++i) {
                const double v = it.n[i] * std::pow(tau, it.t[i]);
                r.a += v;
                r.t += v * it.t[i] / tau;
                r.tt += v * it.t[i] * (it.t[i] - 1) / (tau * tau);
            }
            break;
        case K::PlanckEinstein:
            for (std::size_t i = 0; i < it.n.size(); ++i) {
                const double th = it.t[i];
                const double e = std::exp(-th * tau);
                r.a += it.n[i] * std::log1p(-e);
                r.t += it.n[i] * th * e / (1 - e);
                r.tt -= it.n[i] * th * th * e / ((1 - e) * (1 - e));
            }
            break;
        case K::PlanckGeneral:
            for (std::size_t i = 0; i < it.n.size(); ++i) {
                const double th = it.t[i];
                const double e = it.d[i] * std::exp(th * tau);
                const double q = it.c[i] + e;
                r.a += it.n[i] * std::log(q);
                r.t += it.n[i] * th * e / q;
                r.tt += it.n[i] * th * th * e * it.c[i] / (q * q);
            }
            break;
        case K::Cp0PolyT:
        case K::Cp0AlyLee: {
            // α = (H(T) − H(T0))/T − (S(T) − S(T0)); α_τ = (H − H0)/T_red,
            // α_ττ = −(cp/R)/τ² (d/dτ = −(T/τ) d/dT).
            double H = 0, S = 0, H0 = 0, S0 = 0, cp = 0;
            if (it.kind == K::Cp0AlyLee) {
                double cp0 = 0;
                alyLeeAntiderivatives(it.c, T, H, S, cp);
                alyLeeAntiderivatives(it.c, it.t0, H0, S0, cp0);
            } else {
                for (std::size_t i = 0; i < it.c.size(); ++i) {
                    double h = 0, s = 0, h0 = 0, s0 = 0;
                    polyAntiderivatives(it.c[i], it.t[i], T, h, s);
                    polyAntiderivatives(it.c[i], it.t[i], it.t0, h0, s0);
                    H += h;
                    S += s;
                    H0 += h0;
                    S0 += s0;
                    cp += it.c[i] * std::pow(T, it.t[i]);
                }
            }
            r.a += (H - H0) / T - (S - S0);
            r.t += (H - H0) / f.tRed;
            r.tt -= cp / (tau * tau);
            break;
        }
        }
    }
    return r;
}

ReducedPressure reducedPressure(const Fluid& f, double tau, double delta)
{
    const Scaled s = residualScaled(f, tau, delta);
    return {delta * (1 + s.d1), 1 + 2 * s.d1 + s.d2, (2 * s.d1 + 4 * s.d2 + s.d3) / delta};
}

double pressure(const Fluid& f, double t_K, double rho)
{
    const Scaled s = residualScaled(f, f.tRed / t_K, rho / f.rhoRed);
    return rho * f.R * t_K * (1 + s.d1);
}

} // namespace reference
