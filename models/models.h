#pragma once

#include "core/state/calc_state.h"
#include "core/state/result_sheet.h"

// The nine equation-of-state models. Each reads the calculation state and writes only its
// own row of the sheet, following the fill rule: vapour group when chkStCalc or CalcVapor,
// liquid group ("NA->Tc" above critical) when chkStCalc or CalcLiquid.
namespace models {

void CalcVirial(const core::CalcState& s, core::ResultSheet& sheet);
void CalcVDW(const core::CalcState& s, core::ResultSheet& sheet);
void CalcRK(const core::CalcState& s, core::ResultSheet& sheet);
void CalcSRK(const core::CalcState& s, core::ResultSheet& sheet);
void CalcPR(const core::CalcState& s, core::ResultSheet& sheet);
void CalcPRSV1(const core::CalcState& s, core::ResultSheet& sheet);
void CalcPRSV2(const core::CalcState& s, core::ResultSheet& sheet);
void CalcESD(const core::CalcState& s, core::ResultSheet& sheet);
void CalcDEOS(const core::CalcState& s, core::ResultSheet& sheet);

} // namespace models
