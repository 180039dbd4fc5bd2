// The reference equations of state: water (56 terms) density at (T, p) in the liquid, the
// vapour and the supercritical region, saturation at T, the scorecard of one component (all
// nine models over the saturation curve and the single-phase grid), and reading the whole
// compiled-in file of 122 equations, as each process does once.
#include "core/reference_comparison.h"
#include "reference/reference_eos.h"

#include <array>
#include <benchmark/benchmark.h>

// The compiled-in file (reference/CMakeLists.txt).
extern const char kReferenceEosJson[];
extern const std::size_t kReferenceEosJsonSize;

namespace {

const reference::Fluid& water() { return *reference::Library::shipped().find("Water"); }

struct TP {
    double t_K, p_Pa;
};
constexpr std::array<TP, 3> kStates = {{{300, 1e7}, {450, 1e5}, {800, 3e7}}};

void waterDensity(benchmark::State& st)
{
    const reference::Fluid& w = water();
    const TP s = kStates[static_cast<std::size_t>(st.range(0))];
    w.eosCritical(); // computed once per process on first use
    for (auto _ : st)
        benchmark::DoNotOptimize(reference::solveState(w, s.t_K, s.p_Pa));
}
BENCHMARK(waterDensity)->DenseRange(0, 2)->ArgName("liquid300_vapour450_super800");

void waterSaturation(benchmark::State& st)
{
    const reference::Fluid& w = water();
    w.eosCritical();
    const double t = static_cast<double>(st.range(0));
    for (auto _ : st)
        benchmark::DoNotOptimize(reference::saturation(w, t));
}
BENCHMARK(waterSaturation)->Arg(300)->Arg(500)->Arg(640)->ArgName("T_K");

void scorecardOneComponent(benchmark::State& st)
{
    const reference::Fluid& f = *reference::Library::shipped().find("Propane");
    const analysis::Fluid models{369.83, 42.48, 200, 0.152, 0.03136, 0, 0, false};
    for (auto _ : st)
        benchmark::DoNotOptimize(core::scorecard(f, models));
}
BENCHMARK(scorecardOneComponent)->Unit(benchmark::kMillisecond);

void scorecardWater(benchmark::State& st)
{
    const analysis::Fluid models{647.096, 220.64, 55.95, 0.3443, -0.06635, 0.0199, 0.443, false};
    for (auto _ : st)
        benchmark::DoNotOptimize(core::scorecard(water(), models));
}
BENCHMARK(scorecardWater)->Unit(benchmark::kMillisecond);

void loadFile(benchmark::State& st)
{
    for (auto _ : st)
        benchmark::DoNotOptimize(
            reference::Library::parse(std::string_view(kReferenceEosJson, kReferenceEosJsonSize)));
}
BENCHMARK(loadFile)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
