#include "models/cubic_models.h"
#include "models/cubic_scheme.h"
#include "models/model_roots.h"
#include "models/models.h"

#include <cmath>

namespace models {

namespace {
// m(ω) of Soave's α as refitted by Graboski & Daubert 1978, Ind. Eng. Chem. Process Des. Dev.
// 17, 443.
constexpr double kSoaveM0 = 0.48508;
constexpr double kSoaveM1 = 1.55171;
constexpr double kSoaveM2 = 0.15613;
} // namespace

// Soave's α: one branch of m for every acentric factor, negative ones included. T/CritTemp
// stays in double under the square root.
SoaveRedlichKwong::SoaveRedlichKwong(const state::CalcState& s)
    : RedlichKwongCommon(redlichKwongCommon(s))
{
    const double r = state::R;
    const double tc = s.constants.CritTemp;
    const double pc = s.constants.CritPress;
    const double t = s.conditions.TempK;
    const double w = s.constants.AcentricF;
    ac = quot(kRkOmegaA * (r * r) * (tc * tc), pc);
    m = kSoaveM0 + kSoaveM1 * w - kSoaveM2 * (w * w);
    const double root = 1 + m * (1 - std::sqrt(quot(t, tc)));
    alpha = root * root;
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
