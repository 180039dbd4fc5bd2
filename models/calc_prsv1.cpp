#include "models/cubic_models.h"
#include "models/cubic_scheme.h"
#include "models/eos_parameters.h"
#include "models/model_roots.h"
#include "models/models.h"

#include <cmath>

namespace models {

// The K1 term applies at every reduced temperature: no split at Tr = 0.7, above which the
// term changes sign.
PengRobinsonForm stryjekVera1(const state::CalcState& s)
{
    PengRobinsonForm f = pengRobinsonBase(s);
    f.kappa = stryjekVera1Kappa(stryjekVeraKappa0(s.constants.AcentricF), s.constants.K1, f.Tr);
    setPengRobinsonAlpha(f, s, soaveAlpha(f.kappa, f.Tr));
    return f;
}

RootResult vaporRootPRSV1(const state::CalcState& s) { return cubicVaporRoot(stryjekVera1(s)); }

RootResult liquidRootPRSV1(const state::CalcState& s) { return cubicLiquidRoot(stryjekVera1(s)); }

// A zero K1 is not marked: only the acentric factor colours this row.
void CalcPRSV1(const state::CalcState& s, state::ResultSheet& sheet)
{
    fillCubicRow(stryjekVera1(s), s, sheet, state::Row::PRSV1,
                 acentricBackground(s.constants.AcentricF));
}

} // namespace models
