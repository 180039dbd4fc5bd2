#include "models/cubic_models.h"
#include "models/cubic_scheme.h"
#include "models/eos_parameters.h"
#include "models/model_roots.h"
#include "models/models.h"

#include <cmath>

namespace models {

// Soave's α: one branch of m for every acentric factor, negative ones included. T/CritTemp
// stays in double under the square root.
SoaveRedlichKwong::SoaveRedlichKwong(const state::CalcState& s)
{
    const double r = state::R;
    const double tc = s.constants.CritTemp;
    const double pc = s.constants.CritPress;
    const double t = s.conditions.TempK;
    const double w = s.constants.AcentricF;
    P = s.conditions.PressBar;
    ac = srkAc(tc, pc);
    b = rkB(tc, pc);
    m = srkM(w);
    alpha = soaveAlpha(m, quot(t, tc));
    a = ac * alpha;
    rtp = idealVolume(s);
    rtpb = rtp + b;
    rtSingle = singleRT(s);
    F = P * (b * b) + b * r * t - a;
}

// V = R·T/P + b − a·(V − b)/(P·V·(V + b)), the right-hand side at the previous iterate.
double SoaveRedlichKwong::vaporUpdate(double vOld) const
{
    return rtpb - quot(a * (vOld - b), P * vOld * (vOld + b));
}

// P·V³ − R·T·V² − F·V − a·b = 0 solved for its linear term; R·T enters as the float product.
double SoaveRedlichKwong::liquidUpdate(double vOld) const
{
    const double v2 = vOld * vOld;
    return quot(P * (v2 * vOld) - rtSingle * v2 - a * b, F);
}

RootResult vaporRootSRK(const state::CalcState& s) { return cubicVaporRoot(SoaveRedlichKwong(s)); }

RootResult liquidRootSRK(const state::CalcState& s)
{
    return cubicLiquidRoot(SoaveRedlichKwong(s));
}

void CalcSRK(const state::CalcState& s, state::ResultSheet& sheet)
{
    fillCubicRow(SoaveRedlichKwong(s), s, sheet, state::Row::SRK,
                 acentricBackground(s.constants.AcentricF));
}

} // namespace models
