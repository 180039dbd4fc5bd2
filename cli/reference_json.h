#pragma once

#include "core/reference_comparison.h"
#include "state/json_writer.h"

#include <string>
#include <string_view>
#include <vector>

// The JSON members of the reference options (cli/reference_output.h): the reference at a
// state, the scorecard and the scores against measured data.
namespace cli {

inline constexpr std::string_view kSource =
    "coefficients from the CoolProp fluid files, MIT licence: LICENSE-reference-eos.txt";

/// The user's points read for one component, and every model's (and the reference's) score.
struct DataResult {
    core::MeasuredData data;
    std::vector<core::DataScore> scores;
};

/// "reference": {...} (or null with "reference_reason").
void writeReference(state::JsonWriter& w, const reference::Fluid* f, const std::string& reason,
                    const core::ReferenceAtState* r);
/// "scorecard": {...} (or null with "scorecard_reason").
void writeScorecard(state::JsonWriter& w, const reference::Fluid* f, const std::string& reason,
                    const core::Scorecard* c);
/// "data": {...}.
void writeData(state::JsonWriter& w, const std::string& name, const DataResult& r);

} // namespace cli
