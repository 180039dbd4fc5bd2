#include "plots/diagram_units.h"

#include "core/sheet_export.h"
#include "plots/diagrams.h"
#include "state/number_format.h"

#include <cctype>
#include <cmath>

namespace plots {
namespace {

using state::Quantity;
using state::Unit;

constexpr int kShownDigits = 6; // as the diagrams write their numbers

std::size_t slot(Quantity q)
{
    for (std::size_t i = 0; i < kDiagramQuantities.size(); ++i)
        if (kDiagramQuantities[i] == q)
            return i;
    return kDiagramQuantities.size();
}

/// How a unit is written on an axis or in a table: "°F" for a temperature, the ASCII symbol
/// otherwise ("psia", "L/mol"), as the diagrams' own captions write "cm3/mol".
std::string written(const Unit& u)
{
    return std::string(u.quantity == Quantity::Temperature ? u.label : u.symbol);
}

/// One conversion: from a unit the diagrams are computed in to the one chosen.
struct Change {
    const Unit* from = nullptr;
    const Unit* to = nullptr;
    std::string_view fromText; // as the diagrams write it: "K", "°C", "bar", "cm3/mol"

    bool active() const { return from != nullptr && to != nullptr && from != to; }
    double value(double x) const { return active() ? state::convert(x, *from, *to) : x; }
    /// A number the diagrams wrote (to kShownDigits significant digits, trailing zeros
    /// dropped, so its digits say nothing about its precision) written again from its value.
    std::string text(std::string_view shown) const
    {
        const std::optional<double> x = active() ? state::toDouble(shown) : std::nullopt;
        return x ? state::formatSignificant(value(*x), kShownDigits) : std::string(shown);
    }
};

Change kelvinChange(const DiagramUnits& u)
{
    return {&state::unitBySymbol("K"), u.temperature, "K"};
}
Change celsiusChange(const DiagramUnits& u)
{
    return {&state::unitBySymbol("C"), u.temperature, "°C"};
}
Change barChange(const DiagramUnits& u) { return {&state::unitBySymbol("bar"), u.pressure, "bar"}; }
Change volumeChange(const DiagramUnits& u)
{
    return {&state::unitBySymbol("cm3/mol"), u.volume, "cm3/mol"};
}

bool isNumberChar(char c)
{
    return std::isdigit(static_cast<unsigned char>(c)) || c == '.' || c == '-' || c == '+' ||
           c == 'e' || c == 'E';
}

/// Every "<number> <unit>" in a text in the chosen unit: "at 25 °C" -> "at 77 °F".
std::string convertWithUnit(std::string text, const Change& c)
{
    if (!c.active())
        return text;
    const std::string suffix = " " + std::string(c.fromText);
    const std::string replacement = " " + written(*c.to);
    for (std::size_t at = text.find(suffix); at != std::string::npos;
         at = text.find(suffix, at + 1)) {
        const std::size_t end = at + suffix.size();
        if (end < text.size() && std::isalnum(static_cast<unsigned char>(text[end])))
            continue; // "bar" of "barrel", "K" of "Kelvin"
        std::size_t begin = at;
        while (begin > 0 && isNumberChar(text[begin - 1]))
            --begin;
        const std::string number = text.substr(begin, at - begin);
        const std::string shown = c.text(number);
        if (begin == at || shown == number)
            continue; // no number before the unit
        text.replace(begin, end - begin, shown + replacement);
        at = begin + shown.size();
    }
    return text;
}

/// A list of numbers ("89.412; 24381.2 (unstable)") in the chosen unit; what is no number
/// (a status) stays.
std::string convertList(const std::string& text, const Change& c)
{
    if (!c.active())
        return text;
    std::string out;
    std::size_t begin = 0;
    while (begin <= text.size()) {
        std::size_t end = text.find("; ", begin);
        if (end == std::string::npos)
            end = text.size();
        const std::string piece = text.substr(begin, end - begin);
        const std::size_t blank = piece.find(' ');
        out += c.text(piece.substr(0, blank));
        if (blank != std::string::npos)
            out += piece.substr(blank);
        if (end == text.size())
            break;
        out += "; ";
        begin = end + 2;
    }
    return out;
}

/// The conversion an axis needs, read from its title's unit: "P (bar)".
Change axisChange(const Axis& a, const DiagramUnits& u)
{
    const std::size_t open = a.title.rfind(" (");
    const std::string unit = open == std::string::npos
                                 ? std::string()
                                 : a.title.substr(open + 2, a.title.size() - open - 3);
    for (const Change& c : {kelvinChange(u), barChange(u), volumeChange(u)})
        if (unit == c.fromText)
            return c;
    return {};
}

Axis convertAxis(Axis a, const Change& c)
{
    if (!c.active())
        return a;
    a.title = a.title.substr(0, a.title.rfind(" (")) + " (" + written(*c.to) + ")";
    a.min = c.value(a.min);
    a.max = c.value(a.max);
    if (std::isfinite(a.floor))
        a.floor = c.value(a.floor);
    return a;
}

std::string convertText(std::string text, const DiagramUnits& u)
{
    for (const Change& c : {celsiusChange(u), kelvinChange(u), barChange(u), volumeChange(u)})
        text = convertWithUnit(std::move(text), c);
    return text;
}

Diagram convertDiagram(Diagram d, const DiagramUnits& u)
{
    const Change cx = axisChange(d.x, u);
    const Change cy = axisChange(d.y, u);
    for (Curve& curve : d.curves) {
        for (double& x : curve.x)
            x = cx.value(x);
        for (double& y : curve.y)
            y = cy.value(y);
    }
    for (Marker& m : d.markers) {
        m.x = cx.value(m.x);
        m.y = cy.value(m.y);
    }
    d.x = convertAxis(d.x, cx);
    d.y = convertAxis(d.y, cy);
    if (d.yLog)
        d.yLog = convertAxis(*d.yLog, cy);
    d.title = convertText(d.title, u);
    return d;
}

} // namespace

const state::Unit* unitOf(const DiagramUnits& units, state::Quantity q)
{
    switch (slot(q)) {
    case 0:
        return units.temperature;
    case 1:
        return units.pressure;
    case 2:
        return units.volume;
    default:
        return nullptr;
    }
}

DiagramUnits withUnit(DiagramUnits units, state::Quantity q, const state::Unit* unit)
{
    const state::Unit** target[] = {&units.temperature, &units.pressure, &units.volume};
    if (const std::size_t i = slot(q); i < std::size(target) && (!unit || unit->quantity == q))
        *target[i] = unit;
    return units;
}

DiagramUnits unitsFromSymbols(const std::array<std::string, 3>& symbols)
{
    DiagramUnits units;
    for (std::size_t i = 0; i < symbols.size(); ++i)
        if (const state::UnitChoice c = state::parseUnit(symbols[i], kDiagramQuantities[i]))
            units = withUnit(units, kDiagramQuantities[i], c.unit);
    return units;
}

std::array<std::string, 3> symbolsOf(const DiagramUnits& units)
{
    std::array<std::string, 3> s;
    for (std::size_t i = 0; i < s.size(); ++i)
        if (const state::Unit* u = unitOf(units, kDiagramQuantities[i]))
            s[i] = std::string(u->symbol);
    return s;
}

Diagrams inUnits(const Diagrams& diagrams, const DiagramUnits& u)
{
    if (!u.any())
        return diagrams;
    Diagrams d;
    d.pv = convertDiagram(diagrams.pv, u);
    d.zp = convertDiagram(diagrams.zp, u);
    d.pt = convertDiagram(diagrams.pt, u);
    d.note = convertText(diagrams.note, u);
    d.tempText = diagrams.tempText; // as typed, for file names
    d.pressText = diagrams.pressText;
    d.table = diagrams.table;
    d.reference = diagrams.reference;
    const Change v = volumeChange(u), p = barChange(u);
    for (TableRow& r : d.table) {
        r.roots = convertList(r.roots, v);
        r.stableRoot = convertList(r.stableRoot, v);
        r.psat = convertList(r.psat, p);
        r.vl = convertList(r.vl, v);
        r.vv = convertList(r.vv, v);
        r.critical = convertText(r.critical, u);
    }
    return d;
}

std::string textInUnits(const std::string& text, const DiagramUnits& units)
{
    return convertText(text, units);
}

std::array<std::string, 9> tableColumns(const DiagramUnits& u)
{
    std::array<std::string, 9> columns = tableColumns();
    for (std::string& c : columns)
        for (const Change& change : {barChange(u), volumeChange(u)})
            if (change.active())
                if (const std::string own = "(" + std::string(change.fromText) + ")";
                    c.find(own) != std::string::npos)
                    c.replace(c.find(own), own.size(), "(" + written(*change.to) + ")");
    return columns;
}

std::string tableText(const std::vector<TableRow>& table, const DiagramUnits& units, char separator)
{
    return tableText(table, separator, tableColumns(units));
}

} // namespace plots
