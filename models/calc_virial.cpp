#include "models/collapse_iteration.h"
#include "models/eos_parameters.h"
#include "models/model_roots.h"
#include "models/models.h"
#include "models/row_output.h"

namespace models {

// Virial equation truncated after the third term, its coefficients from the critical volume
// alone: B = −Vc, C = Vc²/9, iterated as V = (R·T/P)·(1 + B/V − C/V²). The factor R·T/P of
// the update is taken to single precision.
RootResult vaporRootVirial(const state::CalcState& s)
{
    const double vc = s.constants.CritVol;
    const double B = virialB(vc); // single precision, exact
    const double C = virialC(vc);
    const double rtp = idealVolume(s);
    const double rtpSingle = roundToSingle(rtp);
    if (std::isnan(rtpSingle) || !std::isfinite(C))
        return {kNaN, 0, RootStatus::ArithmeticFault};
    return collapseBoundedRoot(
        rtp, [&](double vOld) { return rtpSingle * (1 + quot(B, vOld) - quot(C, vOld * vOld)); });
}

void CalcVirial(const state::CalcState& s, state::ResultSheet& sheet)
{
    if (vaporWanted(s))
        writeVaporRoot(sheet, state::Row::Vir, s, vaporRootVirial(s), std::nullopt);
}

} // namespace models
