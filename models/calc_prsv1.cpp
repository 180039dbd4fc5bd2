#include "models/cubic_models.h"
#include "models/cubic_scheme.h"
#include "models/model_roots.h"
#include "models/models.h"

#include <cmath>

namespace models {

double stryjekVeraKappa0(double w)
{
    return 0.378893 + 1.4897153 * w - 0.17131848 * (w * w) + 0.0196554 * (w * w * w);
}

// The K1 term applies at every reduced temperature: no split at Tr = 0.7, above which the
// term changes sign.
PengRobinsonForm stryjekVera1(const state::CalcState& s)
{
    PengRobinsonForm f = pengRobinsonBase(s);
    const double sqrtTr = std::sqrt(f.Tr);
    const double k1 = s.constants.K1;
    f.kappa = stryjekVeraKappa0(s.constants.AcentricF) + k1 * (1 + sqrtTr) * (0.7 - f.Tr);
    const double root = 1 + f.kappa * (1 - sqrtTr);
    setPengRobinsonAlpha(f, s, root * root);
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
