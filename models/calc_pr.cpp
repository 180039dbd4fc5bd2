#include "models/cubic_models.h"
#include "models/cubic_scheme.h"
#include "models/eos_parameters.h"
#include "models/model_roots.h"
#include "models/models.h"

#include <cmath>

namespace models {

PengRobinsonForm pengRobinsonBase(const state::CalcState& s)
{
    const double tc = s.constants.CritTemp;
    const double pc = s.constants.CritPress;
    PengRobinsonForm f;
    f.P = s.conditions.PressBar;
    f.Tr = roundToSingle(quot(s.conditions.TempK, tc));
    f.ac = prAc(tc, pc);
    f.b = prB(tc, pc);
    f.rtp = idealVolume(s);
    f.rtpb = f.rtp + f.b;
    return f;
}

void setPengRobinsonAlpha(PengRobinsonForm& f, const state::CalcState& s, double alpha)
{
    const double r = state::R;
    const double t = s.conditions.TempK;
    f.alpha = alpha;
    f.a = f.ac * alpha;
    f.F = 3 * (f.b * f.b) + quot(2 * f.b * r * t, f.P) - quot(f.a, f.P);
    f.bbRT_P = quot(f.b * f.b * r * t, f.P);
    f.ab_P = quot(f.a * f.b, f.P);
}

PengRobinsonForm pengRobinson(const state::CalcState& s)
{
    PengRobinsonForm f = pengRobinsonBase(s);
    f.kappa = prKappa(s.constants.AcentricF);
    setPengRobinsonAlpha(f, s, soaveAlpha(f.kappa, f.Tr));
    return f;
}

RootResult vaporRootPR(const state::CalcState& s) { return cubicVaporRoot(pengRobinson(s)); }

RootResult liquidRootPR(const state::CalcState& s) { return cubicLiquidRoot(pengRobinson(s)); }

void CalcPR(const state::CalcState& s, state::ResultSheet& sheet)
{
    fillCubicRow(pengRobinson(s), s, sheet, state::Row::PR,
                 acentricBackground(s.constants.AcentricF));
}

} // namespace models
