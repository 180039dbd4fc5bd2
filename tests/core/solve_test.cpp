#include "core/solve.h"
#include "tests/core/benzene_view_model.h"
#include "tests/support/reference_components.h"

#include <gtest/gtest.h>
#include <random>

// The solve: the step on its own, as batch runs call it (no view model, no boxes), and
// through the view model as the window presses Solve.
namespace {

using core::SolveCase;

// Benzene-like constants; Antoine ln(P/kPa) = 13.7815 - 2726.813/(t + 217.572): p_sat(25 °C)
// is 0.1268 bar, so 1 bar is sub-cooled liquid and 0.05 bar super-heated vapour.
state::CalcState benzeneAt(float tempK, float pressBar)
{
    state::CalcState s;
    s.constants = test_components::kBenzene;
    s.antoine = test_components::kBenzeneAntoine;
    s.flags.AntoineAvailable = true;
    s.conditions = {tempK, pressBar};
    return s;
}

TEST(Solve, ClassifiesAndRunsTheModelsOnlyWhenSomethingIsComputed)
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

using core::MainViewModel;
using state::Col;
using state::Row;
using namespace benzene_view_model;

TEST(Solve, ClassifiesThePhaseState)
{
    struct Case {
        const char* name;
        bool antoine;
        const char* tempText;
        float tempK;
        float pressBar;
        const char* message; // first line; "" = the previous message stays
        bool liquid, vapor, aboveCrit, optionKept, modelsRun;
    };
    const float t25 = 298.15f;
    const double ps = psatBar(25.0f);
    const Case cases[] = {
        {"just below the floor", true, "-186.25", 86.9f, 1.0f, "State Temperature Too LOW -", false,
         false, false, false, false},
        {"at the floor, no Antoine", false, "-186.15", 87.0f, 1.0f, "", true, true, false, true,
         true},
        {"at Tc is not above it", false, "288.95", 562.1f, 60.0f, "", true, true, false, true,
         true},
        {"above Tc", true, "300", 573.15f, 60.0f, "Single-Phase Vapor State Conditions -", false,
         true, true, false, true},
        {"sub-cooled liquid", true, "25", t25, 1.0f,
         "Single-Phase Sub-cooled Liquid State Conditions -", true, false, false, false, true},
        {"super-heated vapour", true, "25", t25, 0.05f,
         "Single-Phase Super-heated Vapor State Conditions -", false, true, false, false, true},
        {"inside the band, above p_sat", true, "25", t25, float(ps + 0.0099),
         "Two-phase Equilibrium State Conditions -", true, true, false, true, true},
        {"outside the band, above p_sat", true, "25", t25, float(ps + 0.0101),
         "Single-Phase Sub-cooled Liquid State Conditions -", true, false, false, false, true},
        {"inside the band, below p_sat", true, "25", t25, float(ps - 0.0099),
         "Two-phase Equilibrium State Conditions -", true, true, false, true, true},
        {"outside the band, below p_sat", true, "25", t25, float(ps - 0.0101),
         "Single-Phase Super-heated Vapor State Conditions -", false, true, false, false, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        MainViewModel vm = benzene(c.antoine);
        vm.setStCond("previous", "message", "stays");
        vm.setTxtTemp(c.tempText);
        vm.state().conditions = {c.tempK, c.pressBar};
        vm.selectOptEqState(0);
        vm.setChkStCalc(true);
        vm.cmdSolve_Click();
        EXPECT_EQ(firstLine(vm.lblStCond()), *c.message ? c.message : "previous");
        EXPECT_EQ(vm.state().flags.CalcLiquid, c.liquid);
        EXPECT_EQ(vm.state().flags.CalcVapor, c.vapor);
        EXPECT_EQ(vm.state().flags.AboveCritical, c.aboveCrit);
        EXPECT_EQ(vm.optEqStateSelected(0), c.optionKept);
        EXPECT_EQ(!vm.sheet().text(Row::Vir, Col::Vap).empty(), c.modelsRun);
    }
}

TEST(Solve, MessagesAreThreeLinesJoinedWithCrLf)
{
    MainViewModel vm = benzene(true);
    vm.setTxtTemp("25");
    vm.state().conditions = {298.15f, 1.0f};
    vm.cmdSolve_Click();
    EXPECT_EQ(vm.lblStCond(), "Single-Phase Sub-cooled Liquid State Conditions -\r\n"
                              "Molar Volume calculated values for VAPOR\r\n"
                              "would be for hypothetical sub-cooled vapor.");
}

TEST(Solve, RefusesWithoutComponentOrPressure)
{
    struct Case {
        const char* name;
        state::ComponentConstants constants;
        float pressBar;
        const char* pressBox;
        const char* message;
    };
    const Case cases[] = {
        {"nothing chosen yet", {}, 1.0f, "1", "No Component Selected -"},
        {"zero critical pressure",
         {78.11f, 562.1f, 0.0f, 259.0f, 0, 0, 0, 0},
         1.0f,
         "1",
         "No Component Selected -"},
        {"no pressure accepted", kBenzene, 0.0f, "", "State Pressure NOT Specified -"},
        {"zero pressure accepted", kBenzene, 0.0f, "0.0", "State Pressure NOT Specified -"},
        // Typed before any temperature: the box shows 1 but nothing was taken in.
        {"pressure shown but never stored", kBenzene, 0.0f, "1", "State Pressure NOT Stored -"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        MainViewModel vm;
        vm.setTxtPress(c.pressBox);
        vm.state().constants = c.constants;
        vm.state().conditions = {298.15f, c.pressBar};
        vm.state().flags.CalcVapor = vm.state().flags.CalcLiquid = true;
        vm.sheet().setText(Row::PR, Col::Vap, "stale");
        vm.cmdSolve_Click();
        EXPECT_EQ(firstLine(vm.lblStCond()), c.message);
        EXPECT_FALSE(vm.state().flags.CalcVapor || vm.state().flags.CalcLiquid ||
                     vm.state().flags.AboveCritical);
        for (state::CellId id : state::allCells())
            EXPECT_EQ(vm.sheet().cell(id).text, "") << state::cellName(id);
    }
}

TEST(Solve, UnusableAntoineEquationFallsBackToBothRoots)
{
    MainViewModel vm = benzene(true);
    vm.state().antoine.AntC = -25.0f; // t + AntC = 0 at 25 °C
    vm.setTxtTemp("25");
    vm.state().conditions = {298.15f, 1.0f};
    vm.cmdSolve_Click();
    EXPECT_EQ(firstLine(vm.lblStCond()), "Antoine Vapor Pressure NOT Calculable");
    EXPECT_TRUE(vm.state().flags.CalcLiquid && vm.state().flags.CalcVapor);
}

// Whatever the constants, the state and the boxes hold, a solve ends with every cell empty,
// a marker or a finite number, and a message without "inf" or "nan".
TEST(Solve, RandomStatesNeverShowGarbage)
{
    std::mt19937 rng(20261209);
    const float specials[] = {0.0f,  -0.0f,  1e-38f,  1e-45f, -1.0f,
                              1e30f, -1e30f, 3.4e38f, 87.0f,  562.1f};
    std::uniform_real_distribution<float> unit(0.0f, 1.0f);
    std::uniform_int_distribution<int> pick(0, 9);
    const auto value = [&](float typical) {
        switch (pick(rng) % 5) {
        case 0:
            return specials[pick(rng)];
        case 1:
            return -typical * unit(rng);
        default:
            return typical * 2.0f * unit(rng);
        }
    };
    // -?[0-9]+\.[0-9]+, spelled out: std::regex is slow under the sanitizers.
    const auto isNumber = [](const std::string& t) {
        const std::size_t start = !t.empty() && t[0] == '-' ? 1 : 0;
        const std::size_t point = t.find('.');
        const auto digits = [&](std::size_t from, std::size_t to) {
            return from < to && t.find_first_not_of("0123456789", from) >= to;
        };
        return point != std::string::npos && digits(start, point) && digits(point + 1, t.size());
    };
    for (int i = 0; i < 100000; ++i) {
        MainViewModel vm;
        vm.state().constants = {value(100),  value(600),  value(50), value(300),
                                value(0.5f), value(0.5f), value(2),  value(1)};
        vm.state().antoine = {value(15), value(3000), value(250)};
        vm.state().flags.AntoineAvailable = pick(rng) < 7;
        vm.state().conditions = {value(600), value(60)};
        vm.setTxtTemp(
            pick(rng) == 0 ? "" : std::to_string(double(vm.state().conditions.TempK) - 273.15));
        vm.setChkStCalc(pick(rng) < 5);
        vm.setChkSphMol(pick(rng) < 5);
        vm.cmdSolve_Click();
        for (state::CellId id : state::allCells()) {
            const std::string& t = vm.sheet().cell(id).text;
            const bool ok = t.empty() || t == "NC" || t == "NA->Tc" || isNumber(t);
            ASSERT_TRUE(ok) << state::cellName(id) << " = " << t << " at case " << i;
        }
        ASSERT_EQ(vm.lblStCond().find("inf"), std::string::npos);
        ASSERT_EQ(vm.lblStCond().find("nan"), std::string::npos);
    }
}

} // namespace
