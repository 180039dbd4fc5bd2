#pragma once

#include "models/numerics.h"
#include "models/root_result.h"

#include <optional>

namespace models {

/// One root by fixed-point passes from `start` (cm3/mol): each pass maps the previous iterate
/// to the next with `update`, then `leftRange` says whether the new iterate has left the
/// root's admissible range (LeftBound) or cannot be judged (ArithmeticFault). That test comes
/// before the cap and the tolerance, so an iterate out of range fails even when it meets the
/// tolerance, and at most 80 updates can be accepted.
template <class Update, class LeftRange>
RootResult fixedPointRoot(double start, Update&& update, LeftRange&& leftRange)
{
    double v = start;
    for (int k = 1;; ++k) {
        const double vOld = v;
        v = update(vOld);
        if (const std::optional<RootStatus> out = leftRange(v))
            return {v, k, *out};
        if (k > kUpdateCap)
            return {v, k, RootStatus::CapReached};
        bool fault = false;
        if (meetsTolerance(vOld, v, fault))
            return {v, k, RootStatus::Converged};
        if (fault)
            return {v, k, RootStatus::ArithmeticFault};
    }
}

} // namespace models
