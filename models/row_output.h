#pragma once

#include "models/root_result.h"
#include "state/calc_state.h"
#include "state/result_sheet.h"

#include <cstdint>
#include <optional>

// The fill rule every row follows: which groups a model attempts and what it writes into its
// cells for a converged root, a failed one, or a liquid above the critical temperature.
namespace models {

/// The vapour group is attempted when the hypothetical box is ticked or a vapour is wanted.
bool vaporWanted(const state::CalcState& s);
/// The liquid group likewise (the caller tests AboveCritical first).
bool liquidWanted(const state::CalcState& s);

/// Writes a vapour root into Vap, Z and VD (Vap repainted first with `background`, if given),
/// or "NC" into Vap and Z when it did not converge or a cell value would not be finite.
void writeVaporRoot(state::ResultSheet& sheet, state::Row row, const state::CalcState& s,
                    const RootResult& root, std::optional<std::int32_t> background);

/// Writes a liquid root into Liq and SG, or "NC" into Liq.
void writeLiquidRoot(state::ResultSheet& sheet, state::Row row, const state::CalcState& s,
                     const RootResult& root);

/// "NA->Tc" into Liq: no liquid exists above the critical temperature.
void writeAboveCritical(state::ResultSheet& sheet, state::Row row);

/// Pale red when the acentric factor is exactly zero (a component stored without one),
/// white otherwise; compared in single precision.
std::int32_t acentricBackground(float acentricF);

} // namespace models
