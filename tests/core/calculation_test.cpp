#include "core/calculation.h"
#include "tests/support/reference_components.h"

#include <gtest/gtest.h>

namespace {

using core::CalcRequest;
using core::calculate;

using test_components::kBenzene;
constexpr state::AntoineCoefficients kBenzeneAnt = test_components::kBenzeneAntoine;

CalcRequest request(const state::Component& c, const char* temp, const char* press,
                    std::optional<int> twoPhase = std::nullopt, bool hypothetical = false)
{
    return {c, temp, press, twoPhase, hypothetical, false};
}

std::string firstLine(const std::string& msg) { return msg.substr(0, msg.find("\r\n")); }

// A request runs the window's steps in the window's order and stops at the first refusal:
// a refused entry is never solved, a two-phase choice rewrites the other box before the solve,
// and the check boxes are ticked before it, not after.
TEST(Calculation, RunsTheStepsInTheWindowsOrder)
{
    const state::Component benzene{"Benzene", kBenzene, kBenzeneAnt};
    const state::Component bare{"Bare", kBenzene, std::nullopt};
    struct Case {
        const char* fault; // what a wrong order or a missing stop would show
        CalcRequest request;
        const char* refusal; // "" for none
        bool messageBox;
        const char* message; // first line after the solve
        const char* temp;    // the temperature box after the steps
        const char* press;
    };
    const Case cases[] = {
        {"a refused temperature is solved all the same", request(benzene, "abc", "1"),
         "Invalid or Incorrect Temperature", true, "", "", ""},
        {"the pressure is taken before the temperature", request(benzene, "25", "1,0"),
         "Invalid or Incorrect Pressure", true, "", "25", ""},
        {"the two-phase choice is taken without Antoine coefficients", request(bare, "25", "1", 0),
         "two-phase conditions need the Antoine co-efficients, and Bare has none", false, "", "25",
         "1"},
        {"the two-phase choice does not rewrite the boxes before the solve",
         request(benzene, "0", "1.01325", 1), "", false, "Two-phase Equilibrium State Conditions -",
         "80.01", "1.013"},
        {"the state at 25 C and 1 bar is not classified as liquid", request(benzene, "25", "1"), "",
         false, "Single-Phase Sub-cooled Liquid State Conditions -", "25", "1"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.fault);
        const core::Calculation calc = calculate(c.request);
        EXPECT_EQ(calc.refusal.value_or(""), c.refusal);
        EXPECT_EQ(calc.refusalIsMessageBox, c.messageBox);
        if (!calc.refusal)
            EXPECT_EQ(firstLine(calc.form.message), c.message);
        else
            EXPECT_EQ(calc.form.sheet.cell({state::Row::PR, state::Col::Liq}).text, "");
        EXPECT_EQ(calc.form.temp.substr(0, std::string_view(c.temp).size()), c.temp);
        EXPECT_EQ(calc.form.press, c.press);
    }
}

// The check boxes reach the models: a vapour state with HYPOTHETICAL ticked has liquid cells.
TEST(Calculation, TicksTheCheckBoxesBeforeTheSolve)
{
    const state::Component benzene{"Benzene", kBenzene, kBenzeneAnt};
    const core::Calculation plain = calculate(request(benzene, "150", "1"));
    const core::Calculation hypo = calculate(request(benzene, "150", "1", std::nullopt, true));
    EXPECT_FALSE(plain.form.state.chkStCalc);
    EXPECT_TRUE(hypo.form.state.chkStCalc);
    EXPECT_NE(plain.form.sheet.cell({state::Row::PR, state::Col::Liq}).text,
              hypo.form.sheet.cell({state::Row::PR, state::Col::Liq}).text);
}

} // namespace
