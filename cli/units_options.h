#pragma once

#include "state/units.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

// The units a run of tavrel1-cli reads and writes. The calculation itself always takes the
// °C and bar texts of the window's boxes; a value typed in another unit is turned into that
// text first, and the results are converted for output only, so a run that names no unit
// writes exactly what it always wrote.
namespace cli {

struct Entries;

/// The quantities a unit can be chosen for.
enum class UnitSlot : std::size_t { Temperature, Pressure, Volume, Density };
inline constexpr std::size_t kUnitSlots = 4;

state::Quantity quantityOf(UnitSlot slot);

/// The units named for a run (by --temp-unit and the like, or a batch header); a slot not
/// named keeps the unit the value comes in.
struct RunUnits {
    std::array<const state::Unit*, kUnitSlots> named{}; // null: not named

    /// Whether any unit was named: then the output says its units.
    bool any() const;
    /// The named unit, or the program's own (°C, bar, cm3/mol, kg/m3).
    const state::Unit& of(UnitSlot slot) const;
    /// The unit a value given in `from` is written in: the named unit of its quantity, or
    /// `from` itself when none is named (a temperature in K stays in K then).
    const state::Unit& outputUnit(const state::Unit& from) const;
    /// A value given in `from`, in outputUnit(from).
    double convert(double value, const state::Unit& from) const;
    /// A shown number given in `from` as shown in outputUnit(from): the same significant
    /// digits (the same decimals for a temperature); texts that are no number unchanged.
    std::string convertShown(std::string_view shown, const state::Unit& from) const;
    /// The same for a number shown in the program's own unit of the slot.
    std::string shown(std::string_view text, UnitSlot slot) const;
};

/// Reads a unit option's value into the slot. Throws UsageError naming the option for an
/// unknown unit, a unit of another quantity, or a gauge pressure.
void setUnit(RunUnits& units, UnitSlot slot, std::string_view flag, std::string_view name);

/// Makes entries typed in the run's units ready for the calculation: keeps the typed texts
/// for the output, replaces temp and press by the °C and bar texts, and records how a value
/// was rounded. Returns whether one was. Entries without units are left alone.
bool typeInUnits(Entries& entries, const RunUnits& units);

/// How many states of a run took a rounded temperature or pressure, and the first note.
struct RoundingTally {
    std::uint64_t rounded = 0;
    std::string first;
    void count(bool wasRounded, const Entries& entries);
};

/// A batch header's column name with its unit, "temp [K]": the name alone, and the unit
/// read for the slot. Throws InputError for a unit the slot cannot take. A name without
/// brackets is returned as it is, with no unit.
struct HeaderColumn {
    std::string name;
    const state::Unit* unit = nullptr;
};
HeaderColumn splitHeaderUnit(std::string_view field);
/// Joins the header's unit of the slot to the units of the options: the one named, or
/// InputError when the two name different units.
void joinHeaderUnit(RunUnits& units, UnitSlot slot, const state::Unit* headerUnit);

/// The table's line of units under its column headings, the footer naming them, and the
/// caption of the temperature and pressure boxes ("Temperature  (F): ").
std::string tableUnitsLine(const RunUnits& units);
std::string tableUnitsFooter(const RunUnits& units);
std::string boxCaption(UnitSlot slot, const RunUnits& units);

/// The unit a sheet cell is written in: volume or density, none for SG and Z.
const state::Unit* cellUnit(const RunUnits& units, std::size_t cellIndex);
/// A sheet cell's text in the run's units.
std::string shownCell(const RunUnits& units, std::size_t cellIndex, std::string_view text);

/// `"units": {"temp": "F", "press": "psia", "volume": "L/mol", "density": "kg/m3"}`.
std::string unitsJsonMember(const RunUnits& units);

} // namespace cli
