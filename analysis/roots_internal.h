#pragma once

#include "analysis/phase_analysis.h"

// Pieces the root, saturation and critical-point searches share, in reduced density η.
namespace analysis {

/// The loop of h(η): the inflection of its slope and the two spinodals (h' = 0), vapour at
/// the smaller η. For the virial row only `etaVapour` is set: the end of its one branch.
struct ReducedSpinodals {
    bool exists = false;
    double etaInflection = 0, minSlope = 1;
    double etaVapour = 0, etaLiquid = 0;
};
ReducedSpinodals reducedSpinodals(const Isotherm& iso);

/// η of the inflection of h (h'' = 0, the smallest slope of the loop) to a relative
/// tolerance; 0 when there is none.
double inflection(const Isotherm& iso, double relTol);

/// The root of h(η) = π on [lo, hi], where h rises monotonically.
double branchRoot(const Isotherm& iso, double lo, double hi, double pi, double guess,
                  double relTol = 1e-15);

/// All roots at P for a formed isotherm.
StateRoots rootsAt(const Isotherm& iso, double p_bar);

} // namespace analysis
