#pragma once

#include "state/result_sheet.h"

#include <array>
#include <cstdint>
#include <optional>
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

/// What a value computed with a missing constant carries in text: the mark after it and the
/// footnote that explains the mark. The window tints such a cell in `color`.
struct MissingConstantNote {
    std::int32_t color;
    std::string_view marker;
    std::string_view footnote;
};
inline constexpr std::array<MissingConstantNote, 2> kMissingConstantNotes{{
    {state::kPaleRed, "*", "* computed with a missing acentric factor taken as zero"},
    {state::kLightPink, "+",
     "+ computed with a missing Stryjek-Vera constant K1 or K2 taken as zero"},
}};
/// The index in kMissingConstantNotes of a cell's colour; none for a value computed from
/// complete constants.
std::optional<std::size_t> missingConstantNote(std::int32_t color);

/// One field of an exported table: its text and, for a result cell the window tints, that
/// tint (the platform's blue-green-red integer).
struct TableField {
    std::string text;
    std::optional<std::int32_t> tint;
    TableField(std::string t, std::optional<std::int32_t> c = std::nullopt)
        : text(std::move(t)), tint(c)
    {
    }
    TableField(const char* t) : text(t) {}
    friend bool operator==(const TableField&, const TableField&) = default;
};

/// Rows of fields: the title block (caption and value), an empty row, the header with units,
/// then one row a model with SG, Liquid, Vapor, Z and Density as the cells show them, a value
/// computed with a missing constant marked and tinted; then, when any is marked, an empty
/// row and the footnote of each mark used.
using TextTable = std::vector<std::vector<TableField>>;
TextTable exportSheet(const SheetView& view);

/// The three lines of a state-conditions message. Only the last two separators count, so a
/// component name holding "\r\n" stays in line one; a text without them is line one alone.
std::vector<std::string_view> messageLines(std::string_view stCond);

/// The table as CSV (state/csv.h).
std::string toCsv(const TextTable& table);
/// The table as tab-separated text for the clipboard; a field holding a tab, a line end or a
/// quote is quoted as spreadsheets do.
std::string toTsv(const TextTable& table);
/// The table as one HTML table with every character escaped, for pasting into documents; a
/// tinted field has its tint as the cell's background.
std::string toHtml(const TextTable& table);

} // namespace core
