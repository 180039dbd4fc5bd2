#include "models/cubic_models.h"
#include "models/cubic_scheme.h"
#include "models/eos_parameters.h"
#include "models/model_roots.h"
#include "models/models.h"

#include <cmath>

namespace models {

RedlichKwong::RedlichKwong(const state::CalcState& s)
{
    const double r = state::R;
    const double tc = s.constants.CritTemp;
    const double pc = s.constants.CritPress;
    const double t = s.conditions.TempK;
    P = s.conditions.PressBar;
    sqrtT = std::sqrt(t);
    a = rkA(tc, pc);
    b = rkB(tc, pc);
    rtp = idealVolume(s);
    rtpb = rtp + b;
    rtSingle = singleRT(s);
    F = b * b + quot(b * r * t, P) - quot(a, P * sqrtT);
    ab_PsqrtT = quot(a * b, P * sqrtT);
}

// V = R·T/P + b − a·(V − b)/(P·√T·V·(V + b)), the right-hand side at the previous iterate.
double RedlichKwong::vaporUpdate(double vOld) const
{
    return rtpb - quot(a * (vOld - b), P * sqrtT * vOld * (vOld + b));
}

// V³ − (R·T/P)·V² − F·V − a·b/(P·√T) = 0 solved for its linear term; R·T enters as the float
// product, multiplied by V² before the division by P.
double RedlichKwong::liquidUpdate(double vOld) const
{
    const double v2 = vOld * vOld;
    return quot(v2 * vOld - quot(rtSingle * v2, P) - ab_PsqrtT, F);
}

RootResult vaporRootRK(const state::CalcState& s) { return cubicVaporRoot(RedlichKwong(s)); }

RootResult liquidRootRK(const state::CalcState& s) { return cubicLiquidRoot(RedlichKwong(s)); }

void CalcRK(const state::CalcState& s, state::ResultSheet& sheet)
{
    fillCubicRow(RedlichKwong(s), s, sheet, state::Row::RK, std::nullopt);
}

} // namespace models
