#pragma once

#include "state/calc_state.h"

#include <cfloat>
#include <cmath>
#include <limits>

// Arithmetic shared by the nine models. The state is single precision and the iterations run
// in double; these helpers hold the few places where the two meet, and keep the faults a
// fixed-point pass can meet (a zero divisor, a value the float range cannot hold) defined:
// each turns into a NaN, which the iterations report as a fault instead of a number.
namespace models {

/// Relative change below which an iteration stops. Held as a float on purpose: widened it is
/// 9.999999747378752e-5, and that is the value the comparison uses.
inline constexpr double kTolerance = 0.0001f;
/// Updates tested against the tolerance; the 81st pass of a root always fails. Near the
/// critical point a pass may crawl, and past the cap the root is shown as not converged.
inline constexpr int kUpdateCap = 80;

inline constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

/// n / d, or NaN when d is zero (a zero divisor is a fault here, never an infinity).
inline double quot(double n, double d) { return d == 0 ? kNaN : n / d; }

/// x rounded to single precision and widened back, or NaN when x is not finite or lies
/// beyond the float range (converting such a double to float is undefined behaviour).
inline double roundToSingle(double x)
{
    if (!(std::fabs(x) <= static_cast<double>(FLT_MAX)))
        return kNaN;
    return static_cast<double>(static_cast<float>(x));
}

/// The ideal-gas volume R·T/P in cm3/mol, in double from the single-precision R, T and P;
/// NaN when P is zero.
inline double idealVolume(const state::CalcState& s)
{
    return quot(static_cast<double>(state::R) * s.conditions.TempK, s.conditions.PressBar);
}

/// R·T as the float product the models round it to, widened (NaN beyond the float range).
inline double singleRT(const state::CalcState& s)
{
    return roundToSingle(static_cast<double>(state::R) * s.conditions.TempK);
}

/// |(vOld − v)/v| < tolerance, strict. A zero v is a zero divisor: false, and `fault` is set.
inline bool meetsTolerance(double vOld, double v, bool& fault)
{
    if (v == 0) {
        fault = true;
        return false;
    }
    return std::fabs((vOld - v) / v) < kTolerance;
}

} // namespace models
