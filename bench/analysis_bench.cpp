// Phase-equilibrium analysis: the vapour pressure of one model at one temperature (with the
// model's critical point formed beforehand, as a saturation curve does, and from scratch),
// the whole analysis of a state (nine models: roots, ln φ, saturation, critical point), the
// properties of every root of every model, and the step-by-step explanation.
// Benzene-like reference component; Tr is relative to each model's own critical temperature.
#include "analysis/phase_analysis.h"
#include "analysis/properties.h"
#include "analysis/root_explanation.h"

#include <benchmark/benchmark.h>

namespace {

const analysis::Fluid kBenzene{562.1, 48.9, 259.0, 0.212, 0.07019, 0.7939, 0.523, false};
constexpr double kReducedTemps[] = {0.5, 0.9, 0.999};

analysis::Model modelOf(const benchmark::State& st)
{
    return analysis::kModels[static_cast<std::size_t>(st.range(0))];
}

void saturationPoint(benchmark::State& st)
{
    const analysis::Model m = modelOf(st);
    const analysis::CriticalPoint cp = analysis::criticalPoint(m, kBenzene);
    const double t = kReducedTemps[st.range(1)] * cp.t_K;
    for (auto _ : st)
        benchmark::DoNotOptimize(analysis::saturation(m, kBenzene, t, cp));
}
BENCHMARK(saturationPoint)
    ->ArgsProduct({{1, 2, 3, 4, 5, 6, 7, 8}, {0, 1, 2}})
    ->ArgNames({"model", "tr"});

void saturationFromScratch(benchmark::State& st)
{
    const analysis::Model m = modelOf(st);
    const double t = kReducedTemps[st.range(1)] * analysis::criticalPoint(m, kBenzene).t_K;
    for (auto _ : st)
        benchmark::DoNotOptimize(analysis::saturation(m, kBenzene, t));
}
BENCHMARK(saturationFromScratch)
    ->ArgsProduct({{1, 2, 3, 4, 5, 6, 7, 8}, {0, 1, 2}})
    ->ArgNames({"model", "tr"});

void criticalPoint(benchmark::State& st)
{
    const analysis::Model m = modelOf(st);
    for (auto _ : st)
        benchmark::DoNotOptimize(analysis::criticalPoint(m, kBenzene));
}
BENCHMARK(criticalPoint)->DenseRange(1, 8)->ArgName("model");

void stateRoots(benchmark::State& st)
{
    const analysis::Model m = modelOf(st);
    for (auto _ : st)
        benchmark::DoNotOptimize(analysis::volumeRoots(m, kBenzene, 298.15, 1.0));
}
BENCHMARK(stateRoots)->DenseRange(0, 8)->ArgName("model");

void fullAnalysis(benchmark::State& st)
{
    constexpr double kStates[][2] = {{298.15, 1.0}, {480.0, 40.0}, {540.0, 30.0}};
    const auto& s = kStates[st.range(0)];
    for (auto _ : st)
        benchmark::DoNotOptimize(analysis::analyseState(kBenzene, s[0], s[1]));
}
BENCHMARK(fullAnalysis)->DenseRange(0, 2)->ArgName("state");

// Every root of all nine models tagged, with every property at each: the whole of what a
// properties view or output needs, less the explanation's saturation and text.
void allProperties(benchmark::State& st)
{
    constexpr double kStates[][2] = {{298.15, 1.0}, {480.0, 40.0}, {540.0, 30.0}};
    const auto& s = kStates[st.range(0)];
    for (auto _ : st)
        benchmark::DoNotOptimize(analysis::stateProperties(kBenzene, s[0], s[1], 78.11));
}
BENCHMARK(allProperties)->DenseRange(0, 2)->ArgName("state");

void modelProperties(benchmark::State& st)
{
    const analysis::Model m = modelOf(st);
    for (auto _ : st)
        benchmark::DoNotOptimize(analysis::modelProperties(m, kBenzene, 298.15, 1.0, 78.11));
}
BENCHMARK(modelProperties)->DenseRange(0, 8)->ArgName("model");

void explanation(benchmark::State& st)
{
    for (auto _ : st)
        benchmark::DoNotOptimize(analysis::explainState(kBenzene, 298.15, 1.0, 78.11));
}
BENCHMARK(explanation);

} // namespace

BENCHMARK_MAIN();
