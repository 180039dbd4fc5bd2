#pragma once

#include "state/result_sheet.h"

#include <string>
#include <string_view>
#include <vector>

namespace core {

/// What the main window shows after a solve, as text: the title block and the sheet.
struct SheetView {
    std::string component; // the list's text
    std::string temp_C;    // the temperature box's text
    std::string press_bar; // the pressure box's text
    std::string stCond;    // lblStCond, lines joined with "\r\n"
    bool hypothetical = false;
    bool spherical = false;
    const state::ResultSheet* sheet = nullptr;
};

/// Rows of text fields: the title block (caption and value), an empty row, the header with
/// units, then one row a model with SG, Liquid, Vapor, Z and Density exactly as the cells
/// show them.
using TextTable = std::vector<std::vector<std::string>>;
TextTable exportSheet(const SheetView& view);

/// The three lines of a state-conditions message. Only the last two separators count, so a
/// component name holding "\r\n" stays in line one; a text without them is line one alone.
std::vector<std::string_view> messageLines(std::string_view stCond);

/// Appends one CSV field: quoted when it holds a comma, a quote, CR or LF; quotes doubled.
void appendCsvField(std::string& out, std::string_view text);
/// The table as CSV (UTF-8, "\n" line ends), fields quoted where needed.
std::string toCsv(const TextTable& table);
/// The table as tab-separated text for the clipboard; a field holding a tab, a line end or a
/// quote is quoted as spreadsheets do.
std::string toTsv(const TextTable& table);
/// The table as one HTML table with every character escaped, for pasting into documents.
std::string toHtml(const TextTable& table);

} // namespace core
