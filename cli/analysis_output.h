#pragma once

#include "state/calc_state.h"

#include <iosfwd>
#include <string>

// The --analysis output of tavrel1-cli: per model the volume roots with ln φ and the stable
// one, the model's own vapour pressure and saturated volumes at the state temperature, its
// critical point, and how far its vapour pressure lies from the Antoine value.
namespace cli {

struct RunUnits;

/// The second block of the readable table, from its blank separating line on.
/// With units, its temperatures, pressures and volumes are written in them.
void printAnalysisTable(const state::CalcState& s, std::ostream& out,
                        const RunUnits* units = nullptr);

/// The JSON member `"analysis": {...}`, keyed by row name, without a leading separator.
std::string analysisJson(const state::CalcState& s, const RunUnits* units = nullptr);

} // namespace cli
