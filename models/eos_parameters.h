#pragma once

#include "models/numerics.h"
#include "state/calc_state.h"

#include <cmath>

// How each model forms its parameters from the component constants, written once for both the
// sheet's replay (which feeds in widened single-precision values and rounds where it must) and
// the phase-equilibrium analysis (which feeds in doubles). Temperatures in K, pressures in bar,
// volumes in cm3/mol. A zero divisor gives NaN (see quot), never an infinity.
namespace models {

/// van der Waals: a = 27·R²·Tc²/(64·Pc) in bar·cm6/mol2.
inline double vdwA(double tc, double pc)
{
    const double r = state::R;
    return quot(27 * (r * r) * (tc * tc), 64 * pc);
}
/// van der Waals: b = R·Tc/(8·Pc).
inline double vdwB(double tc, double pc)
{
    return quot(static_cast<double>(state::R) * tc, 8 * pc);
}

/// Redlich-Kwong: a = 0.42748·R²·Tc^2.5/Pc in bar·cm6·K^0.5/mol2 (Redlich & Kwong 1949,
/// Chem. Rev. 44, 233, with their rounded Ωa).
inline double rkA(double tc, double pc)
{
    const double r = state::R;
    return quot(0.42748 * (r * r) * std::pow(tc, 2.5), pc);
}
/// Redlich-Kwong and Soave: b = 0.08664·R·Tc/Pc, 0.08664·R being 7.20324954711914.
inline double rkB(double tc, double pc)
{
    return quot(0.08664 * static_cast<double>(state::R) * tc, pc);
}
/// Soave: ac = 0.42748·R²·Tc²/Pc in bar·cm6/mol2 (Soave 1972, Chem. Eng. Sci. 27, 1197).
inline double srkAc(double tc, double pc)
{
    const double r = state::R;
    return quot(0.42748 * (r * r) * (tc * tc), pc);
}
/// Soave's m, one branch for every acentric factor, negative ones included.
inline double srkM(double w) { return 0.48508 + 1.55171 * w - 0.15613 * (w * w); }

/// Peng-Robinson: ac = 0.457235·R²·Tc²/Pc (Peng & Robinson 1976, Ind. Eng. Chem. Fund. 15, 59).
inline double prAc(double tc, double pc)
{
    const double r = state::R;
    return quot(0.457235 * (r * r) * (tc * tc), pc);
}
/// Peng-Robinson and Stryjek-Vera: b = 0.077796·R·Tc/Pc, 0.077796·R being 6.46795939251709.
inline double prB(double tc, double pc)
{
    return quot(0.077796 * static_cast<double>(state::R) * tc, pc);
}
/// Peng-Robinson κ: two branches split at ω = 0.49, compared in single precision (0.49 itself
/// takes the first; Robinson & Peng 1978 for the second).
inline double prKappa(float wSingle)
{
    const double w = wSingle;
    return wSingle <= 0.49f ? 0.37464 + 1.54226 * w - 0.26992 * (w * w)
                            : 0.379642 + 1.48503 * w - 0.164423 * (w * w) + 0.016666 * (w * w * w);
}
/// κ0 of both Stryjek-Vera variants (Stryjek & Vera 1986, Can. J. Chem. Eng. 64, 323).
inline double stryjekVeraKappa0(double w)
{
    return 0.378893 + 1.4897153 * w - 0.17131848 * (w * w) + 0.0196554 * (w * w * w);
}
/// Stryjek-Vera 1: κ = κ0 + K1·(1 + √Tr)·(0.7 − Tr), at every reduced temperature.
inline double stryjekVera1Kappa(double kappa0, double k1, double tr)
{
    return kappa0 + k1 * (1 + std::sqrt(tr)) * (0.7 - tr);
}
/// Stryjek-Vera 2: κ = κ0 + [K1 + K2·(K3 − Tr)·(1 − √Tr)]·(1 + √Tr)·(0.7 − Tr).
inline double stryjekVera2Kappa(double kappa0, double k1, double k2, double k3, double tr)
{
    const double sqrtTr = std::sqrt(tr);
    return kappa0 + (k1 + k2 * (k3 - tr) * (1 - sqrtTr)) * (1 + sqrtTr) * (0.7 - tr);
}
/// The α of Soave, Peng-Robinson and Stryjek-Vera: [1 + m·(1 − √Tr)]².
inline double soaveAlpha(double m, double tr)
{
    const double root = 1 + m * (1 - std::sqrt(tr));
    return root * root;
}

/// Elliott-Suresh-Donohue shape constants (Elliott, Suresh & Donohue 1990, Ind. Eng. Chem.
/// Res. 29, 1476): the shape factor c from the acentric factor, or 1 for a spherical molecule;
/// zm, k1 and k2 scale with c^(1/3). Constants as published: 9.49 (not 9.5) and k3 = 1.90475
/// (not 1.90476). c and zm are rounded to single precision as the model stores them.
struct EsdShape {
    double c, zm, k1, k2, theta, beta, q;
};
inline EsdShape esdShape(double w, bool spherical)
{
    EsdShape e{};
    e.c = spherical ? 1.0 : roundToSingle(1 + 3.535 * w + 0.533 * (w * w));
    const double cube = std::pow(e.c, 1.0 / 3);
    e.zm = roundToSingle(9.49 * cube);
    e.k1 = 1.7745 * cube;
    e.k2 = 1.0617 * cube;
    constexpr double k3 = 1.90475;
    const double d = e.c - 1;
    e.theta = quot(1 + 0.945 * d + 0.134 * (d * d), 1.023 + 2.225 * d + 0.478 * (d * d));
    e.beta = quot(0.0312 + 0.087 * d + 0.008 * (d * d), 1 + 2.455 * d + 0.732 * (d * d));
    e.q = 1 + k3 * roundToSingle(e.c - 1);
    return e;
}
/// ESD co-volume b = β·R·Tc/Pc.
inline double esdCoVolume(const EsdShape& e, double tc, double pc)
{
    return quot(e.beta * static_cast<double>(state::R) * tc, pc);
}
/// ESD temperature function Y = exp(θ·Tc/T) − k2.
inline double esdY(const EsdShape& e, double tc, double t)
{
    return std::exp(quot(e.theta * tc, t)) - e.k2;
}

/// Dieterici: a = 4·(R·Tc)²/(Pc·e²) in bar·cm6/mol2.
inline double dietericiA(double tc, double pc)
{
    const double rtc = static_cast<double>(state::R) * tc;
    return quot(4 * (rtc * rtc), pc * std::exp(2.0));
}
/// Dieterici: b = R·Tc/(e²·Pc), formed as a/(4·R·Tc) with 4·R·Tc (332.56·Tc) rounded to
/// single precision.
inline double dietericiB(double a, double tc)
{
    constexpr float kFourR = 4 * state::R; // 332.55999755859375, exact
    static_assert(kFourR == 332.56f);
    return quot(a, roundToSingle(static_cast<double>(kFourR) * tc));
}

/// Virial coefficients from the critical volume alone: B = −Vc (cm3/mol), C = Vc²/9 (cm6/mol2),
/// entering as Z = 1 + B/V − C/V².
inline double virialB(double vc) { return -vc; }
inline double virialC(double vc) { return vc * vc / 9; }

} // namespace models
