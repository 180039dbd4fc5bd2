#include "core/main_view_model.h"
#include "tests/core/benzene_view_model.h"

#include <cmath>
#include <gtest/gtest.h>
#include <random>

namespace {

using core::FocusTarget;
using core::MainViewModel;
using state::Col;
using state::Row;

using namespace benzene_view_model;

TEST(MainViewModel, TemperatureBox)
{
    struct Case {
        const char* name;
        bool antoine;
        const char* text;
        bool rejected;
        float tempK;         // after; 1 = unchanged from the previous 1
        const char* message; // "" = unchanged
    };
    const Case cases[] = {
        {"letters", true, "abc", true, 1.0f, ""},
        {"empty", true, "", true, 1.0f, ""},
        {"below Tc with Antoine", true, "25", false, 298.15f,
         "State Condition Temperature is less than\r\nthe CRITICAL Temperature (562.1 K)\r\n"
         "LIQUID phase at PRESSURE > 0.1 bar"},
        {"below Tc without Antoine", false, "25", false, 298.15f, ""},
        {"equal to Tc counts as above", true, "288.94998", false, 562.1f,
         "State Condition Temperature is greater than\r\nthe CRITICAL Temperature -> VAPOR "
         "phase\r\n"
         "conditions only. LIQUID Molar Volume not calculated."},
        {"Antoine pole", true, "-217.572", false, float(-217.572f + 273.15),
         "State Condition Temperature is less than\r\nthe CRITICAL Temperature (562.1 K)\r\n"
         "Saturation Pressure NOT calculable here."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        MainViewModel vm = benzene(c.antoine);
        vm.state().conditions.TempK = 1.0f;
        vm.setStCond("previous", "message", "stays");
        vm.selectOptEqState(1);
        vm.setTxtTemp(c.text);
        const core::Effects fx = vm.txtTemp_LostFocus();
        if (c.rejected) {
            ASSERT_TRUE(fx.message.has_value());
            EXPECT_EQ(fx.message->prompt, "Invalid or Incorrect Temperature");
            EXPECT_EQ(fx.message->title, "Temperature ERROR");
            EXPECT_EQ(fx.focus, FocusTarget::txtTemp);
            EXPECT_EQ(vm.txtTemp(), "");
        } else {
            EXPECT_EQ(fx, core::Effects{});
        }
        EXPECT_EQ(vm.state().conditions.TempK, c.tempK);
        EXPECT_EQ(vm.lblStCond(),
                  *c.message ? std::string(c.message) : "previous\r\nmessage\r\nstays");
        EXPECT_EQ(vm.optEqStateSelected(1), !*c.message);
    }
}

TEST(MainViewModel, PressureBox)
{
    struct Case {
        const char* name;
        const char* temp;
        const char* press;
        bool rejected;
        float pressBar; // after; 7 = unchanged
    };
    const Case cases[] = {
        {"temperature box not numeric: nothing", "", "abc", false, 7.0f},
        {"empty pressure", "25", "", true, 7.0f},
        {"letters", "25", "1 bar", true, 7.0f},
        {"zero accepted", "25", "0", false, 0.0f},
        {"negative accepted", "25", "-5", false, -5.0f},
        {"ordinary", "25", "1.01325", false, 1.01325f},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        MainViewModel vm = benzene(true);
        vm.state().conditions.PressBar = 7.0f;
        vm.setTxtTemp(c.temp);
        vm.setTxtPress(c.press);
        const core::Effects fx = vm.txtPress_LostFocus();
        EXPECT_EQ(fx.message.has_value(), c.rejected);
        if (c.rejected) {
            EXPECT_EQ(*fx.message,
                      (core::MessageBox{"Invalid or Incorrect Pressure", "Pressure ERROR"}));
            EXPECT_EQ(fx.focus, FocusTarget::txtPress);
            EXPECT_EQ(vm.txtPress(), "");
        }
        EXPECT_EQ(vm.state().conditions.PressBar, c.pressBar);
    }
}

TEST(MainViewModel, GotFocusSelectsTheFirstNineCharacters)
{
    EXPECT_EQ(MainViewModel::txt_GotFocus("123456789012").length, 9);
    EXPECT_EQ(MainViewModel::txt_GotFocus("25").length, 2);
    EXPECT_EQ(MainViewModel::txt_GotFocus("").start, 0);
}

TEST(MainViewModel, OptionClicks)
{
    struct Case {
        const char* name;
        int index;
        const char* temp;
        const char* press;
        const char* tempAfter;
        const char* pressAfter;
        const char* firstLine;
        bool staysSelected;
        std::optional<FocusTarget> focus;
    };
    const Case cases[] = {
        {"temperature: pressure from Antoine",
         0,
         "25",
         "1",
         "25",
         "0.127",
         "State Temperature less than Critical",
         true,
         {}},
        {"pressure: normal boiling point",
         1,
         "25",
         "1",
         "79.59",
         "1.000",
         "State Temperature less than Critical",
         true,
         {}},
        {"temperature box empty", 0, "", "1", "", "1", "Equilibrium Temperature NOT Specified",
         false, FocusTarget::txtTemp},
        {"pressure box empty", 1, "25", "", "25", "", "Equilibrium Pressure NOT Specified", false,
         FocusTarget::txtPress},
        {"temperature above Tc",
         0,
         "300",
         "1",
         "300",
         "1",
         "State Temperature greater than Critical",
         false,
         {}},
        {"temperature at Tc counts as below",
         0,
         "288.94998",
         "1",
         "288.94998",
         "44.386",
         "State Temperature less than Critical",
         true,
         {}},
        {"pressure above Tc writes the temperature",
         1,
         "25",
         "100",
         "378.95",
         "100",
         "State Temperature greater than Critical",
         false,
         {}},
        {"pressure zero: Antoine undefined",
         1,
         "25",
         "0",
         "25",
         "0",
         "Saturation Temperature NOT calculable",
         false,
         {}},
        {"pressure negative",
         1,
         "25",
         "-1",
         "25",
         "-1",
         "Saturation Temperature NOT calculable",
         false,
         {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        MainViewModel vm = benzene(true);
        vm.setTxtTemp(c.temp);
        vm.setTxtPress(c.press);
        vm.state().conditions = {298.15f, 1.0f};
        const core::Effects fx = vm.optEqState_Click(c.index);
        EXPECT_EQ(vm.txtTemp(), c.tempAfter);
        EXPECT_EQ(vm.txtPress(), c.pressAfter);
        EXPECT_EQ(firstLine(vm.lblStCond()), c.firstLine);
        EXPECT_EQ(vm.optEqStateSelected(c.index), c.staysSelected);
        EXPECT_FALSE(fx.message.has_value());
        EXPECT_EQ(fx.focus, c.focus);
    }
}

TEST(MainViewModel, PressureOptionPutsTheStateOnTheLine)
{
    MainViewModel vm = benzene(true);
    vm.setTxtTemp("25");
    vm.setTxtPress("1");
    vm.optEqState_Click(1);
    // 79.59 °C read back from the box, plus 273.15, rounded to float.
    EXPECT_EQ(vm.state().conditions.TempK, float(79.59f + 273.15));
    EXPECT_NEAR(vm.state().conditions.PressBar, 1.000146, 1e-6);
    vm.cmdSolve_Click();
    EXPECT_EQ(firstLine(vm.lblStCond()), "Two-phase Equilibrium State Conditions -");
    EXPECT_TRUE(vm.optEqStateSelected(1));
    EXPECT_TRUE(vm.state().flags.CalcLiquid && vm.state().flags.CalcVapor);
}

// The user's second click on the selected button: the state, the boxes and the message stay,
// although the first click's result (a line pressure) has since been overtyped.
TEST(MainViewModel, ClickOnTheSelectedButtonChangesNothing)
{
    MainViewModel vm = benzene(true);
    vm.setTxtTemp("25");
    vm.setTxtPress("1");
    vm.optEqState_Click(0);
    ASSERT_TRUE(vm.optEqStateSelected(0));
    vm.setTxtPress("7");
    vm.setStCond("previous", "message", "stays");
    const float pressBefore = vm.state().conditions.PressBar;
    EXPECT_EQ(vm.optEqState_Click(0), core::Effects{});
    EXPECT_EQ(vm.txtPress(), "7");
    EXPECT_EQ(vm.state().conditions.PressBar, pressBefore);
    EXPECT_EQ(vm.lblStCond(), "previous\r\nmessage\r\nstays");
    EXPECT_TRUE(vm.optEqStateSelected(0));
}

TEST(MainViewModel, ZeroCoefficientsBeforeAnyComponentNeverFail)
{
    MainViewModel vm; // buttons enabled at start-up, coefficients all zero
    vm.setTxtTemp("25");
    vm.setTxtPress("0.01"); // ln(100·p) = 0 = AntA
    vm.state().constants.CritTemp = 600.0f;
    vm.optEqState_Click(1);
    EXPECT_FALSE(vm.optEqStateSelected(1));
    EXPECT_EQ(vm.txtTemp(), "25");
    vm.optEqState_Click(0);
    EXPECT_EQ(firstLine(vm.lblStCond()), "State Temperature less than Critical");
    EXPECT_EQ(vm.txtPress(), "0.010"); // exp(0)·0.01
}

} // namespace

namespace {

// Benzene at 25 °C and 5 bar as the window takes it in: chosen, both boxes left, solved.
MainViewModel solvedBenzene()
{
    MainViewModel vm;
    vm.componentChosen("Benzene", kBenzene, kBenzeneAnt);
    vm.setTxtTemp("25");
    vm.txtTemp_LostFocus();
    vm.setTxtPress("5");
    vm.txtPress_LostFocus();
    vm.setChkStCalc(true);
    vm.cmdSolve_Click();
    return vm;
}

// Each of the inputs the solve read, changed alone, leaves a sheet that no longer belongs to the
// state; a change that reads back the same values does not.
TEST(MainViewModel, SheetIsCurrentOnlyForEverythingItWasSolvedFrom)
{
    struct Case {
        const char* name;
        void (*change)(MainViewModel&);
        bool current;
    };
    const Case cases[] = {
        {"nothing changed", [](MainViewModel&) {}, true},
        {"the same temperature typed again",
         [](MainViewModel& vm) {
             vm.setTxtTemp("25.0");
             vm.txtTemp_LostFocus();
         },
         true},
        {"another component",
         [](MainViewModel& vm) { vm.componentChosen("Toluene", kBenzene, kBenzeneAnt); }, false},
        {"a constant edited, same name",
         [](MainViewModel& vm) {
             state::ComponentConstants c = kBenzene;
             c.AcentricF = 0.2f;
             vm.componentChosen("Benzene", c, kBenzeneAnt);
         },
         false},
        {"no Antoine set any more",
         [](MainViewModel& vm) { vm.componentChosen("Benzene", kBenzene, std::nullopt); }, false},
        {"the temperature",
         [](MainViewModel& vm) {
             vm.setTxtTemp("100");
             vm.txtTemp_LostFocus();
         },
         false},
        {"the temperature typed, not yet left", [](MainViewModel& vm) { vm.setTxtTemp("100"); },
         false},
        {"the pressure",
         [](MainViewModel& vm) {
             vm.setTxtPress("6");
             vm.txtPress_LostFocus();
         },
         false},
        {"hypothetical volumes", [](MainViewModel& vm) { vm.setChkStCalc(false); }, false},
        {"spherical molecule", [](MainViewModel& vm) { vm.setChkSphMol(true); }, false},
        {"put on the two-phase line", [](MainViewModel& vm) { vm.optEqState_Click(0); }, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        MainViewModel vm = solvedBenzene();
        ASSERT_TRUE(vm.sheetCurrent());
        c.change(vm);
        EXPECT_EQ(vm.sheetCurrent(), c.current);
    }
    EXPECT_FALSE(MainViewModel().sheetCurrent()) << "never solved";
}

// After the entries moved on, the results keep the title they were solved under: Benzene at
// 25 °C, not the 100 °C typed since.
TEST(MainViewModel, ResultsKeepTheTitleTheyWereSolvedUnder)
{
    MainViewModel vm = solvedBenzene();
    const std::string message = vm.lblStCond();
    const std::string liquidPR = vm.sheet().text(Row::PR, Col::Liq);
    ASSERT_FALSE(liquidPR.empty());
    vm.setTxtTemp("100");
    vm.txtTemp_LostFocus();
    vm.setChkSphMol(true);
    vm.componentChosen("Water", kBenzene, kBenzeneAnt);
    const core::SheetView v = vm.resultsView();
    EXPECT_EQ(v.component, "Benzene");
    EXPECT_EQ(v.temp_C, "25");
    EXPECT_EQ(v.press_bar, "5");
    EXPECT_EQ(v.stCond, message);
    EXPECT_TRUE(v.hypothetical);
    EXPECT_FALSE(v.spherical);
    EXPECT_EQ(v.sheet->text(Row::PR, Col::Liq), liquidPR);

    MainViewModel fresh; // before any solve: the entries as they stand, nothing computed
    fresh.componentChosen("Water", kBenzene, std::nullopt);
    fresh.setTxtTemp("30");
    EXPECT_EQ(fresh.resultsView().component, "Water");
    EXPECT_EQ(fresh.resultsView().temp_C, "30");
}

// A value computed with a missing constant carries the command line's mark, tint and footnote in
// every export; a complete row carries none.
TEST(MainViewModel, MissingConstantIsMarkedTintedAndExplained)
{
    state::ResultSheet sheet;
    sheet.setText(Row::PRSV2, Col::Vap, "2484.7");
    sheet.setColor(Row::PRSV2, Col::Vap, state::kLightPink);
    sheet.setText(Row::SRK, Col::Vap, "2490.3");
    sheet.setColor(Row::SRK, Col::Liq, state::kPaleRed); // tinted but empty: no mark
    sheet.setText(Row::PR, Col::Vap, "2482.9");
    const core::TextTable t =
        core::exportSheet({"Helium", "25", "10", "a\r\nb\r\nc", false, false, &sheet});
    const auto rowOf = [&](std::string_view caption) {
        for (const auto& r : t)
            if (r.front().text == caption)
                return r;
        return std::vector<core::TableField>{};
    };
    const auto prsv2 = rowOf(state::rowCaption(Row::PRSV2));
    ASSERT_EQ(prsv2.size(), 6u);
    EXPECT_EQ(prsv2[3].text, "2484.7+");
    EXPECT_EQ(prsv2[3].tint, state::kLightPink);
    EXPECT_EQ(rowOf(state::rowCaption(Row::PR))[3], core::TableField("2482.9"));
    EXPECT_EQ(rowOf(state::rowCaption(Row::SRK))[2].text, "");
    EXPECT_EQ(t.back().front().text,
              "+ computed with a missing Stryjek-Vera constant K1 or K2 taken as zero");
    EXPECT_EQ(t[t.size() - 2].front().text, "") << "an empty line before the footnotes";

    const std::string csv = core::toCsv(t);
    EXPECT_NE(csv.find(",2484.7+,"), std::string::npos);
    EXPECT_EQ(csv.find("*"), std::string::npos) << "the empty tinted cell has no mark";
    const std::string html = core::toHtml(t);
    EXPECT_NE(html.find("<td style=\"background-color: #ffcccc\">2484.7+</td>"), std::string::npos);
    EXPECT_NE(html.find("<td>2482.9</td>"), std::string::npos);
}

} // namespace
