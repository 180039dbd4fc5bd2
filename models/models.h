#pragma once

#include "state/calc_state.h"
#include "state/result_sheet.h"

// The nine equation-of-state models. Each reads the calculation state and writes only its
// own row of the sheet, following the fill rule: vapour group when chkStCalc or CalcVapor,
// liquid group ("NA->Tc" above critical) when chkStCalc or CalcLiquid.
namespace models {

void CalcVirial(const state::CalcState& s, state::ResultSheet& sheet);
void CalcVDW(const state::CalcState& s, state::ResultSheet& sheet);
void CalcRK(const state::CalcState& s, state::ResultSheet& sheet);
void CalcSRK(const state::CalcState& s, state::ResultSheet& sheet);
void CalcPR(const state::CalcState& s, state::ResultSheet& sheet);
void CalcPRSV1(const state::CalcState& s, state::ResultSheet& sheet);
void CalcPRSV2(const state::CalcState& s, state::ResultSheet& sheet);
void CalcESD(const state::CalcState& s, state::ResultSheet& sheet);
void CalcDEOS(const state::CalcState& s, state::ResultSheet& sheet);

} // namespace models
