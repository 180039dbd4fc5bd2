#include "models/collapse_iteration.h"
#include "models/eos_parameters.h"
#include "models/model_roots.h"
#include "models/models.h"
#include "models/row_output.h"

#include <cmath>

namespace models {

// P = R·T/(V − b)·exp(−a/(R·T·V)), solved for V in its repulsive factor:
// V = (R·T/P)·exp(−a/(R·T·V)) + b. a = 4·(R·Tc)²/(Pc·e²) and b = R·Tc/(e²·Pc), the latter
// formed as a/(4·R·Tc) with 4·R·Tc (332.56·Tc) rounded to single precision.
RootResult vaporRootDEOS(const state::CalcState& s)
{
    const double tc = s.constants.CritTemp;
    const double a = dietericiA(tc, s.constants.CritPress);
    const double b = dietericiB(a, tc);
    const double rtSingle = singleRT(s);
    const double rtp = idealVolume(s);
    if (!std::isfinite(a + b + rtSingle + rtp))
        return {kNaN, 0, RootStatus::ArithmeticFault};
    return collapseBoundedRoot(
        rtp, [&](double vOld) { return rtp * std::exp(quot(-a, rtSingle * vOld)) + b; });
}

void CalcDEOS(const state::CalcState& s, state::ResultSheet& sheet)
{
    if (vaporWanted(s))
        writeVaporRoot(sheet, state::Row::DEOS, s, vaporRootDEOS(s), std::nullopt);
}

} // namespace models
