#pragma once

#include "plots/diagram.h"
#include "plots/diagram_input.h"

#include <array>
#include <string>

namespace plots {

/// The three diagrams and the table for the input's state; never throws for a bad state, what
/// cannot be computed is left out of the curves and named in the table.
Diagrams computeDiagrams(const DiagramInput& input);

/// Takes the boxes' texts (°C, bar) as the state's titles when they show the state drawn: as
/// typed, or rounded to their own last decimal ("5.000" on the two-phase line for 5.00019).
/// A text that shows another state is left out, and the titles are written from the values.
void takeShownTexts(DiagramInput& input, const std::string& tempText, const std::string& pressText);

/// The temperature (K) and pressure (bar) the diagrams are drawn at: the input's state, or
/// the stand-in before any solve.
std::array<double, 2> diagramStatePoint(const DiagramInput& input);

/// The curves of a diagram as CSV: the x values in the first column, then one column per curve
/// of a shown model (and each component curve but vertical guide lines), units in the header,
/// "." as decimal point.
/// A row holds the curves that have a point at that x; the others are empty there.
std::string diagramCsv(const Diagram& diagram, const std::array<bool, kModelCount>& shown);

/// The table with a header line: tab-separated for the clipboard, or CSV when the separator
/// is ','.
std::string tableText(const std::vector<TableRow>& table, char separator = '\t');
/// The same under other column captions (the table in other units).
std::string tableText(const std::vector<TableRow>& table, char separator,
                      const std::array<std::string, 9>& columns);

/// The table's column captions, with units.
const std::array<std::string, 9>& tableColumns();
/// The cells of one row in the order of tableColumns().
std::array<std::string, 9> tableCells(const TableRow& row);

} // namespace plots
