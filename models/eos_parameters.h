#pragma once

#include "models/numerics.h"
#include "state/calc_state.h"

#include <cmath>

// How each model forms its parameters from the component constants, written once for both the
// sheet's replay (which feeds in widened single-precision values and rounds where it must) and
// the phase-equilibrium analysis (which feeds in doubles). Temperatures in K, pressures in bar,
// volumes in cm3/mol. A zero divisor gives NaN (see quot), never an infinity.
namespace models {

// Each coefficient as its paper prints it; the precision is the sheet's, so none may be
// rounded or recomputed (0.42748 is not 1/(9·(2^(1/3) − 1))).

// van der Waals 1873, at the critical point: a = (27/64)·R²·Tc²/Pc, b = R·Tc/(8·Pc).
inline constexpr double kVdwANumerator = 27;
inline constexpr double kVdwADenominator = 64;
inline constexpr double kVdwBDenominator = 8;
// Redlich & Kwong 1949, Chem. Rev. 44, 233 (Ωa and Ωb; Soave 1972 keeps both).
inline constexpr double kRkOmegaA = 0.42748;
inline constexpr double kRkOmegaB = 0.08664;
inline constexpr double kRkTcExponent = 2.5; // Tc^2.5: the 1/√Tr of Redlich-Kwong folded in
// Soave's m(ω) as refitted by Graboski & Daubert 1978, Ind. Eng. Chem. Process Des. Dev. 17, 443.
inline constexpr double kSoaveM0 = 0.48508;
inline constexpr double kSoaveM1 = 1.55171;
inline constexpr double kSoaveM2 = 0.15613;
// Peng & Robinson 1976, Ind. Eng. Chem. Fundam. 15, 59: Ωa, Ωb and κ(ω) up to ω = 0.49.
inline constexpr double kPrOmegaA = 0.457235;
inline constexpr double kPrOmegaB = 0.077796;
inline constexpr double kPrKappa0 = 0.37464;
inline constexpr double kPrKappa1 = 1.54226;
inline constexpr double kPrKappa2 = 0.26992;
inline constexpr float kPrHeavyFrom = 0.49f; // compared in single precision; 0.49 is light
// Robinson & Peng 1978, GPA Research Report RR-28: κ(ω) for the heavier components.
inline constexpr double kPrHeavyKappa0 = 0.379642;
inline constexpr double kPrHeavyKappa1 = 1.48503;
inline constexpr double kPrHeavyKappa2 = 0.164423;
inline constexpr double kPrHeavyKappa3 = 0.016666;
// Stryjek & Vera 1986, Can. J. Chem. Eng. 64, 323 (κ0, K1) and 64, 820 (K2, K3): the K terms
// vanish at Tr = 0.7.
inline constexpr double kSvKappa0 = 0.378893;
inline constexpr double kSvKappa1 = 1.4897153;
inline constexpr double kSvKappa2 = 0.17131848;
inline constexpr double kSvKappa3 = 0.0196554;
inline constexpr double kSvTrPivot = 0.7;
// Elliott, Suresh & Donohue 1990, Ind. Eng. Chem. Res. 29, 1476, as published: 9.49 (not
// 9.5) and k3 = 1.90475 (not 1.90476).
inline constexpr double kEsdShape1 = 3.535; // c = 1 + 3.535·ω + 0.533·ω²
inline constexpr double kEsdShape2 = 0.533;
inline constexpr double kEsdZm = 9.49; // zm, k1 and k2 per c^(1/3)
inline constexpr double kEsdK1 = 1.7745;
inline constexpr double kEsdK2 = 1.0617;
inline constexpr double kEsdK3 = 1.90475;
inline constexpr double kEsdRepulsion = 1.9; // 4·c·η/(1 − 1.9·η)
// θ = (1 + 0.945·d + 0.134·d²)/(1.023 + 2.225·d + 0.478·d²) and
// β = (0.0312 + 0.087·d + 0.008·d²)/(1 + 2.455·d + 0.732·d²), d = c − 1.
inline constexpr double kEsdTheta1 = 0.945, kEsdTheta2 = 0.134;
inline constexpr double kEsdThetaDen0 = 1.023, kEsdThetaDen1 = 2.225, kEsdThetaDen2 = 0.478;
inline constexpr double kEsdBeta0 = 0.0312, kEsdBeta1 = 0.087, kEsdBeta2 = 0.008;
inline constexpr double kEsdBetaDen1 = 2.455, kEsdBetaDen2 = 0.732;
// Dieterici 1899, Ann. Phys. 305, 685, at the critical point: a = 4·(R·Tc)²/(Pc·e²).
inline constexpr double kDietericiA = 4;
inline constexpr double kDietericiExponent = 2; // the e² of a and b
// Virial coefficients from the critical volume: C = Vc²/9.
inline constexpr double kVirialCDivisor = 9;

/// van der Waals: a = 27·R²·Tc²/(64·Pc) in bar·cm6/mol2.
inline double vdwA(double tc, double pc)
{
    const double r = state::R;
    return quot(kVdwANumerator * (r * r) * (tc * tc), kVdwADenominator * pc);
}
/// van der Waals: b = R·Tc/(8·Pc).
inline double vdwB(double tc, double pc)
{
    return quot(static_cast<double>(state::R) * tc, kVdwBDenominator * pc);
}

/// Redlich-Kwong: a = 0.42748·R²·Tc^2.5/Pc in bar·cm6·K^0.5/mol2 (Redlich & Kwong).
inline double rkA(double tc, double pc)
{
    const double r = state::R;
    return quot(kRkOmegaA * (r * r) * std::pow(tc, kRkTcExponent), pc);
}
/// Redlich-Kwong and Soave: b = 0.08664·R·Tc/Pc, 0.08664·R being 7.20324954711914.
inline double rkB(double tc, double pc)
{
    return quot(kRkOmegaB * static_cast<double>(state::R) * tc, pc);
}
/// Soave: ac = 0.42748·R²·Tc²/Pc in bar·cm6/mol2 (Soave 1972, Chem. Eng. Sci. 27, 1197).
inline double srkAc(double tc, double pc)
{
    const double r = state::R;
    return quot(kRkOmegaA * (r * r) * (tc * tc), pc);
}
/// Soave's m, one branch for every acentric factor, negative ones included.
inline double srkM(double w) { return kSoaveM0 + kSoaveM1 * w - kSoaveM2 * (w * w); }

/// Peng-Robinson: ac = 0.457235·R²·Tc²/Pc (Peng & Robinson 1976, Ind. Eng. Chem. Fund. 15, 59).
inline double prAc(double tc, double pc)
{
    const double r = state::R;
    return quot(kPrOmegaA * (r * r) * (tc * tc), pc);
}
/// Peng-Robinson and Stryjek-Vera: b = 0.077796·R·Tc/Pc, 0.077796·R being 6.46795939251709.
inline double prB(double tc, double pc)
{
    return quot(kPrOmegaB * static_cast<double>(state::R) * tc, pc);
}
/// Peng-Robinson κ: two branches split at ω = 0.49, compared in single precision (0.49 itself
/// takes the first; Robinson & Peng 1978 for the second).
inline double prKappa(float wSingle)
{
    const double w = wSingle;
    return wSingle <= kPrHeavyFrom ? kPrKappa0 + kPrKappa1 * w - kPrKappa2 * (w * w)
                                   : kPrHeavyKappa0 + kPrHeavyKappa1 * w -
                                         kPrHeavyKappa2 * (w * w) + kPrHeavyKappa3 * (w * w * w);
}
/// κ0 of both Stryjek-Vera variants (Stryjek & Vera 1986, Can. J. Chem. Eng. 64, 323).
inline double stryjekVeraKappa0(double w)
{
    return kSvKappa0 + kSvKappa1 * w - kSvKappa2 * (w * w) + kSvKappa3 * (w * w * w);
}
/// Stryjek-Vera 1: κ = κ0 + K1·(1 + √Tr)·(0.7 − Tr), at every reduced temperature.
inline double stryjekVera1Kappa(double kappa0, double k1, double tr)
{
    return kappa0 + k1 * (1 + std::sqrt(tr)) * (kSvTrPivot - tr);
}
/// Stryjek-Vera 2: κ = κ0 + [K1 + K2·(K3 − Tr)·(1 − √Tr)]·(1 + √Tr)·(0.7 − Tr).
inline double stryjekVera2Kappa(double kappa0, double k1, double k2, double k3, double tr)
{
    const double sqrtTr = std::sqrt(tr);
    return kappa0 + (k1 + k2 * (k3 - tr) * (1 - sqrtTr)) * (1 + sqrtTr) * (kSvTrPivot - tr);
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
    e.c = spherical ? 1.0 : roundToSingle(1 + kEsdShape1 * w + kEsdShape2 * (w * w));
    const double cube = std::pow(e.c, 1.0 / 3);
    e.zm = roundToSingle(kEsdZm * cube);
    e.k1 = kEsdK1 * cube;
    e.k2 = kEsdK2 * cube;
    const double d = e.c - 1;
    e.theta = quot(1 + kEsdTheta1 * d + kEsdTheta2 * (d * d),
                   kEsdThetaDen0 + kEsdThetaDen1 * d + kEsdThetaDen2 * (d * d));
    e.beta = quot(kEsdBeta0 + kEsdBeta1 * d + kEsdBeta2 * (d * d),
                  1 + kEsdBetaDen1 * d + kEsdBetaDen2 * (d * d));
    e.q = 1 + kEsdK3 * roundToSingle(e.c - 1);
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
    return quot(kDietericiA * (rtc * rtc), pc * std::exp(kDietericiExponent));
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
inline double virialC(double vc) { return vc * vc / kVirialCDivisor; }

} // namespace models
