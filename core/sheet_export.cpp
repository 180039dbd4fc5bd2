#include "core/sheet_export.h"

#include "state/number_format.h"

namespace core {
namespace {

constexpr double kCelsiusToKelvin = 273.15;
constexpr std::string_view kLineBreak = "\r\n";

std::string yesNo(bool ticked) { return ticked ? "yes" : "no"; }

/// The kelvin value of the box's °C text as the state holds it (sum in double, one rounding
/// to float), with two decimals; empty when the box holds no number.
std::string kelvinText(std::string_view temp_C)
{
    const auto t = state::toFloat(temp_C);
    if (!t)
        return {};
    const auto k = static_cast<float>(static_cast<double>(*t) + kCelsiusToKelvin);
    return state::formatPattern(k, "0.00").value_or(std::string());
}

bool needsQuotes(std::string_view text, std::string_view specials)
{
    // A plain loop: fields are a few characters long, and a batch writes 52 a state.
    for (const char ch : text)
        for (const char special : specials)
            if (ch == special)
                return true;
    return false;
}

constexpr std::string_view kCsvSpecials = ",\"\r\n";

void appendField(std::string& out, std::string_view text, std::string_view specials)
{
    if (!needsQuotes(text, specials)) {
        out += text;
        return;
    }
    out += '"';
    for (const char ch : text) {
        if (ch == '"')
            out += '"';
        out += ch;
    }
    out += '"';
}

std::string joined(const TextTable& table, char separator, std::string_view specials)
{
    std::string out;
    for (const auto& row : table) {
        for (std::size_t i = 0; i < row.size(); ++i) {
            if (i > 0)
                out += separator;
            appendField(out, row[i], specials);
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

} // namespace

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
    for (int r = 0; r < state::kRowCount; ++r) {
        const auto row = static_cast<state::Row>(r);
        std::vector<std::string> fields{std::string(state::rowCaption(row))};
        for (int c = 0; c < state::kColCount; ++c) {
            const auto col = static_cast<state::Col>(c);
            fields.push_back(state::hasCell(row, col) && view.sheet ? view.sheet->text(row, col)
                                                                    : std::string());
        }
        t.push_back(std::move(fields));
    }
    return t;
}

void appendCsvField(std::string& out, std::string_view text)
{
    appendField(out, text, kCsvSpecials);
}

std::string toCsv(const TextTable& table) { return joined(table, ',', kCsvSpecials); }

std::string toTsv(const TextTable& table) { return joined(table, '\t', "\t\"\r\n"); }

std::string toHtml(const TextTable& table)
{
    std::string out = "<table>\n";
    for (const auto& row : table) {
        out += "<tr>";
        for (const auto& field : row) {
            out += "<td>";
            appendHtmlEscaped(out, field);
            out += "</td>";
        }
        out += "</tr>\n";
    }
    return out + "</table>\n";
}

} // namespace core
