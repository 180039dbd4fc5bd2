#pragma once

#include "analysis/properties.h"
#include "state/calc_state.h"

#include <array>
#include <string>
#include <string_view>
#include <vector>

// One model at one state as a reader sees it: the parameters at T, every real root with its
// tag and reason, the stable root's properties with their units, and the step-by-step choice.
// Plain text cells, ready for a grid, the clipboard or a CSV file.
namespace core {

/// How a property of analysis::kPropertyKeys is shown: a name in the window's script (φ, ∂,
/// superscript R) and its unit ("" for a pure number).
struct PropertyLabel {
    std::string_view key;
    std::string_view name;
    std::string_view unit;
};
/// In the order of analysis::kPropertyKeys.
const std::array<PropertyLabel, analysis::kPropertyCount>& propertyLabels();

/// A parameter key of analysis::ModelParameters ("a_bar_cm6_mol2") as a name and a unit
/// ("a", "bar·cm6/mol2"); a key it does not know is shown as it is, without a unit.
struct ParameterLabel {
    std::string name;
    std::string unit;
};
ParameterLabel parameterLabel(std::string_view key);

/// A name or unit of the labels above in ASCII, for plain-text output: α as alpha, ² as ^2,
/// the superscript R as _res, the middle dot as a blank.
std::string asciiText(std::string_view text);

/// The sentence output states once: what the residual properties are measured against.
inline constexpr std::string_view kResidualNote =
    "Residual properties (ᴿ) are departures from the ideal gas at the same T and P: "
    "Xᴿ = X − X(ideal gas, T, P), so Gᴿ = RT ln φ.";

struct DetailRow {
    std::string name, value, unit;
};
struct RootRow {
    std::string volume, z, lnPhi, tag, reason;
};

struct ModelDetails {
    state::Row model = state::Row::Vir;
    std::string heading; // "Peng-Robinson at 298.15 K (25 °C) and 1 bar"
    std::vector<DetailRow> parameters;
    std::vector<RootRow> roots;        // ascending in V
    std::string stable;                // "Stable root: V = ... cm3/mol" or why there is none
    std::vector<DetailRow> properties; // of the stable root; empty when there is none; a
                                       // value that is not defined holds its status in words
    std::vector<std::string> steps;    // the explanation, one sentence a line
};

/// The details of `model` for the sheet's constants at (T, P), T in K and P in bar (the
/// diagrams may be drawn at a stand-in state, not the sheet's).
ModelDetails modelDetails(const state::CalcState& s, double t_K, double p_bar, state::Row model);

/// The details as text: tab-separated for the clipboard, or CSV (RFC 4180, CRLF) when the
/// separator is ','. Sections with a header line each, the residual note once.
std::string modelDetailsText(const ModelDetails& d, char separator = '\t');

} // namespace core
