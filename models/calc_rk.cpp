#include "models/cubic_models.h"
#include "models/cubic_scheme.h"
#include "models/eos_parameters.h"
#include "models/model_roots.h"
#include "models/models.h"

#include <cmath>

namespace models {

RedlichKwongCommon redlichKwongCommon(const state::CalcState& s)
{
    const double b = rkB(s.constants.CritTemp, s.constants.CritPress);
    const double rtp = idealVolume(s);
    return {s.conditions.PressBar, b, rtp, rtp + b, singleRT(s)};
}

RedlichKwong::RedlichKwong(const state::CalcState& s) : RedlichKwongCommon(redlichKwongCommon(s))
{
    const double r = state::R;
    const double t = s.conditions.TempK;
    sqrtT = std::sqrt(t);
    a = rkA(s.constants.CritTemp, s.constants.CritPress);
    F = b * b + quot(b * r * t, P) - quot(a, P * sqrtT);
    ab_PsqrtT = quot(a * b, P * sqrtT);
}

RootResult vaporRootRK(const state::CalcState& s) { return cubicVaporRoot(RedlichKwong(s)); }

RootResult liquidRootRK(const state::CalcState& s) { return cubicLiquidRoot(RedlichKwong(s)); }

void CalcRK(const state::CalcState& s, state::ResultSheet& sheet)
{
    fillCubicRow(RedlichKwong(s), s, sheet, state::Row::RK, std::nullopt);
}

} // namespace models
