#include "cli/replay.h"

namespace cli {

state::ComponentConstants constantsOrMissing(const std::array<std::optional<float>, 8>& given)
{
    const state::ComponentConstants& d = state::kMissingConstantValues;
    const auto v = [&](std::size_t i, float fallback) { return given[i].value_or(fallback); };
    return {v(0, d.MolWt),     v(1, d.CritTemp), v(2, d.CritPress), v(3, d.CritVol),
            v(4, d.AcentricF), v(5, d.K1),       v(6, d.K2),        v(7, d.K3)};
}

Solved solveJob(const Job& job)
{
    Solved s;
    if (const auto* stored = std::get_if<0>(&job.chosen)) {
        s.vm = **stored;
    } else {
        const CustomComponent& c = std::get<1>(job.chosen);
        s.vm.componentChosen(c.name, c.constants, c.antoine);
    }
    core::MainViewModel& vm = s.vm;
    const Entries& e = job.entries;
    vm.setTxtTemp(e.temp);
    if (const core::Effects fx = vm.txtTemp_LostFocus(); fx.message) {
        s.rejected = fx.message->prompt;
        s.rejectedByWindow = true;
        return s;
    }
    vm.setTxtPress(e.press);
    if (const core::Effects fx = vm.txtPress_LostFocus(); fx.message) {
        s.rejected = fx.message->prompt;
        s.rejectedByWindow = true;
        return s;
    }
    if (e.twoPhase) {
        // The window disables both buttons for a component without Antoine coefficients; a
        // click there would take zero coefficients for a saturation line (0.01 bar).
        if (!vm.optEqStateEnabled(*e.twoPhase)) {
            s.rejected = "two-phase conditions need the Antoine co-efficients, and " +
                         job.component + " has none";
            return s;
        }
        vm.optEqState_Click(*e.twoPhase);
    }
    vm.setChkStCalc(e.hypothetical);
    vm.setChkSphMol(e.spherical);
    vm.cmdSolve_Click();
    return s;
}

} // namespace cli
