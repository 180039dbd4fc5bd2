#include "state/result_sheet.h"

#include <gtest/gtest.h>
#include <set>

namespace {

using state::Col;
using state::Row;

TEST(ResultSheet, HasThirtyNineUniquelyNamedCellsInRowOrder)
{
    std::set<std::string> names;
    for (state::CellId id : state::allCells())
        names.insert(state::cellName(id));
    EXPECT_EQ(names.size(), 39u);
    EXPECT_EQ(state::cellName(state::allCells().front()), "txtVapVir");
    EXPECT_EQ(state::cellName(state::allCells()[3]), "txtSGVDW");
    EXPECT_EQ(state::cellName(state::allCells().back()), "txtVDDEOS");
    EXPECT_TRUE(names.count("txtSGPRSV1"));
    EXPECT_FALSE(state::findCell("txtLiqESD").has_value());
    EXPECT_FALSE(state::hasCell(Row::DEOS, Col::SG));
}

TEST(ResultSheet, ClearEmptiesTextsAndKeepsColours)
{
    state::ResultSheet sheet;
    sheet.setText(Row::PR, Col::Vap, "23657.0");
    sheet.setColor(Row::PR, Col::Vap, state::kPaleRed);
    sheet.ClearResults();
    EXPECT_EQ(sheet.text(Row::PR, Col::Vap), "");
    EXPECT_EQ(sheet.color(Row::PR, Col::Vap), state::kPaleRed);
    EXPECT_EQ(state::rgbColor(255, 170, 170), state::kPaleRed);
    EXPECT_EQ(state::rgbColor(255, 204, 204), state::kLightPink);
}

TEST(ResultSheet, MissingCellIsAnErrorNotACorruption)
{
    state::ResultSheet sheet;
    EXPECT_THROW(sheet.setText(Row::Vir, Col::Liq, "1"), std::out_of_range);
}

} // namespace
