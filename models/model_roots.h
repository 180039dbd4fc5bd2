#pragma once

#include "models/root_result.h"
#include "state/calc_state.h"

#include <cstdint>

// The roots each model procedure computes, exposed so that tests can check the path the
// procedures take (update counts, why a root failed). Volumes in cm3/mol. Each function forms
// the model's parameters from the state itself and ignores the fill-rule gates.
namespace models {

RootResult vaporRootVirial(const state::CalcState& s);
RootResult vaporRootVDW(const state::CalcState& s);
RootResult liquidRootVDW(const state::CalcState& s);
RootResult vaporRootRK(const state::CalcState& s);
RootResult liquidRootRK(const state::CalcState& s);
RootResult vaporRootSRK(const state::CalcState& s);
RootResult liquidRootSRK(const state::CalcState& s);
RootResult vaporRootPR(const state::CalcState& s);
RootResult liquidRootPR(const state::CalcState& s);
RootResult vaporRootPRSV1(const state::CalcState& s);
RootResult liquidRootPRSV1(const state::CalcState& s);
RootResult vaporRootPRSV2(const state::CalcState& s);
RootResult liquidRootPRSV2(const state::CalcState& s);
RootResult vaporRootESD(const state::CalcState& s);
RootResult vaporRootDEOS(const state::CalcState& s);

/// The Vap background of the PRSV2 row for a converged vapour root: pale red when the
/// acentric factor is missing (also when K1 or K2 is missing too), light pink when only K1 or
/// K2 is, white when all three are present. K3 plays no part.
std::int32_t stryjekVera2Background(const state::ComponentConstants& c);

} // namespace models
