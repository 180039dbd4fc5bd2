#include "models/cubic_models.h"
#include "models/cubic_scheme.h"
#include "models/model_roots.h"
#include "models/models.h"

#include <cmath>

namespace models {

namespace {
// Peng & Robinson 1976, Ind. Eng. Chem. Fundam. 15, 59: ac = Ωa·R²·Tc²/Pc, b = Ωb·R·Tc/Pc.
constexpr double kPrOmegaA = 0.457235;
constexpr double kPrOmegaB = 0.077796;
// κ(ω) for ω up to 0.49, Peng & Robinson 1976 (as above).
constexpr double kPrKappa0 = 0.37464;
constexpr double kPrKappa1 = 1.54226;
constexpr double kPrKappa2 = 0.26992;
// κ(ω) for heavier components, Robinson & Peng 1978, GPA Research Report RR-28.
constexpr double kPrHeavyKappa0 = 0.379642;
constexpr double kPrHeavyKappa1 = 1.48503;
constexpr double kPrHeavyKappa2 = 0.164423;
constexpr double kPrHeavyKappa3 = 0.016666;
constexpr float kPrHeavyFrom = 0.49f; // ω above it takes the heavy branch (single precision)
} // namespace

// 0.077796·R is formed in double from the float R: 6.46795939251709.
PengRobinsonForm pengRobinsonBase(const state::CalcState& s)
{
    const double r = state::R;
    const double tc = s.constants.CritTemp;
    const double pc = s.constants.CritPress;
    PengRobinsonForm f;
    f.P = s.conditions.PressBar;
    f.Tr = roundToSingle(quot(s.conditions.TempK, tc));
    f.ac = quot(kPrOmegaA * (r * r) * (tc * tc), pc);
    f.b = quot(kPrOmegaB * r * tc, pc);
    f.rtp = idealVolume(s);
    f.rtpb = f.rtp + f.b;
    return f;
}

void setPengRobinsonAlpha(PengRobinsonForm& f, const state::CalcState& s, double alpha)
{
    const double r = state::R;
    const double t = s.conditions.TempK;
    f.alpha = alpha;
    f.a = f.ac * alpha;
    f.F = 3 * (f.b * f.b) + quot(2 * f.b * r * t, f.P) - quot(f.a, f.P);
    f.bbRT_P = quot(f.b * f.b * r * t, f.P);
    f.ab_P = quot(f.a * f.b, f.P);
}

// κ branches split at ω = 0.49, compared in single precision (0.49 itself takes the first).
PengRobinsonForm pengRobinson(const state::CalcState& s)
{
    PengRobinsonForm f = pengRobinsonBase(s);
    const float wSingle = s.constants.AcentricF;
    const double w = wSingle;
    f.kappa = wSingle <= kPrHeavyFrom ? kPrKappa0 + kPrKappa1 * w - kPrKappa2 * (w * w)
                                      : kPrHeavyKappa0 + kPrHeavyKappa1 * w -
                                            kPrHeavyKappa2 * (w * w) + kPrHeavyKappa3 * (w * w * w);
    const double root = 1 + f.kappa * (1 - std::sqrt(f.Tr));
    setPengRobinsonAlpha(f, s, root * root);
    return f;
}

RootResult vaporRootPR(const state::CalcState& s) { return cubicVaporRoot(pengRobinson(s)); }

RootResult liquidRootPR(const state::CalcState& s) { return cubicLiquidRoot(pengRobinson(s)); }

void CalcPR(const state::CalcState& s, state::ResultSheet& sheet)
{
    fillCubicRow(pengRobinson(s), s, sheet, state::Row::PR,
                 acentricBackground(s.constants.AcentricF));
}

} // namespace models
