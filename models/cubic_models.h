#pragma once

#include "models/numerics.h"
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
    // V = R·T/P + b − a·(V − b)/(P·V²), the right-hand side at the previous iterate.
    double vaporUpdate(double vOld) const { return rtpb - quot(a * (vOld - b), P * (vOld * vOld)); }
    // P·V³ − (P·b + R·T)·V² + a·V − a·b = 0 solved for its linear term.
    double liquidUpdate(double vOld) const
    {
        const double v2 = vOld * vOld;
        return quot(P * (rtpb * v2 - v2 * vOld + ab_P), a);
    }
};

/// What Redlich-Kwong and Soave-Redlich-Kwong share: P, b, R·T/P, R·T/P + b and the float R·T.
struct RedlichKwongCommon {
    double P, b, rtp, rtpb, rtSingle;
};
RedlichKwongCommon redlichKwongCommon(const state::CalcState& s);

/// P = R·T/(V − b) − a/(√T·V·(V + b)).
struct RedlichKwong : RedlichKwongCommon {
    explicit RedlichKwong(const state::CalcState& s);
    double sqrtT, a, F, ab_PsqrtT;
    bool finite() const { return std::isfinite(a + b + rtp + rtpb + rtSingle + F + ab_PsqrtT); }
    // V = R·T/P + b − a·(V − b)/(P·√T·V·(V + b)), the right-hand side at the previous iterate.
    double vaporUpdate(double vOld) const
    {
        return rtpb - quot(a * (vOld - b), P * sqrtT * vOld * (vOld + b));
    }
    // V³ − (R·T/P)·V² − F·V − a·b/(P·√T) = 0 solved for its linear term; R·T enters as the float
    // product, multiplied by V² before the division by P.
    double liquidUpdate(double vOld) const
    {
        const double v2 = vOld * vOld;
        return quot(v2 * vOld - quot(rtSingle * v2, P) - ab_PsqrtT, F);
    }
};

/// P = R·T/(V − b) − ac·α/(V·(V + b)), α from the acentric factor through m.
struct SoaveRedlichKwong : RedlichKwongCommon {
    explicit SoaveRedlichKwong(const state::CalcState& s);
    double ac, m, alpha, a, F;
    bool finite() const { return std::isfinite(a + b + rtp + rtpb + rtSingle + F); }
    // V = R·T/P + b − a·(V − b)/(P·V·(V + b)), the right-hand side at the previous iterate.
    double vaporUpdate(double vOld) const
    {
        return rtpb - quot(a * (vOld - b), P * vOld * (vOld + b));
    }
    // P·V³ − R·T·V² − F·V − a·b = 0 solved for its linear term; R·T enters as the float product.
    double liquidUpdate(double vOld) const
    {
        const double v2 = vOld * vOld;
        return quot(P * (v2 * vOld) - rtSingle * v2 - a * b, F);
    }
};

/// P = R·T/(V − b) − ac·α/(V² + 2·b·V − b²). Peng-Robinson and both Stryjek-Vera variants
/// share this form and its updates; they differ only in κ and α.
struct PengRobinsonForm {
    double P = 0, ac = 0, b = 0, kappa = 0, alpha = 0, a = 0, rtp = 0, rtpb = 0, F = 0;
    double Tr = 0; // T/CritTemp rounded to single precision (NaN beyond the float range)
    double bbRT_P = 0, ab_P = 0; // b²·R·T/P and a·b/P of the liquid update
    bool finite() const { return std::isfinite(a + b + rtp + rtpb + F); }
    // V = R·T/P + b − a·(V − b)/(P·(V² + 2·b·V − b²)), the right-hand side at the previous iterate.
    double vaporUpdate(double vOld) const
    {
        return rtpb - quot(a * (vOld - b), P * (vOld * vOld + 2 * b * vOld - b * b));
    }
    // V³ − (R·T/P − b)·V² − F·V − (a·b/P − b²·R·T/P − b³) = 0 solved for its linear term.
    double liquidUpdate(double vOld) const
    {
        const double v2 = vOld * vOld;
        return quot(v2 * vOld + (b - rtp) * v2 + b * b * b + bbRT_P - ab_P, F);
    }
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
