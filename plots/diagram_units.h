#pragma once

#include "plots/diagram.h"
#include "state/units.h"

#include <array>
#include <optional>
#include <string>
#include <string_view>

// The diagrams in units the user chooses. The curves are computed in K, bar and cm3/mol; the
// chosen units are applied to the finished diagrams (curves, markers, axes, titles, note and
// table), so the numerics never depend on them.
namespace plots {

/// The units shown. A unit left null keeps the diagrams' own: T axes in K (the state's
/// temperature in titles in °C, as typed), bar, cm3/mol.
struct DiagramUnits {
    const state::Unit* temperature = nullptr;
    const state::Unit* pressure = nullptr;
    const state::Unit* volume = nullptr;

    bool any() const { return temperature || pressure || volume; }
    friend bool operator==(const DiagramUnits&, const DiagramUnits&) = default;
};

/// The quantities a unit can be chosen for, in the order the window offers them.
inline constexpr std::array<state::Quantity, 3> kDiagramQuantities = {
    state::Quantity::Temperature, state::Quantity::Pressure, state::Quantity::MolarVolume};

/// The chosen unit of a quantity (null: the diagrams' own), and a copy with it set.
const state::Unit* unitOf(const DiagramUnits& units, state::Quantity q);
DiagramUnits withUnit(DiagramUnits units, state::Quantity q, const state::Unit* unit);

/// The units a setting names (the ASCII symbols "F", "psia", "L/mol"), one per quantity of
/// kDiagramQuantities; an empty or unknown name keeps the diagrams' own unit.
DiagramUnits unitsFromSymbols(const std::array<std::string, 3>& symbols);
std::array<std::string, 3> symbolsOf(const DiagramUnits& units);

/// The diagrams with every value, axis, title and table cell in the chosen units; the
/// diagrams themselves when none is chosen.
Diagrams inUnits(const Diagrams& diagrams, const DiagramUnits& units);

/// Every "<number> <unit>" of a text ("at 420.1 K", "40 bar") in the chosen units.
std::string textInUnits(const std::string& text, const DiagramUnits& units);

/// The table's column captions with the chosen units.
std::array<std::string, 9> tableColumns(const DiagramUnits& units);
/// The table with a header line in the chosen units, as tableText.
std::string tableText(const std::vector<TableRow>& table, const DiagramUnits& units,
                      char separator = '\t');

} // namespace plots
