#include "model_fixtures.h"
#include "models/models.h"

#include <gtest/gtest.h>

// The fill rule every row follows, checked on all nine: which groups are attempted under
// which flags, the "NA->Tc" marker, that a model writes only its own row, and the Vap
// backgrounds that outlive ClearResults.
namespace {

using state::Col;
using state::Row;
using testing_models::benzeneLike;

using models::ModelEntry;

bool isNumber(const std::string& text) { return !text.empty() && text != "NC" && text != "NA->Tc"; }

enum class Expect { Empty, Number, NaTc };

// Benzene-like at 298.15 K and 1 bar, where every row converges both roots.
TEST(FillRule, GatesAndMarkersOnEveryRow)
{
    struct Case {
        const char* name;
        bool chkStCalc, calcVapor, calcLiquid, aboveCritical;
        Expect vapour, liquid;
    };
    const Case kCases[] = {
        {"nothing wanted", false, false, false, false, Expect::Empty, Expect::Empty},
        {"sub-cooled liquid", false, false, true, false, Expect::Empty, Expect::Number},
        {"super-heated vapour", false, true, false, false, Expect::Number, Expect::Empty},
        {"two-phase line", false, true, true, false, Expect::Number, Expect::Number},
        {"hypothetical overrides the flags", true, false, false, false, Expect::Number,
         Expect::Number},
        {"above critical", false, true, false, true, Expect::Number, Expect::NaTc},
        {"above critical, hypothetical", true, false, false, true, Expect::Number, Expect::NaTc},
        {"above critical wins over CalcLiquid", false, false, true, true, Expect::Empty,
         Expect::NaTc},
    };
    for (const Case& c : kCases) {
        for (const ModelEntry& m : models::kModels) {
            SCOPED_TRACE(std::string(c.name) + " / " + std::string(state::rowKey(m.row)));
            state::CalcState s;
            s.constants = benzeneLike();
            s.conditions = {298.15f, 1};
            s.chkStCalc = c.chkStCalc;
            s.flags.CalcVapor = c.calcVapor;
            s.flags.CalcLiquid = c.calcLiquid;
            s.flags.AboveCritical = c.aboveCritical;
            state::ResultSheet sheet;
            m.calc(s, sheet);
            for (Col col : {Col::Vap, Col::Z, Col::VD})
                EXPECT_EQ(isNumber(sheet.text(m.row, col)), c.vapour == Expect::Number);
            if (!state::hasCell(m.row, Col::Liq))
                continue;
            const std::string& liq = sheet.text(m.row, Col::Liq);
            const std::string& sg = sheet.text(m.row, Col::SG);
            switch (c.liquid) {
            case Expect::Empty:
                EXPECT_EQ(liq, "");
                EXPECT_EQ(sg, "");
                break;
            case Expect::Number:
                EXPECT_TRUE(isNumber(liq)) << liq;
                EXPECT_TRUE(isNumber(sg)) << sg;
                break;
            case Expect::NaTc:
                EXPECT_EQ(liq, "NA->Tc");
                EXPECT_EQ(sg, "");
                break;
            }
        }
    }
}

TEST(FillRule, EachModelWritesOnlyItsOwnRow)
{
    for (const ModelEntry& m : models::kModels) {
        SCOPED_TRACE(std::string(state::rowKey(m.row)));
        state::ResultSheet sheet;
        m.calc(testing_models::hypothetical(benzeneLike(), 298.15f, 1), sheet);
        for (state::CellId id : state::allCells()) {
            if (id.row == m.row)
                continue;
            EXPECT_EQ(sheet.cell(id).text, "") << state::cellName(id);
            EXPECT_EQ(sheet.cell(id).color, state::kWhite) << state::cellName(id);
        }
    }
}

// Rows whose Vap turns pale red without an acentric factor; van der Waals, Redlich-Kwong,
// virial and Dieterici never tint. The tint survives ClearResults and a failed root, and only
// the next converged vapour root with the factor present turns it white again.
TEST(FillRule, PaleRedOutlivesClearResultsAndFailedRoots)
{
    for (const ModelEntry& m : models::kModels) {
        SCOPED_TRACE(std::string(state::rowKey(m.row)));
        const bool tints = m.row == Row::SRK || m.row == Row::PR || m.row == Row::PRSV1 ||
                           m.row == Row::PRSV2 || m.row == Row::ESD;
        state::ComponentConstants noOmega = benzeneLike();
        noOmega.AcentricF = 0;
        noOmega.K1 = noOmega.K2 = 0.1f; // PRSV2 would show light pink for missing K1 or K2
        state::ResultSheet sheet;
        m.calc(testing_models::hypothetical(noOmega, 298.15f, 1), sheet);
        ASSERT_TRUE(isNumber(sheet.text(m.row, Col::Vap)));
        EXPECT_EQ(sheet.color(m.row, Col::Vap), tints ? state::kPaleRed : state::kWhite);

        sheet.ClearResults();
        EXPECT_EQ(sheet.color(m.row, Col::Vap), tints ? state::kPaleRed : state::kWhite);

        // A vapour root that fails (benzene-like at 100 bar, a liquid state) keeps the tint.
        state::ComponentConstants withOmega = benzeneLike();
        withOmega.K1 = withOmega.K2 = 0.1f;
        state::CalcState liquidState = testing_models::hypothetical(withOmega, 298.15f, 100);
        sheet.ClearResults();
        m.calc(liquidState, sheet);
        if (sheet.text(m.row, Col::Vap) == "NC") {
            EXPECT_EQ(sheet.color(m.row, Col::Vap), tints ? state::kPaleRed : state::kWhite);
            EXPECT_EQ(sheet.text(m.row, Col::Z), "NC");
            EXPECT_EQ(sheet.text(m.row, Col::VD), "");
        }

        sheet.ClearResults();
        m.calc(testing_models::hypothetical(withOmega, 298.15f, 1), sheet);
        EXPECT_EQ(sheet.color(m.row, Col::Vap), state::kWhite);
    }
}

} // namespace
