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
    : RedlichKwongCommon(redlichKwongCommon(s))
{
    const double r = state::R;
    const double tc = s.constants.CritTemp;
    const double t = s.conditions.TempK;
    ac = srkAc(tc, s.constants.CritPress);
    m = srkM(s.constants.AcentricF);
    alpha = soaveAlpha(m, quot(t, tc));
    a = ac * alpha;
    F = P * (b * b) + b * r * t - a;
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
