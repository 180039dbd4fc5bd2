#include "models/model_roots.h"
#include "models/models.h"
#include "models/numerics.h"
#include "models/row_output.h"

#include <cmath>

namespace models {
namespace {

// Elliott, Suresh & Donohue 1990, Ind. Eng. Chem. Res. 29, 1476. Correlation constants as
// published: 9.49 (not 9.5) and k3 = 1.90475 (not 1.90476).
constexpr double kShapeC1 = 3.535; // c = 1 + 3.535·ω + 0.533·ω²
constexpr double kShapeC2 = 0.533;
constexpr double kZm = 9.49; // zm, k1, k2 times c^(1/3)
constexpr double kK1 = 1.7745;
constexpr double kK2 = 1.0617;
constexpr double kK3 = 1.90475;
constexpr double kRepulsion = 1.9; // 4·c·η/(1 − 1.9·η)
// θ = (1 + 0.945·d + 0.134·d²)/(1.023 + 2.225·d + 0.478·d²), d = c − 1.
constexpr double kTheta1 = 0.945, kTheta2 = 0.134;
constexpr double kThetaDen0 = 1.023, kThetaDen1 = 2.225, kThetaDen2 = 0.478;
// β = (0.0312 + 0.087·d + 0.008·d²)/(1 + 2.455·d + 0.732·d²).
constexpr double kBeta0 = 0.0312, kBeta1 = 0.087, kBeta2 = 0.008;
constexpr double kBetaDen1 = 2.455, kBetaDen2 = 0.732;

// Shape factor c from the acentric factor, or 1 for a spherical molecule; the attraction
// constants zm, k1 and k2 scale with c^(1/3).
struct EsdParameters {
    double c, zm, k1, Y, q, b;

    explicit EsdParameters(const state::CalcState& s)
    {
        const double w = s.constants.AcentricF;
        c = s.chkSphMol ? 1.0 : roundToSingle(1 + kShapeC1 * w + kShapeC2 * (w * w));
        const double cube = std::pow(c, 1.0 / 3);
        zm = roundToSingle(kZm * cube);
        k1 = kK1 * cube;
        const double k2 = kK2 * cube;
        const double d = c - 1;
        const double theta = quot(1 + kTheta1 * d + kTheta2 * (d * d),
                                  kThetaDen0 + kThetaDen1 * d + kThetaDen2 * (d * d));
        const double beta =
            quot(kBeta0 + kBeta1 * d + kBeta2 * (d * d), 1 + kBetaDen1 * d + kBetaDen2 * (d * d));
        const double tc = s.constants.CritTemp;
        Y = std::exp(quot(theta * tc, s.conditions.TempK)) - k2;
        q = 1 + kK3 * roundToSingle(c - 1);
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
    for (int i = 1;; ++i) {
        if (i > kUpdateCap)
            return {v, i - 1, RootStatus::CapReached};
        const double vOld = v;
        const double eta = quot(e.b, vOld);
        const double zRep = quot(4 * e.c * eta, 1 - kRepulsion * eta);
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
