#include "core/sheet_export.h"

#include "state/calc_state.h"
#include "state/csv.h"
#include "state/number_format.h"

#include <algorithm>

namespace core {
namespace {

constexpr std::string_view kLineBreak = "\r\n";

std::string yesNo(bool ticked) { return ticked ? "yes" : "no"; }

/// The kelvin value of the box's °C text as the state holds it (sum in double, one rounding
/// to float), with two decimals; empty when the box holds no number.
std::string kelvinText(std::string_view temp_C)
{
    const auto t = state::toFloat(temp_C);
    if (!t)
        return {};
    const float k = state::kelvinFromCelsius(*t);
    return state::formatPattern(k, "0.00").value_or(std::string());
}

std::string joined(const TextTable& table, char separator, std::string_view specials)
{
    std::string out;
    for (const auto& row : table) {
        for (std::size_t i = 0; i < row.size(); ++i) {
            if (i > 0)
                out += separator;
            state::appendQuotedField(out, row[i].text, specials);
        }
        out += '\n';
    }
    return out;
}

void appendHtmlEscaped(std::string& out, std::string_view text)
{
    for (const char ch : text) {
        switch (ch) {
        case '&':
            out += "&amp;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        case '"':
            out += "&quot;";
            break;
        default:
            out += ch;
        }
    }
}

/// "#rrggbb" of a blue-green-red integer.
std::string htmlColor(std::int32_t bgr)
{
    constexpr std::string_view kHex = "0123456789abcdef";
    std::string out = "#";
    for (const int shift : {0, 8, 16}) {
        const auto channel = static_cast<unsigned>(bgr >> shift) & 0xffu;
        out += kHex[channel >> 4];
        out += kHex[channel & 0xfu];
    }
    return out;
}

} // namespace

std::optional<std::size_t> missingConstantNote(std::int32_t color)
{
    for (std::size_t i = 0; i < kMissingConstantNotes.size(); ++i)
        if (kMissingConstantNotes[i].color == color)
            return i;
    return std::nullopt;
}

std::vector<std::string_view> messageLines(std::string_view stCond)
{
    const std::size_t last = stCond.rfind(kLineBreak);
    if (last == std::string_view::npos || last == 0)
        return {stCond};
    const std::size_t middle = stCond.rfind(kLineBreak, last - 1);
    if (middle == std::string_view::npos)
        return {stCond};
    return {stCond.substr(0, middle),
            stCond.substr(middle + kLineBreak.size(), last - middle - kLineBreak.size()),
            stCond.substr(last + kLineBreak.size())};
}

TextTable exportSheet(const SheetView& view)
{
    TextTable t;
    t.push_back({"Component", view.component});
    t.push_back({"Temperature (°C)", view.temp_C});
    t.push_back({"Temperature (K)", kelvinText(view.temp_C)});
    t.push_back({"Pressure (bar)", view.press_bar});
    const auto lines = messageLines(view.stCond);
    for (std::size_t i = 0; i < lines.size(); ++i)
        t.push_back({i == 0 ? "State conditions" : "", std::string(lines[i])});
    t.push_back({"Calculate HYPOTHETICAL Molar Volumes", yesNo(view.hypothetical)});
    t.push_back({"Spherical Molecule Shape factor", yesNo(view.spherical)});
    t.push_back({""}); // one empty field, so every format shows an empty line
    t.push_back(
        {"Model", "SG (g/cm3)", "Liquid (cm3/mol)", "Vapor (cm3/mol)", "Z", "Density (kg/m3)"});
    std::array<bool, kMissingConstantNotes.size()> used{};
    for (int r = 0; r < state::kRowCount; ++r) {
        const auto row = static_cast<state::Row>(r);
        std::vector<TableField> fields{std::string(state::rowCaption(row))};
        for (int c = 0; c < state::kColCount; ++c) {
            const auto col = static_cast<state::Col>(c);
            if (!state::hasCell(row, col) || !view.sheet) {
                fields.emplace_back("");
                continue;
            }
            const state::Cell& cell = view.sheet->cell({row, col});
            TableField field(cell.text);
            if (cell.color != state::kWhite)
                field.tint = cell.color;
            const std::optional<std::size_t> note = missingConstantNote(cell.color);
            if (note && !cell.text.empty()) {
                field.text += kMissingConstantNotes[*note].marker;
                used[*note] = true;
            }
            fields.push_back(std::move(field));
        }
        t.push_back(std::move(fields));
    }
    if (std::find(used.begin(), used.end(), true) != used.end())
        t.push_back({""});
    for (std::size_t i = 0; i < used.size(); ++i)
        if (used[i])
            t.push_back({std::string(kMissingConstantNotes[i].footnote)});
    return t;
}

std::string toCsv(const TextTable& table)
{
    std::string out;
    for (const auto& row : table) {
        for (std::size_t i = 0; i < row.size(); ++i) {
            if (i > 0)
                out += ',';
            state::appendCsvField(out, row[i].text);
        }
        out += state::kCsvLineEnd;
    }
    return out;
}

std::string toTsv(const TextTable& table) { return joined(table, '\t', "\t\"\r\n"); }

std::string toHtml(const TextTable& table)
{
    std::string out = "<table>\n";
    for (const auto& row : table) {
        out += "<tr>";
        for (const auto& field : row) {
            if (field.tint) {
                out += "<td style=\"background-color: ";
                out += htmlColor(*field.tint);
                out += "\">";
            } else {
                out += "<td>";
            }
            appendHtmlEscaped(out, field.text);
            out += "</td>";
        }
        out += "</tr>\n";
    }
    return out + "</table>\n";
}

} // namespace core
