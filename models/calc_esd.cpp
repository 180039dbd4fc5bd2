#include "models/model_roots.h"
#include "models/models.h"
#include "models/numerics.h"
#include "models/row_output.h"

#include <cmath>

namespace models {
namespace {

// Shape factor c from the acentric factor, or 1 for a spherical molecule; the attraction
// constants zm, k1 and k2 scale with c^(1/3). Correlation constants as published: 9.49 (not
// 9.5) and k3 = 1.90475 (not 1.90476).
struct EsdParameters {
    double c, zm, k1, Y, q, b;

    explicit EsdParameters(const state::CalcState& s)
    {
        const double w = s.constants.AcentricF;
        c = s.chkSphMol ? 1.0 : roundToSingle(1 + 3.535 * w + 0.533 * (w * w));
        const double cube = std::pow(c, 1.0 / 3);
        zm = roundToSingle(9.49 * cube);
        k1 = 1.7745 * cube;
        const double k2 = 1.0617 * cube;
        constexpr double k3 = 1.90475;
        const double d = c - 1;
        const double theta =
            quot(1 + 0.945 * d + 0.134 * (d * d), 1.023 + 2.225 * d + 0.478 * (d * d));
        const double beta =
            quot(0.0312 + 0.087 * d + 0.008 * (d * d), 1 + 2.455 * d + 0.732 * (d * d));
        const double tc = s.constants.CritTemp;
        Y = std::exp(quot(theta * tc, s.conditions.TempK)) - k2;
        q = 1 + k3 * roundToSingle(c - 1);
        b = quot(beta * static_cast<double>(state::R) * tc, s.constants.CritPress);
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
    for (PassCounter i = 1;; ++i) {
        if (i > kUpdateCap)
            return {v, i - 1, RootStatus::CapReached};
        const double vOld = v;
        const double eta = quot(e.b, vOld);
        const double zRep = quot(4 * e.c * eta, 1 - 1.9 * eta);
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
