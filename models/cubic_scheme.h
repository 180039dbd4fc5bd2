#pragma once

#include "models/fixed_point.h"
#include "models/row_output.h"
#include "state/calc_state.h"
#include "state/result_sheet.h"

#include <cmath>
#include <concepts>
#include <cstdint>
#include <optional>

// The fixed-point scheme the six cubic models share: the vapour root iterates from the ideal-
// gas volume R·T/P, the liquid root from the co-volume b. Neither brackets a root; each repeats
// the model's update until the relative change is below the tolerance, an iterate leaves its
// range, or 80 updates are spent. The value shown is the iterate at which the tolerance is
// first met, so a closed-form solver would not reproduce the shown digits.
namespace models {

/// What a cubic model supplies: its co-volume b and ideal-gas volume R·T/P (cm3/mol), whether
/// its parameters are finite, and its two updates (previous iterate -> next, cm3/mol; NaN for
/// a zero divisor).
template <class M>
concept CubicModel = requires(const M& m, double v)
{
    static_cast<double>(m.b);
    static_cast<double>(m.rtp);
    static_cast<bool>(m.finite());
    static_cast<double>(m.vaporUpdate(v));
    static_cast<double>(m.liquidUpdate(v));
};

/// The vapour root: from R·T/P; an iterate below b fails before the tolerance is tested.
template <CubicModel M> RootResult cubicVaporRoot(const M& m)
{
    if (!m.finite())
        return {kNaN, 0, RootStatus::ArithmeticFault};
    return fixedPointRoot(
        m.rtp, [&m](double v) { return m.vaporUpdate(v); },
        [&m](double v) -> std::optional<RootStatus> {
            if (!std::isfinite(v))
                return RootStatus::ArithmeticFault;
            if (v < m.b)
                return RootStatus::LeftBound;
            return std::nullopt;
        });
}

/// The liquid root: from b; an iterate above R·T/P fails before the tolerance is tested. The
/// bound is compared in single precision, so an iterate beyond the float range (a run-away to
/// huge negative volumes at very high pressure) is an arithmetic fault.
template <CubicModel M> RootResult cubicLiquidRoot(const M& m)
{
    const double bound = roundToSingle(m.rtp);
    if (!m.finite() || std::isnan(bound))
        return {kNaN, 0, RootStatus::ArithmeticFault};
    return fixedPointRoot(
        m.b, [&m](double v) { return m.liquidUpdate(v); },
        [bound](double v) -> std::optional<RootStatus> {
            const double vSingle = roundToSingle(v);
            if (std::isnan(vSingle))
                return RootStatus::ArithmeticFault;
            if (vSingle > bound)
                return RootStatus::LeftBound;
            return std::nullopt;
        });
}

/// One cubic row: the vapour root, then "NA->Tc" above the critical temperature or the liquid
/// root, each only when the fill rule wants it. `background` repaints Vap for a converged
/// vapour root (SRK, PR and the Stryjek-Vera rows); the parameters are formed by the caller
/// once, before either root.
template <CubicModel M>
void fillCubicRow(const M& m, const state::CalcState& s, state::ResultSheet& sheet, state::Row row,
                  std::optional<std::int32_t> background)
{
    if (vaporWanted(s))
        writeVaporRoot(sheet, row, s, cubicVaporRoot(m), background);
    if (s.flags.AboveCritical) {
        writeAboveCritical(sheet, row);
        return;
    }
    if (liquidWanted(s))
        writeLiquidRoot(sheet, row, s, cubicLiquidRoot(m));
}

} // namespace models
