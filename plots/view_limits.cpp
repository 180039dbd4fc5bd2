#include "plots/view_limits.h"

#include <algorithm>
#include <cmath>

namespace plots {
namespace {

// Zoom out to a hundred times the initial span, in to a thousandth of the values' size (a
// tick step near 2e-4 of the value, which six significant digits still tell apart); pan no
// further than a hundred initial spans (six decades on a log axis) past the initial view.
constexpr double kMaxZoomOut = 100.0;
constexpr double kFinestRelativeSpan = 1e-3;
constexpr double kFinestOfInitial = 1e-9;
constexpr double kLogReachDecades = 6.0;

/// [lo, hi] with its span clamped to [minSpan, maxSpan] about its centre, then moved whole
/// into [bottom, top].
Range clamp(Range r, double minSpan, double maxSpan, double bottom, double top)
{
    const double span = std::clamp(r.hi - r.lo, minSpan, maxSpan);
    if (span != r.hi - r.lo) {
        const double centre = 0.5 * (r.lo + r.hi);
        r = {centre - 0.5 * span, centre + 0.5 * span};
    }
    if (r.lo < bottom)
        r = {bottom, bottom + span};
    if (r.hi > top)
        r = {top - span, top};
    return r;
}

} // namespace

Range limitView(const Axis& axis, Range r)
{
    if (!(r.lo < r.hi) || !std::isfinite(r.lo) || !std::isfinite(r.hi))
        return {axis.min, axis.max};
    if (axis.log) {
        const double l0 = std::log10(axis.min);
        const double l1 = std::log10(axis.max);
        const double bottom =
            std::max(l0 - kLogReachDecades, axis.floor > 0 ? std::log10(axis.floor) : -HUGE_VAL);
        const double lo = r.lo > 0 ? std::log10(r.lo) : bottom;
        const double hi = std::log10(r.hi);
        const Range l = clamp({lo, std::max(hi, lo)}, std::log10(1 + kFinestRelativeSpan),
                              (l1 - l0) + std::log10(kMaxZoomOut), bottom, l1 + kLogReachDecades);
        if (l.lo == lo && l.hi == hi)
            return r;
        return {std::pow(10.0, l.lo), std::pow(10.0, l.hi)};
    }
    const double span0 = axis.max - axis.min;
    const double size = std::max(std::abs(r.lo), std::abs(r.hi));
    const double minSpan = std::max(kFinestRelativeSpan * size, kFinestOfInitial * span0);
    const double bottom = std::max(axis.min - kMaxZoomOut * span0, axis.floor);
    return clamp(r, minSpan, kMaxZoomOut * span0, bottom, axis.max + kMaxZoomOut * span0);
}

} // namespace plots
