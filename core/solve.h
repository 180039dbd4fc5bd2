#pragma once

#include "state/calc_state.h"
#include "state/result_sheet.h"

#include <array>
#include <optional>
#include <string_view>

// The one solve path the window, the command line and batch runs share: a classify step that
// reads the state and decides what the models are to compute, and a solve step that applies it
// and runs the nine models. Both are plain functions over the state types; neither allocates
// beyond the cell texts (short texts live inside their strings).
namespace core {

/// The phase cases, in the order classifyState tests them.
enum class SolveCase {
    NoComponent,      // a critical constant is zero: nothing computed
    NoPressure,       // the stored pressure is zero: nothing computed
    TooCold,          // below 87 K: solid, nothing computed
    AboveCritical,    // T > Tc: vapour only, liquid cells "NA->Tc"
    NoSaturation,     // Antoine equation not finite here: both roots
    SubcooledLiquid,  // p_sat below the band around P: liquid
    SuperheatedVapor, // p_sat above the band: vapour
    TwoPhase,         // p_sat within 0.01 bar of P: both roots
    NoAntoine,        // no Antoine coefficients: both roots, message unchanged
};

/// What a solve does for a state: the flags it sets, whether the models run, the three lines
/// of the state message (none for NoAntoine: the message stays) and whether the two-phase
/// option buttons are cleared.
struct Classification {
    SolveCase kind = SolveCase::NoComponent;
    bool calcLiquid = false;
    bool calcVapor = false;
    bool aboveCritical = false;
    bool runsModels = false;
    bool clearsTwoPhaseOption = false;
    std::optional<std::array<std::string_view, 3>> message;
};

/// Classifies the state. `typedTemp_C` is the temperature box's value in °C when it holds a
/// number; the Antoine comparison uses it, else the stored kelvin value less 273.15.
Classification classifyState(const state::CalcState& s, std::optional<float> typedTemp_C);

/// Runs the nine models in display order on the state as it is (flags set), into `sheet`.
void runModels(const state::CalcState& s, state::ResultSheet& sheet);

/// A full solve: empties the cell texts, classifies, writes the three flags into `s` and, when
/// the case computes anything, runs the models. The caller shows the message and applies the
/// option-button rule from the returned classification.
Classification solve(state::CalcState& s, std::optional<float> typedTemp_C,
                     state::ResultSheet& sheet);

} // namespace core
