// The component list's completer: the filtering that runs on every keystroke in the list's
// edit field, over the largest list the window holds. Target: 5 ms per keystroke.
#include "store/component_finder.h"
#include "store/component_selection.h"

#include <benchmark/benchmark.h>
#include <string>
#include <vector>

namespace {

// Names shaped like the shipped ones: a word of the common stems with a numbered suffix, so
// that short typed texts match many entries and longer ones few.
std::vector<std::string> manyNames(int count)
{
    const char* stems[] = {"Propane",
                           "n-Hexane",
                           "Cyclohexanone",
                           "Benzene",
                           "R-134a (1,1,1,2-tetrafluoroethane)",
                           "Methyl ethyl ketone",
                           "Sulfur hexafluoride",
                           "Water"};
    std::vector<std::string> names;
    names.reserve(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i)
        names.push_back(std::string(stems[i % 8]) + " isomer " + std::to_string(i));
    return names;
}

// One keystroke: the field's whole text is filtered again.
void BM_CompleterKeystroke(benchmark::State& state, const char* typed)
{
    store::ComponentFinder finder;
    finder.setNames(manyNames(store::kMaxListEntries));
    for (auto _ : state)
        benchmark::DoNotOptimize(finder.matches(typed));
}
BENCHMARK_CAPTURE(BM_CompleterKeystroke, one_letter, "e")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_CompleterKeystroke, three_letters, "hex")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_CompleterKeystroke, no_match, "zzz")->Unit(benchmark::kMillisecond);

// Taking a rebuilt list in (once per focus, when the names changed).
void BM_FinderSetNames(benchmark::State& state)
{
    const std::vector<std::string> names = manyNames(store::kMaxListEntries);
    for (auto _ : state) {
        store::ComponentFinder finder;
        finder.setNames(names);
        benchmark::DoNotOptimize(finder.names().data());
    }
}
BENCHMARK(BM_FinderSetNames)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
