#include "cli/units_options.h"

#include "cli/options.h"
#include "cli/replay.h"
#include "state/result_sheet.h"

#include <unordered_map>

namespace cli {
namespace {

using state::Quantity;

constexpr std::array<Quantity, kUnitSlots> kSlotQuantities = {
    Quantity::Temperature, Quantity::Pressure, Quantity::MolarVolume, Quantity::Density};

std::size_t at(UnitSlot slot) { return static_cast<std::size_t>(slot); }

/// The slot of a quantity, if units of it can be chosen.
const UnitSlot* slotOf(Quantity q)
{
    static constexpr UnitSlot kSlots[] = {UnitSlot::Temperature, UnitSlot::Pressure,
                                          UnitSlot::Volume, UnitSlot::Density};
    for (const UnitSlot& s : kSlots)
        if (kSlotQuantities[at(s)] == q)
            return &s;
    return nullptr;
}

/// A typed value in the slot's unit as the text the calculation takes; the rounding note, if
/// any, joined to the others.
bool toCalculation(std::string& text, std::string& typed, std::string& rounding, UnitSlot slot,
                   const RunUnits& units)
{
    typed = text;
    // A sweep types each value again and again (every temperature once a pressure, the
    // pressures once a temperature), and the exact conversion costs microseconds: the last
    // few thousand conversions of each slot are kept.
    struct Memo {
        const state::Unit* unit = nullptr;
        std::unordered_map<std::string, state::CalculationText> texts;
    };
    constexpr std::size_t kMemoSize = 4096;
    thread_local std::array<Memo, 2> memos;
    Memo& memo = memos[slot == UnitSlot::Temperature ? 0 : 1];
    if (memo.unit != &units.of(slot) || memo.texts.size() >= kMemoSize) {
        memo.texts.clear();
        memo.unit = &units.of(slot);
    }
    auto found = memo.texts.find(text);
    if (found == memo.texts.end())
        found = memo.texts.emplace(text, state::toCalculationText(text, units.of(slot))).first;
    const state::CalculationText& c = found->second;
    text = c.text;
    if (!c.note.empty())
        rounding += (rounding.empty() ? "" : "; ") + c.note;
    return !c.exact;
}

} // namespace

state::Quantity quantityOf(UnitSlot slot) { return kSlotQuantities[at(slot)]; }

bool RunUnits::any() const
{
    for (const state::Unit* u : named)
        if (u != nullptr)
            return true;
    return false;
}

const state::Unit& RunUnits::of(UnitSlot slot) const
{
    const state::Unit* u = named[at(slot)];
    return u != nullptr ? *u : state::baseUnit(quantityOf(slot));
}

const state::Unit& RunUnits::outputUnit(const state::Unit& from) const
{
    const UnitSlot* slot = slotOf(from.quantity);
    return slot != nullptr && named[at(*slot)] != nullptr ? *named[at(*slot)] : from;
}

double RunUnits::convert(double value, const state::Unit& from) const
{
    return state::convert(value, from, outputUnit(from));
}

std::string RunUnits::convertShown(std::string_view shown, const state::Unit& from) const
{
    return state::convertShownText(shown, from, outputUnit(from));
}

std::string RunUnits::shown(std::string_view text, UnitSlot slot) const
{
    return convertShown(text, state::baseUnit(quantityOf(slot)));
}

void setUnit(RunUnits& units, UnitSlot slot, std::string_view flag, std::string_view name)
{
    const state::UnitChoice choice = state::parseUnit(name, quantityOf(slot));
    if (!choice)
        throw UsageError{std::string(flag) + ": " + choice.error};
    units.named[at(slot)] = choice.unit;
}

bool typeInUnits(Entries& e, const RunUnits& units)
{
    if (!units.any())
        return false;
    e.units = &units;
    e.rounding.clear();
    const bool t = toCalculation(e.temp, e.typedTemp, e.rounding, UnitSlot::Temperature, units);
    const bool p = toCalculation(e.press, e.typedPress, e.rounding, UnitSlot::Pressure, units);
    return t || p;
}

void RoundingTally::count(bool wasRounded, const Entries& entries)
{
    if (wasRounded && rounded++ == 0)
        first = entries.rounding;
}

HeaderColumn splitHeaderUnit(std::string_view field)
{
    const std::size_t open = field.find('[');
    const std::size_t close = field.rfind(']');
    if (open == std::string_view::npos || close == std::string_view::npos || close < open ||
        field.find_first_not_of(" \t", close + 1) != std::string_view::npos)
        return {std::string(field), nullptr};
    std::string name(field.substr(0, open));
    name.erase(name.find_last_not_of(" \t") + 1);
    std::string lower = name;
    for (char& c : lower)
        c = (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
    lower.erase(0, lower.find_first_not_of(" \t"));
    const std::string_view unit = field.substr(open + 1, close - open - 1);
    const Quantity q = lower == "temp"    ? Quantity::Temperature
                       : lower == "press" ? Quantity::Pressure
                                          : throw InputError{"only the columns temp and press "
                                                             "take a unit, not \"" +
                                                             name + "\""};
    const state::UnitChoice choice = state::parseUnit(unit, q);
    if (!choice)
        throw InputError{"column " + lower + ": " + choice.error};
    return {name, choice.unit};
}

void joinHeaderUnit(RunUnits& units, UnitSlot slot, const state::Unit* headerUnit)
{
    const state::Unit*& named = units.named[at(slot)];
    if (headerUnit == nullptr || headerUnit == named)
        return;
    if (named != nullptr)
        throw InputError{"the batch header gives " + std::string(quantityName(quantityOf(slot))) +
                         " in " + std::string(headerUnit->symbol) + ", the option in " +
                         std::string(named->symbol)};
    named = headerUnit;
}

std::string tableUnitsLine(const RunUnits& units)
{
    // Under the headings SG, Liquid, Vapor, Z and Density, right-aligned as they are.
    const std::string volume(units.of(UnitSlot::Volume).symbol);
    const std::string cells[] = {"g/cm3", volume, volume, "-",
                                 std::string(units.of(UnitSlot::Density).symbol)};
    constexpr std::size_t kWidths[] = {8, 11, 11, 9, 11};
    std::string line(24, ' ');
    for (std::size_t c = 0; c < std::size(cells); ++c) {
        line.append(kWidths[c] > cells[c].size() ? kWidths[c] - cells[c].size() : 1, ' ');
        line += cells[c];
    }
    return line + "\n";
}

std::string tableUnitsFooter(const RunUnits& units)
{
    return "SG in g/cm3, volumes in " + std::string(units.of(UnitSlot::Volume).symbol) +
           ", vapour density in " + std::string(units.of(UnitSlot::Density).symbol) +
           ";\ntemperature in " + std::string(units.of(UnitSlot::Temperature).symbol) +
           ", pressure in " + std::string(units.of(UnitSlot::Pressure).symbol) + ".\n";
}

std::string boxCaption(UnitSlot slot, const RunUnits& units)
{
    const std::string unit(units.of(slot).symbol);
    return slot == UnitSlot::Temperature ? "Temperature  (" + unit + "): "
                                         : "Pressure  (" + unit + "): ";
}

const state::Unit* cellUnit(const RunUnits& units, std::size_t cellIndex)
{
    switch (state::allCells()[cellIndex].col) {
    case state::Col::Liq:
    case state::Col::Vap:
        return &units.of(UnitSlot::Volume);
    case state::Col::VD:
        return &units.of(UnitSlot::Density);
    case state::Col::SG: // a specific gravity, as the window labels it
    case state::Col::Z:
        break;
    }
    return nullptr;
}

std::string shownCell(const RunUnits& units, std::size_t cellIndex, std::string_view text)
{
    switch (state::allCells()[cellIndex].col) {
    case state::Col::Liq:
    case state::Col::Vap:
        return units.shown(text, UnitSlot::Volume);
    case state::Col::VD:
        return units.shown(text, UnitSlot::Density);
    case state::Col::SG:
    case state::Col::Z:
        break;
    }
    return std::string(text);
}

std::string unitsJsonMember(const RunUnits& units)
{
    // Symbols are plain ASCII without quotes or backslashes: no escaping needed.
    return "\"units\": {\"temp\": \"" + std::string(units.of(UnitSlot::Temperature).symbol) +
           "\", \"press\": \"" + std::string(units.of(UnitSlot::Pressure).symbol) +
           "\", \"volume\": \"" + std::string(units.of(UnitSlot::Volume).symbol) +
           "\", \"density\": \"" + std::string(units.of(UnitSlot::Density).symbol) + "\"}";
}

} // namespace cli
