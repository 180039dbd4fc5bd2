#include "cli/output.h"

#include "cli/replay.h"
#include "cli/units_options.h"
#include "core/main_view_model.h"
#include "core/sheet_export.h"

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

/// Appends value as `digits` lower-case hexadecimal digits (an escape's code).
void appendHex(std::string& out, unsigned value, int digits)
{
    char buf[8];
    const auto r = std::to_chars(buf, buf + sizeof buf, value, 16);
    out.append(static_cast<std::size_t>(std::max<std::ptrdiff_t>(digits - (r.ptr - buf), 0)), '0');
    out.append(buf, r.ptr);
}

void appendNumber(std::string& out, long n)
{
    char buf[24];
    const auto r = std::to_chars(buf, buf + sizeof buf, n);
    out.append(buf, r.ptr);
}

/// The length of the UTF-8 sequence starting at s[i], or 0 when it is not a well-formed one
/// (overlong forms, surrogates and values above U+10FFFF included).
std::size_t utf8Length(std::string_view s, std::size_t i)
{
    const auto at = [&](std::size_t k) { return static_cast<unsigned char>(s[k]); };
    const unsigned char b = at(i);
    std::size_t n = 0;
    unsigned char lo = 0x80, hi = 0xbf; // allowed range of the second byte
    if (b >= 0xc2 && b <= 0xdf) {
        n = 2;
    } else if (b >= 0xe0 && b <= 0xef) {
        n = 3;
        if (b == 0xe0)
            lo = 0xa0;
        if (b == 0xed)
            hi = 0x9f;
    } else if (b >= 0xf0 && b <= 0xf4) {
        n = 4;
        if (b == 0xf0)
            lo = 0x90;
        if (b == 0xf4)
            hi = 0x8f;
    } else {
        return 0;
    }
    if (i + n > s.size() || at(i + 1) < lo || at(i + 1) > hi)
        return 0;
    for (std::size_t k = 2; k < n; ++k)
        if (at(i + k) < 0x80 || at(i + k) > 0xbf)
            return 0;
    return n;
}

/// Printable ASCII other than quote and backslash: copied as it is.
bool isPlainAscii(char ch)
{
    const auto u = static_cast<unsigned char>(ch);
    return u >= 0x20 && u < 0x80 && ch != '"' && ch != '\\';
}

void appendJsonString(std::string& out, std::string_view s)
{
    out += '"';
    for (std::size_t i = 0; i < s.size(); ++i) {
        std::size_t plain = i;
        while (plain < s.size() && isPlainAscii(s[plain]))
            ++plain;
        if (plain > i) {
            out.append(s.substr(i, plain - i));
            i = plain;
            if (i == s.size())
                break;
        }
        const char ch = s[i];
        const auto u = static_cast<unsigned char>(ch);
        switch (ch) {
        case '"':
            out += "\\\"";
            break;
        case '\\':
            out += "\\\\";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\t':
            out += "\\t";
            break;
        default:
            if (u < 0x20) {
                out += "\\u";
                appendHex(out, u, 4);
            } else if (u < 0x80) {
                out += ch;
            } else if (const std::size_t n = utf8Length(s, i); n > 0) {
                out.append(s.substr(i, n));
                i += n - 1;
            } else {
                out += "\\ufffd";
            }
        }
    }
    out += '"';
}

/// The boxes' final texts in the run's units: as typed when the box kept the text the
/// calculation was given, else (a two-phase click wrote its own) converted.
std::string shownTemp(const core::MainViewModel& vm, const Entries& e)
{
    return vm.txtTemp() == e.temp ? e.typedTemp
                                  : e.units->shown(vm.txtTemp(), UnitSlot::Temperature);
}

std::string shownPress(const core::MainViewModel& vm, const Entries& e)
{
    return vm.txtPress() == e.press ? e.typedPress
                                    : e.units->shown(vm.txtPress(), UnitSlot::Pressure);
}

