#pragma once

#include "analysis/properties.h"

#include <array>
#include <string>
#include <vector>

// Why each root carries its tag, in plain English a student can follow step by step: the
// model's parameters at T, the equation the roots solve, the roots, where the state lies
// against the model's own critical point, spinodals and vapour pressure, and the choice.
namespace analysis {

/// The reason for root `index` of `m`, in words ("superheated liquid: ...").
std::string reasonText(const ModelProperties& m, int index);

/// One model at the state with what the explanation draws on.
struct ModelExplanation {
    ModelProperties properties;
    CriticalPoint critical;
    Saturation saturation;
    Spinodals spinodals;
    std::vector<std::string> steps; // one sentence or equation a line
};
ModelExplanation explainModel(Model model, const Fluid& fluid, double t_K, double p_bar,
                              double molarMass_gmol);

using StateExplanation = std::array<ModelExplanation, kModelCount>;
StateExplanation explainState(const Fluid& fluid, double t_K, double p_bar, double molarMass_gmol);
/// The state as the sheet holds it.
StateExplanation explainState(const state::CalcState& s);

} // namespace analysis
