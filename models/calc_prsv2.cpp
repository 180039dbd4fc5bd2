#include "models/cubic_models.h"
#include "models/cubic_scheme.h"
#include "models/eos_parameters.h"
#include "models/model_roots.h"
#include "models/models.h"

#include <cmath>

namespace models {

// κ uses the single-precision Tr; α takes T/CritTemp afresh in double.
PengRobinsonForm stryjekVera2(const state::CalcState& s)
{
    PengRobinsonForm f = pengRobinsonBase(s);
    const state::ComponentConstants& c = s.constants;
    f.kappa = stryjekVera2Kappa(stryjekVeraKappa0(c.AcentricF), c.K1, c.K2, c.K3, f.Tr);
    setPengRobinsonAlpha(f, s, soaveAlpha(f.kappa, quot(s.conditions.TempK, c.CritTemp)));
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
