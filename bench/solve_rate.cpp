// States solved per second through the window's path (choose, type, leave the boxes, Solve), on
// a fixed pseudo-random set of components and states. Built natively and for WebAssembly
// (scripts/build_web.sh), so the two rates can be taken in one run:
//   build/bench/solve_rate [STATES]   and   node build-web/solve_rate.cjs [STATES]
#include "core/main_view_model.h"
#include "state/number_format.h"

#include <algorithm>
#include <charconv>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

namespace {

/// A small fixed generator, so both builds solve the same states.
struct Lcg {
    std::uint64_t s = 0x2545F4914F6CDD1DULL;
    double uniform(double lo, double hi)
    {
        s = s * 6364136223846793005ULL + 1442695040888963407ULL;
        return lo + (hi - lo) * static_cast<double>(s >> 11) * 0x1.0p-53;
    }
};

struct Case {
    state::ComponentConstants constants;
    state::AntoineCoefficients antoine;
    std::string temp, press;
};

std::vector<Case> makeCases(int count)
{
    Lcg rng;
    std::vector<Case> cases;
    for (int i = 0; i < count; ++i) {
        Case c;
        const auto f = [&](double lo, double hi) {
            return static_cast<float>(rng.uniform(lo, hi));
        };
        c.constants = {f(16, 300), f(150, 700),  f(10, 80), f(80, 800),
                       f(0, 0.6),  f(-0.1, 0.1), f(0, 1),   f(0, 1)};
        const double tc = static_cast<double>(c.constants.CritTemp);
        c.antoine = {f(13, 15), static_cast<float>(tc * rng.uniform(4, 6)), f(200, 240)};
        c.temp = std::to_string(static_cast<int>(tc * rng.uniform(0.4, 1.2) - 273.15));
        c.press = std::to_string(static_cast<int>(rng.uniform(1, 100)));
        cases.push_back(c);
    }
    return cases;
}

/// Solves every case once; returns a checksum so the work cannot be optimised away.
std::size_t solveAll(const std::vector<Case>& cases)
{
    std::size_t checksum = 0;
    for (const Case& c : cases) {
        core::MainViewModel vm;
        vm.componentChosen("bench", c.constants, c.antoine);
        vm.setTxtTemp(c.temp);
        vm.txtTemp_LostFocus();
        vm.setTxtPress(c.press);
        vm.txtPress_LostFocus();
        vm.cmdSolve_Click();
        checksum += vm.sheet().text(state::Row::PR, state::Col::Vap).size();
    }
    return checksum;
}

} // namespace

// A warm-up pass (WebAssembly is compiled in tiers), then the median of seven timed passes:
// the machine is shared, so single passes scatter.
int main(int argc, char** argv)
{
    int count = 20000;
    if (argc > 1) {
        const std::string_view arg(argv[1]);
        const auto [end, ec] = std::from_chars(arg.data(), arg.data() + arg.size(), count);
        if (ec != std::errc() || end != arg.data() + arg.size() || count <= 0) {
            std::fprintf(stderr, "usage: solve_rate [STATES]\n");
            return 2;
        }
    }
    const std::vector<Case> cases = makeCases(count);
    const std::size_t checksum = solveAll(cases);
    std::vector<double> rates;
    for (int pass = 0; pass < 7; ++pass) {
        const auto start = std::chrono::steady_clock::now();
        if (solveAll(cases) != checksum)
            return 1;
        const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
        rates.push_back(count / took.count());
    }
    std::sort(rates.begin(), rates.end());
    const std::string line = std::to_string(count) + " states, median of 7 passes: " +
                             *state::formatPattern(rates[3], "0") +
                             " states per second (checksum " + std::to_string(checksum) + ")\n";
    std::fputs(line.c_str(), stdout);
    return 0;
}
