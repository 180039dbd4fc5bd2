#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace state {

/// Rows of the sheet, top to bottom.
enum class Row : std::uint8_t { Vir, VDW, RK, SRK, PR, PRSV1, PRSV2, ESD, DEOS };
/// Columns of the sheet, left to right.
enum class Col : std::uint8_t { SG, Liq, Vap, Z, VD };

inline constexpr int kRowCount = 9;
inline constexpr int kColCount = 5;
inline constexpr int kCellCount = 39;

/// The virial, ESD and Dieterici rows have no liquid cells.
constexpr bool hasCell(Row row, Col col)
{
    const bool liquidCells = row != Row::Vir && row != Row::ESD && row != Row::DEOS;
    return liquidCells || (col != Col::SG && col != Col::Liq);
}

namespace detail {
/// Position of each (row, column) in the cell array, row by row; -1 where the row has no
/// such cell.
constexpr std::array<int, kRowCount * kColCount> makeCellIndex()
{
    std::array<int, kRowCount * kColCount> index{};
    int n = 0;
    for (int r = 0; r < kRowCount; ++r)
        for (int c = 0; c < kColCount; ++c)
            index[static_cast<std::size_t>(r * kColCount + c)] =
                hasCell(static_cast<Row>(r), static_cast<Col>(c)) ? n++ : -1;
    return index;
}
inline constexpr auto kCellIndex = makeCellIndex();
} // namespace detail

static_assert(detail::kCellIndex.back() + 1 == kCellCount,
              "the sheet has as many cells as the liquid-cell rule leaves");

/// Cell colours as the platform's blue-green-red integer: red + 256·green + 65536·blue.
inline constexpr std::int32_t kWhite = 16777215;     // 255, 255, 255
inline constexpr std::int32_t kPaleRed = 11184895;   // 255, 170, 170: acentric factor missing
inline constexpr std::int32_t kLightPink = 13421823; // 255, 204, 204: K1 or K2 missing

inline constexpr std::string_view kNotConverged = "NC";
inline constexpr std::string_view kAboveCritical = "NA->Tc";

constexpr std::int32_t rgbColor(int red, int green, int blue)
{
    return red + 256 * green + 65536 * blue;
}

struct CellId {
    Row row;
    Col col;
    friend bool operator==(CellId, CellId) = default;
};

/// "txt" + column key + row key, for example "txtVapPR".
std::string cellName(CellId id);
std::string_view rowKey(Row row);
std::string_view colKey(Col col);
/// The row caption shown beside the row on the main window.
std::string_view rowCaption(Row row);
/// The cell of that name, if the sheet has one.
std::optional<CellId> findCell(std::string_view name);
/// All 39 cells in row order and, within a row, left to right.
const std::array<CellId, kCellCount>& allCells();

struct Cell {
    std::string text;
    std::int32_t color = kWhite;
};

/// The 39 result cells, each a text and a background colour.
class ResultSheet {
public:
    const Cell& cell(CellId id) const { return m_cells[index(id)]; }
    const std::string& text(Row row, Col col) const { return cell({row, col}).text; }
    std::int32_t color(Row row, Col col) const { return cell({row, col}).color; }

    /// Copies the text into the cell (no allocation for a text that fits the string's own
    /// buffer, as every number and marker the models write does).
    void setText(Row row, Col col, std::string_view text)
    {
        m_cells[index({row, col})].text.assign(text);
    }
    void setColor(Row row, Col col, std::int32_t color)
    {
        m_cells[index({row, col})].color = color;
    }

    /// Empties every text, in row order; colours stay as they are.
    void ClearResults();

    friend bool operator==(const ResultSheet&, const ResultSheet&) = default;

private:
    static std::size_t index(CellId id)
    {
        const int i = detail::kCellIndex[static_cast<std::size_t>(id.row) * kColCount +
                                         static_cast<std::size_t>(id.col)];
        if (i < 0)
            throwNoCell(id);
        return static_cast<std::size_t>(i);
    }
    [[noreturn]] static void throwNoCell(CellId id);
    std::array<Cell, kCellCount> m_cells{};
};

} // namespace state
