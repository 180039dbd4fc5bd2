#include "models/cubic_models.h"
#include "models/cubic_scheme.h"
#include "models/model_roots.h"
#include "models/models.h"

#include <cmath>

namespace models {

// 0.077796·R is formed in double from the float R: 6.46795939251709.
PengRobinsonForm pengRobinsonBase(const state::CalcState& s)
{
    const double r = state::R;
    const double tc = s.constants.CritTemp;
    const double pc = s.constants.CritPress;
    PengRobinsonForm f;
    f.P = s.conditions.PressBar;
    f.Tr = roundToSingle(quot(s.conditions.TempK, tc));
    f.ac = quot(0.457235 * (r * r) * (tc * tc), pc);
    f.b = quot(0.077796 * r * tc, pc);
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

// V = R·T/P + b − a·(V − b)/(P·(V² + 2·b·V − b²)), the right-hand side at the previous iterate.
double PengRobinsonForm::vaporUpdate(double vOld) const
{
    return rtpb - quot(a * (vOld - b), P * (vOld * vOld + 2 * b * vOld - b * b));
}

// V³ − (R·T/P − b)·V² − F·V − (a·b/P − b²·R·T/P − b³) = 0 solved for its linear term.
double PengRobinsonForm::liquidUpdate(double vOld) const
{
    const double v2 = vOld * vOld;
    return quot(v2 * vOld + (b - rtp) * v2 + b * b * b + bbRT_P - ab_P, F);
}

// κ branches split at ω = 0.49, compared in single precision (0.49 itself takes the first).
PengRobinsonForm pengRobinson(const state::CalcState& s)
{
    PengRobinsonForm f = pengRobinsonBase(s);
    const float wSingle = s.constants.AcentricF;
    const double w = wSingle;
    f.kappa = wSingle <= 0.49f
                  ? 0.37464 + 1.54226 * w - 0.26992 * (w * w)
                  : 0.379642 + 1.48503 * w - 0.164423 * (w * w) + 0.016666 * (w * w * w);
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
