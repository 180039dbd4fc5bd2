#include "models/cubic_models.h"
#include "models/cubic_scheme.h"
#include "models/model_roots.h"
#include "models/models.h"

namespace models {

namespace {
// van der Waals 1873 at the critical point: a = (27/64)·R²·Tc²/Pc, b = R·Tc/(8·Pc).
constexpr double kVdwA = 27, kVdwADen = 64, kVdwBDen = 8;
} // namespace

VanDerWaals::VanDerWaals(const state::CalcState& s)
{
    const double r = state::R;
    const double tc = s.constants.CritTemp;
    const double pc = s.constants.CritPress;
    P = s.conditions.PressBar;
    a = quot(kVdwA * (r * r) * (tc * tc), kVdwADen * pc);
    b = quot(r * tc, kVdwBDen * pc);
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
