#include "core/solve.h"

#include <gtest/gtest.h>

// The solve step on its own, as batch runs call it: no view model, no boxes.
namespace {

using core::SolveCase;

// Benzene-like constants; Antoine ln(P/kPa) = 13.7815 - 2726.813/(t + 217.572): p_sat(25 °C)
// is 0.1268 bar, so 1 bar is sub-cooled liquid and 0.05 bar super-heated vapour.
state::CalcState benzeneAt(float tempK, float pressBar)
{
    state::CalcState s;
    s.constants = {78.11f, 562.1f, 48.9f, 259.0f, 0.212f, 0.07019f, 0.7939f, 0.523f};
    s.antoine = {13.7815f, 2726.813f, 217.572f};
    s.flags.AntoineAvailable = true;
    s.conditions = {tempK, pressBar};
    return s;
}

TEST(SolveStep, ClassifiesAndRunsTheModelsOnlyWhenSomethingIsComputed)
{
    struct Case {
        const char* name;
        state::CalcState state;
        std::optional<float> typed_C;
        SolveCase kind;
        bool modelsRun;
    };
    state::CalcState noComponent = benzeneAt(298.15f, 1);
    noComponent.constants = {};
    state::CalcState noAntoine = benzeneAt(298.15f, 1);
    noAntoine.flags.AntoineAvailable = false;
    const Case kCases[] = {
        {"no component", noComponent, 25.0f, SolveCase::NoComponent, false},
        {"no pressure", benzeneAt(298.15f, 0), 25.0f, SolveCase::NoPressure, false},
        {"solid", benzeneAt(86.9f, 1), -186.25f, SolveCase::TooCold, false},
        {"above Tc", benzeneAt(573.15f, 60), 300.0f, SolveCase::AboveCritical, true},
        {"sub-cooled", benzeneAt(298.15f, 1), 25.0f, SolveCase::SubcooledLiquid, true},
        {"super-heated", benzeneAt(298.15f, 0.05f), 25.0f, SolveCase::SuperheatedVapor, true},
        // No typed value: 298.15 K less 273.15 stands in for it.
        {"box empty: stored kelvin", benzeneAt(298.15f, 0.05f), std::nullopt,
         SolveCase::SuperheatedVapor, true},
        {"typed value wins over the stored one", benzeneAt(298.15f, 0.05f), -50.0f,
         SolveCase::SubcooledLiquid, true},
        {"no Antoine coefficients", noAntoine, 25.0f, SolveCase::NoAntoine, true},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.name);
        state::CalcState s = c.state;
        state::ResultSheet sheet;
        sheet.setText(state::Row::ESD, state::Col::Vap, "stale");
        s.chkStCalc = true;
        const core::Classification got = core::solve(s, c.typed_C, sheet);
        EXPECT_EQ(got.kind, c.kind);
        EXPECT_EQ(got.runsModels, c.modelsRun);
        EXPECT_EQ(s.flags.CalcLiquid, got.calcLiquid);
        EXPECT_EQ(s.flags.CalcVapor, got.calcVapor);
        EXPECT_EQ(s.flags.AboveCritical, got.aboveCritical);
        EXPECT_EQ(sheet.text(state::Row::ESD, state::Col::Vap).empty(), !c.modelsRun);
        EXPECT_EQ(got.message.has_value(), c.kind != SolveCase::NoAntoine);
    }
}

} // namespace
