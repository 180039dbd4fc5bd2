#pragma once

#include "state/calc_state.h"

#include <cmath>

// Parameters and updates of the six cubic models. Each is formed once per call, in double
// precision from the single-precision state, before either root is attempted; the scheme in
// cubic_scheme.h does the rest. Volumes in cm3/mol, a in bar·cm6/mol2 (Redlich-Kwong:
// bar·cm6·K^0.5/mol2). A zero divisor makes a parameter NaN, and finite() then reports it.
// The operations follow the written formulas left to right: the shown digits are those of
// the iterate that first meets the tolerance, and reordering changes the last bits of it.
namespace models {

/// (P + a/V²)·(V − b) = R·T.
struct VanDerWaals {
    explicit VanDerWaals(const state::CalcState& s);
    double P, a, b, rtp, rtpb, ab_P;
    bool finite() const { return std::isfinite(a + b + rtp + rtpb); }
    double vaporUpdate(double vOld) const;
    double liquidUpdate(double vOld) const;
};

/// P = R·T/(V − b) − a/(√T·V·(V + b)).
struct RedlichKwong {
    explicit RedlichKwong(const state::CalcState& s);
    double P, sqrtT, a, b, rtp, rtpb, rtSingle, F, ab_PsqrtT;
    bool finite() const { return std::isfinite(a + b + rtp + rtpb + rtSingle + F + ab_PsqrtT); }
    double vaporUpdate(double vOld) const;
    double liquidUpdate(double vOld) const;
};

/// P = R·T/(V − b) − ac·α/(V·(V + b)), α from the acentric factor through m.
struct SoaveRedlichKwong {
    explicit SoaveRedlichKwong(const state::CalcState& s);
    double P, ac, b, m, alpha, a, rtp, rtpb, rtSingle, F;
    bool finite() const { return std::isfinite(a + b + rtp + rtpb + rtSingle + F); }
    double vaporUpdate(double vOld) const;
    double liquidUpdate(double vOld) const;
};

/// P = R·T/(V − b) − ac·α/(V² + 2·b·V − b²). Peng-Robinson and both Stryjek-Vera variants
/// share this form and its updates; they differ only in κ and α.
struct PengRobinsonForm {
    double P = 0, ac = 0, b = 0, kappa = 0, alpha = 0, a = 0, rtp = 0, rtpb = 0, F = 0;
    double Tr = 0; // T/CritTemp rounded to single precision (NaN beyond the float range)
    double bbRT_P = 0, ab_P = 0; // b²·R·T/P and a·b/P of the liquid update
    bool finite() const { return std::isfinite(a + b + rtp + rtpb + F); }
    double vaporUpdate(double vOld) const;
    double liquidUpdate(double vOld) const;
};

/// The parts of the Peng-Robinson form that do not depend on α: P, ac, b, Tr, R·T/P (+ b).
PengRobinsonForm pengRobinsonBase(const state::CalcState& s);
/// Sets α and what follows from it: a = ac·α and the liquid divisor F.
void setPengRobinsonAlpha(PengRobinsonForm& form, const state::CalcState& s, double alpha);

/// Peng-Robinson with κ from the acentric factor (two branches, split at ω = 0.49).
PengRobinsonForm pengRobinson(const state::CalcState& s);
/// Stryjek-Vera of the first kind: κ = κ0 + K1·(1 + √Tr)·(0.7 − Tr).
PengRobinsonForm stryjekVera1(const state::CalcState& s);
/// Stryjek-Vera of the second kind: K2 and K3 join K1; α uses T/CritTemp in double.
PengRobinsonForm stryjekVera2(const state::CalcState& s);

} // namespace models
