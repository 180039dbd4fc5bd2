#pragma once

#include "plots/diagram.h"

// How far a diagram may be zoomed and panned: out to where nothing but empty space would
// grow, in to where tick labels of six significant digits still differ.
namespace plots {

struct Range {
    double lo = 0;
    double hi = 1;
};

/// The view range an axis may show for a requested [lo, hi] (lo < hi), the axis as the
/// diagram sets it up: the span (ratio for a log axis) between a thousandth of the value's
/// size and a hundred times the initial one; never below the axis floor (nor ≤ 0 on a log
/// axis, nor below a millionth of its initial minimum). A range inside the limits is returned
/// unchanged; one outside keeps its centre, or moves off the floor whole.
Range limitView(const Axis& axis, Range requested);

} // namespace plots
