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

RootResult vaporRootVDW(const state::CalcState& s) { return cubicVaporRoot(VanDerWaals(s)); }

RootResult liquidRootVDW(const state::CalcState& s) { return cubicLiquidRoot(VanDerWaals(s)); }

void CalcVDW(const state::CalcState& s, state::ResultSheet& sheet)
{
    fillCubicRow(VanDerWaals(s), s, sheet, state::Row::VDW, std::nullopt);
}

} // namespace models
