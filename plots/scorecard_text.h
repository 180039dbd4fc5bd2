#pragma once

#include "core/reference_comparison.h"
#include "plots/diagram_units.h"
#include "plots/reference_diagrams.h"

#include <string>
#include <vector>

// The scorecard and the scores against the user's own data as tables of text, for the
// scorecard window, its copy and its CSV. AADs in %; the worst state's temperature and
// pressure in the chosen units.
namespace plots {

/// One row per model, best first: rank, model, overall AAD, the AADs of the vapour pressure,
/// the saturated liquid and vapour volumes and the single-phase grid, the worst state and its
/// deviation. A model without any number is ranked last, unnumbered.
TextTable scorecardTable(const core::Scorecard& card, const DiagramUnits& units);

/// What the scorecard averaged over: "Saturation 323.1 to 640.7 K (20 points); single phase
/// up to 661.9 bar (90 states)".
std::string scorecardRange(const core::Scorecard& card, const DiagramUnits& units);

/// One row per model and the reference, best first, against the measured points.
TextTable dataScoreTable(const std::vector<core::DataScore>& scores);

} // namespace plots
