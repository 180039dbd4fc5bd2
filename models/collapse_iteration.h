#pragma once

#include "models/fixed_point.h"

#include <cmath>
#include <optional>

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
    return fixedPointRoot(rtp, update, [bound](double v) -> std::optional<RootStatus> {
        const double vSingle = roundToSingle(v);
        if (std::isnan(vSingle))
            return RootStatus::ArithmeticFault;
        if (vSingle < bound)
            return RootStatus::LeftBound;
        return std::nullopt;
    });
}

} // namespace models
