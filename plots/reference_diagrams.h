#pragma once

#include "core/reference_comparison.h"
#include "plots/diagram.h"
#include "plots/diagram_input.h"
#include "plots/diagram_units.h"

#include <string>
#include <vector>

// The reference equation of state in the diagrams: its stable isotherm with the flat two-phase
// line and its saturation boundary on P-V, its Z on Z-P, its vapour-pressure curve on P-T, and
// at the state its phase, volume, Z and density with each model's deviation. Measured points
// of the user's own file go onto every diagram as markers. Curves in K, bar and cm3/mol like
// the models'; the chosen units are applied afterwards by inUnits, the table's cells by
// referenceTableText.
namespace plots {

/// A table ready to show or write: captions and rows of cells.
struct TextTable {
    std::vector<std::string> columns;
    std::vector<std::vector<std::string>> rows;
};

/// The table as text with a header line: tab-separated, or CSV (quoted as RFC 4180) for ','.
std::string tableText(const TextTable& table, char separator = '\t');

/// "Wagner & Pruß 2002", "Lemmon et al. 2009": the first authors and the year of a citation
/// ("Surname, I. and Surname, I. (year). Title..."); the citation's start when it has no such
/// form.
std::string shortCitation(const std::string& citation);

/// The reference's curves on the three diagrams and its comparison at the state, for a
/// component that has one; nothing is changed for one without. Curves are tagged `reference`
/// and each diagram gets its legend.
void addReference(Diagrams& diagrams, const DiagramInput& input);

/// The reference row and each model's deviation at the state: values in the chosen units,
/// deviations in % (which no unit changes).
TextTable referenceTableText(const ReferenceTable& table, const DiagramUnits& units);

/// The user's points as markers: (V, P) on P-V, (P, Z) on Z-P, (T, P) on P-T; vapour-pressure
/// points on P-T only. `label` names them in the legend.
void addMeasured(Diagrams& diagrams, const core::MeasuredData& data, const std::string& label);

} // namespace plots
