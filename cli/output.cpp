#include "cli/output.h"

#include "cli/job.h"
#include "cli/units_options.h"
#include "core/calculation.h"
#include "core/sheet_export.h"
#include "state/csv.h"
#include "state/json_writer.h"
#include "state/number_format.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <optional>

namespace cli {
namespace {

constexpr std::array<std::string_view, 2> kTwoPhaseNames = {"temperature", "pressure"};

std::string_view boolText(bool x) { return x ? "true" : "false"; }

constexpr std::size_t kCaptionWidth = 24; // the table's row captions, left-aligned

/// Appends text right-aligned in a column `width` wide, with at least one blank before it.
void appendRightAligned(std::string& out, std::string_view text, std::size_t width)
{
    out.append(width > text.size() ? width - text.size() : 1, ' ');
    out += text;
}

/// The boxes' final texts in the run's units: as typed when the box kept the text the
/// calculation was given, else (a two-phase click wrote its own) converted.
std::string shownTemp(const core::Form& form, const Entries& e)
{
    return form.temp == e.temp ? e.typedTemp : e.units->shown(form.temp, UnitSlot::Temperature);
}

std::string shownPress(const core::Form& form, const Entries& e)
{
    return form.press == e.press ? e.typedPress : e.units->shown(form.press, UnitSlot::Pressure);
}

std::size_t cellIndex(state::CellId id)
{
    const auto& cells = state::allCells();
    return static_cast<std::size_t>(std::find(cells.begin(), cells.end(), id) - cells.begin());
}

void appendTable(std::string& out, const core::Form& form, bool showBoxes, const Entries& entries)
{
    const RunUnits* units = entries.units;
    const char* sep = "";
    for (std::string_view line : core::messageLines(form.message)) {
        out += sep;
        out += visible(line);
        sep = "\n";
    }
    out += "\n";
    if (showBoxes && units != nullptr)
        out += boxCaption(UnitSlot::Temperature, *units) + shownTemp(form, entries) + "\n" +
               boxCaption(UnitSlot::Pressure, *units) + shownPress(form, entries) + "\n";
    else if (showBoxes)
        out += "Temperature  (C): " + form.temp + "\nPressure  (bar): " + form.press + "\n";
    out += "\n";
    constexpr std::array<std::size_t, 5> kWidths = {8, 11, 11, 9, 11};
    constexpr std::array<std::string_view, 5> kHeadings = {"SG", "Liquid", "Vapor", "Z", "Density"};
    std::string heading = "Model";
    heading.resize(kCaptionWidth, ' ');
    for (std::size_t c = 0; c < kHeadings.size(); ++c)
        appendRightAligned(heading, kHeadings[c], kWidths[c]);
    out += heading + "\n";
    if (units != nullptr)
        out += tableUnitsLine(*units);
    std::array<bool, core::kMissingConstantNotes.size()> marked{};
    for (int r = 0; r < state::kRowCount; ++r) {
        const auto row = static_cast<state::Row>(r);
        std::string text = std::string(state::rowCaption(row));
        text.resize(kCaptionWidth, ' ');
        for (int c = 0; c < state::kColCount; ++c) {
            const auto col = static_cast<state::Col>(c);
            std::string cell;
            if (state::hasCell(row, col)) {
                const auto& ce = form.sheet.cell({row, col});
                cell =
                    units == nullptr ? ce.text : shownCell(*units, cellIndex({row, col}), ce.text);
                const std::optional<std::size_t> note = core::missingConstantNote(ce.color);
                if (note && !cell.empty()) {
                    cell += core::kMissingConstantNotes[*note].marker;
                    marked[*note] = true;
                }
            }
            appendRightAligned(text, cell, kWidths[static_cast<std::size_t>(c)]);
        }
        text.erase(text.find_last_not_of(' ') + 1);
        out += text + "\n";
    }
    out += units == nullptr ? "\nSG in g/cm3, volumes in cm3/mol, vapour density in kg/m3.\n"
                            : "\n" + tableUnitsFooter(*units);
    for (std::size_t i = 0; i < marked.size(); ++i)
        if (marked[i]) {
            out += core::kMissingConstantNotes[i].footnote;
            out += "\n";
        }
}

/// The cells' names, built once: a batch writes each twice for every state.
const std::array<std::string, state::kCellCount>& cellNames()
{
    static const std::array<std::string, state::kCellCount> names = [] {
        std::array<std::string, state::kCellCount> n;
        for (std::size_t i = 0; i < n.size(); ++i)
            n[i] = state::cellName(state::allCells()[i]);
        return n;
    }();
    return names;
}

void appendJson(std::string& out, const core::Form& form, Layout layout, long line,
                const Entries& entries, const JsonMembers& more)
{
    const RunUnits* units = entries.units;
    const auto& sheet = form.sheet;
    const auto& f = form.state.flags;
    state::JsonWriter w(out);
    w.beginObject();
    if (layout == Layout::Batch)
        w.member("line", line);
    w.member("message", form.message);
    w.key("cells").beginObject();
    const auto& names = cellNames();
    for (std::size_t i = 0; i < state::kCellCount; ++i) {
        const std::string& text = sheet.cell(state::allCells()[i]).text;
        w.key(names[i]).string(units == nullptr ? text : shownCell(*units, i, text));
    }
    w.endObject().key("colors").beginObject();
    for (std::size_t i = 0; i < state::kCellCount; ++i)
        w.key(names[i]).integer(sheet.cell(state::allCells()[i]).color);
    w.endObject().key("flags").beginObject();
    w.member("AntoineAvailable", f.AntoineAvailable).member("CalcLiquid", f.CalcLiquid);
    w.member("CalcVapor", f.CalcVapor).member("AboveCritical", f.AboveCritical);
    w.endObject();
    if (units == nullptr) {
        w.member("temp", form.temp).member("press", form.press);
    } else {
        w.member("temp", shownTemp(form, entries)).member("press", shownPress(form, entries));
        writeUnits(w, *units);
        if (!entries.rounding.empty())
            w.member("rounding", entries.rounding);
    }
    if (more)
        more(w);
    w.endObject();
    out += '\n';
}

constexpr std::array<std::string_view, 13> kCsvLeadColumns = {
    "component",  "temp_C",    "press_bar",    "two_phase", "hypothetical",
    "spherical",  "message_1", "message_2",    "message_3", "AntoineAvailable",
    "CalcLiquid", "CalcVapor", "AboveCritical"};
constexpr std::size_t kCsvColumns = kCsvLeadColumns.size() + state::kCellCount;

void appendCsv(std::string& out, const core::Form& form, Layout layout, const RowInfo& info)
{
    if (layout == Layout::Batch) {
        state::appendInteger(out, info.line);
        out += ",,";
    }
    const RunUnits* units = info.entries->units;
    state::appendCsvField(out, info.component);
    out += ',';
    state::appendCsvField(out, units ? shownTemp(form, *info.entries) : form.temp);
    out += ',';
    state::appendCsvField(out, units ? shownPress(form, *info.entries) : form.press);
    out += ',';
    if (info.entries->twoPhase)
        out += kTwoPhaseNames[static_cast<std::size_t>(*info.entries->twoPhase)];
    out += ',';
    out += boolText(info.entries->hypothetical);
    out += ',';
    out += boolText(info.entries->spherical);
    const auto lines = core::messageLines(form.message);
    for (std::size_t i = 0; i < 3; ++i) {
        out += ',';
        if (i < lines.size())
            state::appendCsvField(out, lines[i]);
    }
    const auto& f = form.state.flags;
    for (const bool flag : {f.AntoineAvailable, f.CalcLiquid, f.CalcVapor, f.AboveCritical}) {
        out += ',';
        out += boolText(flag);
    }
    for (std::size_t i = 0; i < state::kCellCount; ++i) {
        out += ',';
        const std::string& text = form.sheet.cell(state::allCells()[i]).text;
        state::appendCsvField(out, units ? shownCell(*units, i, text) : text);
    }
    out += state::kCsvLineEnd;
}

} // namespace

std::string outputHeader(Format format, Layout layout, const RunUnits* units)
{
    if (format != Format::Csv)
        return {};
    std::string out = layout == Layout::Batch ? "line,error," : "";
    for (std::string_view c : kCsvLeadColumns) {
        // With units named, "temp [F]" and "press [psia]", as a batch header names them.
        if (units != nullptr && (c == "temp_C" || c == "press_bar")) {
            const UnitSlot slot = c == "temp_C" ? UnitSlot::Temperature : UnitSlot::Pressure;
            state::appendCsvField(out, std::string(c.substr(0, c.find('_'))) + " [" +
                                           std::string(units->of(slot).symbol) + "]");
        } else {
            out += c;
        }
        out += ',';
    }
    for (std::size_t i = 0; i < state::kCellCount; ++i) {
        std::string name = state::cellName(state::allCells()[i]);
        if (const state::Unit* unit = units ? cellUnit(*units, i) : nullptr)
            name += " [" + std::string(unit->symbol) + "]";
        state::appendCsvField(out, name);
        out += ',';
    }
    out.pop_back();
    out += state::kCsvLineEnd;
    return out;
}

void appendSolved(std::string& out, Format format, Layout layout, const RowInfo& info,
                  const core::Form& form, const JsonMembers& more)
{
    switch (format) {
    case Format::Table:
        if (layout == Layout::Batch) {
            out += "line ";
            state::appendInteger(out, info.line);
            out += "\n";
        }
        appendTable(out, form, layout == Layout::Sweep || info.entries->twoPhase.has_value(),
                    *info.entries);
        if (layout != Layout::Single)
            out += "\n";
        break;
    case Format::Json:
        appendJson(out, form, layout, info.line, *info.entries, more);
        break;
    case Format::Csv:
        appendCsv(out, form, layout, info);
        break;
    }
}

void appendRejected(std::string& out, Format format, long line, std::string_view message)
{
    switch (format) {
    case Format::Table:
        out += "line ";
        state::appendInteger(out, line);
        out += ": " + visible(message) + "\n\n";
        break;
    case Format::Json:
        state::JsonWriter(out)
            .beginObject()
            .member("line", line)
            .member("error", message)
            .endObject();
        out += '\n';
        break;
    case Format::Csv:
        state::appendInteger(out, line);
        out += ',';
        state::appendCsvField(out, message);
        out.append(kCsvColumns, ',');
        out += state::kCsvLineEnd;
        break;
    }
}

std::string visible(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (const char ch : text) {
        const auto u = static_cast<unsigned char>(ch);
        if ((u >= 0x20 && u != 0x7f) || ch == '\t') {
            out += ch;
            continue;
        }
        // Here only control characters other than tab, and DEL.
        if (const std::string_view escape = state::backslashEscape(ch); !escape.empty()) {
            out += escape;
        } else if (ch == '\0') {
            out += "\\0";
        } else {
            out += "\\x";
            state::appendHex(out, u, 2);
        }
    }
    return out;
}

std::string quotedExcerpt(std::string_view text)
{
    std::size_t end = std::min(text.size(), kExcerptBytes);
    // Back to the start of a UTF-8 sequence, so the cut never splits a character.
    if (end < text.size())
        while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xc0) == 0x80)
            --end;
    return "\"" + visible(text.substr(0, end)) + (end < text.size() ? "...\"" : "\"");
}

} // namespace cli
