#pragma once

#include "models/numerics.h"
#include "models/root_result.h"

#include <cmath>

namespace models {

/// The vapour iteration of the virial and Dieterici rows: from the ideal-gas volume R·T/P
/// (cm3/mol), with `update` mapping the previous iterate to the next. An iterate below
/// R·T/(10·P) has collapsed towards a liquid and fails before the tolerance is tested; that
/// comparison is made in single precision, strict, so an iterate beyond the float range is an
/// arithmetic fault.
template <class Update> RootResult collapseBoundedRoot(double rtp, Update&& update)
{
    const double bound = roundToSingle(rtp / 10);
    if (std::isnan(bound))
        return {kNaN, 0, RootStatus::ArithmeticFault};
    double v = rtp;
    for (PassCounter i = 1;; ++i) {
        const double vOld = v;
        v = update(vOld);
        const double vSingle = roundToSingle(v);
        if (std::isnan(vSingle))
            return {v, i, RootStatus::ArithmeticFault};
        if (vSingle < bound)
            return {v, i, RootStatus::LeftBound};
        if (i > kUpdateCap)
            return {v, i, RootStatus::CapReached};
        bool fault = false;
        if (meetsTolerance(vOld, v, fault))
            return {v, i, RootStatus::Converged};
        if (fault)
            return {v, i, RootStatus::ArithmeticFault};
    }
}

} // namespace models
