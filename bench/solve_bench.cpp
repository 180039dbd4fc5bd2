// A full Solve (clear, classify, all nine models with both roots) for the benzene-like
// reference component at the four reference states, hypothetical volumes ticked.
#include "core/main_view_model.h"

#include <benchmark/benchmark.h>

namespace {

void fullSolve(benchmark::State& st)
{
    core::MainViewModel vm;
    vm.state().constants = {78.11f, 562.1f, 48.9f, 259.0f, 0.212f, 0.07019f, 0.7939f, 0.523f};
    vm.setChkStCalc(true);
    constexpr state::StateConditions kStates[] = {
        {298.15f, 1.0f}, {298.15f, 100.0f}, {480.0f, 40.0f}, {540.0f, 30.0f}};
    vm.state().conditions = kStates[st.range(0)];
    for (auto _ : st) {
        vm.cmdSolve_Click();
        benchmark::DoNotOptimize(vm.sheet());
    }
}
BENCHMARK(fullSolve)->DenseRange(0, 3)->ArgName("state");

} // namespace

BENCHMARK_MAIN();
