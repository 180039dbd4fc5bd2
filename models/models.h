#pragma once

#include "state/calc_state.h"
#include "state/result_sheet.h"

#include <array>

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

/// A model procedure: reads the state, writes the cells of its own row.
using CalcFn = void (*)(const state::CalcState&, state::ResultSheet&);

struct ModelEntry {
    state::Row row;
    CalcFn calc;
};

/// The nine models in display order, top row first: the one list every caller walks. The
/// order of running them is immaterial, since each reads only the state and writes only its
/// own row.
inline constexpr std::array<ModelEntry, state::kRowCount> kModels{{
    {state::Row::Vir, CalcVirial},
    {state::Row::VDW, CalcVDW},
    {state::Row::RK, CalcRK},
    {state::Row::SRK, CalcSRK},
    {state::Row::PR, CalcPR},
    {state::Row::PRSV1, CalcPRSV1},
    {state::Row::PRSV2, CalcPRSV2},
    {state::Row::ESD, CalcESD},
    {state::Row::DEOS, CalcDEOS},
}};

constexpr bool inDisplayOrder()
{
    for (std::size_t i = 0; i < kModels.size(); ++i)
        if (kModels[i].row != static_cast<state::Row>(i))
            return false;
    return true;
}
static_assert(inDisplayOrder(), "kModels lists the rows top to bottom, one entry each");

} // namespace models
