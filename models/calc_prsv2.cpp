#include "models/cubic_models.h"
#include "models/cubic_scheme.h"
#include "models/model_roots.h"
#include "models/models.h"

#include <cmath>

namespace models {

// κ uses the single-precision Tr; α takes T/CritTemp afresh in double.
PengRobinsonForm stryjekVera2(const state::CalcState& s)
{
    PengRobinsonForm f = pengRobinsonBase(s);
    const state::ComponentConstants& c = s.constants;
    const double sqrtTr = std::sqrt(f.Tr);
    const double k1 = c.K1;
    const double k2 = c.K2;
    const double k3 = c.K3;
    f.kappa = stryjekVeraKappa0(c.AcentricF) +
              (k1 + k2 * (k3 - f.Tr) * (1 - sqrtTr)) * (1 + sqrtTr) * (0.7 - f.Tr);
    const double root = 1 + f.kappa * (1 - std::sqrt(quot(s.conditions.TempK, c.CritTemp)));
    setPengRobinsonAlpha(f, s, root * root);
    return f;
}

std::int32_t stryjekVera2Background(const state::ComponentConstants& c)
{
    if (c.AcentricF == 0)
        return state::kPaleRed; // the stronger mark wins when K1 or K2 is missing as well
    if (c.K1 == 0 || c.K2 == 0)
        return state::kLightPink;
    return state::kWhite;
}

RootResult vaporRootPRSV2(const state::CalcState& s) { return cubicVaporRoot(stryjekVera2(s)); }

RootResult liquidRootPRSV2(const state::CalcState& s) { return cubicLiquidRoot(stryjekVera2(s)); }

void CalcPRSV2(const state::CalcState& s, state::ResultSheet& sheet)
{
    fillCubicRow(stryjekVera2(s), s, sheet, state::Row::PRSV2, stryjekVera2Background(s.constants));
}

} // namespace models
