// Unit conversions at the edges: one result cell in another unit (a power-of-ten factor, and
// the ft3/lbmol factor whose decimals do not end), and one typed temperature into the °C text
// the calculation takes. A 10,000-row batch writes 390,000 cells.
#include "state/units.h"

#include <benchmark/benchmark.h>

namespace {

void shownCell(benchmark::State& st)
{
    const state::Unit& from = state::unitBySymbol("cm3/mol");
    const state::Unit& to = state::unitBySymbol(st.range(0) == 0 ? "L/mol" : "ft3/lbmol");
    for (auto _ : st)
        benchmark::DoNotOptimize(state::convertShownText("24851.6", from, to));
}
BENCHMARK(shownCell)->Arg(0)->Arg(1)->ArgName("ft3_lbmol");

void typedTemperature(benchmark::State& st)
{
    const state::Unit& f = state::unitBySymbol("F");
    for (auto _ : st)
        benchmark::DoNotOptimize(state::toCalculationText("100", f));
}
BENCHMARK(typedTemperature);

} // namespace

BENCHMARK_MAIN();