std::size_t cellIndex(state::CellId id)
{
    const auto& cells = state::allCells();
    return static_cast<std::size_t>(std::find(cells.begin(), cells.end(), id) - cells.begin());
}

void appendTable(std::string& out, const core::MainViewModel& vm, bool showBoxes,
                 const Entries& entries)
{
    const RunUnits* units = entries.units;
    const char* sep = "";
    for (std::string_view line : core::messageLines(vm.lblStCond())) {
        out += sep;
        out += visible(line);
        sep = "\n";
    }
    out += "\n";
    if (showBoxes && units != nullptr)
        out += boxCaption(UnitSlot::Temperature, *units) + shownTemp(vm, entries) + "\n" +
               boxCaption(UnitSlot::Pressure, *units) + shownPress(vm, entries) + "\n";
    else if (showBoxes)
        out += "Temperature  (C): " + vm.txtTemp() + "\nPressure  (bar): " + vm.txtPress() + "\n";
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
                const auto& ce = vm.sheet().cell({row, col});
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

/// `"txtVapVir": ` and so on, built once: a batch writes them for every state.
const std::array<std::string, state::kCellCount>& jsonKeys()
{
    static const std::array<std::string, state::kCellCount> keys = [] {
        std::array<std::string, state::kCellCount> k;
        for (std::size_t i = 0; i < k.size(); ++i)
            k[i] = jsonString(state::cellName(state::allCells()[i])) + ": ";
        return k;
    }();
    return keys;
}

void appendJson(std::string& out, const core::MainViewModel& vm, Layout layout, long line,
                const Entries& entries)
{
    const RunUnits* units = entries.units;
    const auto& sheet = vm.sheet();
    const auto& f = vm.state().flags;
    const auto& keys = jsonKeys();
    out += "{";
    if (layout == Layout::Batch) {
        out += "\"line\": ";
        appendNumber(out, line);
        out += ", ";
    }
    out += "\"message\": ";
    appendJsonString(out, vm.lblStCond());
    out += ", \"cells\": {";
    for (std::size_t i = 0; i < keys.size(); ++i) {
        if (i > 0)
            out += ", ";
        out += keys[i];
        const std::string& text = sheet.cell(state::allCells()[i]).text;
        appendJsonString(out, units == nullptr ? text : shownCell(*units, i, text));
    }
    out += "}, \"colors\": {";
    // The colours depend on the component's constants, not on the state, so a batch prints
    // the same block again and again: it is built once a thread and reused while it holds.
    thread_local std::array<std::int32_t, state::kCellCount> lastColors{};
    thread_local std::string lastBlock;
    std::array<std::int32_t, state::kCellCount> colors;
    for (std::size_t i = 0; i < colors.size(); ++i)
        colors[i] = sheet.cell(state::allCells()[i]).color;
    if (lastBlock.empty() || colors != lastColors) {
        lastBlock.clear();
        for (std::size_t i = 0; i < keys.size(); ++i) {
            if (i > 0)
                lastBlock += ", ";
            lastBlock += keys[i];
            appendNumber(lastBlock, colors[i]);
        }
        lastColors = colors;
    }
    out += lastBlock;
    out += "}, \"flags\": {\"AntoineAvailable\": ";
    out += boolText(f.AntoineAvailable);
    out += ", \"CalcLiquid\": ";
    out += boolText(f.CalcLiquid);
    out += ", \"CalcVapor\": ";
    out += boolText(f.CalcVapor);
    out += ", \"AboveCritical\": ";
    out += boolText(f.AboveCritical);
    out += "}, \"temp\": ";
    if (units == nullptr) {
        appendJsonString(out, vm.txtTemp());
        out += ", \"press\": ";
        appendJsonString(out, vm.txtPress());
        out += "}\n";
        return;
    }
    appendJsonString(out, shownTemp(vm, entries));
    out += ", \"press\": ";
    appendJsonString(out, shownPress(vm, entries));
    out += ", " + unitsJsonMember(*units);
    if (!entries.rounding.empty()) {
        out += ", \"rounding\": ";
        appendJsonString(out, entries.rounding);
    }
    out += "}\n";
}

constexpr std::array<std::string_view, 13> kCsvLeadColumns = {
    "component",  "temp_C",    "press_bar",    "two_phase", "hypothetical",
    "spherical",  "message_1", "message_2",    "message_3", "AntoineAvailable",
    "CalcLiquid", "CalcVapor", "AboveCritical"};
constexpr std::size_t kCsvColumns = kCsvLeadColumns.size() + state::kCellCount;

void appendCsv(std::string& out, const core::MainViewModel& vm, Layout layout, const RowInfo& info)
{
    if (layout == Layout::Batch) {
        appendNumber(out, info.line);
        out += ",,";
    }
    const RunUnits* units = info.entries->units;
    core::appendCsvField(out, info.component);
    out += ',';
    core::appendCsvField(out, units ? shownTemp(vm, *info.entries) : vm.txtTemp());
    out += ',';
    core::appendCsvField(out, units ? shownPress(vm, *info.entries) : vm.txtPress());
    out += ',';
    if (info.entries->twoPhase)
        out += kTwoPhaseNames[static_cast<std::size_t>(*info.entries->twoPhase)];
    out += ',';
    out += boolText(info.entries->hypothetical);
    out += ',';
    out += boolText(info.entries->spherical);
    const auto lines = core::messageLines(vm.lblStCond());
    for (std::size_t i = 0; i < 3; ++i) {
        out += ',';
        if (i < lines.size())
            core::appendCsvField(out, lines[i]);
    }
    const auto& f = vm.state().flags;
    for (const bool flag : {f.AntoineAvailable, f.CalcLiquid, f.CalcVapor, f.AboveCritical}) {
        out += ',';
        out += boolText(flag);
    }
    for (std::size_t i = 0; i < state::kCellCount; ++i) {
        out += ',';
        const std::string& text = vm.sheet().cell(state::allCells()[i]).text;
        core::appendCsvField(out, units ? shownCell(*units, i, text) : text);
    }
    out += '\n';
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
            core::appendCsvField(out, std::string(c.substr(0, c.find('_'))) + " [" +
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
        core::appendCsvField(out, name);
        out += ',';
    }
    out.back() = '\n';
    return out;
}

void appendSolved(std::string& out, Format format, Layout layout, const RowInfo& info,
                  const core::MainViewModel& vm)
{
    switch (format) {
    case Format::Table:
        if (layout == Layout::Batch) {
            out += "line ";
            appendNumber(out, info.line);
            out += "\n";
        }
        appendTable(out, vm, layout == Layout::Sweep || info.entries->twoPhase.has_value(),
                    *info.entries);
        if (layout != Layout::Single)
            out += "\n";
        break;
    case Format::Json:
        appendJson(out, vm, layout, info.line, *info.entries);
        break;
    case Format::Csv:
        appendCsv(out, vm, layout, info);
        break;
    }
}

void appendRejected(std::string& out, Format format, long line, std::string_view message)
{
    switch (format) {
    case Format::Table:
        out += "line ";
        appendNumber(out, line);
        out += ": " + visible(message) + "\n\n";
        break;
    case Format::Json:
        out += "{\"line\": ";
        appendNumber(out, line);
        out += ", \"error\": ";
        appendJsonString(out, message);
        out += "}\n";
        break;
    case Format::Csv:
        appendNumber(out, line);
        out += ',';
        core::appendCsvField(out, message);
        out.append(kCsvColumns, ',');
        out += '\n';
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
        switch (ch) {
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\0':
            out += "\\0";
            break;
        default:
            out += "\\x";
            appendHex(out, u, 2);
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

std::string jsonString(std::string_view s)
{
    std::string out;
    appendJsonString(out, s);
    return out;
}

} // namespace cli
