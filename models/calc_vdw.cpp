#include "models/cubic_models.h"
#include "models/cubic_scheme.h"
#include "models/eos_parameters.h"
#include "models/model_roots.h"
#include "models/models.h"

namespace models {

VanDerWaals::VanDerWaals(const state::CalcState& s)
{
    const double tc = s.constants.CritTemp;
    const double pc = s.constants.CritPress;
    P = s.conditions.PressBar;
    a = vdwA(tc, pc);
    b = vdwB(tc, pc);
    rtp = idealVolume(s);
    rtpb = rtp + b;
    ab_P = quot(a * b, P);
}

// V = R·T/P + b − a·(V − b)/(P·V²), the right-hand side at the previous iterate.
double VanDerWaals::vaporUpdate(double vOld) const
{
    return rtpb - quot(a * (vOld - b), P * (vOld * vOld));
}

// P·V³ − (P·b + R·T)·V² + a·V − a·b = 0 solved for its linear term.
double VanDerWaals::liquidUpdate(double vOld) const
{
    const double v2 = vOld * vOld;
    return quot(P * (rtpb * v2 - v2 * vOld + ab_P), a);
}

RootResult vaporRootVDW(const state::CalcState& s) { return cubicVaporRoot(VanDerWaals(s)); }

RootResult liquidRootVDW(const state::CalcState& s) { return cubicLiquidRoot(VanDerWaals(s)); }

void CalcVDW(const state::CalcState& s, state::ResultSheet& sheet)
{
    fillCubicRow(VanDerWaals(s), s, sheet, state::Row::VDW, std::nullopt);
}

} // namespace models
