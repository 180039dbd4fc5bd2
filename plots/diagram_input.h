#pragma once

#include "state/calc_state.h"
#include "state/result_sheet.h"

#include <optional>
#include <string>

namespace plots {

/// The temperature range, in °C, over which the component's Antoine coefficients were fitted.
struct AntoineRange {
    double tmin_C = 0;
    double tmax_C = 0;
};

/// What the diagrams are drawn for. Without a sheet the state has not been solved for this
/// component: before any solve the diagrams show the component at kStandInTemp_C and
/// kStandInPress_bar, after a change of component its state without the sheet's roots.
struct DiagramInput {
    std::string component;
    state::CalcState state;
    std::optional<state::ResultSheet> sheet; // the solved sheet of exactly this state
    bool solvedBefore = false;               // some solve happened since start-up
    bool componentSolved = false; // without a sheet: this component was solved, at another state
    std::optional<AntoineRange> antoineRange;
    // The temperature (°C) and pressure (bar) as the main window shows them, "1.93" and
    // "5.000"; empty: written from the state's values.
    std::string tempText;
    std::string pressText;
};

inline constexpr double kStandInTemp_C = 25.0;
inline constexpr double kStandInPress_bar = 1.01325;

} // namespace plots
