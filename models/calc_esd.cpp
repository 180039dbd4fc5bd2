#include "models/eos_parameters.h"
#include "models/model_roots.h"
#include "models/models.h"
#include "models/numerics.h"
#include "models/row_output.h"

#include <cmath>

namespace models {
namespace {

// The shape constants of eos_parameters.h at the state temperature.
struct EsdParameters {
    double c, zm, k1, Y, q, b;

    explicit EsdParameters(const state::CalcState& s)
    {
        const EsdShape e = esdShape(s.constants.AcentricF, s.chkSphMol);
        const double tc = s.constants.CritTemp;
        c = e.c;
        zm = e.zm;
        k1 = e.k1;
        Y = esdY(e, tc, s.conditions.TempK);
        q = e.q;
        b = esdCoVolume(e, tc, s.constants.CritPress);
    }
    bool finite() const { return std::isfinite(c + zm + k1 + Y + q + b); }
};

} // namespace

// Z = 1 + 4·c·η/(1 − 1.9·η) − zm·q·Y·η/(1 + k1·Y·η), η = b/V, iterated as V = Z·R·T/P. No
// bound on V: a volume that turns negative or oscillates runs on to the cap, which is tested
// before each update.
RootResult vaporRootESD(const state::CalcState& s)
{
    const EsdParameters e(s);
    const double rtp = idealVolume(s);
    if (!e.finite() || !std::isfinite(rtp))
        return {kNaN, 0, RootStatus::ArithmeticFault};
    const double r = state::R;
    const double t = s.conditions.TempK;
    const double p = s.conditions.PressBar;
    double v = rtp;
    for (int i = 1;; ++i) {
        if (i > kUpdateCap)
            return {v, i - 1, RootStatus::CapReached};
        const double vOld = v;
        const double eta = quot(e.b, vOld);
        const double zRep = quot(4 * e.c * eta, 1 - kEsdRepulsion * eta);
        const double zAtt = quot(e.zm * e.q * e.Y * eta, 1 + e.k1 * e.Y * eta);
        const double z = 1 + zRep - zAtt;
        v = quot(z * r * t, p);
        if (!std::isfinite(v))
            return {v, i, RootStatus::ArithmeticFault};
        bool fault = false;
        if (meetsTolerance(vOld, v, fault))
            return {v, i, RootStatus::Converged};
        if (fault)
            return {v, i, RootStatus::ArithmeticFault};
    }
}

// The background follows the real acentric factor even when the spherical box is ticked.
void CalcESD(const state::CalcState& s, state::ResultSheet& sheet)
{
    if (vaporWanted(s))
        writeVaporRoot(sheet, state::Row::ESD, s, vaporRootESD(s),
                       acentricBackground(s.constants.AcentricF));
}

} // namespace models
