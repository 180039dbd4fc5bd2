#include "state/result_sheet.h"

#include <stdexcept>

namespace state {
namespace {

constexpr std::array<std::string_view, kRowCount> kRowKeys = {"Vir",   "VDW",   "RK",  "SRK", "PR",
                                                              "PRSV1", "PRSV2", "ESD", "DEOS"};
constexpr std::array<std::string_view, kColCount> kColKeys = {"SG", "Liq", "Vap", "Z", "VD"};
constexpr std::array<std::string_view, kRowCount> kRowCaptions = {
    "Virial Eq.",          "Van der Waals",          "Redlich-Kwong",
    "Soave-Redlich-Kwong", "Peng-Robinson",          "PR-Stryjek-Vera 1",
    "PR-Stryjek-Vera 2",   "Elliott-Suresh-Donohue", "Dieterici EOS"};

std::array<CellId, kCellCount> makeCells()
{
    std::array<CellId, kCellCount> cells{};
    std::size_t n = 0;
    for (int r = 0; r < kRowCount; ++r)
        for (int c = 0; c < kColCount; ++c)
            if (hasCell(static_cast<Row>(r), static_cast<Col>(c)))
                cells[n++] = {static_cast<Row>(r), static_cast<Col>(c)};
    return cells;
}

} // namespace

std::string_view rowKey(Row row) { return kRowKeys[static_cast<std::size_t>(row)]; }
std::string_view colKey(Col col) { return kColKeys[static_cast<std::size_t>(col)]; }
std::string_view rowCaption(Row row) { return kRowCaptions[static_cast<std::size_t>(row)]; }

std::string cellName(CellId id)
{
    std::string name = "txt";
    name += colKey(id.col);
    name += rowKey(id.row);
    return name;
}

std::optional<CellId> findCell(std::string_view name)
{
    for (CellId id : allCells())
        if (cellName(id) == name)
            return id;
    return std::nullopt;
}

const std::array<CellId, kCellCount>& allCells()
{
    static const std::array<CellId, kCellCount> cells = makeCells();
    return cells;
}

void ResultSheet::throwNoCell(CellId id)
{
    throw std::out_of_range("result sheet: row " + std::string(rowKey(id.row)) + " has no " +
                            std::string(colKey(id.col)) + " cell");
}

void ResultSheet::ClearResults()
{
    for (Cell& c : m_cells)
        c.text.clear();
}

} // namespace state
