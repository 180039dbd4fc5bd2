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

/// Every real root x = V/b of the polynomial P(V) = P becomes for the cubics and the virial
/// row (π = P·b/(R·T) > 0), ascending, those at or below the co-volume (or zero) included;
/// 0 for the other models.
int rootsInVolume(const Isotherm& iso, double pi, double xs[3]);

/// All roots at P for a formed isotherm.
StateRoots rootsAt(const Isotherm& iso, double p_bar);
/// The same, handing out the cubics' roots at or below the co-volume (x = V/b ≤ 1), in
/// descending x.
struct UnphysicalRoots {
    double x[3];
    int count = 0;
};
StateRoots rootsAt(const Isotherm& iso, double p_bar, UnphysicalRoots* unphysical);

} // namespace analysis
